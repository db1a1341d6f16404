#pragma once
// Copy and Paste of a run of sections on a document. Copy gives the text for the
// clipboard (see section_payload.h); Paste reads such a text and inserts its
// sections after a section of the document as one step ("Paste 3 Sections").
// Both are free of any windowing system: the GUI puts the text on the system
// clipboard, the command line on its output or in a batch's own clipboard.
#include <string>
#include <string_view>

#include "history/editor.h"

namespace meridal {

class TDocument;

namespace clipboard {

// The document's selected run as clipboard text; empty when no section is selected.
std::string CopySelectedRun(const TDocument& document);

// Pastes the sections of `text` after section `after`. Refused, changing
// nothing, with the reason: a text that is no list of sections ("The text is not
// a list of sections: line 1: ..."), or sections that would not fit the track.
history::Outcome PasteSections(TDocument& document, std::string_view text, int after, std::string& reason);

}  // namespace clipboard
}  // namespace meridal
