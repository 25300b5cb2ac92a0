#pragma once

// The game's notice route: a finished block, reported on the audio thread, wakes the Qt event loop
// of the thread that made this object (the UI thread), where the engine refills its queue. Notices
// that arrive while one wake-up is already on its way ride along with it.
//
// The audio thread only counts and writes to an eventfd: it neither allocates nor takes a lock the
// UI thread may hold, and the hand-over is one the kernel orders (and ThreadSanitizer can see).

#include <atomic>
#include <memory>

#include "pcmmix/wave_out.h"

class QSocketNotifier;

namespace qm {

class QueuedNotifier final : public Notifier {
 public:
  QueuedNotifier();
  ~QueuedNotifier() override;
  QueuedNotifier(const QueuedNotifier&) = delete;
  QueuedNotifier& operator=(const QueuedNotifier&) = delete;

  // False when the system gave no eventfd (the mixer then reports that it cannot start).
  bool Open(NoticeHandler handler, void* context) override;
  void Close() override;
  void Post() override;

 private:
  void Deliver();

  int wake_fd_ = -1;
  std::unique_ptr<QSocketNotifier> wake_;
  std::atomic<int> pending_{0};
  NoticeHandler handler_ = nullptr;
  void* context_ = nullptr;
};

}  // namespace qm
