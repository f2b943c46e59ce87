// The system's message box (form "FSB_BOX", window class "TFSB_BOX"). One box
// per call: created, shown modally, answered, destroyed before the call
// returns, also when an exception leaves its modal loop. Callers use
// ShowNoteBox/AskYesNoBox (ui/user_seams.h) once InstallWindowsUserSeams()
// ran; ShowNoteBoxWindow/AskYesNoBoxWindow show the box directly.
#pragma once

#include <string>

#include "kit/flat_button.h"
#include "kit/html_label.h"
#include "kit/panel.h"
#include "kit/window.h"

namespace zs {

class TFSB_BOX : public TForm {
 public:
  enum class Kind { kNote, kQuestion };
  static constexpr int mrYes = 6;
  static constexpr int mrNo = 7;
  static constexpr int kNoTag = 50;  // the marker "Nein" bears

  TFSB_BOX();
  ~TFSB_BOX() override;

  // The steps of showing a box of `kind` with `text`; answers true only for Yes.
  bool Execute(Kind kind, const std::string& text);

  // Components, in the form's order.
  TPanel Pmsg;
  TImage Image1;
  TPanel Panel2;
  TFlatButton FB_BREAK2;
  TPanel Pquestion;
  TImage Image2;
  TPanel Panel1;
  TFlatButton FB_OK;
  TFlatButton FB_BREAK1;
  THtmlLabel MsgLabel;  // made by FormCreate

  // Handlers, as the form names them.
  void FormCreate();
  void FormShow();
  void FormKeyDown(WORD& key, bool shift, bool ctrl, bool alt);
  void FormKeyPress(char& key);
  void FormDeactivate(HWND activated);
  void FB_OKClick();
  void FB_BREAK1Click();
  void FB_OKSelectNext();
  void FB_BREAK1SelectNext();
  void FB_BREAK2SelectNext();
  void ForceForeground();

  bool PreviewKey(MSG& msg) override;
  int MaxWindowHeight() const { return max_height_; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void Activated(bool active, HWND other) override;
  void Shown() override;

 private:
  void CreateComponents();
  void MoveFocus(bool forward);
  bool IsNote() const { return kind_ == Kind::kNote; }

  Kind kind_ = Kind::kNote;
  int max_height_ = 0;
};

// One box, shown and destroyed. The caller's windows are disabled meanwhile.
void ShowNoteBoxWindow(const std::string& text);
bool AskYesNoBoxWindow(const std::string& text);

// Pictures of the box, drawn into `r`: a pale blue speech bubble (24 x 24),
// a green circle with a white right arrow and a red cross (button glyphs).
void PaintSpeechBubble(HDC dc, const RECT& r);
void PaintGoArrow(HDC dc, const RECT& r, bool enabled);
void PaintRedCross(HDC dc, const RECT& r, bool enabled);

}  // namespace zs
