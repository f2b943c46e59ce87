#include "kit/component.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/support/forced_failure.h"

namespace zs {
namespace {

class Probe : public TComponent {
 public:
  Probe(TComponent* owner, std::string name) : TComponent(owner, std::move(name), "TProbe") {
    DefineProperty("Color", [this](int32_t v) { color = v; }, [this] { return color; });
    DefineProperty("Font.Size", [this](int32_t v) { size = v; }, [this] { return size; });
  }
  int32_t color = 0;
  int32_t size = 8;
};

class Refined : public Probe {
 public:
  Refined(TComponent* owner, std::string name) : Probe(owner, std::move(name)) {
    DefineProperty("Color", [this](int32_t v) { color = v * 2; }, [this] { return color; });
  }
};

TEST(Component, OwnsInDeclarationOrderAndFindsByNameWithoutCase) {
  TComponent form(nullptr, "FMain", "TFMain");
  Probe a(&form, "Panel1");
  Probe b(&form, "FlatButton4");
  Probe c(&a, "Inner");
  ASSERT_EQ(form.ComponentCount(), 2);
  EXPECT_EQ(form.Components(0), &a);
  EXPECT_EQ(form.Components(1), &b);
  EXPECT_EQ(a.ComponentCount(), 1);
  EXPECT_EQ(c.Owner(), &a);
  EXPECT_EQ(form.FindComponent("flatbutton4"), &b);
  EXPECT_EQ(form.FindComponent("Inner"), nullptr) << "search is one level deep";
  EXPECT_EQ(b.ClassName(), "TProbe");
}

TEST(Component, DestroyingEitherSideKeepsTheTreeConsistent) {
  TComponent form(nullptr, "F", "TF");
  {
    Probe a(&form, "A");
    EXPECT_EQ(form.ComponentCount(), 1);
  }
  EXPECT_EQ(form.ComponentCount(), 0);

  auto owner = std::make_unique<TComponent>(nullptr, "O", "TO");
  Probe orphan(owner.get(), "X");
  owner.reset();
  EXPECT_EQ(orphan.Owner(), nullptr);
}

TEST(Component, PropertiesByNameIgnoreUnknownNames) {
  Probe p(nullptr, "P");
  EXPECT_TRUE(p.SetProperty("color", 0x00FF00));
  EXPECT_TRUE(p.SetProperty("FONT.SIZE", 11));
  EXPECT_FALSE(p.SetProperty("Flat", 1));
  EXPECT_EQ(p.color, 0x00FF00);
  EXPECT_EQ(p.size, 11);
  EXPECT_EQ(p.GetProperty("Color"), 0x00FF00);
  EXPECT_FALSE(p.GetProperty("Flat").has_value());
}

TEST(Component, DerivedClassReplacesABasePropertyOnce) {
  Refined r(nullptr, "R");
  r.SetProperty("Color", 5);
  EXPECT_EQ(r.color, 10);
  EXPECT_EQ(r.PropertyNames().size(), 2u);
}

}  // namespace
}  // namespace zs
