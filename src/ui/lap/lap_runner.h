#pragma once
// TLapRunner: the lap of the open track, driven on a thread of its own so that
// the editor never waits for it. The windows that show the lap (the Lap window,
// the profile's speed trace, the line in the plan and in 3D) say that they want
// it; while one does, every change of the track marks the lap in hand stale and
// drives it again a moment after the last change, cancelling a run under way.
// The track is sampled on this thread (a copy in metres, which the worker reads
// while the track is edited on); the line and the speeds are solved on the worker.
//
//   runner.Want(this, true);
//   connect(&runner, &TLapRunner::Updated, this, [&] { Show(runner.Result(), runner.Stale()); });
#include <QObject>
#include <QTimer>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

#include "drive/lap.h"
#include "drive/track_stations.h"
#include "drive/vehicle.h"

namespace meridal {

class TCancelFlag;
class TDocumentShell;

// A lap driven, with what it was driven on.
struct TLapResult {
  TTrackStations stations;
  TVehicle vehicle;
  TLap lap;
};

class TLapRunner : public QObject {
  Q_OBJECT

 public:
  explicit TLapRunner(TDocumentShell& shell, QObject* parent = nullptr);
  // A run under way is cancelled and awaited.
  ~TLapRunner() override;

  const TVehicle& Vehicle() const { return vehicle_; }
  void SetVehicle(const TVehicle& vehicle);
  TLineKind Line() const { return line_; }
  void SetLine(TLineKind line);

  // Whether `who` shows the lap. The lap is driven only while someone does.
  void Want(const void* who, bool on);
  bool Wanted() const { return !wanting_.empty(); }

  // The track changed, or another document is open: the lap in hand is stale,
  // and the next is driven once the changes pause.
  void TrackChanged();

  // The latest lap driven (nullptr before the first); stale when the track, the
  // vehicle or the line changed since.
  std::shared_ptr<const TLapResult> Result() const { return result_; }
  bool Stale() const { return stale_; }
  // Whether a lap is being driven or waits to be.
  bool Busy() const { return busy_; }
  // How many runs were cancelled before their end (for the tests and the benchmark).
  int Cancelled() const { return cancelledRuns_; }

  // The pause after the last change before a lap is driven again.
  static constexpr int kSettleMs = 150;

 signals:
  // The result, its staleness or the busy state changed.
  void Updated();

 private:
  struct TJob {
    uint64_t generation = 0;
    std::shared_ptr<TCancelFlag> cancel;
    std::shared_ptr<TLapResult> result;  // stations and vehicle filled in
    TLineKind line = TLineKind::Centre;
  };

  // Everything in hand is stale: the run under way stops, the next is due.
  void Invalidate(int delayMs);
  void Start();
  void Arrived(uint64_t generation, std::shared_ptr<TLapResult> result, bool cancelled);
  void Work();

  TDocumentShell& shell_;
  TVehicle vehicle_;
  TLineKind line_ = TLineKind::MinCurvature;
  std::set<const void*> wanting_;
  std::shared_ptr<const TLapResult> result_;
  bool stale_ = true;
  bool busy_ = false;
  int cancelledRuns_ = 0;
  uint64_t generation_ = 0;
  QTimer settle_;

  // Shared with the worker, under mutex_.
  std::mutex mutex_;
  std::condition_variable wake_;
  std::unique_ptr<TJob> pending_;
  std::shared_ptr<TCancelFlag> running_;
  bool quit_ = false;
  std::thread worker_;
};

}  // namespace meridal
