#include "cli/object_path.h"

#include <cctype>
#include <vector>

#include "present/value_text.h"

namespace meridal {

namespace {

std::string Normalised(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '-' ? ' ' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == separator) parts.emplace_back();
    else parts.back() += c;
  }
  return parts;
}

// "word N" with a canonical non-negative number.
bool WordAndNumber(const std::string& part, const std::string& word, int& number) {
  if (part.compare(0, word.size() + 1, word + " ") != 0) return false;
  auto n = ParseCanonicalDecimal(part.substr(word.size() + 1));
  if (!n || *n < 0) return false;
  number = *n;
  return true;
}

}  // namespace

std::optional<TObjectPath> ParseObjectPath(const std::string& text) {
  const std::vector<std::string> parts = Split(Normalised(text), '/');
  if (parts.size() == 1 && parts[0] == "track") return TObjectPath::Track();
  int section = -1, child = -1;
  if (parts.empty() || parts.size() > 2 || !WordAndNumber(parts[0], "section", section)) return std::nullopt;
  if (parts.size() == 1) return TObjectPath::Section(section);
  if (WordAndNumber(parts[1], "wall", child)) return TObjectPath::Wall(section, child);
  if (WordAndNumber(parts[1], "altitude", child)) return TObjectPath::Altitude(section, child);
  return std::nullopt;
}

std::optional<TSectionRun> ParseSectionRange(const std::string& text, std::string* problem) {
  const size_t dash = text.find('-');
  if (dash == std::string::npos) return std::nullopt;
  const auto first = ParseCanonicalDecimal(text.substr(0, dash));
  const auto last = ParseCanonicalDecimal(text.substr(dash + 1));
  if (!first || !last || *first < 0 || *last < 0) return std::nullopt;
  if (*last < *first) {
    if (problem)
      *problem = text + " runs backwards: a range goes from the lower section number to the higher (" +
                 std::to_string(*last) + "-" + std::to_string(*first) + ")";
    return std::nullopt;
  }
  return TSectionRun{*first, *last};
}

}  // namespace meridal
