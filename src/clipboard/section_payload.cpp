#include "clipboard/section_payload.h"

#include "files/json/track_json_reader.h"
#include "files/json/track_json_writer.h"
#include "model/track.h"
#include "platform/messages.h"

namespace meridal::clipboard {

namespace {

// The reader's message, kept instead of shown.
class KeptMessage : public IMessages {
 public:
  std::string text;
  MessageAnswer Show(const std::string&, const std::string& message, MessageIcon, MessageButtons) override {
    text = message;
    return MessageAnswer::Ok;
  }
};

}  // namespace

std::string SectionsPayload(const TTrack& track, TSectionRun run) {
  if (run.Empty()) return std::string();
  return TrackJsonWriter().Write(track, run.first, run.Count());
}

bool ReadSectionsPayload(std::string_view text, TTrack& sections, std::string& error) {
  KeptMessage message;
  if (TrackJsonReader(text, message).Read(sections)) return true;
  // The reader names a file; here the text is all there is.
  constexpr std::string_view kFile = "JSON file, ";
  error = message.text.rfind(kFile, 0) == 0 ? message.text.substr(kFile.size())
          : message.text.rfind("JSON file: ", 0) == 0 ? message.text.substr(11)
                                                     : message.text;
  return false;
}

}  // namespace meridal::clipboard
