#include "pcmmix/queued_notifier.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cstdint>

namespace qm {

QueuedNotifier::QueuedNotifier() : wake_fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
  if (wake_fd_ < 0) return;
  wake_ = std::make_unique<QSocketNotifier>(wake_fd_, QSocketNotifier::Read);
  QObject::connect(wake_.get(), &QSocketNotifier::activated, [this] { Deliver(); });
}

QueuedNotifier::~QueuedNotifier() {
  wake_.reset();
  if (wake_fd_ >= 0) ::close(wake_fd_);
}

bool QueuedNotifier::Open(NoticeHandler handler, void* context) {
  handler_ = handler;
  context_ = context;
  pending_ = 0;
  return wake_fd_ >= 0;
}

void QueuedNotifier::Close() {
  handler_ = nullptr;
  context_ = nullptr;
}

void QueuedNotifier::Post() {
  if (pending_.fetch_add(1) == 0) {
    const std::uint64_t one = 1;
    // Cannot fail but by overflowing the counter, which a pending wake-up keeps far away.
    [[maybe_unused]] const ssize_t written = ::write(wake_fd_, &one, sizeof one);
  }
}

void QueuedNotifier::Deliver() {
  // The wake-up is taken before the count, so a notice counted after this read writes a new one.
  std::uint64_t wakes = 0;
  [[maybe_unused]] const ssize_t got = ::read(wake_fd_, &wakes, sizeof wakes);
  for (int n = pending_.exchange(0); n > 0 && handler_; --n)
    handler_(context_);
}

}  // namespace qm
