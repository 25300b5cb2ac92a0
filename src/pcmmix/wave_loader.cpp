// PcmMixLoadWave: a RIFF/WAVE sound from a file or a memory image, converted to the session's
// output format.

#include <memory>
#include <new>

#include "pcmmix/engine.h"
#include "pcmmix/riff_reader.h"
#include "pcmmix/wave_convert.h"

namespace qm {
namespace {

// The error a memory file gives when there are no bytes to open it over.
constexpr int kMmioCannotOpen = 259;
constexpr std::size_t kMaxWaveName = 15;

PcmFormat ParseFormat(const std::uint8_t* p) {
  const auto u16 = [&](int at) { return static_cast<std::uint16_t>(p[at] | p[at + 1] << 8); };
  const auto u32 = [&](int at) {
    return static_cast<std::uint32_t>(u16(at)) | static_cast<std::uint32_t>(u16(at + 2)) << 16;
  };
  return PcmFormat{u16(0), u16(2), u32(4), u32(8), u16(12), u16(14)};
}

std::unique_ptr<RiffSource> OpenSource(const WaveName& name, std::uint32_t flags) {
  if (flags & LoadFromResource) {
    // No module carries resources here, so every resource is one that cannot be found.
    Fail("Failed to open \"WAVE\" resource " +
         (name.number ? std::to_string(*name.number) : name.text));
  }
  if (flags & LoadFromMemory) {
    if (name.image.empty()) {
      Fail("Failed to open memory file, mmioOpen error=" + std::to_string(kMmioCannotOpen) +
           ".#13May need to make sure memory is read-write");
    }
    return std::make_unique<MemoryRiffSource>(name.image);
  }
  auto file = std::make_unique<FileRiffSource>(name.text);
  if (!file->IsOpen()) Fail("Failed to open wave file " + name.text);
  return file;
}

}  // namespace

using namespace mix;

MixWave* PcmMixLoadWave(HMixSession session, const WaveName& name, const WaveModule*,
                        std::uint32_t flags) {
  MixSession& s = ValidSession(session);
  WaveOut& device = *TheEngine().platform.wave_out;
  if (device.QueryFormat(static_cast<std::uint16_t>(s.device_id), s.output_format) != kMmNoError) {
    Fail("The waveform device can\xB4t play this format");
  }
  std::unique_ptr<MixWave> wave(new (std::nothrow) MixWave{});
  if (!wave) Fail(kMsgNoMemory);

  std::unique_ptr<RiffSource> source = OpenSource(name, flags);
  RiffChunk riff;
  if (!FindRiffForm(*source, FourCc("WAVE"), riff)) Fail("This is not a WAVE file");
  RiffChunk fmt;
  if (!FindSubChunk(*source, riff, riff.data + 4, FourCc("fmt "), fmt)) {
    Fail("WAVE file is corrupted");
  }
  std::uint8_t raw_format[16];
  if (fmt.size < sizeof raw_format ||
      source->ReadAt(fmt.data, raw_format, sizeof raw_format) != sizeof raw_format) {
    Fail("Failed to read format chunk");
  }
  wave->format = ParseFormat(raw_format);
  if (wave->format.format_tag != kWaveFormatPcm) Fail("The file is not a PCM file");
  RiffChunk data;
  if (!FindSubChunk(*source, riff, fmt.End(), FourCc("data"), data)) {
    Fail("WAVE file has no data chunk");
  }
  if (data.size == 0) Fail(kMsgNoData);
  // A size beyond the end of the bytes could only end in a short read: say so before allocating
  // anything that large.
  if (data.data + data.size > source->Size()) Fail("Failed to read data chunk");
  SampleBuffer samples = AllocateSamples(data.size);
  if (source->ReadAt(data.data, samples.bytes.get(), data.size) != data.size) {
    Fail("Failed to read data chunk");
  }
  ConvertWave(s.output_format, wave->format, samples);
  source.reset();

  wave->data = std::move(samples.bytes);
  wave->length = static_cast<std::int32_t>(samples.size);
  if ((flags & LoadFromResource) == 0 && (flags & LoadFromMemory) == 0) {
    wave->name = name.text.substr(0, kMaxWaveName);
  }
  Engine& e = TheEngine();
  wave->next_live = e.live_waves;
  e.live_waves = wave.get();
  return wave.release();
}

}  // namespace qm
