// The rows each kind of object shows in the property list.
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
void AddContinuityRows(TSection& section, RowList& items) {
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

void AddSectionHead(TSection& section, RowList& items, const char* kind) {
  AddRow(items, "Type", kRowImageCode, {FormatInt(section.Type), kind});
  AddLengthRow(items, "Start", section.Start, kRowImageLength, false);
  AddLengthRow(items, "Length", section.Length, kRowImageLength, true);
  AddRow(items, "Orientation", kRowImageAngle,
         {FormatInt(section.Orientation), AngleMeaning(section.Orientation), kYes});
}

}  // namespace

void TTrack::FillProperties(RowList& items) {
  items.clear();
  AddLengthRow(items, "Length", Length, kRowImageLength, false);
  AddLengthRow(items, "Sum of Section Lengths", SumOfSectionLengths(), kRowImageDerived, false);
  AddRow(items, "Number of Sections", kRowImageCode, {FormatInt(NumberOfSections())});
  AddRow(items, "Number of Traces", kRowImageCode, {FormatInt(NumberOfTraces())});
  for (int i = 0; i < NumberOfTraces(); ++i)
    AddLengthRow(items, FormatPrintf("Trace %i", i).c_str(), Traces[static_cast<size_t>(i)], kRowImageLength, true);
}

void TStraightSection::FillProperties(RowList& items) {
  items.clear();
  AddSectionHead(*this, items, "straight");
  AddContinuityRows(*this, items);
}

void TCurvedSection::FillProperties(RowList& items) {
  items.clear();
  AddSectionHead(*this, items, "curved");
  AddLengthRow(items, "CurveCenterX", CurveCenterX(), kRowImageCoord, false);
  AddLengthRow(items, "CurveCenterY", CurveCenterY(), kRowImageCoord, false);
  AddRow(items, "Curvature", kRowImageAngle, {FormatInt(Curvature()), CurvatureMeaning(Curvature()), kYes});
  AddLengthRow(items, "Radius", nearest(Radius), kRowImageDerived, true);
  AddContinuityRows(*this, items);
}

void TWall::FillProperties(RowList& items) {
  items.clear();
  AddLengthRow(items, "From", From, kRowImageLength, true);
  AddLengthRow(items, "To", To, kRowImageLength, true);
  const char* name = SurfaceName(Surface);
  AddRow(items, "Surface", kRowImageCode, {FormatInt(Surface), name ? std::string(name) : FormatInt(Surface), kYes});
  AddLengthRow(items, "Height", Height, kRowImageLength, true);
  AddRow(items, "Unk1", kRowImageUnknown, {FormatInt(Unk1), "", kYes});
  AddRow(items, "Unk2", kRowImageUnknown, {FormatInt(Unk2), "", kYes});
  AddRow(items, "Unk3", kRowImageUnknown, {FormatInt(Unk3), "", kYes, "Vostrel Surface Sub-Type"});
  AddRow(items, "Unk4", kRowImageUnknown, {FormatInt(Unk4), "", kYes, "Vostrel Flags"});
  const auto* next = static_cast<const TWall*>(Next());
  AddLengthRow(items, "Width@Start", next ? wrapSub(next->From, From) : 0, kRowImageDerived, false);
  AddLengthRow(items, "Width@End", next ? wrapSub(next->To, To) : 0, kRowImageDerived, false);
}

void TAltitude::FillProperties(RowList& items) {
  items.clear();
  AddRow(items, "3rd order coeff.", kRowImageLength,
         {FormatInt(ThirdOrder), LengthMeaning(ThirdOrder), kYes, FormatPrintf("3*A = %i", A3)});
  AddRow(items, "2nd order coeff.", kRowImageLength,
         {FormatInt(SecondOrder), LengthMeaning(SecondOrder), kYes, FormatPrintf("2*B = %i", B2)});
  AddLengthRow(items, "1st order coeff.", FirstOrder, kRowImageLength, true);
  AddLengthRow(items, "Height@Start", HeightAtStart, kRowImageLength, true);
  AddLengthRow(items, "Height@End", HeightAtEnd(), kRowImageDerived, false);

  // Gradients use the trace's length whatever the direction of the curve; a trace
  // through the centre of an arc has no length and shows gradients of 0.
  const double length = std::fabs(TraceLength());
  const int32_t endSlope = wrapAdd(wrapAdd(wrapMul(3, ThirdOrder), wrapMul(2, SecondOrder)), FirstOrder);
  const double g0 = length == 0 ? 0.0 : FirstOrder / length;
  const double g1 = length == 0 ? 0.0 : endSlope / length;
  AddRow(items, "Gradient@Start", kRowImageDerived,
         {FormatPrintf("%.8E", g0), DegreesText(std::atan(g0) * 180.0 / Pi), ""});
  AddRow(items, "Gradient@End", kRowImageDerived,
         {FormatPrintf("%.8E", g1), DegreesText(std::atan(g1) * 180.0 / Pi)});
  const int32_t rounded = nearest(TraceLength());
  AddLengthRow(items, "Length of Trace", rounded, kRowImageDerived, false);
}

}  // namespace meridal
