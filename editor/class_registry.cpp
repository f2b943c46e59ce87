#include "editor/class_registry.h"

#include <algorithm>
#include <vector>

#include "kit/win_text.h"

namespace zs {

TClassInfo TPersistentClass("TPersistent", nullptr);
TClassInfo TComponentClass("TComponent", &TPersistentClass);
TClassInfo TControlClass("TControl", &TComponentClass);
TClassInfo TWinControlClass("TWinControl", &TControlClass);
TClassInfo TScrollingWinControlClass("TScrollingWinControl", &TWinControlClass);
TClassInfo TCustomFormClass("TCustomForm", &TScrollingWinControlClass);
TClassInfo TFormClass("TForm", &TCustomFormClass);

TClassInfo TFVeltoChannelClass("TFVeltoChannel", &TFormClass);
TClassInfo TFVeltoSimpleChannelClass("TFVeltoSimpleChannel", &TPersistentClass);
TClassInfo TFVeltoSimpleFunctionClass("TFVeltoSimpleFunction", &TPersistentClass);
TClassInfo TSimpleAdsTableClass("TSimpleAdsTable", &TPersistentClass);

namespace {

std::vector<const TClassInfo*>& Registry() {
  static std::vector<const TClassInfo*> classes;
  return classes;
}

bool Entered(const TClassInfo* cls) {
  const auto& r = Registry();
  return std::find(r.begin(), r.end(), cls) != r.end();
}

}  // namespace

bool TClassInfo::InheritsFrom(const TClassInfo& ancestor) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    if (c == &ancestor) return true;
  return false;
}

void RegisterClass(const TClassInfo& cls) {
  for (const TClassInfo* c = &cls; c; c = c->Parent()) {
    if (Entered(c)) return;
    if (FindClass(c->Name()))
      throw EFilerError("Eine Klasse mit der Bezeichnung " + std::string(c->Name()) + " existiert bereits");
    Registry().push_back(c);
  }
}

void UnRegisterClass(const TClassInfo& cls) { std::erase(Registry(), &cls); }

const TClassInfo* FindClass(std::string_view name) {
  for (const TClassInfo* c : Registry())
    if (SameText(c->Name(), name)) return c;
  return nullptr;
}

std::vector<std::string_view> RegisteredClasses() {
  std::vector<std::string_view> names;
  for (const TClassInfo* c : Registry()) names.push_back(c->Name());
  return names;
}

bool LookupChannelClass(std::string_view name, const TClassInfo*& out) {
  out = FindClass(name);
  return out && out->InheritsFrom(TFVeltoChannelClass);
}

void RegisterStartupClasses() {
  RegisterClass(TFVeltoChannelClass);
  RegisterClass(TFVeltoSimpleChannelClass);
  RegisterClass(TFVeltoSimpleFunctionClass);
  RegisterClass(TSimpleAdsTableClass);
}

}  // namespace zs
