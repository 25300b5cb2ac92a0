#include "pcmmix/queued_notifier.h"

#include <QMetaObject>
#include <QObject>

namespace qm {

QueuedNotifier::QueuedNotifier() : receiver_(std::make_unique<QObject>()) {}

QueuedNotifier::~QueuedNotifier() = default;

bool QueuedNotifier::Open(NoticeHandler handler, void* context) {
  handler_ = handler;
  context_ = context;
  pending_ = 0;
  return true;
}

void QueuedNotifier::Close() {
  handler_ = nullptr;
  context_ = nullptr;
}

void QueuedNotifier::Post() {
  if (pending_.fetch_add(1) == 0) {
    QMetaObject::invokeMethod(
        receiver_.get(), [this] { Deliver(); }, Qt::QueuedConnection);
  }
}

void QueuedNotifier::Deliver() {
  for (int n = pending_.exchange(0); n > 0 && handler_; --n)
    handler_(context_);
}

}  // namespace qm
