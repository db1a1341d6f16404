#pragma once
// Edit > Reverse Track and Edit > Mirror Track on a document, each one step of
// its history ("Reverse Track", "Mirror Track"); refused, changing nothing, with
// the reason when a value would not fit 32 bits.
#include <string>

#include "history/editor.h"

namespace meridal {

class TDocument;

namespace transform {

history::Outcome ReverseTrack(TDocument& document, std::string& reason);
history::Outcome MirrorTrack(TDocument& document, std::string& reason);

}  // namespace transform
}  // namespace meridal
