#pragma once
// TTrack: the root of a document. It owns the traces and the closed loop of
// sections: the section after the last is the first.
#include <memory>
#include <vector>

#include "model/base.h"
#include "model/section.h"

namespace meridal {

class TTrack : public TBase {
 public:
  TTrack();
  ~TTrack() override;

  char Tag[5] = {'T', 'R', 'A', 'K', '\0'};
  int32_t FormatCode = 3000;
  int32_t Length = 0;
  std::vector<int32_t> Traces;  // strictly increasing lateral positions
  std::vector<std::unique_ptr<TSection>> Sections;
  int32_t WallTableSize = 0;     // 32 * all walls
  int32_t SectionTableSize = 0;  // 52 * sections
  TRect Extent;

  // The tree that shows this track (set by AddToTree; none in a headless document),
  // and the flag that lets the tree's selection changes move the graph highlight.
  // The edit operations clear it around node deletions.
  ITreeNodes* Nodes = nullptr;
  bool TreeEventsEnabled = true;

  int32_t NumberOfTraces() const { return static_cast<int32_t>(Traces.size()); }
  int32_t NumberOfSections() const { return static_cast<int32_t>(Sections.size()); }
  TSection* Section(int i) const { return Sections[static_cast<size_t>(i)].get(); }
  TSection* HighlightedSection() const;

  // ---- TBase ----
  void SetDefaults() override;
  void AddToTree(ITreeNodes& nodes, NodeHandle parent) override;
  void FillProperties(RowList& items) override;
  void EnableCommands(IEditCommands& menu) override;
  void Draw(TScaleDraw& scaleDraw, int32_t viewFlags) override;
  void DrawSelection(TScaleDraw& scaleDraw) override;
  void Highlight() override;
  void SelectChild(int32_t index) override;
  bool RemoveChild(int32_t index) override;
  bool AddChild(int32_t index, bool before) override;
  bool SplitChild(int32_t index, int32_t firstLength) override;
  bool ChangeChildType(int32_t index) override;
  int32_t AccessValue(const std::string& name, int32_t value, bool set) override;

  // ---- bookkeeping ----
  void RecomputeRecordIndices();
  void RecomputeStarts();
  void UpdateExtent();
  bool SetTrace(int n, int32_t value);
  int32_t SumOfSectionLengths() const;
  // The trace number named by "Trace %i", or -1 when the name is not one.
  int TraceIndexOfName(const std::string& name) const;

  // ---- edits below the section level ----
  bool CopyWalls(int source, int destination);
  // CopyWalls from `source` to every section in order (the menu's Copy Walls To All).
  bool CopyWallsToAll(int source);
  bool RemoveTrace(int n);
  bool AddTrace(int n);

  // ---- picking and drawing ----
  int SectionAt(double x, double y) const;
  void EraseSelection(TScaleDraw& scaleDraw, int32_t viewFlags);
  // Blanks a box of the plan and draws again, inside it only, every section whose
  // box overlaps it, the start/finish marker and the highlight: what a change
  // confined to that box needs instead of a full repaint.
  void RedrawBox(TScaleDraw& scaleDraw, int32_t viewFlags, const TRect& box);

  // Number every section by its list index.
  void RenumberSections();

 private:
  // Draws, clipped to a box, the sections overlapping it and the marker, and with
  // `selection` the highlight.
  void DrawInside(TScaleDraw& scaleDraw, int32_t viewFlags, const TRect& box, bool selection);
};

}  // namespace meridal
