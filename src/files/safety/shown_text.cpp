#include "files/safety/shown_text.h"

#include <cstdint>

namespace meridal {

namespace {

// The length of the UTF-8 sequence that starts the text, 0 when it starts with
// none (a stray continuation byte, an overlong or cut form, a surrogate).
size_t SequenceLength(std::string_view text) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  const auto continues = [&](size_t i) { return i < text.size() && (byte(i) & 0xC0) == 0x80; };
  const uint8_t lead = byte(0);
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return continues(1) ? 2 : 0;
  if (lead >= 0xE0 && lead <= 0xEF) {
    if (!continues(1) || !continues(2)) return 0;
    if (lead == 0xE0 && byte(1) < 0xA0) return 0;   // overlong
    if (lead == 0xED && byte(1) >= 0xA0) return 0;  // a surrogate
    return 3;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    if (!continues(1) || !continues(2) || !continues(3)) return 0;
    if (lead == 0xF0 && byte(1) < 0x90) return 0;  // overlong
    if (lead == 0xF4 && byte(1) >= 0x90) return 0;  // beyond U+10FFFF
    return 4;
  }
  return 0;
}

uint32_t CodePoint(std::string_view s, size_t n) {
  const auto b = [&](size_t i) { return static_cast<uint32_t>(static_cast<uint8_t>(s[i])); };
  switch (n) {
    case 1: return b(0);
    case 2: return (b(0) & 0x1F) << 6 | (b(1) & 0x3F);
    case 3: return (b(0) & 0x0F) << 12 | (b(1) & 0x3F) << 6 | (b(2) & 0x3F);
    default: return (b(0) & 0x07) << 18 | (b(1) & 0x3F) << 12 | (b(2) & 0x3F) << 6 | (b(3) & 0x3F);
  }
}

// Characters that act on a terminal or on the way the text around them reads.
bool Hidden(uint32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
         (c >= 0x2066 && c <= 0x2069) || c == 0x2028 || c == 0x2029 || c == 0x061C;
}

void AppendEscaped(std::string& out, std::string_view bytes) {
  static const char kHex[] = "0123456789abcdef";
  for (char c : bytes) {
    const auto b = static_cast<uint8_t>(c);
    out += "\\x";
    out += kHex[b >> 4];
    out += kHex[b & 0xF];
  }
}

// The text escaped, shortened to `limit` characters with "…" when longer.
std::string Escaped(std::string_view text, size_t limit) {
  std::string out;
  size_t shown = 0;  // characters, an escaped byte counting as the four it takes
  size_t i = 0;
  while (i < text.size()) {
    const size_t n = SequenceLength(text.substr(i));
    const bool escaped = n == 0 || Hidden(CodePoint(text.substr(i), n));
    const size_t bytes = n == 0 ? 1 : n;
    const size_t width = escaped ? 4 * bytes : 1;
    if (shown + width > limit) {
      out += "\u2026";
      return out;
    }
    if (escaped)
      AppendEscaped(out, text.substr(i, bytes));
    else
      out.append(text.substr(i, bytes));
    shown += width;
    i += bytes;
  }
  return out;
}

}  // namespace

std::string ShownFileText(std::string_view text) { return Escaped(text, kShownTextCharacters); }

std::string ShownPath(std::string_view path) { return Escaped(path, SIZE_MAX); }

}  // namespace meridal
