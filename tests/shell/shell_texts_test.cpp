#include "shell/shell_texts.h"

#include <gtest/gtest.h>

#include "shell/shell_doubles.h"

namespace meridal {
namespace {

TEST(ShellTexts, PromptsAndRefusalsEndWithABlankBeforeTheirMark) {
  EXPECT_EQ(QuestionText("Remove", "Section 1 (straight)"), "Remove Section 1 (straight) ?");
  EXPECT_EQ(RefusalText("Cannot add before", "Wall 0"), "Cannot add before Wall 0 !");
  EXPECT_EQ(RefusalText("Cannot remove", ""), "Cannot remove  !");
  // The verb phrase of the save prompt ends in a blank: two blanks before the name.
  EXPECT_EQ(SaveChangesText("noname.mrd"), "Save changes to  noname.mrd ?");
  EXPECT_EQ(SaveChangesText("/tmp/a b.mrd"), "Save changes to  /tmp/a b.mrd ?");
}

TEST(ShellTexts, ExportReplacesTheLastThreeCharacters) {
  EXPECT_EQ(ExportNameProposal("noname.mrd"), "noname.trk");
  EXPECT_EQ(ExportNameProposal("/home/me/circuit.mrd"), "/home/me/circuit.trk");
  EXPECT_EQ(ExportNameProposal("abcd"), "atrk");
  EXPECT_EQ(ExportNameProposal("a.mrdx"), "a.mtrk");  // not an extension rule: three characters
  // Three characters or fewer are proposed unchanged.
  EXPECT_EQ(ExportNameProposal("abc"), "abc");
  EXPECT_EQ(ExportNameProposal("ab"), "ab");
  EXPECT_EQ(ExportNameProposal(""), "");
  // Characters, not bytes: a name ending in "ü" (two bytes) keeps whole characters.
  EXPECT_EQ(ExportNameProposal("piste.m\xC3\xBC" "d"), "piste.trk");
  EXPECT_EQ(ExportNameProposal("\xC3\xA9\xC3\xA9\xC3\xA9"), "\xC3\xA9\xC3\xA9\xC3\xA9");
}

TEST(ShellTexts, BoxesCarryTheProgramsTitle) {
  testing::ScriptedMessages messages;
  messages.answers = {MessageAnswer::Yes, MessageAnswer::No};
  EXPECT_TRUE(AskYesNo(messages, "Remove Wall 1 ?"));
  EXPECT_FALSE(AskYesNo(messages, "Remove Wall 1 ?"));
  ShowRefusal(messages, "Cannot remove Wall 1 !");
  ShowInformation(messages, "This value can not be edited !");
  ASSERT_EQ(messages.shown.size(), 4u);
  for (const auto& m : messages.shown) EXPECT_EQ(m.title, "Meridal");
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::Question);
  EXPECT_EQ(messages.shown[0].buttons, MessageButtons::YesNo);
  EXPECT_EQ(messages.shown[2].icon, MessageIcon::Error);
  EXPECT_EQ(messages.shown[2].buttons, MessageButtons::Ok);
  EXPECT_EQ(messages.shown[3].icon, MessageIcon::Information);
}

TEST(ShellTexts, TheStatusBarNamesWhatWasWritten) {
  EXPECT_EQ(SavedText("tracks/circuit.mrd", false), "Saved circuit.mrd");
  EXPECT_EQ(SavedText("circuit.mrd", true), "Saved circuit.mrd in place (its folder takes no temporary file)");
  EXPECT_EQ(ExportedText("tracks/circuit.trk", 1234, 0), "Exported circuit.trk (1,234 bytes)");
  EXPECT_EQ(ExportedText("c.trk", 1234567, 0), "Exported c.trk (1,234,567 bytes)");
  EXPECT_EQ(ExportedText("c.trk", 1234, 3), "Exported; the track has 3 gaps (see View > Track Check)");
}

}  // namespace
}  // namespace meridal
