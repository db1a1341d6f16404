#pragma once
// TTrack: the root of a document. It owns the traces and the closed loop of
// sections: the section after the last is the first.
#include <cstdint>
#include <memory>
#include <vector>

#include "model/base.h"
#include "model/section.h"

namespace meridal {

class TTrack : public TBase, public TrackValues {
 public:
  TTrack();
  ~TTrack() override;

  char Tag[5] = {'T', 'R', 'A', 'K', '\0'};
  int32_t FormatCode = 3000;
  std::vector<std::unique_ptr<TSection>> Sections;

  TrackValues& Values() { return *this; }
  const TrackValues& Values() const { return *this; }

  int32_t NumberOfTraces() const { return static_cast<int32_t>(Traces.size()); }
  int32_t NumberOfSections() const { return static_cast<int32_t>(Sections.size()); }
  TSection* Section(int i) const { return Sections[static_cast<size_t>(i)].get(); }

  // ---- TBase ----
  void SetDefaults() override;
  bool ReadProject(ProjectReader& in) override;
  bool ExportTrack(TrackExportWriter& out) override;
  bool WriteProject(ProjectWriter& out) override;
  int32_t GetValue(const std::string& name) const override;
  bool SetValue(const std::string& name, int32_t value) override;

  // ---- bookkeeping ----
  void RecomputeRecordIndices();
  void RecomputeStarts();
  void UpdateExtent();
  bool SetTrace(int n, int32_t value);
  int32_t SumOfSectionLengths() const;
  // The same without wrapping: what the track's Length must hold.
  int64_t LengthSum() const;
  // The longest track whose Length and every Start fit their 32 bits (about 109 km).
  static constexpr int64_t kLongestTrack = INT32_MAX;
  // The trace number named by "Trace %i", or -1 when the name is not one.
  int TraceIndexOfName(const std::string& name) const;

  // ---- picking ----
  int SectionAt(double x, double y) const;

  // Number every section by its list index.
  void RenumberSections();
};

}  // namespace meridal
