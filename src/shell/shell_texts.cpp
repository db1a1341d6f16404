#include "shell/shell_texts.h"

#include "files/safety/shown_text.h"
namespace meridal {

std::string QuestionText(const std::string& verb, const std::string& label) {
  return verb + " " + label + " ?";
}

std::string RefusalText(const std::string& verb, const std::string& label) {
  return verb + " " + label + " !";
}

std::string SaveChangesText(const std::string& fileName) {
  return QuestionText("Save changes to ", fileName);
}

std::string ExportNameProposal(const std::string& fileName) {
  // Count characters, not bytes, so that a name ending in a multi-byte UTF-8
  // character keeps whole characters.
  size_t cut = fileName.size();
  int characters = 0;
  while (cut > 0 && characters < 3) {
    --cut;
    while (cut > 0 && (static_cast<unsigned char>(fileName[cut]) & 0xC0) == 0x80) --cut;
    ++characters;
  }
  if (characters < 3 || cut == 0) return fileName;  // three characters or fewer
  return fileName.substr(0, cut) + "trk";
}

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return ShownPath(slash == std::string::npos ? path : path.substr(slash + 1));
}

std::string GroupedCount(uint64_t n) {
  const std::string digits = std::to_string(n);
  std::string grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

std::string SavedText(const std::string& path, bool inPlace) {
  const std::string saved = "Saved " + FileNameOf(path);
  return inPlace ? saved + " in place (its folder takes no temporary file)" : saved;
}

std::string ExportedText(const std::string& path, uint64_t bytes, size_t gaps) {
  if (gaps == 0) return "Exported " + FileNameOf(path) + " (" + GroupedCount(bytes) + " bytes)";
  return "Exported; the track has " + std::to_string(gaps) + (gaps == 1 ? " gap" : " gaps") +
         " (see View > Track Check)";
}

std::string SaveElsewhereText(const std::string& path) {
  return QuestionText("Save " + FileNameOf(path), "under another name");
}

bool AskYesNo(IMessages& messages, const std::string& text) {
  return messages.Show(kAppTitle, text, MessageIcon::Question, MessageButtons::YesNo) ==
         MessageAnswer::Yes;
}

void ShowRefusal(IMessages& messages, const std::string& text) {
  messages.Show(kAppTitle, text, MessageIcon::Error, MessageButtons::Ok);
}

void ShowInformation(IMessages& messages, const std::string& text) {
  messages.Show(kAppTitle, text, MessageIcon::Information, MessageButtons::Ok);
}

}  // namespace meridal
