#include "editor/class_registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace zs {
namespace {

TClassInfo FinderClass("TFExAdressFinderClass", &TFVeltoChannelClass);
TClassInfo FinderChildClass("TFExAdressFinderChild", &FinderClass);
TClassInfo ImpostorClass("tfveltochannel", &TFormClass);
TClassInfo LoneClass("TLoneHelper", &TPersistentClass);

class ClassRegistry : public ::testing::Test {
 protected:
  void SetUp() override { RegisterStartupClasses(); }
  void TearDown() override {
    for (const TClassInfo* c : {&FinderChildClass, &FinderClass, &ImpostorClass, &LoneClass}) UnRegisterClass(*c);
  }
  static int IndexOf(std::string_view name) {
    const auto names = RegisteredClasses();
    const auto it = std::find(names.begin(), names.end(), name);
    return it == names.end() ? -1 : static_cast<int>(it - names.begin());
  }
};

TEST_F(ClassRegistry, StartUpEntersTheChannelClassesWithTheirAncestorsBeforeTheTableBase) {
  const int channel = IndexOf("TFVeltoChannel");
  ASSERT_GE(channel, 0);
  // Each ancestor follows its class, up to the persistent base.
  const char* chain[] = {"TForm", "TCustomForm", "TScrollingWinControl", "TWinControl", "TControl", "TComponent",
                         "TPersistent"};
  int previous = channel;
  for (const char* name : chain) {
    const int at = IndexOf(name);
    EXPECT_GT(at, previous) << name;
    previous = at;
  }
  EXPECT_LT(channel, IndexOf("TFVeltoSimpleChannel"));
  EXPECT_LT(IndexOf("TFVeltoSimpleChannel"), IndexOf("TFVeltoSimpleFunction"));
  EXPECT_LT(IndexOf("TFVeltoSimpleFunction"), IndexOf("TSimpleAdsTable"));

  const auto before = RegisteredClasses();
  RegisterStartupClasses();
  EXPECT_EQ(RegisteredClasses(), before);
}

TEST_F(ClassRegistry, LookupAnswersOnlyForTheChannelFamilyButAlwaysPassesTheEntryOut) {
  const TClassInfo* out = &LoneClass;
  EXPECT_FALSE(LookupChannelClass("TSimpleAdsTable", out));
  EXPECT_EQ(out, &TSimpleAdsTableClass);

  out = &LoneClass;
  EXPECT_FALSE(LookupChannelClass("TFExAdressFinderClass", out));
  EXPECT_EQ(out, nullptr);

  EXPECT_TRUE(LookupChannelClass("tfVELTOchannel", out));
  EXPECT_EQ(out, &TFVeltoChannelClass);

  // An ancestor of the channel base is not a channel window.
  EXPECT_FALSE(LookupChannelClass("tform", out));
  EXPECT_EQ(out, &TFormClass);
}

TEST_F(ClassRegistry, DescendantsRegisteredLaterAreChannelsAndStopAtTheirFirstEnteredAncestor) {
  const size_t count = RegisteredClasses().size();
  RegisterClass(FinderChildClass);
  EXPECT_EQ(RegisteredClasses().size(), count + 2);  // the child and its parent, nothing above
  const TClassInfo* out = nullptr;
  EXPECT_TRUE(LookupChannelClass("TFEXADRESSFINDERCLASS", out));
  EXPECT_EQ(out, &FinderClass);
  EXPECT_TRUE(LookupChannelClass("TFExAdressFinderChild", out));
  UnRegisterClass(FinderChildClass);
  EXPECT_EQ(FindClass("TFExAdressFinderChild"), nullptr);
  EXPECT_EQ(FindClass("TFExAdressFinderClass"), &FinderClass);
}

TEST_F(ClassRegistry, AnotherClassUnderARegisteredNameIsRefusedAndChangesNothing) {
  const auto before = RegisteredClasses();
  try {
    RegisterClass(ImpostorClass);
    FAIL() << "no error";
  } catch (const EFilerError& e) {
    EXPECT_STREQ(e.what(), "Eine Klasse mit der Bezeichnung tfveltochannel existiert bereits");
  }
  EXPECT_EQ(RegisteredClasses(), before);
  const TClassInfo* out = nullptr;
  EXPECT_TRUE(LookupChannelClass("TFVeltoChannel", out));
  EXPECT_EQ(out, &TFVeltoChannelClass);

  RegisterClass(TFVeltoChannelClass);  // the same class again
  EXPECT_EQ(RegisteredClasses(), before);
}

TEST_F(ClassRegistry, InheritanceFollowsTheParentChain) {
  EXPECT_TRUE(FinderChildClass.InheritsFrom(TFVeltoChannelClass));
  EXPECT_TRUE(TFVeltoChannelClass.InheritsFrom(TFVeltoChannelClass));
  EXPECT_TRUE(TFVeltoChannelClass.InheritsFrom(TPersistentClass));
  EXPECT_FALSE(TFormClass.InheritsFrom(TFVeltoChannelClass));
  EXPECT_FALSE(TFVeltoSimpleChannelClass.InheritsFrom(TComponentClass));
}

}  // namespace
}  // namespace zs
