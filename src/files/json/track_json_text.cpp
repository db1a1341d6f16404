#include "files/json/track_json_text.h"

#include <algorithm>
#include <cstdio>

namespace meridal::json_text {

namespace {

bool InWord(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' || c == '+' ||
         c == '.' || c == '_';
}

}  // namespace

void Progress::Read(const char* at) {
  const char c = *at;
  const auto begin = [&](Lexeme kind, size_t counted) {
    lexeme = kind;
    start = at;
    length = counted;
  };
  switch (lexeme) {
    case Lexeme::Between:
      if (c == '"') begin(Lexeme::String, 0);
      else if (c == '-' || (c >= '0' && c <= '9')) begin(Lexeme::Number, 1);
      return;
    case Lexeme::String:
      if (c == '"') {
        lexeme = Lexeme::Between;
        return;
      }
      if (c == '\\') lexeme = Lexeme::Escape;
      break;
    case Lexeme::Escape:
      lexeme = Lexeme::String;
      break;
    case Lexeme::Number:
      if (!InNumber(c)) {
        lexeme = Lexeme::Between;
        return Read(at);
      }
      break;
  }
  if (++length > kLongestFileText && !overflow) overflow = start;
}

std::string_view WrittenNumber(std::string_view text, const char* mark) {
  const char* begin = text.data();
  const char* end = text.data() + text.size();
  // The parser has read one character past the number to see it end, unless the
  // text ended with it.
  const char* q = mark;
  if (q > begin && !Progress::InNumber(q[-1])) --q;
  const char* start = q;
  while (start > begin && Progress::InNumber(start[-1])) --start;
  const char* stop = start;
  while (stop < end && InWord(*stop) && static_cast<size_t>(stop - start) < kLongestFileText) ++stop;
  return {start, static_cast<size_t>(stop - start)};
}

const char* NumberProblem(std::string_view written, bool exact) {
  const std::string_view digits = written.substr(!written.empty() && written[0] == '-');
  const bool allDigits =
      !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (allDigits && digits.size() > 1 && digits[0] == '0') return " is not a decimal integer: it begins with a 0";
  if (allDigits) return exact ? nullptr : " does not fit in 32 bits";
  const bool numeral = std::all_of(digits.begin(), digits.end(), Progress::InNumber);
  if (numeral && digits.find_first_of(".eE") != std::string_view::npos) return " is not an integer";
  return " is not a decimal integer";
}

std::string WithTokenShown(const std::string& message) {
  const size_t read = message.find("last read: '");
  const size_t close = message.rfind('\'');
  if (read == std::string::npos || close <= read + 11) return message;
  const std::string token = message.substr(read + 12, close - read - 12);
  // The parser writes a control character as "<U+001B>": back to the byte.
  std::string raw;
  for (size_t i = 0; i < token.size(); ++i) {
    unsigned code = 0;
    if (token.compare(i, 3, "<U+") == 0 && i + 8 <= token.size() && token[i + 7] == '>' &&
        std::sscanf(token.c_str() + i + 3, "%4X", &code) == 1 && code < 0x20) {
      raw += static_cast<char>(code);
      i += 7;
    } else {
      raw += token[i];
    }
  }
  return message.substr(0, read + 12) + ShownFileText(raw) + message.substr(close);
}

}  // namespace meridal::json_text
