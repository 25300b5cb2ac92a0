#pragma once

// A notice route that holds the device's notices until its owner pumps them, standing in for the
// UI thread's event loop in tests and tools. Posting is safe from any thread.

#include <atomic>

#include "pcmmix/wave_out.h"

namespace qm {

class PumpNotifier final : public Notifier {
 public:
  std::uint32_t Register() override { return register_result; }
  bool Open(NoticeHandler handler, void* context) override {
    if (refuse_open) return false;
    handler_ = handler;
    context_ = context;
    pending_ = 0;
    return true;
  }
  void Close() override {
    handler_ = nullptr;
    pending_ = 0;
  }
  void Post() override { pending_.fetch_add(1); }

  // Delivers the notices posted so far and any they post in turn; returns how many ran.
  int Pump() {
    int delivered = 0;
    while (int n = pending_.exchange(0)) {
      for (; n > 0 && handler_; --n, ++delivered)
        handler_(context_);
    }
    return delivered;
  }
  bool IsOpen() const { return handler_ != nullptr; }
  int Pending() const { return pending_; }

  std::uint32_t register_result = 0;
  bool refuse_open = false;

 private:
  NoticeHandler handler_ = nullptr;
  void* context_ = nullptr;
  std::atomic<int> pending_{0};
};

}  // namespace qm
