// Queuing a play: choosing its channel, placing it behind or over what the channel already has,
// and getting the output going.

#include <algorithm>

#include "pcmmix/engine.h"

namespace qm {
namespace mix {
namespace {

bool QueueEmpty(const ChannelQueue& q) {
  return q.open && q.head == nullptr;
}

std::int32_t OldestChannel(const MixSession& s) {
  int best = 0;
  for (int i = 0; i < kChannels; ++i) {
    if (!s.channel_queue[i].open) continue;
    if (QueueEmpty(s.channel_queue[best])) break;
    if (i != best && s.channel_stamp[i] < s.channel_stamp[best]) best = i;
  }
  return best;
}

void SetEndPos(PlayNode& n) {
  if (n.params.loops == kLoopsEndless || n.start_pos == kEndless) {
    n.end_pos = kEndless;
    return;
  }
  // A long wave repeated many times could pass the last position; it then simply never ends.
  const std::int64_t end =
      std::int64_t{n.start_pos} + (std::int64_t{n.params.loops} + 1) * std::int64_t{n.length} - 1;
  n.end_pos = static_cast<std::int32_t>(std::min<std::int64_t>(end, kEndless));
}

// Places node n on its channel; sets `remix` when already mixed blocks no longer tell the truth.
void Place(MixSession& s, PlayNode& n, std::int32_t now, bool& remix) {
  ChannelQueue& q = s.channel_queue[n.params.channel];
  const bool play_now = n.params.flags & PlayNow;
  n.next = nullptr;
  if (n.params.flags & PlayReplace) {
    ReleaseList(q.head);
    q.head = &n;
    if (!OutputQueueEmpty()) remix = true;
    n.start_pos = play_now ? now : s.mix_position;
  } else {
    if (q.head) {
      PlayNode* last = q.head;
      while (last->next)
        last = last->next;
      last->next = &n;
      n.start_pos = play_now ? last->end_pos : std::max(s.mix_position, last->end_pos);
    } else {
      q.head = &n;
      n.start_pos = play_now ? now : s.mix_position;
    }
    if (n.start_pos < s.mix_position) remix = true;
  }
  SetEndPos(n);
}

// Restarts a device paused for a fresh start, also when writing a block failed on the way.
class PauseGuard {
 public:
  explicit PauseGuard(WaveOut* device) : device_(device) {
    if (device_) device_->Pause();
  }
  PauseGuard(const PauseGuard&) = delete;
  PauseGuard& operator=(const PauseGuard&) = delete;
  ~PauseGuard() {
    if (device_) device_->Restart();
  }

 private:
  WaveOut* device_;
};

}  // namespace
}  // namespace mix

using namespace mix;

void PcmMixPlay(MixPlayParams* params) {
  if (params == nullptr) Fail("nil parameters pointer passed to PcmMixPlay");
  MixSession& s = ValidSession(params->session);
  if (params->wave == nullptr) Fail("nil wave pointer passed to PcmMixPlay!");
  if (!s.activated) Fail("Wave device not allocated, call PcmMixActivate(hMixSession,TRUE)");
  if (s.open_channels == 0) Fail("You must open a channel before you can play a wave");

  std::int32_t channel;
  if (params->flags & PlayOldestChannel) {
    channel = OldestChannel(s);
    params->channel = channel;
  } else {
    channel = params->channel;
    if (channel < 0 || channel >= kChannels) Fail(kMsgInvalidChannel);
  }
  ++s.play_counter;
  s.channel_stamp[channel] = s.play_counter;
  if (!s.channel_queue[channel].open) Fail(kMsgChannelNotOpen);

  Engine& e = TheEngine();
  PlayNode* node = e.free_nodes;
  if (node == nullptr) Fail("Not enough memory");
  e.free_nodes = node->next;
  node->next = nullptr;
  node->params = *params;
  node->params.channel = channel;
  node->wave = params->wave;
  node->length = params->wave->length;
  node->data = params->wave->data.get();
  node->start_pos = node->end_pos = 0;

  (s.pending_tail ? s.pending_tail->next : s.pending_head) = node;
  s.pending_tail = node;
  if (params->flags & PlayDeferred) return;

  ResetClockIfIdle(s);
  const std::int32_t now = GetPlayPosition(s);
  bool remix = false;
  PlayNode* last = nullptr;
  while (PlayNode* n = s.pending_head) {
    s.pending_head = n->next;
    Place(s, *n, now, remix);
    last = n;
  }
  s.pending_tail = nullptr;

  if (remix) {
    s.remix_strategy(s, last->start_pos, last);
    return;
  }
  // Every block of a fresh start is written while the device waits, so they begin together.
  PauseGuard pause(OutputQueueEmpty() ? s.device : nullptr);
  FillFreeBlocks(s);
}

}  // namespace qm
