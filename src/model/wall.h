#pragma once
// A wall: a lateral line along a section from From (at the start) to To (at the
// end). Wall i and wall i + 1 bound strip i, which wall i's values describe.
#include "model/base.h"

namespace meridal {

class TSection;
struct TColor;

struct TPointD {
  double x = 0, y = 0;
  friend bool operator==(const TPointD&, const TPointD&) = default;
};

// Surface codes that have names.
enum SurfaceCode : int32_t {
  kSurfaceTarmac = 1, kSurfaceConcrete = 2, kSurfaceCurbs = 3, kSurfaceGrass = 4,
  kSurfaceDirt = 5, kSurfaceGravel = 6, kSurfaceBanking = 7, kSurfaceLeftBorder = 10,
  kSurfaceFlag = 2048,  // codes of 2048 and above carry an extra marking
};

// The name of a surface code, or nullptr when it has none.
const char* SurfaceName(int32_t surface);

class TWall final : public TBase {
 public:
  explicit TWall(TSection* owner);
  // A copy of every field, corner points and Number included, for another owner.
  TWall(TSection* owner, const TWall& source);

  // Tracks hold these by the hundred thousand: they come from a pool.
  static void* operator new(size_t size);
  static void operator delete(void* p) noexcept;

  int32_t From = 0;
  int32_t To = 0;
  int32_t Surface = 0;
  int32_t Unk1 = 0;
  int32_t Height = 0;
  int32_t Unk2 = 0;
  int32_t Unk3 = 0;
  int32_t Unk4 = 0;
  // Corner points kept by the section: world x/y on a straight (both on the start
  // cross-section), radius/angle on a curve.
  TPointD FromPoint;
  TPointD ToPoint;

  TSection* Section() const;

  void AddToTree(ITreeNodes& nodes, NodeHandle parent) override;
  void FillProperties(RowList& items) override;
  void EnableCommands(IEditCommands& menu) override;
  std::string Label(const std::string& buffer) const override;
  TBase* Next() override;
  TBase* Previous() override;
  void Highlight() override;
  int32_t AccessValue(const std::string& name, int32_t value, bool set) override;

  // Fill colour of the strip that begins at this wall.
  TColor SurfaceColor() const;
};

}  // namespace meridal
