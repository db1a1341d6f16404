#pragma once
// A line of a batch split into words the way a POSIX shell splits a command line,
// so that a line can be tried out in a shell first: blanks separate words; 'single
// quotes' keep everything as written; "double quotes" keep everything but a
// backslash before $ ` " \ (which stands for that character); outside quotes a
// backslash stands for the character after it; a # at the start of a word begins a
// comment. Nothing is expanded: $NAME, ~ and * are plain characters.
#include <string>
#include <string_view>
#include <vector>

namespace meridal {

struct TWords {
  std::vector<std::string> words;  // none for a blank line or a comment
  std::string error;               // why the line cannot be split; empty when it can
};

TWords SplitWords(std::string_view line);

}  // namespace meridal
