// Plain containers and pictures of the kit.
#pragma once

#include <functional>
#include <string>

#include "kit/window.h"

namespace zs {

// A panel (class "TPanel"): a coloured area with optional bevels and a
// centred caption; a control parent, so Tab walks into it.
// Published: BevelInner, BevelOuter (0 none, 1 lowered, 2 raised, 3 space),
// Visible, Color (default clBtnFace).
class TPanel : public TWinControl {
 public:
  enum Bevel { bvNone = 0, bvLowered = 1, bvRaised = 2, bvSpace = 3 };

  TPanel(TComponent* owner, std::string name, std::string class_name = "TPanel");
  void SetBevelInner(int bevel);
  void SetBevelOuter(int bevel);
  int BevelInner() const { return bevel_inner_; }
  int BevelOuter() const { return bevel_outer_; }

 protected:
  void CreateParams(TCreateParams& params) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  int bevel_inner_ = bvNone;
  int bevel_outer_ = bvRaised;
};

// A picture (class "TImage") drawn by a painter. Transparent: the parent's
// colour shows around what the painter draws.
class TImage : public TWinControl {
 public:
  using Painter = std::function<void(HDC dc, const RECT& r)>;
  TImage(TComponent* owner, std::string name, std::string class_name = "TImage");
  void SetPainter(Painter painter);

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  Painter painter_;
};

}  // namespace zs
