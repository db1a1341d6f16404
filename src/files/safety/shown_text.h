#pragma once
// Text taken from a file and repeated in a message: a key, a format name, a number
// as it was written. Such text is anybody's: it may hold escape sequences that
// drive a terminal, markup, or megabytes. It is shown escaped and short.
#include <cstddef>
#include <string>
#include <string_view>

namespace meridal {

// No key, name or number of a track file is longer; a longer one is refused where
// it is met, before it is copied.
constexpr size_t kLongestFileText = 4096;
// About this many characters of a text are shown.
constexpr size_t kShownTextCharacters = 40;

// The text with every control character (C0, DEL, C1), every character that turns
// the direction of the text, and every byte that is not UTF-8 written as \xNN
// (a byte each), shortened to kShownTextCharacters characters with "…" when
// longer. Only the part shown is looked at, however long the text.
std::string ShownFileText(std::string_view text);

// A file's path or name as a message repeats it: escaped as ShownFileText
// escapes, but never shortened, so that the file can still be told from its
// neighbours. A name may hold a newline or a terminal's escape sequence as well
// as any text a file holds.
std::string ShownPath(std::string_view path);

}  // namespace meridal
