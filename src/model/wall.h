#pragma once
// A wall: a lateral line along a section from From (at the start) to To (at the
// end). Wall i and wall i + 1 bound strip i, which wall i's values describe.
#include "model/base.h"

namespace meridal {

class TSection;

// Surface codes that have names.
enum SurfaceCode : int32_t {
  kSurfaceTarmac = 1, kSurfaceConcrete = 2, kSurfaceCurbs = 3, kSurfaceGrass = 4,
  kSurfaceDirt = 5, kSurfaceGravel = 6, kSurfaceBanking = 7, kSurfaceLeftBorder = 10,
  kSurfaceFlag = 2048,  // codes of 2048 and above carry an extra marking
};

// The name of a surface code, or nullptr when it has none.
const char* SurfaceName(int32_t surface);

class TWall final : public TBase, public WallValues {
 public:
  explicit TWall(TSection* owner);
  // A copy of every field, corner points and Number included, for another owner.
  TWall(TSection* owner, const TWall& source);

  // Tracks hold these by the hundred thousand: they come from a pool.
  static void* operator new(size_t size);
  static void operator delete(void* p) noexcept;

  WallValues& Values() { return *this; }
  const WallValues& Values() const { return *this; }

  TSection* Section() const;

  bool ReadProject(ProjectReader& in) override;
  bool ExportTrack(TrackExportWriter& out) override;
  bool WriteProject(ProjectWriter& out) override;
  TBase* Next() const override;
  TBase* Previous() const override;
  int32_t GetValue(const std::string& name) const override;
  bool SetValue(const std::string& name, int32_t value) override;
};

}  // namespace meridal
