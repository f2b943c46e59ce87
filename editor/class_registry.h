// The process-wide class registry: the suite's modules open windows for one
// another by class name, without linking to the module that defines them.
// A class is known by a static TClassInfo (name, parent, factory); the
// registry holds pointers to them, so a class is registered at most once and
// stays registered until the process ends (or it is unregistered).
//
// Used from the user-interface thread only.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "kit/component.h"

namespace zs {

class TComponent;

// Raised when a different class already holds a name.
class EFilerError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Creates an instance without owner semantics beyond TComponent's (`owner`
// may be null). The caller owns the result.
using TComponentFactory = TComponent* (*)(TComponent* owner);

// A class as the registry knows it. Instances are static and outlive the
// registry's use of them; the parent chain ends at TPersistent.
class TClassInfo {
 public:
  constexpr TClassInfo(const char* name, const TClassInfo* parent, TComponentFactory factory = nullptr)
      : name_(name), parent_(parent), factory_(factory) {}
  TClassInfo(const TClassInfo&) = delete;
  TClassInfo& operator=(const TClassInfo&) = delete;

  std::string_view Name() const { return name_; }
  const TClassInfo* Parent() const { return parent_; }
  // Null for classes that are not created through the registry here.
  TComponentFactory Factory() const { return factory_; }
  // The module that implements the class installs its constructor.
  void SetFactory(TComponentFactory factory) { factory_ = factory; }
  // This class or one of its ancestors is `ancestor`.
  bool InheritsFrom(const TClassInfo& ancestor) const;

 private:
  const char* name_;
  const TClassInfo* parent_;
  TComponentFactory factory_;
};

// Enters `cls`, then each of its ancestors in turn, stopping at the first one
// already entered (so registering a class again changes nothing). Throws
// EFilerError "Eine Klasse mit der Bezeichnung <name> existiert bereits" when a
// different class of the same name (without regard to case) is entered;
// classes entered before the clash stay entered.
void RegisterClass(const TClassInfo& cls);
// Takes `cls` (and only it, not its ancestors) out again; unknown classes are
// ignored. For modules that go away before the process ends, and for tests.
void UnRegisterClass(const TClassInfo& cls);
// The first entry whose name equals `name` without regard to case, or null.
const TClassInfo* FindClass(std::string_view name);

// The names of all entries, in the order they were entered.
std::vector<std::string_view> RegisteredClasses();

// out := the entry for `name` (null when there is none); true only when there
// is one and it is TFVeltoChannel or one of its descendants. `out` is set also
// when the answer is false.
bool LookupChannelClass(std::string_view name, const TClassInfo*& out);

// The start-up registrations, in the order the suite's modules run them: the
// channel classes TFVeltoChannel, TFVeltoSimpleChannel, TFVeltoSimpleFunction,
// then TSimpleAdsTable. Safe to call more than once.
void RegisterStartupClasses();

// The standard classes the registry knows as ancestors.
extern TClassInfo TPersistentClass;
extern TClassInfo TComponentClass;
extern TClassInfo TControlClass;
extern TClassInfo TWinControlClass;
extern TClassInfo TScrollingWinControlClass;
extern TClassInfo TCustomFormClass;
extern TClassInfo TFormClass;

// The suite's channel family (descendants of TFVeltoChannelClass are channel
// windows) and the two helper classes of the same module. The channel window
// module installs TFVeltoChannelClass's factory; until then it is null and
// nothing can be created from it.
extern TClassInfo TFVeltoChannelClass;
extern TClassInfo TFVeltoSimpleChannelClass;
extern TClassInfo TFVeltoSimpleFunctionClass;
// The table wrapper base of storage/simple_ads_table.h (abstract: no factory).
extern TClassInfo TSimpleAdsTableClass;

// What an opener may do with a channel window it created from the registry.
// Channel window classes implement it beside TComponent; the opener finds it
// with dynamic_cast.
class IVeltoChannel {
 public:
  virtual ~IVeltoChannel() = default;
  virtual int Left() const = 0;
  virtual int Top() const = 0;
  virtual int Width() const = 0;
  virtual void SetLeft(int left) = 0;
  virtual void SetTop(int top) = 0;
  // Set before the window is shown; what it refers to depends on the class
  // (a database connection for the address finder). Not owned.
  virtual void SetContext(TComponent* context) = 0;
  virtual void SetPrompt(const std::string& prompt) = 0;
  virtual void SetGroupCaption(const std::string& caption) = 0;
  virtual void SetColumnName(const std::string& column) = 0;
  // Shows the window modally; answers its modal result (1: OK).
  virtual int ShowModal() = 0;
  // The window's result, valid after ShowModal answered 1.
  virtual int32_t ResultID() const = 0;
  // Hands the window over to deferred destruction once its pending messages
  // are handled; the opener must not touch it afterwards.
  virtual void Release() = 0;
};

}  // namespace zs
