// Placeholder bodies until the drawing lands; this file goes then.
#include "model/curved_section.h"
#include "model/straight_section.h"
#include "model/track.h"
#include "platform/canvas.h"

namespace meridal {
void TTrack::Draw(TScaleDraw&, int32_t) {}
void TTrack::DrawSelection(TScaleDraw&) {}
void TTrack::EraseSelection(TScaleDraw&, int32_t) {}
void TStraightSection::Draw(TScaleDraw&, int32_t) {}
void TStraightSection::DrawSelection(TScaleDraw&) {}
void TStraightSection::DrawStartFinish(TScaleDraw&) {}
void TCurvedSection::Draw(TScaleDraw&, int32_t) {}
void TCurvedSection::DrawSelection(TScaleDraw&) {}
void TCurvedSection::DrawStartFinish(TScaleDraw&) {}
void TSection::EraseBox(TScaleDraw&) {}
TColor TWall::SurfaceColor() const { return TColor{255, 255, 0, false}; }
}  // namespace meridal
