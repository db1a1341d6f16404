#pragma once
// What each value of the property list means, in a track builder's words, for
// the tooltip on its row's name. The rows keep the file's own names (Curvature,
// Unk1, 3rd order coeff.); the tip says what they are: "Sweep: the angle the arc
// turns through".
#include <string>

namespace meridal {

// The tip for a row's caption; empty for a caption it does not know.
std::string ValueTip(const std::string& caption);

}  // namespace meridal
