// The session engine: creating and closing the one session, taking and releasing the device, and
// the channel table.

#include <new>

#include "pcmmix/engine.h"
#include "pcmmix/settings.h"

namespace qm {
namespace mix {

namespace {
SteadyMsTimer default_timer;
// A notice route's "already prepared" code, which engine set-up takes as success.
constexpr std::uint32_t kClassAlreadyRegistered = 1410;
}  // namespace

Engine& TheEngine() {
  static Engine engine;
  return engine;
}

MsTimer& Timer() {
  MsTimer* timer = TheEngine().platform.timer;
  return timer ? *timer : default_timer;
}

MixSession& ValidSession(HMixSession handle) {
  Engine& e = TheEngine();
  MixSession* s = e.session;
  if (handle == HMixSession::kNone || s == nullptr ||
      static_cast<std::uint32_t>(handle) != e.handle || s->marker != kSessionMarker ||
      s->marker_end != kSessionMarker) {
    Fail(kMsgInvalidSession);
  }
  return *s;
}

void ReleaseNode(PlayNode* node) {
  Engine& e = TheEngine();
  node->next = e.free_nodes;
  e.free_nodes = node;
}

bool ReleaseList(PlayNode* head) {
  const bool any = head != nullptr;
  while (head) {
    PlayNode* next = head->next;
    ReleaseNode(head);
    head = next;
  }
  return any;
}

namespace {

void RebuildPool(Engine& e) {
  for (int i = 0; i < kPlayNodes; ++i) {
    e.pool[i] = PlayNode{};
    e.pool[i].next = i + 1 < kPlayNodes ? &e.pool[i + 1] : nullptr;
  }
  e.free_nodes = &e.pool[0];
}

// A play entered with PlayDeferred that has not been placed yet is forgotten when its channel
// closes or its wave goes, so that it can never sound on a channel opened again later or read a
// released wave.
template <typename Pred>
void DropPending(MixSession& s, Pred drop) {
  PlayNode* kept_head = nullptr;
  PlayNode* kept_tail = nullptr;
  for (PlayNode* n = s.pending_head; n;) {
    PlayNode* next = n->next;
    if (drop(*n)) {
      ReleaseNode(n);
    } else {
      n->next = nullptr;
      (kept_tail ? kept_tail->next : kept_head) = n;
      kept_tail = n;
    }
    n = next;
  }
  s.pending_head = kept_head;
  s.pending_tail = kept_tail;
}

void FlushChannels(MixSession& s, std::int32_t channel, std::int32_t flags) {
  if (!(flags & ChannelAll)) {
    if (channel < 0 || channel >= kChannels) Fail(kMsgInvalidChannel);
    if (!s.channel_queue[channel].open) Fail(kMsgChannelNotOpen);
  }
  const int first = (flags & ChannelAll) ? 0 : channel;
  const int last = (flags & ChannelAll) ? kChannels - 1 : channel;
  bool dropped = false;
  for (int c = first; c <= last; ++c) {
    ChannelQueue& q = s.channel_queue[c];
    if (!q.open) continue;
    dropped |= ReleaseList(q.head);
    q.head = nullptr;
  }
  if (dropped && !(flags & FlushNoRemix) && s.activated) {
    s.remix_strategy(s, GetPlayPosition(s), nullptr);
  }
}

bool IsLiveWave(const MixWave* wave) {
  for (const MixWave* w = TheEngine().live_waves; w; w = w->next_live) {
    if (w == wave) return true;
  }
  return false;
}

}  // namespace
}  // namespace mix

using namespace mix;

void PcmMixSetPlatform(const MixPlatform& platform) {
  TheEngine().platform = platform;
}

HMixSession PcmMixInit(const MixConfig* config) {
  Engine& e = TheEngine();
  if (e.session) Fail("Session already initialized");

  if (e.platform.notifier) {
    const std::uint32_t code = e.platform.notifier->Register();
    if (code != 0 && code != kClassAlreadyRegistered) {
      Fail("Error registering class #" + std::to_string(code));
    }
  }
  RebuildPool(e);

  if (config && config->size != kMixConfigSize) config = nullptr;
  WaveOut* wave_out = e.platform.wave_out;
  if (wave_out == nullptr || wave_out->GetNumDevs() == 0) Fail("No wave output devices available");

  MixSession* s = new (std::nothrow) MixSession{};
  if (s == nullptr) Fail(kMsgNoMemory);
  s->marker = s->marker_end = kSessionMarker;
  s->output_format = PcmFormat{kWaveFormatPcm, 1, 11025, 11025, 1, 8};
  s->remix_strategy = &RemixQueue;

  try {
    ApplySettings(*s, Profile::Load(MixSettingsPath()), *wave_out, config);
  } catch (...) {
    delete s;
    throw;
  }
  e.session = s;
  if (++e.last_handle == 0) ++e.last_handle;
  e.handle = e.last_handle;
  return static_cast<HMixSession>(e.handle);
}

void PcmMixActivate(HMixSession session, bool on) {
  MixSession& s = ValidSession(session);
  Engine& e = TheEngine();
  if (on) {
    if (e.owner == &s) return;
    e.owner = &s;
    try {
      OpenDevice(s);
    } catch (...) {
      // A failed activation gives the device back, so that trying again can succeed.
      e.owner = nullptr;
      throw;
    }
    s.activated = true;
    SetPlayPosition(s, s.mix_position);
    FillFreeBlocks(s);
  } else {
    if (s.activated) {
      s.mix_position = GetPlayPosition(s);
      CloseDevice(s);
      s.activated = false;
    }
    if (e.owner == &s) e.owner = nullptr;
  }
}

void PcmMixOpenChannel(HMixSession session, std::int32_t channel, std::int32_t flags) {
  MixSession& s = ValidSession(session);
  if (flags > 2) Fail("Invalid Flags");
  if (flags == 0 && (channel < 0 || channel >= kChannels)) Fail(kMsgInvalidChannel);
  if (flags == ChannelCount && (channel < 1 || channel > kChannels)) {
    Fail("Invalid number of channels");
  }
  if (flags == 0) {
    ChannelQueue& q = s.channel_queue[channel];
    if (q.open) Fail("The channel has already been opened");
    q = ChannelQueue{true, nullptr};
    ++s.open_channels;
    return;
  }
  if (flags == ChannelAll || flags == ChannelCount) {
    for (int c = flags == ChannelAll ? kChannels - 1 : channel - 1; c >= 0; --c) {
      ChannelQueue& q = s.channel_queue[c];
      if (q.open) continue;
      q = ChannelQueue{true, nullptr};
      ++s.open_channels;
    }
    return;
  }
  Fail("Invalid flag");
}

void PcmMixFlushChannel(HMixSession session, std::int32_t channel, std::int32_t flags) {
  FlushChannels(ValidSession(session), channel, flags);
}

void PcmMixCloseChannel(HMixSession session, std::int32_t channel, std::int32_t flags) {
  MixSession& s = ValidSession(session);
  FlushChannels(s, channel, flags | FlushNoRemix);
  const int first = (flags & ChannelAll) ? 0 : channel;
  const int last = (flags & ChannelAll) ? kChannels - 1 : channel;
  for (int c = first; c <= last; ++c) {
    if (!s.channel_queue[c].open) continue;
    s.channel_queue[c].open = false;
    --s.open_channels;
  }
  DropPending(s, [&](const PlayNode& n) { return !s.channel_queue[n.params.channel].open; });
}

void PcmMixFreeWave(HMixSession session, MixWave* wave) {
  MixSession& s = ValidSession(session);
  // A wave the mixer never gave out, or already took back, is refused like a missing one rather
  // than released twice.
  if (wave == nullptr || !IsLiveWave(wave)) Fail("The given pointer was not valid");
  for (ChannelQueue& q : s.channel_queue) {
    if (!q.open) continue;
    PlayNode** link = &q.head;
    while (*link) {
      PlayNode* n = *link;
      if (n->wave == wave) {
        *link = n->next;
        ReleaseNode(n);
      } else {
        link = &n->next;
      }
    }
  }
  DropPending(s, [&](const PlayNode& n) { return n.wave == wave; });
  Engine& e = TheEngine();
  for (MixWave** link = &e.live_waves; *link; link = &(*link)->next_live) {
    if (*link == wave) {
      *link = wave->next_live;
      break;
    }
  }
  delete wave;
}

void PcmMixCloseSession(HMixSession session) {
  MixSession& s = ValidSession(session);
  PcmMixActivate(session, false);
  PcmMixCloseChannel(session, 0, ChannelAll);
  Engine& e = TheEngine();
  s = MixSession{};
  delete &s;
  e.session = nullptr;
  e.handle = 0;
}

}  // namespace qm
