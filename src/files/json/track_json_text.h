#pragma once
// How the general JSON reader follows the text under the parser: how far the
// parser has read (it gives no position for a value), the token it is reading
// (no key, string or number may grow beyond kLongestFileText), a number as it is
// written, and the parser's own messages with the file's text shown safely.
#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

#include "files/safety/shown_text.h"

namespace meridal::json_text {

// The parser copies a string or a number whole before it hands it over; a token
// longer than any a track holds is cut off where it passes the limit, so that a
// text of megabytes in one key is refused having copied a few kilobytes of it.
struct Progress {
  const char* mark;  // one past the last character read
  const char* end;
  enum class Lexeme { Between, String, Escape, Number } lexeme = Lexeme::Between;
  size_t length = 0;
  const char* start = nullptr;     // where the token began
  const char* overflow = nullptr;  // the token that grew too long, once one has

  static bool InNumber(char c) {
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
  }
  // The parser reads the character at `at`.
  void Read(const char* at);
};

// The characters of the text as the parser reads them, telling the progress
// each one. Once a token has grown too long the text ends there for the parser.
class TrackedChars {
 public:
  using iterator_category = std::forward_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  TrackedChars() = default;
  TrackedChars(const char* p, Progress* progress) : p_(p), progress_(progress) {}
  reference operator*() const { return *p_; }
  TrackedChars& operator++() {
    progress_->Read(p_);
    p_ = progress_->overflow ? progress_->end : p_ + 1;
    progress_->mark = p_;
    return *this;
  }
  TrackedChars operator++(int) {
    TrackedChars old = *this;
    ++*this;
    return old;
  }
  bool operator==(const TrackedChars& other) const { return p_ == other.p_; }

 private:
  const char* p_ = nullptr;
  Progress* progress_ = nullptr;
};

// The number the parser has just read, as it is written in `text`, with whatever
// letters and digits cling to it ("0x10", "0123", "1e309"); `mark` is how far the
// parser has read.
std::string_view WrittenNumber(std::string_view text, const char* mark);
// What is wrong with a number as written (" is not an integer"), or nullptr when
// it is a decimal integer that the parser read `exact`ly.
const char* NumberProblem(std::string_view written, bool exact);
// The parser's message with the token it names after "last read: " shown as
// every text from a file is shown.
std::string WithTokenShown(const std::string& message);

}  // namespace meridal::json_text
