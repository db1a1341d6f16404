// The property list's commands: editing a row's value and the trace popup.
#include "present/property_rows.h"
#include "shell/property_list_commands.h"

#include <gtest/gtest.h>

#include "model/track.h"
#include "shell/document_shell.h"
#include "shell/shell_doubles.h"

namespace meridal {
namespace {

class PropertyListCommandsTest : public ::testing::Test, public testing::ShellFixture {
 protected:
  TPropertyListCommands& commands = list;

  void SetUp() override { shell.FileNew(); }
  PropertyRow Row(const TBase& object, const std::string& caption) {
    RowList rows;
    FillProperties(object, rows);
    for (const auto& r : rows)
      if (r.Caption == caption) return r;
    ADD_FAILURE() << "no row " << caption;
    return {};
  }
};

TEST_F(PropertyListCommandsTest, ARowThatIsNotEditableSaysSo) {
  TSection& section = *shell.Track()->Section(0);
  commands.EditRow(&section, nullptr);  // no row selected
  EXPECT_TRUE(messages.shown.empty());
  const PropertyRow type = Row(section, "Type");
  commands.EditRow(&section, &type);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "This value can not be edited !");
  EXPECT_EQ(messages.shown[0].title, "Meridal");
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::Information);
  EXPECT_EQ(dialogs.editValues, 0);
  // An empty Edit text is not "yes" either.
  const PropertyRow gradient = Row(*section.Altitude(0), "Gradient@Start");
  ASSERT_EQ(gradient.SubItems.size(), 3u);
  commands.EditRow(section.Altitude(0), &gradient);
  EXPECT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(dialogs.editValues, 0);
}

TEST_F(PropertyListCommandsTest, AnEditedValueRefreshesTheListAndTheDocument) {
  TSection& section = *shell.Track()->Section(0);
  const PropertyRow length = Row(section, "Length");
  const int refills = windows.refills;  // the document's first selection filled the list
  commands.EditRow(&section, &length);  // Cancel
  EXPECT_EQ(dialogs.editValues, 1);
  EXPECT_EQ(dialogs.editedObject, &section);
  EXPECT_EQ(dialogs.editedName, "Length");
  EXPECT_FALSE(shell.Modified());
  EXPECT_EQ(windows.refills, refills);

  dialogs.editResult = 2 * 984252;
  commands.EditRow(&section, &length);
  EXPECT_EQ(section.Length, 2 * 984252);
  EXPECT_EQ(windows.refills, refills + 1);
  EXPECT_TRUE(shell.Modified());
  EXPECT_TRUE(windows.saveEnabled);
  EXPECT_EQ(windows.repaints, 1);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PropertyListCommandsTest, OnlyTraceRowsEnableThePopup) {
  EXPECT_FALSE(TPropertyListCommands::TraceRowSelected(nullptr));
  const PropertyRow trace = Row(*shell.Track(), "Trace 1");
  const PropertyRow length = Row(*shell.Track(), "Length");
  EXPECT_TRUE(TPropertyListCommands::TraceRowSelected(&trace));
  EXPECT_FALSE(TPropertyListCommands::TraceRowSelected(&length));
}

TEST_F(PropertyListCommandsTest, TraceCommandsRefuseNamesThatAreNoTraces) {
  commands.RunTraceCommand(TraceCommand::Remove, "Length");
  commands.RunTraceCommand(TraceCommand::AddBefore, "Trace 03");
  commands.RunTraceCommand(TraceCommand::AddAfter, "Trace");
  EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"Cannot remove Length !", "Cannot add Trace 03 !",
                                                       "Cannot add Trace !"}));
  for (const auto& m : messages.shown) EXPECT_EQ(m.icon, MessageIcon::Error);
  EXPECT_EQ(shell.Track()->NumberOfTraces(), 2);
}

TEST_F(PropertyListCommandsTest, ARefusedTraceCommandChangesNothing) {
  const std::vector<int32_t> traces = shell.Track()->Traces;
  messages.answers = {MessageAnswer::No};
  commands.RunTraceCommand(TraceCommand::Remove, "Trace 3");
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Remove Trace 3 ?"});

  messages.shown.clear();
  messages.answers = {MessageAnswer::Yes};
  commands.RunTraceCommand(TraceCommand::Remove, "Trace 3");  // a two-trace track has no trace 3
  EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"Remove Trace 3 ?", "Cannot remove Trace 3 !"}));
  messages.shown.clear();
  messages.answers = {MessageAnswer::Yes};
  commands.RunTraceCommand(TraceCommand::Remove, "Trace 1");  // two traces stay
  EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"Remove Trace 1 ?", "Cannot remove Trace 1 !"}));
  messages.shown.clear();
  messages.answers = {MessageAnswer::Yes};
  commands.RunTraceCommand(TraceCommand::AddAfter, "Trace 2147483647");
  EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"Add new trace after Trace 2147483647 ?",
                                                       "Cannot add Trace 2147483647 !"}));
  EXPECT_EQ(shell.Track()->Traces, traces);
  EXPECT_FALSE(shell.Modified());
  EXPECT_EQ(windows.refills, 0);
}

}  // namespace
}  // namespace meridal
