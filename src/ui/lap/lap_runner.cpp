#include "ui/lap/lap_runner.h"

#include "drive/cancel_flag.h"
#include "shell/document_shell.h"

namespace meridal {

TLapRunner::TLapRunner(TDocumentShell& shell, QObject* parent)
    : QObject(parent), shell_(shell), vehicle_(DefaultVehicle()) {
  settle_.setSingleShot(true);
  connect(&settle_, &QTimer::timeout, this, &TLapRunner::Start);
  worker_ = std::thread([this] { Work(); });
}

TLapRunner::~TLapRunner() {
  {
    std::lock_guard<std::mutex> hold(mutex_);
    quit_ = true;
    if (running_) running_->Cancel();
  }
  wake_.notify_all();
  worker_.join();
}

void TLapRunner::SetVehicle(const TVehicle& vehicle) {
  if (vehicle == vehicle_) return;
  vehicle_ = vehicle;
  Invalidate(0);
}

void TLapRunner::SetLine(TLineKind line) {
  if (line == line_) return;
  line_ = line;
  Invalidate(0);
}

void TLapRunner::Want(const void* who, bool on) {
  const bool before = Wanted();
  if (on) wanting_.insert(who);
  else wanting_.erase(who);
  if (Wanted() && !before && (stale_ || !result_)) Invalidate(0);
  if (!Wanted() && before) {
    // Nobody looks: the run under way is not worth finishing.
    settle_.stop();
    ++generation_;
    std::lock_guard<std::mutex> hold(mutex_);
    pending_.reset();
    if (running_) running_->Cancel();
    busy_ = false;
  }
}

void TLapRunner::TrackChanged() { Invalidate(kSettleMs); }

void TLapRunner::Invalidate(int delayMs) {
  ++generation_;
  {
    std::lock_guard<std::mutex> hold(mutex_);
    pending_.reset();
    if (running_) running_->Cancel();
  }
  stale_ = true;
  if (Wanted()) {
    busy_ = true;
    settle_.start(delayMs);
  }
  emit Updated();
}

void TLapRunner::Start() {
  if (!Wanted()) return;
  const TTrack* track = shell_.Track();
  if (!track) {
    busy_ = false;
    result_ = nullptr;
    emit Updated();
    return;
  }
  auto job = std::make_unique<TJob>();
  job->generation = generation_;
  job->cancel = std::make_shared<TCancelFlag>();
  job->result = std::make_shared<TLapResult>();
  job->result->vehicle = vehicle_;
  job->result->stations = SampleStations(*track, vehicle_);
  job->line = line_;
  {
    std::lock_guard<std::mutex> hold(mutex_);
    pending_ = std::move(job);
  }
  wake_.notify_all();
}

void TLapRunner::Work() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return quit_ || pending_; });
    if (quit_) return;
    const std::unique_ptr<TJob> job = std::move(pending_);
    running_ = job->cancel;
    lock.unlock();
    TLapResult& result = *job->result;
    result.lap = DriveLap(result.stations, result.vehicle, job->line, job->cancel.get());
    const bool cancelled = result.lap.cancelled || job->cancel->Cancelled();
    // Heard on the window's thread; dropped if the runner is gone by then.
    QMetaObject::invokeMethod(
        this, [this, generation = job->generation, r = job->result, cancelled] { Arrived(generation, r, cancelled); },
        Qt::QueuedConnection);
    lock.lock();
    running_.reset();
  }
}

void TLapRunner::Arrived(uint64_t generation, std::shared_ptr<TLapResult> result, bool cancelled) {
  if (cancelled) ++cancelledRuns_;
  // A lap of a track, vehicle or line changed since is worth nothing.
  if (cancelled || generation != generation_) return;
  result_ = std::move(result);
  stale_ = false;
  busy_ = false;
  emit Updated();
}

}  // namespace meridal
