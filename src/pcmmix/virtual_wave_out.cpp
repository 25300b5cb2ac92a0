#include "pcmmix/virtual_wave_out.h"

#include <algorithm>

namespace qm {

const VirtualWaveOut::Device* VirtualWaveOut::Find(std::uint32_t device_id) const {
  if (IsWaveMapper(device_id)) return &mapper;
  return device_id < devices.size() ? &devices[device_id] : nullptr;
}

std::uint32_t VirtualWaveOut::GetDevCaps(std::uint32_t device_id, WaveOutCaps& caps) {
  const Device* d = Find(device_id);
  if (d == nullptr) return kMmBadDeviceId;
  if (d->caps_fail) return kMmError;
  caps.name = d->name.substr(0, kMaxDeviceName);
  caps.channels = d->channels;
  caps.synchronous = d->synchronous;
  return kMmNoError;
}

std::uint32_t VirtualWaveOut::QueryFormat(std::uint32_t device_id, const PcmFormat&) {
  if (query_result != kMmNoError) return query_result;
  return Find(device_id) ? kMmNoError : kMmBadDeviceId;
}

std::uint32_t VirtualWaveOut::Open(std::uint32_t device_id, const PcmFormat& format,
                                   Notifier& done) {
  if (open_) return kMmAllocated;
  if (open_result != kMmNoError) return open_result;
  if (Find(device_id) == nullptr) return kMmBadDeviceId;
  open_ = true;
  paused_ = false;
  opened_device = device_id;
  opened_format = format;
  done_ = &done;
  head_ = count_ = 0;
  offset_ = position_ = 0;
  return kMmNoError;
}

std::uint32_t VirtualWaveOut::PrepareHeader(WaveHeader& header) {
  if (prepare_result != kMmNoError) return prepare_result;
  header.flags |= kWhdrPrepared;
  ++prepared;
  return kMmNoError;
}

std::uint32_t VirtualWaveOut::UnprepareHeader(WaveHeader& header) {
  if (!(header.flags & kWhdrPrepared)) return kMmNoError;
  header.flags &= ~kWhdrPrepared;
  --prepared;
  return kMmNoError;
}

std::uint32_t VirtualWaveOut::Write(WaveHeader& header) {
  if (!(header.flags & kWhdrPrepared)) return kWaveUnprepared;
  if (refuse_writes || count_ == kRing) return kMmError;
  header.flags = (header.flags & ~kWhdrDone) | kWhdrInQueue;
  ring_[(head_ + count_) % kRing] = &header;
  ++count_;
  ++writes;
  return kMmNoError;
}

std::uint32_t VirtualWaveOut::Pause() {
  paused_ = true;
  return kMmNoError;
}

std::uint32_t VirtualWaveOut::Restart() {
  paused_ = false;
  return kMmNoError;
}

std::uint32_t VirtualWaveOut::Reset() {
  for (; count_ > 0; --count_, head_ = (head_ + 1) % kRing) {
    WaveHeader& h = *ring_[head_];
    h.flags = (h.flags & ~kWhdrInQueue) | kWhdrDone;
    done_->Post();
  }
  head_ = 0;
  offset_ = position_ = 0;
  ++resets;
  return kMmNoError;
}

std::uint32_t VirtualWaveOut::Close() {
  open_ = false;
  count_ = 0;
  done_ = nullptr;
  return kMmNoError;
}

std::uint32_t VirtualWaveOut::Play(std::uint32_t bytes) {
  std::uint32_t total = 0;
  while (open_ && !paused_ && bytes > 0 && count_ > 0) {
    WaveHeader& h = *ring_[head_];
    const std::uint32_t n = std::min(bytes, h.buffer_length - offset_);
    played.insert(played.end(), h.data + offset_, h.data + offset_ + n);
    offset_ += n;
    position_ += n;
    bytes -= n;
    total += n;
    if (offset_ == h.buffer_length) {
      h.flags = (h.flags & ~kWhdrInQueue) | kWhdrDone;
      head_ = (head_ + 1) % kRing;
      --count_;
      offset_ = 0;
      done_->Post();
    }
  }
  return total;
}

}  // namespace qm
