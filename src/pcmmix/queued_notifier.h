#pragma once

// The game's notice route: a finished block, reported on the audio thread, becomes a queued call
// on the Qt event loop of the thread that made this object (the UI thread), where the engine
// refills its queue. Notices that arrive while one call is already queued ride along with it.

#include <atomic>
#include <memory>

#include "pcmmix/wave_out.h"

class QObject;

namespace qm {

class QueuedNotifier final : public Notifier {
 public:
  QueuedNotifier();
  ~QueuedNotifier() override;
  QueuedNotifier(const QueuedNotifier&) = delete;
  QueuedNotifier& operator=(const QueuedNotifier&) = delete;

  bool Open(NoticeHandler handler, void* context) override;
  void Close() override;
  void Post() override;

 private:
  void Deliver();

  // Queued calls go to this object, so that they die with it.
  std::unique_ptr<QObject> receiver_;
  std::atomic<int> pending_{0};
  NoticeHandler handler_ = nullptr;
  void* context_ = nullptr;
};

}  // namespace qm
