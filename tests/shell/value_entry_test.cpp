// The typed-value field of the dialogs: pending text, conversion and restoring.
#include "shell/value_entry.h"

#include <gtest/gtest.h>

#include "shell/shell_doubles.h"

namespace meridal {
namespace {

TEST(ValueEntry, ShowingAValueLeavesNothingPending) {
  testing::ScriptedMessages messages;
  TValueEntry entry(messages);
  entry.Reset(1073741824);
  EXPECT_EQ(entry.Show(ValueBase::Decimal), "1073741824");
  EXPECT_EQ(entry.Show(ValueBase::Orientation), "90");
  EXPECT_EQ(entry.Show(ValueBase::Curvature), "180");
  entry.TextChanged(ValueBase::Decimal);
  EXPECT_EQ(entry.Show(ValueBase::Meters), "54546.08466 m");
  EXPECT_FALSE(entry.PendingBase);
  // Nothing pending: nothing converted, whatever the text.
  EXPECT_FALSE(entry.ConvertPending("garbage", ValueBase::Decimal));
  EXPECT_EQ(entry.CurrentValue, 1073741824);
  EXPECT_TRUE(messages.shown.empty());
}

TEST(ValueEntry, APendingTextIsReadInTheBaseChosenNow) {
  testing::ScriptedMessages messages;
  TValueEntry entry(messages);
  entry.Reset(0);
  entry.TextChanged(ValueBase::Meters);
  EXPECT_FALSE(entry.ConvertPending("1e3", ValueBase::Meters));
  EXPECT_EQ(entry.CurrentValue, 19685039);
  EXPECT_FALSE(entry.PendingBase);
  // Typed while Decimal was chosen, read after Meters was: the text is metres.
  entry.TextChanged(ValueBase::Decimal);
  EXPECT_FALSE(entry.ConvertPending("2", ValueBase::Meters));
  EXPECT_EQ(entry.CurrentValue, 39370);
  entry.TextChanged(ValueBase::Orientation);
  EXPECT_FALSE(entry.ConvertPending("180", ValueBase::Orientation));
  EXPECT_EQ(entry.CurrentValue, INT32_MIN);
  // A unit wins over the base; the locale's separator is taken beside the point,
  // and metres are shown with it.
  entry.ValueName = "Length";
  entry.Separator = ',';
  entry.TextChanged(ValueBase::Decimal);
  EXPECT_FALSE(entry.ConvertPending("12,5 m", ValueBase::Decimal));
  EXPECT_EQ(entry.CurrentValue, 246063);
  EXPECT_EQ(entry.Show(ValueBase::Meters), "12,5 m");
  EXPECT_TRUE(messages.shown.empty());
  entry.TextChanged(ValueBase::Meters);
  EXPECT_EQ(entry.ConvertPending("30\u00B0", ValueBase::Meters), std::optional<std::string>("12,5 m"));
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{
                                  "Input not valid !\nLength takes a length in m, cm, mm or km (at most 109092.17 m "
                                  "either way)"});
}

TEST(ValueEntry, AnInvalidTextIsRestoredInTheBaseItWasTypedIn) {
  testing::ScriptedMessages messages;
  TValueEntry entry(messages);
  entry.ValueName = "Orientation";
  entry.Reset(1073741824);
  entry.TextChanged(ValueBase::Orientation);
  // Read as Decimal (chosen now), "12.5" is not valid; shown back in Orientation.
  const auto restored = entry.ConvertPending("12.5", ValueBase::Decimal);
  ASSERT_TRUE(restored);
  EXPECT_EQ(*restored, "90");
  EXPECT_EQ(entry.CurrentValue, 1073741824);
  EXPECT_FALSE(entry.PendingBase);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            "Input not valid !\nOrientation takes a whole number from -2147483648 to 2147483647, or an angle in "
            "\u00B0, deg or rad (from -180\u00B0 to 180\u00B0)");
  EXPECT_EQ(messages.shown[0].title, "Meridal");
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);
  for (const char* bad : {"012", "+5", " 5", "5 ", ""}) {
    entry.TextChanged(ValueBase::Decimal);
    EXPECT_EQ(entry.ConvertPending(bad, ValueBase::Decimal), std::optional<std::string>("1073741824")) << bad;
  }
  entry.TextChanged(ValueBase::Orientation);
  EXPECT_TRUE(entry.ConvertPending("180.0001", ValueBase::Orientation));
  EXPECT_EQ(entry.CurrentValue, 1073741824);
}

TEST(CopyWallsNumber, OnlyACanonicalNumberOfAnExistingSection) {
  testing::ScriptedMessages messages;
  EXPECT_EQ(AcceptSectionNumber("2", 3, messages), 2);
  EXPECT_EQ(AcceptSectionNumber("0", 3, messages), 0);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_FALSE(AcceptSectionNumber("-1", 3, messages));
  EXPECT_FALSE(AcceptSectionNumber("3", 3, messages));
  EXPECT_FALSE(AcceptSectionNumber("007", 3, messages));
  EXPECT_FALSE(AcceptSectionNumber("", 3, messages));
  EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"Input not valid ! Range Error !",
                                                       "Input not valid ! Range Error !", "Input not valid !",
                                                       "Input not valid !"}));
}

}  // namespace
}  // namespace meridal
