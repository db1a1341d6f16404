#pragma once
// The names an object's values go by: the captions of its rows, and the few
// the model takes beside them (an altitude's stored words, a section's curve
// values). A name that is none of these is no value
// of the object, and is answered as such rather than read as 0.
#include <optional>
#include <string>

namespace meridal {

class TBase;

bool HasValueNamed(const TBase& object, const std::string& name);
// The value as `get` prints it: the row's value text for a row, the stored
// number otherwise; nothing when the object has no value of that name.
std::optional<std::string> ValueTextNamed(const TBase& object, const std::string& name);
// "Section 0 has no value named "Lenght"; its values are: Type, Start, Length, ..."
std::string NoValueNamedText(const TBase& object, const std::string& name);

}  // namespace meridal
