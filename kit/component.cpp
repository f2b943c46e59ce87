#include "kit/component.h"

#include <algorithm>

#include "kit/win_text.h"

namespace zs {

TComponent::TComponent(TComponent* owner, std::string name, std::string class_name)
    : name_(std::move(name)), class_name_(std::move(class_name)), owner_(owner) {
  if (owner_) owner_->components_.push_back(this);
}

TComponent::~TComponent() {
  // Members die before their owner's base destructor runs, but an owner that
  // is not the enclosing object may go first: then forget it.
  for (TComponent* c : components_) c->owner_ = nullptr;
  if (owner_) std::erase(owner_->components_, this);
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  for (TComponent* c : components_)
    if (SameText(c->name_, name)) return c;
  return nullptr;
}

const TComponent::Property* TComponent::Find(std::string_view name) const {
  for (const Property& p : properties_)
    if (SameText(p.name, name)) return &p;
  return nullptr;
}

bool TComponent::SetProperty(std::string_view name, int32_t value) {
  const Property* p = Find(name);
  if (!p || !p->set) return false;
  p->set(value);
  return true;
}

std::optional<int32_t> TComponent::GetProperty(std::string_view name) const {
  const Property* p = Find(name);
  if (!p || !p->get) return std::nullopt;
  return p->get();
}

bool TComponent::HasProperty(std::string_view name) const { return Find(name) != nullptr; }

std::vector<std::string> TComponent::PropertyNames() const {
  std::vector<std::string> names;
  names.reserve(properties_.size());
  for (const Property& p : properties_) names.push_back(p.name);
  return names;
}

void TComponent::DefineProperty(std::string name, Setter set, Getter get) {
  for (Property& p : properties_) {
    if (SameText(p.name, name)) {
      p = Property{std::move(name), std::move(set), std::move(get)};
      return;
    }
  }
  properties_.push_back(Property{std::move(name), std::move(set), std::move(get)});
}

}  // namespace zs
