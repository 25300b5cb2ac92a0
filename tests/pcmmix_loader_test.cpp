// WAVE loading and conversion: the conversions to the letter, every refusal with its message, and
// hostile files that must end in a clear message rather than a crash or a huge allocation.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "pcmmix/wave_convert.h"
#include "pcmmix_rig.h"

namespace qm::testing {
namespace {

class LoaderTest : public MixRig {
 protected:
  MixWave* LoadImage(const Bytes& image) {
    image_ = image;
    MixWave* w = PcmMixLoadWave(session, WaveName::Memory(image_), nullptr, LoadFromMemory);
    loaded_.push_back(w);
    return w;
  }
  std::string Refusal(const Bytes& image) {
    MixWave* const before = mix::TheEngine().live_waves;
    const std::string message = MIX_ERROR(LoadImage(image));
    EXPECT_EQ(mix::TheEngine().live_waves, before) << "a failed load kept a wave";
    return message;
  }
  Bytes Data(MixWave* w) { return Bytes(w->data.get(), w->data.get() + w->length); }
  void TearDown() override {
    for (MixWave* w : loaded_)
      PcmMixFreeWave(session, w);
    MixRig::TearDown();
  }

 private:
  Bytes image_;
  std::vector<MixWave*> loaded_;
};

Bytes Le16(std::initializer_list<std::uint16_t> values) {
  Bytes b;
  for (std::uint16_t v : values)
    PutLe(b, v, 2);
  return b;
}

TEST_F(LoaderTest, OutputFormatSoundIsTakenUnchanged) {
  Start();
  const Bytes samples = Ramp(777);
  MixWave* w = LoadImage(WaveImage(samples));
  EXPECT_EQ(Data(w), samples);
  EXPECT_EQ(w->format.samples_per_sec, 11025u);
  EXPECT_EQ(w->format.avg_bytes_per_sec, 11025u);
  EXPECT_EQ(w->name, "");
}

TEST_F(LoaderTest, SixteenBitSamplesKeepTheirHighByteMovedToUnsigned) {
  Start();
  MixWave* w = LoadImage(WaveImage(Le16({0x7FFF, 0x0000, 0xFFFF, 0x8000, 0x1234}), 1, 11025, 16));
  EXPECT_EQ(Data(w), (Bytes{255, 128, 127, 0, 0x12 + 128}));
  // The format stays as the file has it.
  EXPECT_EQ(w->format.bits_per_sample, 16);
}

TEST_F(LoaderTest, HigherRatesAverageGroupsAndCopyTheLastFrame) {
  Start();
  Bytes src(1001);
  for (int i = 0; i < 1001; ++i)
    src[i] = static_cast<std::uint8_t>(i * 37 % 256);
  MixWave* w = LoadImage(WaveImage(src, 1, 22050));
  ASSERT_EQ(w->length, 500);
  for (int i = 0; i < 499; ++i) {
    const std::size_t at = 2 * static_cast<std::size_t>(i);
    const int sum = (src[at] - 128) + (src[at + 1] - 128);
    ASSERT_EQ(Data(w)[i], 128 + sum / 2) << i;
  }
  EXPECT_EQ(Data(w)[499], src[998]);

  // 44100 averages groups of four, the division rounding toward zero.
  MixWave* q = LoadImage(WaveImage({127, 127, 127, 126, 130, 130, 129, 129, 9, 9, 9, 9}, 1, 44100));
  EXPECT_EQ(Data(q), (Bytes{127, 129, 9}));
}

TEST_F(LoaderTest, LowerRatesStepTowardTheNextFrame) {
  Start("[default]\nGoodWavePos=1\nSamplesPerSec=22\n");
  Bytes src(100, 128);
  src[0] = 10;
  src[1] = 20;
  src[2] = 13;
  src[99] = 77;
  MixWave* w = LoadImage(WaveImage(src));
  ASSERT_EQ(w->length, 200);
  const Bytes d = Data(w);
  EXPECT_EQ(Bytes(d.begin(), d.begin() + 6), (Bytes{10, 15, 20, 17, 13, 70}));
  EXPECT_EQ(d[198], 77);
  EXPECT_EQ(d[199], 77);

  // 8000 to 22050 is a whole factor of 2 as well; 8000 to 11025 keeps every frame.
  EXPECT_EQ(LoadImage(WaveImage({100, 110}, 1, 8000))->length, 4);
}

TEST_F(LoaderTest, RatesWithoutAWholeFactorKeepEveryFrame) {
  Start();
  MixWave* w = LoadImage(WaveImage({1, 2, 3, 250}, 1, 8000));
  EXPECT_EQ(Data(w), (Bytes{1, 2, 3, 250}));
}

TEST_F(LoaderTest, StereoFoldsToMonoAndMonoSpreadsToStereo) {
  Start();
  MixWave* w = LoadImage(WaveImage({100, 201, 0, 255, 7, 7, 9}, 2));
  EXPECT_EQ(Data(w), (Bytes{150, 127, 7}));  // a trailing half frame is dropped

  PcmFormat stereo{1, 2, 11025, 22050, 2, 8};
  SampleBuffer buf = AllocateSamples(3);
  buf.bytes[0] = 1;
  buf.bytes[1] = 2;
  buf.bytes[2] = 3;
  ConvertWave(stereo, PcmFormat{1, 1, 11025, 11025, 1, 8}, buf);
  EXPECT_EQ(Bytes(buf.bytes.get(), buf.bytes.get() + buf.size), (Bytes{1, 1, 2, 2, 3, 3}));
}

// Each side of a stereo sound is stepped and averaged on its own, never with its neighbour.
TEST_F(LoaderTest, StereoRatesConvertEachSideOnItsOwn) {
  device.devices[0].channels = 2;
  WriteSettings("[default]\nGoodWavePos=1\nSamplesPerSec=22\n");
  MixConfig config;
  config.flags = kConfigChannels;
  config.channels = 2;
  session = PcmMixInit(&config);
  PcmMixActivate(session, true);
  PcmMixOpenChannel(session, 4, ChannelCount);
  ASSERT_EQ(S().output_format.channels, 2);

  // 11025 to 22050, k = 2, frames (L,R) = (10,200) (20,100) (13,255):
  //   L 10->20 step 10/2 = 5: 10 15;    R 200->100 step -100/2 = -50: 200 150
  //   L 20->13 step -7/2 = -3: 20 17;   R 100->255 step 155/2 = 77: 100 177
  //   the last frame twice: 13 255 13 255
  MixWave* up = LoadImage(WaveImage({10, 200, 20, 100, 13, 255}, 2, 11025));
  const Bytes up_bytes{10, 200, 15, 150, 20, 100, 17, 177, 13, 255, 13, 255};
  EXPECT_EQ(Data(up), up_bytes);

  // 44100 to 22050, k = (44100 + 11025) / 22050 = 2, six frames give three:
  //   (130,0)+(133,1):   L 128 + (2+5)/2 = 131;    R 128 + (-128-127)/2 = 128 - 127 = 1
  //   (126,255)+(125,250): L 128 + (-2-3)/2 = 126; R 128 + (127+122)/2 = 252
  //   then a copy of frame 4, (77,88); frame 5 is dropped.
  MixWave* down =
      LoadImage(WaveImage({130, 0, 133, 1, 126, 255, 125, 250, 77, 88, 9, 9}, 2, 44100));
  EXPECT_EQ(Data(down), (Bytes{131, 1, 126, 252, 77, 88}));

  // The device gets the stepped frames as they are, sides in place; the last byte is not heard.
  Play(0, up);
  PlayOut();
  EXPECT_EQ(Played(0, 11), Bytes(up_bytes.begin(), up_bytes.begin() + 11));
  EXPECT_EQ(device.played.at(11), 128);
}

TEST_F(LoaderTest, SixteenBitStereoAt44100BecomesMonoAt11025) {
  Start();
  // Per frame: each side's high byte + 128 (mod 256), then (L + R) / 2 rounded down.
  //   0x7FFF,0x0000 -> 255,128 -> 191     0x8000,0xFFFF -> 0,127   -> 63
  //   0x1234,0x0F00 -> 146,143 -> 144     0xF000,0xE0FF -> 112,96  -> 104
  //   0x4000,0x2000 -> 192,160 -> 176     0x0100,0x0000 -> 129,128 -> 128
  //   0xFF00,0xFE80 -> 127,126 -> 126     0x7F00,0x7FFF -> 255,255 -> 255
  //   0x0000,0x8000 -> 128,0   -> 64      then three loud frames
  // 44100 to 11025 averages groups of four, rounding toward zero:
  //   128 + (63 - 65 + 16 - 24) / 4 = 128 + (-10 / 4) = 128 - 2 = 126
  //   128 + (48 + 0 - 2 + 127) / 4 = 128 + 43 = 171
  // and the last of the three output frames copies frame 8: 64.
  const Bytes image =
      WaveImage(Le16({0x7FFF, 0x0000, 0x8000, 0xFFFF, 0x1234, 0x0F00, 0xF000, 0xE0FF,
                      0x4000, 0x2000, 0x0100, 0x0000, 0xFF00, 0xFE80, 0x7F00, 0x7FFF,
                      0x0000, 0x8000, 0x7FFF, 0x7FFF, 0x7FFF, 0x7FFF, 0x7FFF, 0x7FFF}),
                2, 44100, 16);
  MixWave* w = LoadImage(image);
  EXPECT_EQ(Data(w), (Bytes{126, 171, 64}));

  Play(0, w);
  PlayOut();
  EXPECT_EQ(Played(0, 3), (Bytes{126, 171, 128}));
}

TEST_F(LoaderTest, ChunkOrderPaddingAndOddSizes) {
  Start();
  // A junk chunk of odd size with its pad byte before "fmt ", another between it and "data",
  // and a non-RIFF chunk before the RIFF one.
  const Bytes riff = Riff({Chunk("LIST", {1, 2, 3}), Chunk("fmt ", FmtBody(1, 11025, 8)),
                           Chunk("junk", {9}), Chunk("data", {5, 6, 7})});
  Bytes image = Chunk("JUNK", {0, 0, 0, 0, 0});
  image.insert(image.end(), riff.begin(), riff.end());
  EXPECT_EQ(Data(LoadImage(image)), (Bytes{5, 6, 7}));

  // A longer "fmt " (with its extension size) is fine; only the first 16 bytes are read.
  Bytes fmt = FmtBody(1, 11025, 8);
  PutLe(fmt, 0, 2);
  EXPECT_EQ(Data(LoadImage(Riff({Chunk("fmt ", fmt), Chunk("data", {42})}))), (Bytes{42}));

  EXPECT_EQ(Refusal(Riff({Chunk("data", {1, 2}), Chunk("fmt ", FmtBody(1, 11025, 8))})),
            "WAVE file has no data chunk");
}

TEST_F(LoaderTest, EveryRefusalInOrder) {
  Start();
  EXPECT_EQ(Refusal(Bytes{'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v', 'e', '!', '!', '!'}),
            "This is not a WAVE file");
  EXPECT_EQ(Refusal(Riff({Chunk("data", {1})}, "AVI ")), "This is not a WAVE file");
  EXPECT_EQ(Refusal(Riff({Chunk("data", {1})})), "WAVE file is corrupted");
  Bytes short_fmt = FmtBody(1, 11025, 8);
  short_fmt.resize(14);
  EXPECT_EQ(Refusal(Riff({Chunk("fmt ", short_fmt), Chunk("data", {1})})),
            "Failed to read format chunk");
  EXPECT_EQ(Refusal(Riff({Chunk("fmt ", FmtBody(1, 11025, 8, 3)), Chunk("data", {1})})),
            "The file is not a PCM file");
  EXPECT_EQ(Refusal(Riff({Chunk("fmt ", FmtBody(1, 11025, 8))})), "WAVE file has no data chunk");
  EXPECT_EQ(Refusal(Riff({Chunk("fmt ", FmtBody(1, 11025, 8)), Chunk("data", {})})),
            "The data chunk has no data");

  // 24-bit: the whole chunk is read first, so a short one says so.
  Bytes deep = WaveImage(Bytes(30, 1), 1, 11025, 24);
  EXPECT_EQ(Refusal(deep), "File format not supported");
  deep.resize(deep.size() - 1);
  EXPECT_EQ(Refusal(deep), "Failed to read data chunk");

  EXPECT_EQ(MIX_ERROR(PcmMixLoadWave(session, WaveName::Resource("click"), nullptr,
                                     LoadFromResource | LoadFromMemory)),
            "Failed to open \"WAVE\" resource click");
  EXPECT_EQ(MIX_ERROR(PcmMixLoadWave(session, WaveName::Resource(7), nullptr, LoadFromResource)),
            "Failed to open \"WAVE\" resource 7");
  EXPECT_EQ(MIX_ERROR(PcmMixLoadWave(session, WaveName::Memory({}), nullptr, LoadFromMemory)),
            "Failed to open memory file, mmioOpen error=259.#13May need to make sure memory is "
            "read-write");
  EXPECT_EQ(MIX_ERROR(PcmMixLoadWave(session, WaveName::File(folder_ + "/none.wav"), nullptr, 0)),
            "Failed to open wave file " + folder_ + "/none.wav");
  EXPECT_EQ(MIX_ERROR(PcmMixLoadWave(session, WaveName::File(folder_), nullptr, LoadFromFile)),
            "Failed to open wave file " + folder_);

  device.query_result = 32;
  EXPECT_EQ(Refusal(WaveImage({1})), "The waveform device can\xB4t play this format");
}

TEST_F(LoaderTest, HostileSizesNeverReachBeyondTheBytes) {
  Start();
  // A data chunk claiming 4 GB in a 50-byte file is a short read, known before allocating.
  Bytes huge = WaveImage({1, 2, 3, 4});
  for (int i = 0; i < 4; ++i)
    huge[40 + i] = 0xFF;
  EXPECT_EQ(Refusal(huge), "Failed to read data chunk");
  // RIFF and chunk sizes running past the end: searches stop at the real end.
  Bytes riff_long = WaveImage({1, 2});
  riff_long[4] = riff_long[5] = riff_long[6] = riff_long[7] = 0xFF;
  EXPECT_EQ(Data(LoadImage(riff_long)), (Bytes{1, 2}));
  Bytes fmt_long = Riff({Chunk("fmt ", FmtBody(1, 11025, 8)), Chunk("data", {1})});
  fmt_long[16] = fmt_long[17] = fmt_long[18] = fmt_long[19] = 0xEE;
  EXPECT_EQ(Refusal(fmt_long), "WAVE file has no data chunk");
  // A header cut short in the middle of "fmt ".
  Bytes cut = WaveImage({1, 2, 3});
  cut.resize(30);
  EXPECT_EQ(Refusal(cut), "Failed to read format chunk");
}

TEST_F(LoaderTest, FormatsTheMixerCannotUse) {
  Start();
  EXPECT_EQ(Refusal(WaveImage({1, 2, 3, 4}, 0)), "File format not supported");
  EXPECT_EQ(Refusal(WaveImage({1, 2, 3, 4, 5, 6}, 3)), "File format not supported");
  EXPECT_EQ(Refusal(WaveImage({1, 2, 3, 4}, 1, 0)), "File format not supported");
  EXPECT_EQ(Refusal(WaveImage({1, 2}, 1, 11025, 0)), "File format not supported");
  // Less than one frame.
  EXPECT_EQ(Refusal(WaveImage({1}, 1, 11025, 16)), "The data chunk has no data");
  EXPECT_EQ(Refusal(WaveImage({1, 2, 3}, 2, 11025, 16)), "The data chunk has no data");
  EXPECT_EQ(Refusal(WaveImage({1, 2, 3}, 1, 44100)), "The data chunk has no data");
  // A tiny rate would blow 10000 bytes up eleven thousandfold.
  EXPECT_EQ(Refusal(WaveImage(Bytes(10000, 1), 1, 1)),
            "Unable to allocate memory for waveform data.  Try making more memory available by "
            "closing other applications.");
}

// Damaged sound files on disk, as the game opens them: each ends in its own message and leaves
// nothing loaded.
TEST_F(LoaderTest, DamagedFilesOnDiskAreRefusedWithTheirMessage) {
  Start();
  const Bytes good = WaveImage({1, 2, 3, 4, 5, 6});  // 44 bytes of header, data from 44
  Bytes cut_in_data = good;
  cut_in_data.resize(47);
  Bytes cut_in_fmt = good;
  cut_in_fmt.resize(28);
  Bytes cut_in_riff = good;
  cut_in_riff.resize(6);
  Bytes data_too_long = good;
  data_too_long[40] = 7;  // one byte more than the file holds
  Bytes data_huge = good;
  data_huge[40] = data_huge[41] = data_huge[42] = 0xFF;
  data_huge[43] = 0x7F;
  Bytes short_fmt = FmtBody(1, 11025, 8);
  short_fmt.resize(12);

  struct Case {
    const char* file;
    Bytes bytes;
    std::string message;
  };
  const std::vector<Case> cases{
      {"empty.wav", {}, "This is not a WAVE file"},
      {"cut-in-riff.wav", cut_in_riff, "This is not a WAVE file"},
      {"cut-in-fmt.wav", cut_in_fmt, "Failed to read format chunk"},
      {"cut-in-data.wav", cut_in_data, "Failed to read data chunk"},
      {"data-too-long.wav", data_too_long, "Failed to read data chunk"},
      {"data-huge.wav", data_huge, "Failed to read data chunk"},
      {"short-fmt.wav", Riff({Chunk("fmt ", short_fmt), Chunk("data", {1, 2})}),
       "Failed to read format chunk"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string path = folder_ + "/" + c.file;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(c.bytes.data()),
               static_cast<std::streamsize>(c.bytes.size()));
    EXPECT_EQ(MIX_ERROR(PcmMixLoadWave(session, WaveName::File(path), nullptr, LoadFromFile)),
              c.message);
    EXPECT_EQ(mix::TheEngine().live_waves, nullptr);
  }
  // A folder standing where the sound should be.
  const std::string folder = folder_ + "/click.wav";
  std::filesystem::create_directory(folder);
  EXPECT_EQ(MIX_ERROR(PcmMixLoadWave(session, WaveName::File(folder), nullptr, LoadFromFile)),
            "Failed to open wave file " + folder);
  EXPECT_EQ(mix::TheEngine().live_waves, nullptr);
  // A pipe, refused at once rather than waited on.
  const std::string pipe = folder_ + "/ship.wav";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(MIX_ERROR(PcmMixLoadWave(session, WaveName::File(pipe), nullptr, LoadFromFile)),
            "Failed to open wave file " + pipe);
}

TEST_F(LoaderTest, FileNamesAreCutToFifteenCharacters) {
  Start();
  const std::string path = folder_ + "/click-number-three.wav";
  const Bytes image = WaveImage({3, 4, 5});
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(image.data()),
             static_cast<std::streamsize>(image.size()));
  MixWave* w = PcmMixLoadWave(session, WaveName::File(path), nullptr, LoadFromFile);
  EXPECT_EQ(w->name, path.substr(0, 15));
  EXPECT_EQ(Data(w), (Bytes{3, 4, 5}));
  PcmMixFreeWave(session, w);
}

}  // namespace
}  // namespace qm::testing
