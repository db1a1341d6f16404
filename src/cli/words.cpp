#include "cli/words.h"

namespace meridal {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The characters a backslash escapes inside double quotes; before any other the
// backslash stays as written.
bool EscapedInDoubleQuotes(char c) { return c == '$' || c == '`' || c == '"' || c == '\\'; }

}  // namespace

TWords SplitWords(std::string_view line) {
  TWords result;
  std::string word;
  bool inWord = false;  // "" is a word of its own, so a word can be empty
  size_t i = 0;
  auto endWord = [&] {
    if (inWord) result.words.push_back(std::move(word));
    word.clear();
    inWord = false;
  };
  while (i < line.size()) {
    const char c = line[i++];
    if (IsBlank(c)) {
      endWord();
    } else if (c == '#' && !inWord) {
      break;
    } else if (c == '\\') {
      if (i == line.size()) {
        result.error = "a backslash ends the line";
        break;
      }
      word += line[i++];
      inWord = true;
    } else if (c == '\'') {
      const size_t close = line.find('\'', i);
      if (close == std::string_view::npos) {
        result.error = "unterminated single quote";
        break;
      }
      word.append(line.substr(i, close - i));
      i = close + 1;
      inWord = true;
    } else if (c == '"') {
      inWord = true;
      while (i < line.size() && line[i] != '"') {
        if (line[i] == '\\' && i + 1 < line.size() && EscapedInDoubleQuotes(line[i + 1])) ++i;
        word += line[i++];
      }
      if (i == line.size()) {
        result.error = "unterminated double quote";
        break;
      }
      ++i;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (!result.error.empty()) result.words.clear();
  else endWord();
  return result;
}

}  // namespace meridal
