#pragma once
// The edits below the section level as history steps: a wall removed or added,
// walls copied from one section to another or to all, a trace removed or added
// (one altitude in every section), an altitude's profile copied to its section.
#include <memory>
#include <string>

#include "history/step.h"

namespace meridal::history {

// Removing or adding a wall of one section.
class TWallStep : public TStep {
 public:
  static std::unique_ptr<TWallStep> DoRemove(TTrack& track, int section, int wall);
  static std::unique_ptr<TWallStep> DoAdd(TTrack& track, int section, int wall, bool before);

 private:
  enum class Kind { Remove, AddBefore, AddAfter };
  TWallStep(Kind kind, int section, int wall);
  static std::unique_ptr<TWallStep> Do(TTrack& track, Kind kind, int section, int wall);
};

// Copy Walls From (one destination) and Copy Walls To All.
class TCopyWallsStep : public TStep {
 public:
  // No step when no section's walls changed.
  static std::unique_ptr<TCopyWallsStep> DoFrom(TTrack& track, int source, int destination, bool& accepted);
  static std::unique_ptr<TCopyWallsStep> DoToAll(TTrack& track, int source);

 private:
  TCopyWallsStep(std::string text, int selection);
};

// Remove Trace and Add Trace: every section changes by one altitude.
class TTraceStep : public TStep {
 public:
  static std::unique_ptr<TTraceStep> DoRemove(TTrack& track, int trace);
  // `at` is where the new trace goes: n for Add Before on trace n, n + 1 for Add After.
  static std::unique_ptr<TTraceStep> DoAdd(TTrack& track, int at, bool after);

 private:
  explicit TTraceStep(std::string text);
  static std::unique_ptr<TTraceStep> Do(TTrack& track, std::string text, int at, bool added);
};

// Copy Altitude: the section's altitudes take one altitude's profile.
class TCopyAltitudeStep : public TStep {
 public:
  static std::unique_ptr<TCopyAltitudeStep> Do(TTrack& track, int section, int altitude);

 private:
  TCopyAltitudeStep(int section, int altitude);
};

}  // namespace meridal::history
