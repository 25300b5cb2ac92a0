// The output side of the engine: the position clock, taking and giving back the device, the queue
// of blocks the device holds, and what happens when the device reports a finished block.

#include <new>

#include "pcmmix/engine.h"

namespace qm::mix {
namespace {

void OnDeviceNotice(void*) {
  // A refused block here has no caller to go to; the queue simply runs dry, and the next play or
  // notice tries again.
  try {
    RefillQueue();
  } catch (const EPcmMixError&) {
  }
}

void ReleaseBlocks(Engine& e, WaveOut* unprepare_with) {
  for (OutputBlock*& b : e.blocks) {
    if (b == nullptr) continue;
    if (unprepare_with) unprepare_with->UnprepareHeader(b->header);
    delete b;
    b = nullptr;
  }
}

void AppendToQueue(Engine& e, OutputBlock* b) {
  b->next = nullptr;
  (e.queue_tail ? e.queue_tail->next : e.queue_head) = b;
  e.queue_tail = b;
}

OutputBlock* PopQueue(Engine& e) {
  OutputBlock* b = e.queue_head;
  if (b) {
    e.queue_head = b->next;
    if (!e.queue_head) e.queue_tail = nullptr;
    b->next = nullptr;
  }
  return b;
}

std::uint32_t DeviceCount(const MixSession& s) {
  return s.device ? s.device->GetPosition() : 0;
}

}  // namespace

bool OutputQueueEmpty() {
  return TheEngine().queue_head == nullptr;
}

std::int32_t GetPlayPosition(MixSession& s) {
  if (s.good_wave_pos == 1)
    return AddPos(static_cast<std::int32_t>(DeviceCount(s)), s.device_offset);
  // 64 bits, so that the clock keeps counting past the 32-bit product (about 194 s at 11025).
  const std::uint32_t elapsed = Timer().Now() - s.clock_base;
  auto p =
      static_cast<std::int32_t>(std::uint64_t{elapsed} * s.output_format.avg_bytes_per_sec / 1000);
  if (s.output_format.block_align > 1 && (p & 1)) p -= 1;
  return p;
}

void SetPlayPosition(MixSession& s, std::int32_t position) {
  const auto d = static_cast<std::int32_t>(DeviceCount(s));
  s.device_offset = AddPos(position, -std::int64_t{d});
  const std::int64_t back_ms = std::int64_t{position} * 1000 / s.output_format.avg_bytes_per_sec;
  s.clock_base = Timer().Now() - static_cast<std::uint32_t>(back_ms);
  s.mix_position = position;
}

void ResetDevice(MixSession& s) {
  const std::int32_t p = GetPlayPosition(s);
  if (s.device) s.device->Reset();
  SetPlayPosition(s, p);
}

void ResetClockIfIdle(MixSession& s) {
  if (!OutputQueueEmpty()) return;
  for (const ChannelQueue& q : s.channel_queue) {
    if (q.open && q.head) return;
  }
  SetPlayPosition(s, 0);
}

void OpenDevice(MixSession& s) {
  if (s.device) return;
  Engine& e = TheEngine();
  Notifier* window = e.platform.notifier;
  if (window == nullptr || !window->Open(&OnDeviceNotice, nullptr)) {
    Fail("Failed to create callback window");
  }
  WaveOut& device = *e.platform.wave_out;
  const std::uint32_t open_code =
      device.Open(static_cast<std::uint32_t>(s.device_id), s.output_format, *window);
  if (open_code != kMmNoError) {
    window->Close();
    Fail("Failed to open waveform output device #" + std::to_string(open_code));
  }
  for (OutputBlock*& b : e.blocks) {
    b = new (std::nothrow) OutputBlock;
    if (b == nullptr) {
      ReleaseBlocks(e, nullptr);
      device.Close();
      window->Close();
      Fail(kMsgNoMemory);
    }
    b->header.data = b->data;
    b->header.buffer_length = static_cast<std::uint32_t>(s.block_length);
    b->header.flags = 0;
    b->header.loops = 0;
    b->available = true;
    b->start_pos = 0;
  }
  for (OutputBlock* b : e.blocks) {
    const std::uint32_t code = device.PrepareHeader(b->header);
    if (code != kMmNoError) {
      ReleaseBlocks(e, &device);
      device.Close();
      window->Close();
      Fail("Unable to prepare wave header #" + std::to_string(code));
    }
    b->header.flags |= kWhdrDone;
  }
  s.device = &device;
  s.callback_window = window;
}

void CloseDevice(MixSession& s) {
  if (!s.activated || !s.device) return;
  Engine& e = TheEngine();
  ResetDevice(s);
  while (OutputBlock* b = PopQueue(e))
    b->available = true;
  ReleaseBlocks(e, s.device);
  s.device->Close();
  s.device = nullptr;
  s.callback_window->Close();
  s.callback_window = nullptr;
}

OutputBlock* TakeFreeBlock(MixSession& s) {
  Engine& e = TheEngine();
  for (int i = 0; i < s.block_count && i < kOutputBlocks; ++i) {
    OutputBlock* b = e.blocks[i];
    if (b == nullptr || !b->available) continue;
    b->available = false;
    b->header.buffer_length = static_cast<std::uint32_t>(s.block_length);
    b->header.data = b->data;
    b->owner = &s;
    return b;
  }
  return nullptr;
}

void RefillQueue() {
  Engine& e = TheEngine();
  if (e.owner == nullptr || e.owner->device == nullptr) return;
  MixSession& s = *e.owner;
  OutputBlock** link = &e.queue_head;
  e.queue_tail = nullptr;
  while (OutputBlock* b = *link) {
    if (b->header.flags.load() & kWhdrDone) {
      *link = b->next;
      b->next = nullptr;
      b->available = true;
    } else {
      e.queue_tail = b;
      link = &b->next;
    }
  }
  NotifyFinished(s);
  FillFreeBlocks(s);
}

void NotifyFinished(MixSession& s) {
  const std::int32_t p = AddPos(static_cast<std::int32_t>(DeviceCount(s)), s.device_offset);
  for (int c = 0; c < kChannels; ++c) {
    ChannelQueue& q = s.channel_queue[c];
    if (!q.open) continue;
    while (q.head && q.head->end_pos <= p) {
      PlayNode* n = q.head;
      q.head = n->next;
      if (n->params.notify_window) n->params.notify_window->PostFinished(c, n->wave);
      ReleaseNode(n);
    }
  }
}

void RemixQueue(MixSession& s, std::int32_t position, PlayNode*) {
  Engine& e = TheEngine();
  s.mix_position = position;
  while (OutputBlock* b = PopQueue(e))
    b->available = true;
  while (OutputBlock* b = TakeFreeBlock(s)) {
    if (!MixBlock(s, b, false)) {
      b->available = true;
      break;
    }
    AppendToQueue(e, b);
  }
  const std::int32_t saved = s.mix_position;
  ResetDevice(s);
  s.mix_position = saved;

  s.device->Pause();
  OutputBlock* prev = nullptr;
  for (OutputBlock* b = e.queue_head; b; prev = b, b = b->next) {
    if (s.device->Write(b->header) == kMmNoError) continue;
    // The refused block and every block behind it were never handed over, so none of them would
    // ever come back done: they all return to the free pool, and the device runs on.
    (prev ? prev->next : e.queue_head) = nullptr;
    e.queue_tail = prev;
    while (b) {
      OutputBlock* next = b->next;
      b->next = nullptr;
      b->available = true;
      b = next;
    }
    s.device->Restart();
    Fail(kMsgWriteFailed);
  }
  s.device->Restart();
}

void DeferStart(MixSession& s, std::int32_t, PlayNode* node) {
  if (node) {
    const std::int64_t delta = std::int64_t{s.mix_position} - node->start_pos;
    node->start_pos = AddPos(node->start_pos, delta);
    node->end_pos = AddPos(node->end_pos, delta);
    if (node->start_pos > node->end_pos) node->end_pos = kEndless;
  }
  RefillQueue();
}

}  // namespace qm::mix
