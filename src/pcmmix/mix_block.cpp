// Mixing the channel queues into one output block. Work goes by runs: silence is one fill, a lone
// sound is one copy, and only where sounds overlap are bytes summed one by one.

#include <algorithm>
#include <cstring>

#include "pcmmix/engine.h"

namespace qm::mix {
namespace {

// Sum of K sources around the silence level, clamped once at the end. K fixed at compile time
// lets the compiler unroll the inner sum.
template <int K>
void SumSources(std::uint8_t* out, const std::uint8_t* const* sources, std::int32_t count) {
  const std::uint8_t* s[K];
  for (int j = 0; j < K; ++j)
    s[j] = sources[j];
  for (std::int32_t i = 0; i < count; ++i) {
    int v = kSilence - kSilence * K;
    for (int j = 0; j < K; ++j)
      v += s[j][i];
    out[i] = static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
  }
}

// The first play of a channel queue, from `node` on, that has not ended by `pos`.
PlayNode* FirstUnfinished(PlayNode* node, std::int32_t pos) {
  while (node && node->end_pos <= pos)
    node = node->next;
  return node;
}

}  // namespace

void MixSamples(std::uint8_t* out, const std::uint8_t* const* sources, int source_count,
                std::int32_t count) {
  switch (source_count) {
    case 0:
      std::memset(out, kSilence, static_cast<std::size_t>(count));
      break;
    case 1:
      std::memcpy(out, sources[0], static_cast<std::size_t>(count));
      break;
    case 2:
      SumSources<2>(out, sources, count);
      break;
    case 3:
      SumSources<3>(out, sources, count);
      break;
    case 4:
      SumSources<4>(out, sources, count);
      break;
    case 5:
      SumSources<5>(out, sources, count);
      break;
    case 6:
      SumSources<6>(out, sources, count);
      break;
    case 7:
      SumSources<7>(out, sources, count);
      break;
    default:
      SumSources<8>(out, sources, count);
      break;
  }
}

bool MixBlock(MixSession& s, OutputBlock* block, bool write) {
  if (block == nullptr) return false;

  PlayNode* active[kChannels];
  int count = 0;
  std::int32_t next_start = kEndless;
  for (int c = 0; c < kChannels; ++c) {
    const ChannelQueue& q = s.channel_queue[c];
    if (!q.open) continue;
    if (PlayNode* n = FirstUnfinished(q.head, s.mix_position)) {
      active[count++] = n;
      next_start = std::min(next_start, n->start_pos);
    }
  }
  if (count == 0) {
    if (write) block->available = true;
    return false;
  }

  std::int32_t pos = s.mix_position;
  std::uint8_t* out = block->data;
  std::int32_t remaining = s.block_length;
  while (remaining > 0) {
    if (count == 0) {
      std::memset(out, kSilence, static_cast<std::size_t>(remaining));
      break;
    }
    std::int32_t run;
    const bool silent = pos < next_start;
    if (silent) {
      run = static_cast<std::int32_t>(
          std::min<std::int64_t>(remaining, std::int64_t{next_start} - pos));
      std::memset(out, kSilence, static_cast<std::size_t>(run));
    } else {
      const std::uint8_t* sources[kChannels];
      int source_count = 0;
      std::int64_t run_end = std::int64_t{pos} + remaining;
      for (int i = 0; i < count; ++i) {
        const PlayNode& n = *active[i];
        if (pos < n.start_pos) {
          run_end = std::min<std::int64_t>(run_end, n.start_pos);
          continue;
        }
        run_end = std::min<std::int64_t>(run_end, n.end_pos);
        std::int64_t off = std::int64_t{pos} - n.start_pos;
        // A play that outlasts its wave without asking for loops (one parked behind an endless
        // play, or one whose end was capped) repeats its wave too, instead of reading past it.
        if (n.params.loops != 0 || off >= n.length) off %= n.length;
        run_end = std::min<std::int64_t>(run_end, std::int64_t{pos} + n.length - off);
        sources[source_count++] = n.data + off;
      }
      run = static_cast<std::int32_t>(run_end - pos);
      MixSamples(out, sources, source_count, run);
    }
    out += run;
    pos += run;
    remaining -= run;
    // After a mixed run the plays that ended make way for their channel's next ones.
    if (silent) continue;

    next_start = kEndless;
    for (int i = 0; i < count;) {
      PlayNode* n = FirstUnfinished(active[i], pos);
      if (n == nullptr) {
        active[i] = active[--count];
        continue;
      }
      active[i] = n;
      next_start = std::min(next_start, n->start_pos);
      ++i;
    }
  }

  block->start_pos = s.mix_position;
  s.mix_position = AddPos(s.mix_position, s.block_length);

  if (write) {
    Engine& e = TheEngine();
    block->next = nullptr;
    (e.queue_tail ? e.queue_tail->next : e.queue_head) = block;
    OutputBlock* before = e.queue_tail;
    e.queue_tail = block;
    if (s.device->Write(block->header) != kMmNoError) {
      block->available = true;
      if (before)
        before->next = nullptr;
      else
        e.queue_head = nullptr;
      e.queue_tail = before;
      Fail(kMsgWriteFailed);
    }
  }
  return true;
}

}  // namespace qm::mix
