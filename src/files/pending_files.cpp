// Placeholder bodies until the project file and export land; this file goes then.
#include "model/curved_section.h"
#include "model/straight_section.h"
#include "model/track.h"

namespace meridal {
bool TTrack::ReadProject(ProjectReader&) { return false; }
bool TTrack::WriteProject(ProjectWriter&) { return false; }
bool TTrack::ExportTrack(TrackExportWriter&) { return false; }
bool TStraightSection::ReadProject(ProjectReader&) { return false; }
bool TStraightSection::WriteProject(ProjectWriter&) { return false; }
bool TCurvedSection::ReadProject(ProjectReader&) { return false; }
bool TCurvedSection::WriteProject(ProjectWriter&) { return false; }
bool TSection::ExportTrack(TrackExportWriter&) { return false; }
bool TAltitude::ReadProject(ProjectReader&) { return false; }
bool TAltitude::WriteProject(ProjectWriter&) { return false; }
bool TAltitude::ExportTrack(TrackExportWriter&) { return false; }
bool TWall::ReadProject(ProjectReader&) { return false; }
bool TWall::WriteProject(ProjectWriter&) { return false; }
bool TWall::ExportTrack(TrackExportWriter&) { return false; }
}  // namespace meridal
