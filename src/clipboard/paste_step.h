#pragma once
// Paste as a history step: the sections of a clipboard's text made for this
// track (see clipboard/pasted_sections.h) and inserted after a section, as one
// step named "Paste 3 Sections". The pasted sections are selected as a run.
#include <memory>
#include <string>

#include "history/step.h"

namespace meridal::history {

class TPasteSectionsStep : public TStep {
 public:
  // `source` holds the sections to paste with their traces. Refused (nullptr,
  // nothing changed) with the reason.
  static std::unique_ptr<TPasteSectionsStep> Do(TTrack& track, int after, const TTrack& source,
                                                std::string& reason);

 private:
  TPasteSectionsStep(std::string text, int after, int first, int last);
};

}  // namespace meridal::history
