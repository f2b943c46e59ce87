// Named components: every window of the system is a tree of them, and so are
// its non-visual parts (a database connection, a sound). The skin walks this
// tree by component name and class name, so both are spelled as the system
// spells them ("FlatButton4", "TFlatButton").
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zs {

class TComponent {
 public:
  // Registers with `owner` (may be null) at the end of its component list:
  // declaration order of members is registration order. The owner does not
  // delete its components; they are members of the owner or of its owner.
  TComponent(TComponent* owner, std::string name, std::string class_name);
  virtual ~TComponent();

  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  const std::string& Name() const { return name_; }
  const std::string& ClassName() const { return class_name_; }
  TComponent* Owner() const { return owner_; }

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_.at(static_cast<size_t>(index)); }
  const std::vector<TComponent*>& OwnedComponents() const { return components_; }
  // First owned component of that name, compared without regard to case; null if none.
  TComponent* FindComponent(std::string_view name) const;

  // Integer properties by name (case-insensitive). Setting an unknown name is
  // ignored and answers false.
  bool SetProperty(std::string_view name, int32_t value);
  std::optional<int32_t> GetProperty(std::string_view name) const;
  bool HasProperty(std::string_view name) const;
  std::vector<std::string> PropertyNames() const;

 protected:
  using Setter = std::function<void(int32_t)>;
  using Getter = std::function<int32_t()>;
  // Classes publish their properties in their constructors; a later
  // definition of the same name replaces the earlier one (a derived class
  // refining its base).
  void DefineProperty(std::string name, Setter set, Getter get);

 private:
  struct Property {
    std::string name;
    Setter set;
    Getter get;
  };
  const Property* Find(std::string_view name) const;

  std::string name_;
  std::string class_name_;
  TComponent* owner_;
  std::vector<TComponent*> components_;
  std::vector<Property> properties_;
};

}  // namespace zs
