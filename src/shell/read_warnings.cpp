#include "shell/read_warnings.h"

#include "model/length_limit.h"
#include "platform/messages.h"
#include "shell/shell_texts.h"

namespace meridal {

std::string DamagedFileText(const std::string& fileName, const std::vector<std::string>& damage) {
  std::string text = fileName + " is damaged: " + std::to_string(damage.size()) +
                     (damage.size() == 1 ? " place does" : " places do") +
                     " not hold what the file itself fixes. It has been opened so that you can rescue what is "
                     "left; look at these places before you save it:";
  for (size_t i = 0; i < damage.size() && i < kDamagedPlacesShown; ++i) text += "\n" + damage[i];
  if (damage.size() > kDamagedPlacesShown)
    text += "\n... and " + std::to_string(damage.size() - kDamagedPlacesShown) + " more";
  return text;
}

bool WarnAboutReadDocument(IMessages& messages, const std::string& path, const TTrack& track,
                           const std::vector<std::string>& damage) {
  const std::string name = FileNameOf(path);
  if (!damage.empty())
    messages.Show(kAppTitle, DamagedFileText(name, damage), MessageIcon::Warning, MessageButtons::Ok);
  if (!WithinLengthLimit(track))
    messages.Show(kAppTitle,
                  name + ": " + LengthLimitText(track) +
                      ". Its Length and the Starts beyond that are wrong, and it cannot be exported until it is "
                      "shorter.",
                  MessageIcon::Warning, MessageButtons::Ok);
  return !damage.empty();
}

}  // namespace meridal
