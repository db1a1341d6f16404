#pragma once
// Tracks and file surgery for the file tests.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "files/safety/byte_order.h"
#include "files/project/project_format.h"
#include "files/project/project_key.h"
#include "files/cipher/seal.h"
#include "model/curved_section.h"
#include "model/straight_section.h"
#include "model/track.h"
#include "support/track_builders.h"

namespace meridal::testing {

// Gives every altitude and wall of a section values of their own, so that a field
// written to or read from the wrong place shows.
inline void Stamp(TSection& s, int32_t base) {
  for (int i = 0; i < s.NumberOfAltitudes(); ++i) {
    TAltitude& a = *s.Altitude(i);
    a.SetValue("3rd order coeff.", base + 100 * i + 1);
    a.SetValue("2nd order coeff.", -(base + 100 * i + 2));
    a.FirstOrder = base + 100 * i + 3;
    a.HeightAtStart = base + 100 * i + 4;
  }
  for (int k = 0; k < s.NumberOfWalls(); ++k) {
    TWall& w = *s.Wall(k);
    w.Unk1 = base + 10 * k + 5;
    w.Height = base + 10 * k + 6;
    w.Unk2 = -(base + 10 * k + 7);
    w.Unk3 = base + 10 * k + 8;
    w.Unk4 = base + 10 * k + 9;
  }
}

// Four sections: a straight, a curve, a straight without walls, a curve turned
// right; every record stamped.
inline std::unique_ptr<TTrack> MixedTrack() {
  auto track = DefaultTrack();
  AppendCopy<TStraightSection>(*track);
  AppendCopy<TStraightSection>(*track);
  AppendCopy<TStraightSection>(*track);
  ConvertToCurve(*track, 1);
  TCurvedSection* right = ConvertToCurve(*track, 3);
  right->SetCurvature(-200000000);
  TSection* bare = track->Section(2);
  bare->Walls.clear();
  track->Section(0)->SetLength(500000);
  track->RecomputeRecordIndices();
  track->RecomputeStarts();
  for (int i = 0; i < track->NumberOfSections(); ++i) Stamp(*track->Section(i), 1000 * (i + 1));
  track->UpdateExtent();
  return track;
}

// One straight section across `traces` traces 1 m apart.
inline std::unique_ptr<TTrack> TrackWithTraces(int traces) {
  auto track = std::make_unique<TTrack>();
  for (int i = 0; i < traces; ++i) track->Traces.push_back(-400000 + 19685 * i);
  auto section = std::make_unique<TStraightSection>(track.get());
  section->SetDefaults();
  track->Sections.push_back(std::move(section));
  track->RecomputeRecordIndices();
  track->RecomputeStarts();
  track->UpdateExtent();
  return track;
}

// The plaintext of a project file: every group after the first 8 bytes unsealed.
inline std::vector<uint8_t> Unsealed(std::vector<uint8_t> image) {
  if (image.size() > kProjectHeaderGroupOffset)
    UnsealGroupsScalar(image.data() + kProjectHeaderGroupOffset,
                       (image.size() - kProjectHeaderGroupOffset) / kGroupBytes, kProjectKey);
  return image;
}
inline std::vector<uint8_t> Sealed(std::vector<uint8_t> plain) {
  if (plain.size() > kProjectHeaderGroupOffset)
    SealGroupsScalar(plain.data() + kProjectHeaderGroupOffset,
                     (plain.size() - kProjectHeaderGroupOffset) / kGroupBytes, kProjectKey);
  return plain;
}

inline int32_t WordAt(const std::vector<uint8_t>& bytes, size_t offset) {
  return static_cast<int32_t>(LoadLE32(bytes.data() + offset));
}
inline void SetWordAt(std::vector<uint8_t>& bytes, size_t offset, int32_t value) {
  StoreLE32(bytes.data() + offset, static_cast<uint32_t>(value));
}

// Every stored value and every value derived on reading, compared exactly.
inline void ExpectSameTrack(const TTrack& a, const TTrack& b) {
  EXPECT_STREQ(a.Tag, b.Tag);
  EXPECT_EQ(a.FormatCode, b.FormatCode);
  EXPECT_EQ(a.Length, b.Length);
  EXPECT_EQ(a.Traces, b.Traces);
  EXPECT_EQ(a.WallTableSize, b.WallTableSize);
  EXPECT_EQ(a.SectionTableSize, b.SectionTableSize);
  EXPECT_EQ(a.Extent, b.Extent);
  ASSERT_EQ(a.NumberOfSections(), b.NumberOfSections());
  for (int s = 0; s < a.NumberOfSections(); ++s) {
    SCOPED_TRACE(s);
    const TSection& x = *a.Section(s);
    const TSection& y = *b.Section(s);
    EXPECT_EQ(x.Type, y.Type);
    EXPECT_EQ(x.Number, y.Number);
    EXPECT_EQ(x.Start, y.Start);
    EXPECT_EQ(x.Length, y.Length);
    EXPECT_EQ(x.Orientation, y.Orientation);
    EXPECT_EQ(x.Reserved, y.Reserved);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(x.ExportWords[k], y.ExportWords[k]) << k;
    EXPECT_EQ(x.FirstAltitude, y.FirstAltitude);
    EXPECT_EQ(x.FirstWall, y.FirstWall);
    EXPECT_EQ(x.Radius, y.Radius);
    EXPECT_EQ(x.BaseX, y.BaseX);
    EXPECT_EQ(x.BaseY, y.BaseY);
    EXPECT_EQ(x.SpanX, y.SpanX);
    EXPECT_EQ(x.SpanY, y.SpanY);
    EXPECT_EQ(x.StartAngle, y.StartAngle);
    EXPECT_EQ(x.Extent, y.Extent);
    ASSERT_EQ(x.NumberOfAltitudes(), y.NumberOfAltitudes());
    for (int i = 0; i < x.NumberOfAltitudes(); ++i) {
      const TAltitude& p = *x.Altitude(i);
      const TAltitude& q = *y.Altitude(i);
      EXPECT_EQ(p.Number, q.Number);
      EXPECT_EQ(p.ThirdOrder, q.ThirdOrder);
      EXPECT_EQ(p.SecondOrder, q.SecondOrder);
      EXPECT_EQ(p.FirstOrder, q.FirstOrder);
      EXPECT_EQ(p.HeightAtStart, q.HeightAtStart);
      EXPECT_EQ(p.A3, q.A3);
      EXPECT_EQ(p.B2, q.B2);
      EXPECT_EQ(p.X, q.X);
      EXPECT_EQ(p.Y, q.Y);
    }
    ASSERT_EQ(x.NumberOfWalls(), y.NumberOfWalls());
    for (int k = 0; k < x.NumberOfWalls(); ++k) {
      const TWall& p = *x.Wall(k);
      const TWall& q = *y.Wall(k);
      EXPECT_EQ(p.Number, q.Number);
      EXPECT_EQ(p.From, q.From);
      EXPECT_EQ(p.To, q.To);
      EXPECT_EQ(p.Surface, q.Surface);
      EXPECT_EQ(p.Unk1, q.Unk1);
      EXPECT_EQ(p.Height, q.Height);
      EXPECT_EQ(p.Unk2, q.Unk2);
      EXPECT_EQ(p.Unk3, q.Unk3);
      EXPECT_EQ(p.Unk4, q.Unk4);
      EXPECT_EQ(p.FromPoint, q.FromPoint);
      EXPECT_EQ(p.ToPoint, q.ToPoint);
    }
  }
}

}  // namespace meridal::testing
