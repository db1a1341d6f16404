#include "files/unkept_values.h"

#include "model/altitude.h"
#include "model/section.h"
#include "model/track.h"

namespace meridal {

namespace {

std::string NotKept(const std::string& name, const std::string& derivation) {
  return name + " is not kept in the project file; it is " + derivation + " when the file is read";
}

}  // namespace

std::string UnkeptValueReason(const TBase& object, const std::string& name) {
  if (dynamic_cast<const TTrack*>(&object) && name == "Length")
    return NotKept(name, "the sum of the section lengths");
  if (dynamic_cast<const TSection*>(&object) && name == "Start")
    return NotKept(name, "the sum of the lengths of the sections before it");
  if (dynamic_cast<const TAltitude*>(&object)) {
    if (name == "A3") return NotKept(name, "3 \u00d7 3rd order coeff.");
    if (name == "B2") return NotKept(name, "2 \u00d7 2nd order coeff.");
  }
  return std::string();
}

}  // namespace meridal
