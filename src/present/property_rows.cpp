#include "present/property_rows.h"

#include <cmath>

#include "model/curved_section.h"
#include "model/numbers.h"
#include "model/straight_section.h"
#include "model/track.h"
#include "model/units.h"
#include "present/format.h"
#include "present/row_builder.h"

namespace meridal {

namespace {

const std::string kYes = "yes";

// The rows that follow the section's own: its continuity with the previous one.
void AddContinuityRows(const TSection& section, RowList& items) {
  const int32_t mismatch = section.OrientationMismatch();
  AddRow(items, "Orientation mismatch", kRowImageDerived, {FormatInt(mismatch), AngleMeaning(mismatch), kYes});
  const int32_t longitudinal = section.LongitudinalGap();
  AddRow(items, "Longitudinal gap", kRowImageDerived, {FormatInt(longitudinal), LengthMeaning(longitudinal), kYes});
  const int32_t lateral = section.LateralGap();
  AddRow(items, "Lateral gap", kRowImageDerived, {FormatInt(lateral), LengthMeaning(lateral), kYes});
}

void AddLengthRow(RowList& items, const char* caption, int32_t value, int image, bool editable) {
  if (editable) AddRow(items, caption, image, {FormatInt(value), LengthMeaning(value), kYes});
  else AddRow(items, caption, image, {FormatInt(value), LengthMeaning(value)});
}

void AddSectionHead(const TSection& section, RowList& items, const char* kind) {
  AddRow(items, "Type", kRowImageCode, {FormatInt(section.Type), kind});
  AddLengthRow(items, "Start", section.Start, kRowImageLength, false);
  AddLengthRow(items, "Length", section.Length, kRowImageLength, true);
  AddRow(items, "Orientation", kRowImageAngle,
         {FormatInt(section.Orientation), AngleMeaning(section.Orientation), kYes});
}

void TrackRows(const TTrack& track, RowList& items) {
  AddLengthRow(items, "Length", track.Length, kRowImageLength, false);
  AddLengthRow(items, "Sum of Section Lengths", track.SumOfSectionLengths(), kRowImageDerived, false);
  AddRow(items, "Number of Sections", kRowImageCode, {FormatInt(track.NumberOfSections())});
  AddRow(items, "Number of Traces", kRowImageCode, {FormatInt(track.NumberOfTraces())});
  for (int i = 0; i < track.NumberOfTraces(); ++i)
    AddLengthRow(items, FormatPrintf("Trace %i", i).c_str(), track.Traces[static_cast<size_t>(i)], kRowImageLength,
                 true);
}

void StraightRows(const TStraightSection& s, RowList& items) {
  AddSectionHead(s, items, "straight");
  AddContinuityRows(s, items);
}

void CurvedRows(const TCurvedSection& c, RowList& items) {
  AddSectionHead(c, items, "curved");
  AddLengthRow(items, "CurveCenterX", c.CurveCenterX(), kRowImageCoord, false);
  AddLengthRow(items, "CurveCenterY", c.CurveCenterY(), kRowImageCoord, false);
  AddRow(items, "Curvature", kRowImageAngle, {FormatInt(c.Curvature()), CurvatureMeaning(c.Curvature()), kYes});
  AddLengthRow(items, "Radius", nearest(c.Radius), kRowImageDerived, true);
  AddContinuityRows(c, items);
}

void WallRows(const TWall& w, RowList& items) {
  AddLengthRow(items, "From", w.From, kRowImageLength, true);
  AddLengthRow(items, "To", w.To, kRowImageLength, true);
  const char* name = SurfaceName(w.Surface);
  AddRow(items, "Surface", kRowImageCode,
         {FormatInt(w.Surface), name ? std::string(name) : FormatInt(w.Surface), kYes});
  AddLengthRow(items, "Height", w.Height, kRowImageLength, true);
  AddRow(items, "Unk1", kRowImageUnknown, {FormatInt(w.Unk1), "", kYes});
  AddRow(items, "Unk2", kRowImageUnknown, {FormatInt(w.Unk2), "", kYes});
  AddRow(items, "Unk3", kRowImageUnknown, {FormatInt(w.Unk3), "", kYes, "Vostrel Surface Sub-Type"});
  AddRow(items, "Unk4", kRowImageUnknown, {FormatInt(w.Unk4), "", kYes, "Vostrel Flags"});
  const auto* next = static_cast<const TWall*>(w.Next());
  AddLengthRow(items, "Width@Start", next ? wrapSub(next->From, w.From) : 0, kRowImageDerived, false);
  AddLengthRow(items, "Width@End", next ? wrapSub(next->To, w.To) : 0, kRowImageDerived, false);
}

void AltitudeRows(const TAltitude& a, RowList& items) {
  AddRow(items, "3rd order coeff.", kRowImageLength,
         {FormatInt(a.ThirdOrder), LengthMeaning(a.ThirdOrder), kYes, FormatPrintf("3*A = %i", a.A3)});
  AddRow(items, "2nd order coeff.", kRowImageLength,
         {FormatInt(a.SecondOrder), LengthMeaning(a.SecondOrder), kYes, FormatPrintf("2*B = %i", a.B2)});
  AddLengthRow(items, "1st order coeff.", a.FirstOrder, kRowImageLength, true);
  AddLengthRow(items, "Height@Start", a.HeightAtStart, kRowImageLength, true);
  AddLengthRow(items, "Height@End", a.HeightAtEnd(), kRowImageDerived, false);

  // Gradients use the trace's length whatever the direction of the curve; a trace
  // through the centre of an arc has no length and shows gradients of 0.
  const double length = std::fabs(a.TraceLength());
  const int32_t endSlope = wrapAdd(wrapAdd(wrapMul(3, a.ThirdOrder), wrapMul(2, a.SecondOrder)), a.FirstOrder);
  const double g0 = length == 0 ? 0.0 : a.FirstOrder / length;
  const double g1 = length == 0 ? 0.0 : endSlope / length;
  AddRow(items, "Gradient@Start", kRowImageDerived,
         {FormatPrintf("%.8E", g0), DegreesText(std::atan(g0) * 180.0 / Pi), ""});
  AddRow(items, "Gradient@End", kRowImageDerived,
         {FormatPrintf("%.8E", g1), DegreesText(std::atan(g1) * 180.0 / Pi)});
  const int32_t rounded = nearest(a.TraceLength());
  AddLengthRow(items, "Length of Trace", rounded, kRowImageDerived, false);
}

}  // namespace

void FillProperties(const TBase& object, RowList& items) {
  items.clear();
  if (const auto* track = dynamic_cast<const TTrack*>(&object)) TrackRows(*track, items);
  else if (const auto* curve = dynamic_cast<const TCurvedSection*>(&object)) CurvedRows(*curve, items);
  else if (const auto* straight = dynamic_cast<const TStraightSection*>(&object)) StraightRows(*straight, items);
  else if (const auto* wall = dynamic_cast<const TWall*>(&object)) WallRows(*wall, items);
  else if (const auto* altitude = dynamic_cast<const TAltitude*>(&object)) AltitudeRows(*altitude, items);
}

RowList PropertyRows(const TBase& object) {
  RowList rows;
  FillProperties(object, rows);
  return rows;
}

}  // namespace meridal
