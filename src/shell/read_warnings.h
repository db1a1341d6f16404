#pragma once
// What a document just read may call for before the user works on it: a file
// read all the same although damaged, and a track longer than a track can hold.
// Each is told in one warning box (title "Meridal").
#include <string>
#include <vector>

namespace meridal {

class IMessages;
class TTrack;

// The places shown in the damage warning; the rest are counted.
constexpr size_t kDamagedPlacesShown = 10;

// "circuit.mrd is damaged: ..." with the first places, one a line.
std::string DamagedFileText(const std::string& fileName, const std::vector<std::string>& damage);

// Shows the warnings the document read from `path` calls for; true when the file
// was damaged.
bool WarnAboutReadDocument(IMessages& messages, const std::string& path, const TTrack& track,
                           const std::vector<std::string>& damage);

}  // namespace meridal
