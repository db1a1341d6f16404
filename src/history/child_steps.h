#pragma once
// The edits below the section level as history steps: a wall removed or added,
// walls copied from one section to another or to all, a trace removed or added
// (one altitude in every section), an altitude's profile copied to its section.
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "history/step.h"
#include "history/track_state.h"

namespace meridal::history {

// Removing or adding a wall of one section: the section's walls as they were.
class TWallStep : public TStep {
 public:
  static std::unique_ptr<TWallStep> DoRemove(TTrack& track, int section, int wall);
  static std::unique_ptr<TWallStep> DoAdd(TTrack& track, int section, int wall, bool before);
  void Undo(TTrack& track) override;
  void Redo(TTrack& track) override;
  TObjectPath UndoSelection() const override { return TObjectPath::Wall(section_, wall_); }
  TObjectPath RedoSelection() const override { return redoSelection_; }
  size_t Bytes() const override;

 private:
  enum class Kind { Remove, AddBefore, AddAfter };
  TWallStep(Kind kind, int section, int wall);
  static std::unique_ptr<TWallStep> Do(TTrack& track, Kind kind, int section, int wall);
  bool Apply(TTrack& track);

  Kind kind_;
  int section_, wall_;
  std::vector<WallState> walls_;
  TRect extent_;
  TrackScalars track_;
  TObjectPath redoSelection_;
};

// Copy Walls From (one destination) and Copy Walls To All: the walls of every
// section they replaced.
class TCopyWallsStep : public TStep {
 public:
  // All destinations at once; no step when no section's walls changed.
  static std::unique_ptr<TCopyWallsStep> DoFrom(TTrack& track, int source, int destination, bool& accepted);
  static std::unique_ptr<TCopyWallsStep> DoToAll(TTrack& track, int source);
  void Undo(TTrack& track) override;
  void Redo(TTrack& track) override;
  TObjectPath UndoSelection() const override { return TObjectPath::Section(selection_); }
  size_t Bytes() const override;

 private:
  TCopyWallsStep(std::string text, int source, int selection);
  struct Replaced {
    int section;
    std::vector<WallState> walls;
    TRect extent;
  };
  int source_;
  int selection_;
  std::vector<Replaced> replaced_;
  TrackScalars track_;
};

// Remove Trace and Add Trace: every section changes by one altitude.
class TTraceStep : public TStep {
 public:
  static std::unique_ptr<TTraceStep> DoRemove(TTrack& track, int trace);
  // `at` is where the new trace goes: n for Add Before on trace n, n + 1 for Add After.
  static std::unique_ptr<TTraceStep> DoAdd(TTrack& track, int at, bool after);
  void Undo(TTrack& track) override;
  void Redo(TTrack& track) override;
  TObjectPath UndoSelection() const override { return TObjectPath::Track(); }
  size_t Bytes() const override;

 private:
  TTraceStep(std::string text, bool remove, int trace);
  bool remove_;
  int trace_;
  // Removing: the removed altitude of every section. Both: every section's box.
  std::vector<AltitudeState> altitudes_;
  std::vector<TRect> extents_;
  TrackScalars track_;
};

// Copy Altitude: the profiles of the section's altitudes as they were.
class TCopyAltitudeStep : public TStep {
 public:
  static std::unique_ptr<TCopyAltitudeStep> Do(TTrack& track, int section, int altitude);
  void Undo(TTrack& track) override;
  void Redo(TTrack& track) override;
  TObjectPath UndoSelection() const override { return TObjectPath::Altitude(section_, altitude_); }
  size_t Bytes() const override { return sizeof(*this) + TextBytes() + BoxBytes() + VectorBytes(before_); }

 private:
  TCopyAltitudeStep(int section, int altitude);
  int section_, altitude_;
  std::vector<AltitudeState> before_;
};

}  // namespace meridal::history
