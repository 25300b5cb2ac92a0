#pragma once

// The engine's own records and steps, shared by the mixer's source files only.

#include <array>
#include <cstdint>
#include <string>

#include "pcmmix/pcmmix.h"

namespace qm::mix {

inline constexpr std::uint16_t kSessionMarker = 0x5432;
inline constexpr int kChannels = 8;
inline constexpr int kPlayNodes = 100;
inline constexpr int kOutputBlocks = 6;
inline constexpr int kBlockBytes = 4096;
inline constexpr std::int32_t kEndless = 0x7FFFFFFF;
inline constexpr std::uint8_t kSilence = 128;

struct PlayNode {
  PlayNode* next = nullptr;
  MixPlayParams params;
  MixWave* wave = nullptr;
  std::int32_t length = 0;
  const std::uint8_t* data = nullptr;
  std::int32_t start_pos = 0;
  std::int32_t end_pos = 0;
};

struct ChannelQueue {
  bool open = false;
  PlayNode* head = nullptr;  // in order of start; empty = idle
};

struct MixSession;
using RemixStrategy = void (*)(MixSession& session, std::int32_t position, PlayNode* node);

struct MixSession {
  std::uint16_t marker = 0;
  Notifier* callback_window = nullptr;  // open notice route while activated
  WaveOut* device = nullptr;            // the open device, else none
  bool activated = false;
  std::int32_t device_id = 0;
  std::string device_name;
  std::array<ChannelQueue, kChannels> channel_queue{};
  std::int32_t open_channels = 0;
  std::array<std::int32_t, kChannels> channel_stamp{};
  std::int32_t play_counter = 0;
  PcmFormat output_format;
  std::int32_t block_length = 0;
  std::int32_t block_count = 0;
  std::int32_t mix_position = 0;
  std::uint32_t clock_base = 0;
  std::uint8_t good_wave_pos = 0;
  std::int32_t device_offset = 0;
  RemixStrategy remix_strategy = nullptr;
  PlayNode* pending_head = nullptr;
  PlayNode* pending_tail = nullptr;
  std::uint16_t marker_end = 0;
};

struct OutputBlock {
  WaveHeader header;
  bool available = true;
  std::int32_t start_pos = 0;
  MixSession* owner = nullptr;
  OutputBlock* next = nullptr;
  std::uint8_t data[kBlockBytes];
};

// Process-wide: the one session, the device owner, the node pool, the blocks and the output queue.
struct Engine {
  MixPlatform platform;
  MixSession* session = nullptr;
  std::uint32_t handle = 0;  // the live session's handle value
  std::uint32_t last_handle = 0;
  MixSession* owner = nullptr;
  std::array<PlayNode, kPlayNodes> pool{};
  PlayNode* free_nodes = nullptr;
  std::array<OutputBlock*, kOutputBlocks> blocks{};
  OutputBlock* queue_head = nullptr;
  OutputBlock* queue_tail = nullptr;
  MixWave* live_waves = nullptr;
};

Engine& TheEngine();
MsTimer& Timer();

// The session a handle stands for; raises "Invalid Session handle" otherwise.
MixSession& ValidSession(HMixSession handle);

void ReleaseNode(PlayNode* node);
// Returns every node of the list to the pool; true if there was any.
bool ReleaseList(PlayNode* head);

// Position clock and device handling.
std::int32_t GetPlayPosition(MixSession& s);
void SetPlayPosition(MixSession& s, std::int32_t position);
void ResetDevice(MixSession& s);
void ResetClockIfIdle(MixSession& s);
void OpenDevice(MixSession& s);
void CloseDevice(MixSession& s);
bool OutputQueueEmpty();

// Mixing.
OutputBlock* TakeFreeBlock(MixSession& s);
bool MixBlock(MixSession& s, OutputBlock* block, bool write);
void MixSamples(std::uint8_t* out, const std::uint8_t* const* sources, int source_count,
                std::int32_t count);
void RefillQueue();
void NotifyFinished(MixSession& s);
void RemixQueue(MixSession& s, std::int32_t position, PlayNode* node);
void DeferStart(MixSession& s, std::int32_t position, PlayNode* node);

// Mixes and writes free blocks until there is nothing more to play or no block left.
inline void FillFreeBlocks(MixSession& s) {
  while (MixBlock(s, TakeFreeBlock(s), true)) {
  }
}

// Positions advance in 32 bits and are allowed to wrap, as the device's own counter does.
inline std::int32_t AddPos(std::int32_t a, std::int64_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

}  // namespace qm::mix
