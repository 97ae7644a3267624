#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"
#include "core/model/KickTemplates.h"

namespace varnek {
namespace {

class ValueRecorder : public ControlModel::Listener {
 public:
  void OnControlChanged(const Control& control, ControlFacet facet) override {
    if (facet == ControlFacet::Value) {
      changed.push_back(control.Name());
    }
  }
  std::vector<std::string> changed;
};

TEST(ControlModel, SpinEditsClampEveryValueToTheirRange) {
  ControlModel controls;
  struct Case {
    const char* name;
    int set;
    int value;
  };
  const Case cases[] = {
      {ctl::kUserHubsSpinEdit, 5000, 999},    {ctl::kUserHubsSpinEdit, -1, 0},
      {ctl::kKickLimitBelowSpinEdit, 0, 2},   {ctl::kKickLimitBelowSpinEdit, 100000, 99999},
      {ctl::kMaximumCountSpinEdit, 5, 10},    {ctl::kMaximumCountSpinEdit, 10001, 10000},
      {ctl::kAutosaveSpinEdit, 0, 1},         {ctl::kTryInfoSpinEdit, 1441, 1440},
      {ctl::kAlphaBlendTrackBar, 0, 55},      {ctl::kAlphaBlendTrackBar, 42, 55},
      {ctl::kMaximumCountSpinEdit, 777, 777},
  };
  for (const Case& c : cases) {
    controls.Get(c.name).SetValue(c.set);
    EXPECT_EQ(controls.Get(c.name).Value(), c.value) << c.name << " set to " << c.set;
  }
  // Plain numbers such as colours have no range.
  controls.Get(ctl::kChatColorDialog).SetValue(0x123456);
  EXPECT_EQ(controls.Get(ctl::kChatColorDialog).Value(), 0x123456);
}

TEST(ControlModel, TypedTextsAreCutToTheFieldLengthAndProgramTextsKeptWhole) {
  ControlModel controls;
  struct Case {
    const char* name;
    std::size_t length;
  };
  const Case cases[] = {
      {ctl::kUsernameEdit, 35},     {ctl::kPasswordEdit, 35},         {ctl::kDescriptionEdit, 50},
      {ctl::kEmailAddressEdit, 50}, {ctl::kHubIpEdit, 100},           {ctl::kHubPortEdit, 5},
      {ctl::kBotMessageMemo, 1000}, {ctl::kKickFakeCommandEdit, 455}, {ctl::kLangFileEdit, 260},
      {ctl::kOpChatEdit, 50},
  };
  for (const Case& c : cases) {
    Control& control = controls.Get(c.name);
    control.SetText("");
    control.SetTypedText(std::string(c.length + 7, 'x'));
    EXPECT_EQ(control.Text(), std::string(c.length, 'x')) << c.name << " typed";

    // A loaded value longer than the limit stays whole; typing may shorten
    // it but never make it longer again.
    const std::string loaded(c.length + 5, 'y');
    control.SetText(loaded);
    EXPECT_EQ(control.Text(), loaded) << c.name << " set by the program";
    control.SetTypedText(loaded + "z");
    EXPECT_EQ(control.Text(), loaded) << c.name << " typed past a long value";
    control.SetTypedText(loaded.substr(1));
    EXPECT_EQ(control.Text(), loaded.substr(1)) << c.name << " shortened by typing";
    control.SetTypedText(loaded);
    EXPECT_EQ(control.Text(), loaded.substr(1)) << c.name << " grown again by typing";
  }
  // A field without a limit takes any typed length.
  controls.Get(ctl::kSendMemo).SetTypedText(std::string(5000, 's'));
  EXPECT_EQ(controls.Get(ctl::kSendMemo).Text().size(), 5000u);
}

TEST(ControlModel, ReactionsRunOncePerRealChangeOnly) {
  ControlModel controls;
  int runs = 0;
  for (const char* name : {ctl::kKickFakeCheckBox, ctl::kUserHubsSpinEdit, ctl::kUsernameEdit}) {
    controls.Get(name).AddReaction([&runs] { ++runs; });
  }
  Control& check = controls.Get(ctl::kKickFakeCheckBox);
  check.SetChecked(false);
  EXPECT_EQ(runs, 0);
  check.SetChecked(true);
  EXPECT_EQ(runs, 1);
  check.SetChecked(true);
  EXPECT_EQ(runs, 1);

  Control& spin = controls.Get(ctl::kUserHubsSpinEdit);
  spin.SetValue(99);
  EXPECT_EQ(runs, 1);
  spin.SetValue(1000);  // clamped to 999
  spin.SetValue(2000);  // clamped to 999 again: no change
  EXPECT_EQ(runs, 2);

  Control& edit = controls.Get(ctl::kUsernameEdit);
  edit.SetText("bot");
  edit.SetText("bot");
  edit.SetTypedText(std::string(35, 'n') + "a");
  edit.SetTypedText(std::string(35, 'n') + "b");  // the same once cut
  EXPECT_EQ(runs, 4);
}

TEST(ControlModel, RadioButtonsOfOneGroupExcludeEachOther) {
  ControlModel controls;
  ValueRecorder recorder;
  controls.AddListener(&recorder);
  const char* modes[] = {ctl::kNoLogCheckBox, ctl::kFullLogCheckBox, ctl::kNiceLogCheckBox};
  EXPECT_TRUE(controls.Get(ctl::kNiceLogCheckBox).Checked());
  for (const char* chosen : modes) {
    controls.Get(chosen).SetChecked(true);
    for (const char* mode : modes) {
      EXPECT_EQ(controls.Get(mode).Checked(), mode == chosen) << "after choosing " << chosen;
    }
  }
  controls.RemoveListener(&recorder);
  // Each choice reported the newly checked button and the one it unchecked.
  EXPECT_EQ(recorder.changed.size(), 6u);
  // Check boxes are no radio buttons.
  controls.Get(ctl::kLogChatCheckBox).SetChecked(true);
  controls.Get(ctl::kLogStatusCheckBox).SetChecked(true);
  EXPECT_TRUE(controls.Get(ctl::kLogChatCheckBox).Checked());
}

TEST(ControlModel, TypedCharactersAreFilteredByField) {
  ControlModel controls;
  struct Case {
    const char* name;
    const char* refused;
    const char* accepted;
  };
  const Case cases[] = {
      {ctl::kUsernameEdit, " |$", "aZ09_-<>\b"},
      {ctl::kOpChatEdit, " |$", "aZ09_"},
      {ctl::kDescriptionEdit, "|$", "a <>"},
      {ctl::kBotMessageMemo, "|$", "a \r"},
      {ctl::kHubIpEdit, " ", "a.:-9"},
      {ctl::kHubPortEdit, "a -.x", "0123456789\b"},
      {ctl::kMaximumCountSpinEdit, "a-", "09\b"},
      {ctl::kKickLimitBelowSpinEdit, "+x", "5\b"},
      {ctl::kPasswordEdit, "", " |$a"},
  };
  for (const Case& c : cases) {
    const Control& control = controls.Get(c.name);
    for (const char* p = c.refused; *p != '\0'; ++p) {
      EXPECT_FALSE(control.AcceptsTypedChar(*p)) << c.name << " [" << *p << "]";
    }
    for (const char* p = c.accepted; *p != '\0'; ++p) {
      EXPECT_TRUE(control.AcceptsTypedChar(*p)) << c.name << " [" << *p << "]";
    }
  }
}

TEST(ControlModel, TemplateEditsRefuseBarAndDollarOnlyWhileTheirRawSwitchIsOff) {
  ControlModel controls;
  for (const KickKindInfo& kind : KickKinds()) {
    const Control& edit = controls.Get(CommandEditName(kind));
    Control& raw = controls.Get(RawSwitchName(kind));
    EXPECT_FALSE(edit.AcceptsTypedChar('|')) << kind.name;
    EXPECT_FALSE(edit.AcceptsTypedChar('$')) << kind.name;
    EXPECT_TRUE(edit.AcceptsTypedChar('<')) << kind.name;
    raw.SetChecked(true);
    EXPECT_TRUE(edit.AcceptsTypedChar('|')) << kind.name;
    EXPECT_TRUE(edit.AcceptsTypedChar('$')) << kind.name;
    raw.SetChecked(false);
    EXPECT_FALSE(edit.AcceptsTypedChar('|')) << kind.name;
  }
  // Each edit follows its own switch only.
  controls.Get(ctl::kRawFakeCheckBox).SetChecked(true);
  EXPECT_FALSE(controls.Get(ctl::kKickProxyCommandEdit).AcceptsTypedChar('|'));
}

TEST(ControlModel, EveryListViewButTheUserListHoldsAList) {
  ControlModel controls;
  int lists = 0;
  for (const Control& control : controls.All()) {
    if (control.Kind() != ControlKind::ListView) {
      continue;
    }
    if (control.Name() == ctl::kUserListView) {
      EXPECT_EQ(control.List(), nullptr);
      continue;
    }
    ASSERT_NE(control.List(), nullptr) << control.Name();
    EXPECT_EQ(control.List()->Name(), control.Name());
    EXPECT_EQ(&controls.List(control.Name()), control.List());
    ++lists;
  }
  EXPECT_EQ(lists, 9);  // the eight pattern and user lists and the operator list
  EXPECT_THROW(controls.List(ctl::kUserListView), std::out_of_range);
  EXPECT_THROW(controls.Get("NoSuchControl"), std::out_of_range);
  EXPECT_EQ(controls.Find("NoSuchControl"), nullptr);
}

}  // namespace
}  // namespace varnek
