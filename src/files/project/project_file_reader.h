#pragma once
// TProjectFileReader: a project file (*.mrd) read into a track.
//
// The header, the trace list and the section records are checked first, and a
// file that does not hold together is refused with one message box (title
// "Error"): its first line one of the read errors of project_format.h, beneath
// it the file's name and what was wrong ("circuit.mrd: the file ends inside
// section 4's walls: it holds 3000 bytes, but its records need 3200"). The
// track then keeps what it held.
//
// The altitude and wall tables are deciphered a chunk at a time, on a second
// thread for a large file, while the sections are built from the chunks already
// deciphered.
//
// A file that holds together but whose records do not hold what the file itself
// fixes (see project_damage.h) is read all the same; Damage() lists the places.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "files/project/project_layout.h"
#include "platform/messages.h"

namespace meridal {

class TTrack;

class TProjectFileReader {
 public:
  // Borrows the bytes (deciphered into a buffer of the reader's own), or takes
  // them over (deciphered in place). `fileName` names the file in the messages.
  TProjectFileReader(std::span<const uint8_t> file, IMessages& messages, std::string fileName = {});
  TProjectFileReader(std::vector<uint8_t>&& file, IMessages& messages, std::string fileName = {});

  // Builds the track from the file, replacing what it held.
  bool ReadProject(TTrack& track);
  // The places the last read found damaged, one line each, in file order.
  const std::vector<std::string>& Damage() const { return damage_; }
  // What is wrong with the header of a file of `size` bytes that begins with
  // `head`: the magic, the version and the counts against the size, the first
  // checks of ReadProject, which the rest of the file cannot change.
  static std::optional<TReadRefusal> CheckHeader(std::span<const uint8_t> head, uint64_t size);

 private:
  struct Head;
  std::optional<TReadRefusal> ReadHead(Head& head);
  bool Refuse(const TReadRefusal& refusal);

  std::vector<uint8_t> owned_;
  std::span<const uint8_t> file_;
  IMessages& messages_;
  std::string fileName_;
  std::vector<std::string> damage_;
};

}  // namespace meridal
