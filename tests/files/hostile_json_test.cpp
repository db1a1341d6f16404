// Hostile JSON texts: what a refusal repeats of the file is escaped and short, a
// text of megabytes in one key is refused where it passes the limit, a number is
// named as written, and nothing may follow the document. (What the binary files
// take, the text takes: the round-trip property's tracks hold it.)
#include <gtest/gtest.h>

#include "files/json/track_json_reader.h"
#include "files/safety/shown_text.h"
#include "format_test_support.h"

namespace meridal {
namespace {

using testing::BytesOf;
using testing::JsonOf;
using testing::RecordingMessages;

// The default track's text with one piece replaced.
std::string DefaultWith(const std::string& find, const std::string& replace) {
  std::string text = JsonOf(*testing::DefaultTrack());
  const size_t at = text.find(find);
  EXPECT_NE(at, std::string::npos) << find;
  if (at != std::string::npos) text.replace(at, find.size(), replace);
  return text;
}

// The one message a refused text shows.
std::string Refusal(const std::string& text) {
  RecordingMessages messages;
  TTrack track;
  EXPECT_FALSE(TrackJsonReader(text, messages).Read(track)) << text.substr(0, 200);
  EXPECT_EQ(messages.shown.size(), 1u);
  return messages.Empty() ? std::string() : messages.Last().text;
}

TEST(HostileJson, RefusalsRepeatTextFromTheFileEscapedAndShort) {
  // C1 controls, direction marks and stray bytes too; never cut within an escape.
  EXPECT_EQ(ShownFileText("\xc2\x9b" "31m \xe2\x80\xae" "abc \xff"), "\\xc2\\x9b31m \\xe2\\x80\\xaeabc \\xff");
  EXPECT_EQ(ShownFileText(std::string(11, '\x01')),
            "\\x01\\x01\\x01\\x01\\x01\\x01\\x01\\x01\\x01\\x01\u2026");
  EXPECT_EQ(Refusal(DefaultWith("\"version\"", "\"<a href=\\\"https://example.invalid/fix\\\">Click here</a>\": 1, \"version\"")),
            "JSON file, line 3: unknown key \"<a href=\"https://example.invalid/fix\">Cl\u2026\" at the top");
  EXPECT_EQ(Refusal(DefaultWith("\"version\"", "\"\\u001b]0;owned\\u0007\\u0000\": 1, \"version\"")),
            "JSON file, line 3: unknown key \"\\x1b]0;owned\\x07\\x00\" at the top");
  EXPECT_EQ(Refusal(DefaultWith("meridal-track", "meridal\\u001b[2J")),
            "JSON file, line 2: format: \"meridal\\x1b[2J\" is not \"meridal-track\"");
  EXPECT_EQ(Refusal(DefaultWith("\"straight\"", "\"\\u009b31m\"")),
            "JSON file, line 6: sections[0].type: \"\\xc2\\x9b31m\" is neither \"straight\" nor \"curved\"");
  // A raw control character the parser itself stops at is shown the same way.
  EXPECT_EQ(Refusal(DefaultWith("\"version\"", "\"\x1b[31m\": 1, \"version\"")),
            "JSON file, line 3: syntax error while parsing object key - invalid string: control character "
            "U+001B (ESC) must be escaped to \\u001B; last read: '\"\\x1b'; expected string literal");
}

TEST(HostileJson, AKeyLongerThanAnyTrackHoldsIsRefusedWhereItPassesTheLimit) {
  const std::string key(16 << 20, 'k');
  const std::string text = DefaultWith("\"version\"", "\"" + key + "\": 1, \"version\"");
  const std::string message = Refusal(text);
  EXPECT_EQ(message, "JSON file, line 3: \"" + std::string(40, 'k') +
                         "\u2026\" is longer than any key or text of a track (4096 bytes)");
  // Read only so far: the text cut just past the limit is refused alike.
  const size_t start = text.find(key);
  EXPECT_EQ(Refusal(text.substr(0, start + kLongestFileText + 2)), message);
  EXPECT_EQ(JsonHeadRefusal(std::string_view(text).substr(0, 65536)), message);
  // The same for a string value and a number.
  EXPECT_EQ(Refusal(DefaultWith("meridal-track", std::string(5000, 'f'))),
            "JSON file, line 2: \"" + std::string(40, 'f') + "\u2026\" is longer than any key or text of a track (4096 bytes)");
  EXPECT_EQ(Refusal(DefaultWith("984252", std::string(5000, '9'))),
            "JSON file, line 6: sections[0]: " + std::string(40, '9') + "\u2026 is longer than any number (4096 characters)");
  // At the limit itself a key is only unknown.
  EXPECT_EQ(Refusal(DefaultWith("\"version\"", "\"" + std::string(4096, 'k') + "\": 1, \"version\"")),
            "JSON file, line 3: unknown key \"" + std::string(40, 'k') + "\u2026\" at the top");
}

TEST(HostileJson, NumbersAreNamedAsWrittenWithWhatIsWrong) {
  const std::pair<const char*, const char*> cases[] = {
      {"0x10", "0x10 is not a decimal integer"},
      {"0123", "0123 is not a decimal integer: it begins with a 0"},
      {"-9223372036854775809", "-9223372036854775809 does not fit in 32 bits"},
      {"18446744073709551616", "18446744073709551616 does not fit in 32 bits"},
      {"2500000000", "2500000000 does not fit in 32 bits"},
      {"1e309", "1e309 is not an integer"},
      {"1.5", "1.5 is not an integer"},
      {"12abc", "12abc is not a decimal integer"},
  };
  for (const auto& [written, problem] : cases)
    EXPECT_EQ(Refusal(DefaultWith("984252", written)), std::string("JSON file, line 6: sections[0].length: ") + problem);
}

TEST(HostileJson, NothingButWhiteSpaceMayFollowTheDocument) {
  const std::string text = JsonOf(*testing::DefaultTrack());
  const std::string after = "JSON file, line " + std::to_string(std::count(text.begin(), text.end(), '\n') + 1) + ": ";
  EXPECT_EQ(Refusal(text + std::string("\0{\"more\": 1}", 12)), after + "\"\\x00{\"more\": 1}\" follows the end of the track");
  EXPECT_EQ(Refusal(text + std::string("\0", 1)), after + "\"\\x00\" follows the end of the track");
  EXPECT_EQ(Refusal(text + "  x"), after + "\"x\" follows the end of the track");
  RecordingMessages messages;
  TTrack track;
  EXPECT_TRUE(TrackJsonReader(text + " \t\r\n\n", messages).Read(track));
  EXPECT_TRUE(messages.Empty());
}

}  // namespace
}  // namespace meridal
