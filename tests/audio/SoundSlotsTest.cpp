// The WAV reader and the sound slots on OpenAL Soft's silent device: field
// readers and the chunk walk on files built byte by byte, what GetWAV and
// LoadSFX upload and log, reloading a slot that channels still hold,
// stopping a slot's effects, slot numbers out of range, and truncated and
// fuzzed files.
#include <AL/al.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "VeskFrame.h"
#include "audio/Audio.h"
#include "audio/AudioTestKit.h"

using namespace audiotest;

namespace {

struct SlotGame : VeskCore {};
SlotGame game;

constexpr int kRate = 44100;
using Lines = std::vector<std::string>;

// An open file holding the bytes, closed when the test ends.
class TempFile {
 public:
  explicit TempFile(const std::string& bytes) {
    WriteFile("reader.bin", bytes);
    file_ = std::fopen("reader.bin", "rb");
  }
  ~TempFile() { std::fclose(file_); }
  FILE* get() { return file_; }

 private:
  FILE* file_;
};

int BufferValue(int slot, ALenum what) {
  ALint value = -1;
  alGetBufferi(ALbuffer[slot], what, &value);
  return value;
}

Lines Load(int slot, const std::string& bytes) {
  WriteFile("slot.wav", bytes);
  return LogOf([&] { ASys.GetWAV(slot, "slot.wav"); });
}

std::string LoadLine(size_t bytes) { return "     Load " + std::to_string(bytes) + " bytes"; }

// ---- Readers and the chunk walk ----

TEST(WavReader, FieldsAreLittleEndianAndShortReadsAreMarked) {
  TempFile file("RIFF" + Le32(0x04030201) + Le32(INT_MIN) + Le16(0xFFFE) + "ab" + "xyz");
  EXPECT_STREQ(readTag(file.get()), "RIFF");
  EXPECT_EQ(readInt(file.get()), 0x04030201);
  EXPECT_EQ(readInt(file.get()), INT_MIN);
  EXPECT_EQ(readShort(file.get()), 0xFFFE);
  EXPECT_EQ(readShort(file.get()), 'a' | ('b' << 8));
  EXPECT_STREQ(readTag(file.get()), "");  // 3 bytes left
  TempFile ints("abc");
  EXPECT_EQ(readInt(ints.get()), -1);
  TempFile shorts("a");
  EXPECT_EQ(readShort(shorts.get()), -1);
}

TEST(WavReader, SkipBytesStopsAtTheEndAndIgnoresNegativeCounts) {
  TempFile file(std::string(100, 'x') + "DATA");
  skipBytes(file.get(), -5);
  EXPECT_EQ(std::ftell(file.get()), 0);
  skipBytes(file.get(), 100);
  EXPECT_STREQ(readTag(file.get()), "DATA");
  skipBytes(file.get(), INT_MAX);  // a huge count on a small file
  EXPECT_TRUE(std::feof(file.get()));
}

TEST(WavReader, WalkSkipsOtherChunksWhateverTheirPadding) {
  const std::string fmt = Chunk("fmt ", FormatBody(1, 8, kRate, 18));
  const std::string samples(7, 'S');
  const struct {
    const char* what;
    std::string chunks;
  } cases[] = {
      {"LIST and fact",
       Chunk("LIST", "INFOabcd") + Chunk("fact", Le32(7)) + Chunk("data", samples)},
      {"odd chunk with pad", Chunk("LIST", "odd", true) + Chunk("data", samples)},
      {"odd chunk without pad", Chunk("LIST", "odd", false) + Chunk("data", samples)},
  };
  for (const auto& c : cases) {
    TempFile file(Riff(fmt + c.chunks));
    WavFormat format;
    ASSERT_EQ(ReadWavHeader(file.get(), &format), 1) << c.what;
    EXPECT_EQ(format.channels, 1) << c.what;
    EXPECT_EQ(FindWavData(file.get()), 7) << c.what;
    EXPECT_STREQ(readTag(file.get()), "SSSS") << c.what;
  }
}

TEST(WavReader, WalkEndsAtSizesThatCannotBeHonoured) {
  const std::string fmt = Chunk("fmt ", FormatBody(1, 8, kRate));
  const std::string data = Chunk("data", "abcd");
  const struct {
    const char* what;
    std::string chunks;
  } cases[] = {
      {"negative", "LIST" + Le32(-8) + "xxxxxxxx" + data},
      {"larger than the file", "LIST" + Le32(0x7FFFFFF0) + data},
      {"data larger than the file", "data" + Le32(1000) + "abcd"},
      {"size cut off", "LIST" + std::string("\x10\x00", 2)},
      {"nothing after the format chunk", ""},
  };
  for (const auto& c : cases) {
    TempFile file(Riff(fmt + c.chunks));
    WavFormat format;
    ASSERT_EQ(ReadWavHeader(file.get(), &format), 1) << c.what;
    EXPECT_EQ(FindWavData(file.get()), -1) << c.what;
  }
}

// ---- Sound slots ----

class SoundSlots : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    LogOf([] { ASys.OpenAudio(); });
  }
  static void TearDownTestSuite() {
    LogOf([] { ASys.CloseAudio(); });
    for (int slot = 0; slot < kSoundSlots; slot++) EXPECT_EQ(ALbufferActive[slot], 0) << slot;
  }
  void SetUp() override { GameNum = 1; }
};

TEST_F(SoundSlots, SixteenBitStereoLoadsWithItsRateAndFrames) {
  const std::string samples = Sine16(2, kRate, 440, 1000, 0.5);
  EXPECT_EQ(Load(2, SimpleWav(2, kRate, samples)), Lines{LoadLine(samples.size())});
  EXPECT_EQ(ALbufferActive[2], 1);
  EXPECT_EQ(BufferValue(2, AL_FREQUENCY), kRate);
  EXPECT_EQ(BufferValue(2, AL_CHANNELS), 2);
  EXPECT_EQ(BufferValue(2, AL_BITS), 16);
  EXPECT_EQ(BufferValue(2, AL_SIZE), int(samples.size()));
  const int expected[5] = {int(samples.size()), 1000, 2, 2, kRate};
  for (int i = 0; i < 5; i++) EXPECT_EQ(SFXData[2][i], expected[i]) << "entry " << i;
}

TEST_F(SoundSlots, EightBitMonoWithExtraChunksLoads) {
  const std::string samples = Sine8(22050, 300, 999, 0.5);
  const std::string bytes = Riff(Chunk("fmt ", FormatBody(1, 8, 22050, 18)) +
                                 Chunk("LIST", "INFOISFT\x03\0\0\0abc", true) +
                                 Chunk("fact", Le32(999)) + Chunk("data", samples, true));
  EXPECT_EQ(Load(3, bytes), Lines{LoadLine(999)});
  EXPECT_EQ(BufferValue(3, AL_BITS), 8);
  EXPECT_EQ(BufferValue(3, AL_CHANNELS), 1);
  EXPECT_EQ(BufferValue(3, AL_FREQUENCY), 22050);
  EXPECT_EQ(SFXData[3][kSfxFrames], 999);
}

TEST_F(SoundSlots, RejectedHeadersLeaveTheSlotEmptyWithoutAMessage) {
  const std::string fmt = Chunk("fmt ", FormatBody(1, 16, kRate));
  const std::string data = Chunk("data", Sine16(1, kRate, 440, 100, 0.5));
  ASSERT_EQ(Load(4, Riff(fmt + data)).size(), 1u);
  const std::string rejected[] = {
      "RIFX" + Riff(fmt + data).substr(4),
      Riff(fmt + data).replace(8, 4, "AVI "),
      Riff(Chunk("LIST", "info") + fmt + data),                    // format chunk not first
      Riff(Chunk("fmt ", FormatBody(1, 32, kRate, 0, 3)) + data),  // floating point
      "RIFF",
  };
  for (const std::string& bytes : rejected) {
    EXPECT_EQ(Load(4, bytes), Lines{}) << bytes.size() << " bytes";
    EXPECT_EQ(BufferValue(4, AL_SIZE), 0);
    EXPECT_EQ(ALbufferActive[4], 1);
  }
}

TEST_F(SoundSlots, UnsupportedLayoutsAreRecordedButRefusedByTheLibrary) {
  const struct { int channels, bits, frames; } cases[] = {{2, 24, 100}, {0, 16, 0}, {1, 4, 0}};
  for (const auto& c : cases) {
    const std::string samples(600, '\x11');
    const Lines lines = Load(
        5, Riff(Chunk("fmt ", FormatBody(c.channels, c.bits, kRate)) + Chunk("data", samples)));
    ASSERT_EQ(lines.size(), 2u) << c.bits << " bits";
    EXPECT_EQ(lines[0], LoadLine(600));
    EXPECT_EQ(lines[1].rfind("Post Error ", 0), 0u) << lines[1];
    EXPECT_NE(std::stoi(lines[1].substr(11)), AL_NO_ERROR);
    EXPECT_EQ(SFXData[5][kSfxFrames], c.frames) << c.bits << " bits";
    EXPECT_EQ(BufferValue(5, AL_SIZE), 0);
  }
}

TEST_F(SoundSlots, CutOffDataIsNotUploaded) {
  const std::string full = SimpleWav(2, kRate, Sine16(2, kRate, 440, 500, 0.5));
  EXPECT_EQ(Load(6, full.substr(0, full.size() - 1)), Lines{});
  EXPECT_EQ(BufferValue(6, AL_SIZE), 0);
}

TEST_F(SoundSlots, TheLastOfSeveralDataChunksStays) {
  const std::string bytes =
      Riff(Chunk("fmt ", FormatBody(1, 16, kRate)) + Chunk("data", std::string(40, '\1')) +
           Chunk("data", std::string(64, '\2')));
  EXPECT_EQ(Load(7, bytes), (Lines{LoadLine(40), LoadLine(64)}));
  EXPECT_EQ(BufferValue(7, AL_SIZE), 64);
}

TEST_F(SoundSlots, LoadSfxBuildsFileNamesFromTheGameNumber) {
  GameNum = 2;
  const std::string three = SimpleWav(1, kRate, std::string(30, '\0'));
  const std::string boom = SimpleWav(1, kRate, std::string(50, '\0'));
  const std::string hundred = SimpleWav(1, kRate, std::string(70, '\0'));
  WriteFile("Data/2/audio/03.wav", three);
  WriteFile("Data/2/audio/boom.wav", boom);
  WriteFile("Data/2/audio/100.wav", hundred);
  EXPECT_EQ(LogOf([] { game.LoadSFX(3); }), (Lines{"Load Wave 3", LoadLine(30)}));
  EXPECT_EQ(LogOf([] { game.LoadSFX(7, "boom"); }), (Lines{"Load Wave boom to 7", LoadLine(50)}));
  EXPECT_EQ(LogOf([] { game.LoadSFX(100); }), (Lines{"Load Wave 100", LoadLine(70)}));
  // A name held in Tempstr itself, as an earlier string helper leaves it.
  EXPECT_EQ(LogOf([] { game.LoadSFX(8, game.fstr("boom")); }),
            (Lines{"Load Wave boom to 8", LoadLine(50)}));
  EXPECT_EQ(BufferValue(8, AL_SIZE), 50);
}

TEST_F(SoundSlots, MissingFileEmptiesASlotThatHeldASound) {
  WriteFile("Data/1/audio/09.wav", SimpleWav(1, kRate, std::string(30, '\0')));
  game.LoadSFX(9);
  ASSERT_EQ(BufferValue(9, AL_SIZE), 30);
  std::remove("Data/1/audio/09.wav");
  EXPECT_EQ(LogOf([] { game.LoadSFX(9); }), (Lines{"Load Wave 9", "Error Opening Wave"}));
  EXPECT_EQ(BufferValue(9, AL_SIZE), 0);
  EXPECT_EQ(ALbufferActive[9], 1);
  EXPECT_EQ(LogOf([] { ASys.GetWAV(9, nullptr); }), Lines{"Error Opening Wave"});
  const std::string hint = StderrOf([] { LogOf([] { game.LoadSFX(9); }); });
  EXPECT_NE(hint.find("no file \"Data/1/audio/09.wav\" in the working folder \"" +
                      std::filesystem::current_path().string() + "\""),
            std::string::npos)
      << hint;
}

// Channels that last played the slot are stopped and let go of its buffer,
// so the old buffer is deleted without an error; other channels keep theirs.
TEST_F(SoundSlots, ReloadingAPlayedSlotFreesItsChannels) {
  const std::string bytes = SimpleWav(1, kRate, Sine16(1, kRate, 440, 44100, 0.5));
  Load(10, bytes);
  Load(11, bytes);
  std::vector<int> channels;
  for (int i = 0; i < 3; i++) {
    game.PlaySFX(10, 1.0f, 1.0f, 0.0f, 1);
    channels.push_back(ALChannel);
  }
  game.PlaySFX(11, 1.0f);
  const int other = ALChannel;

  Lines expected;
  for (int c : channels) expected.push_back("Freeing Buffer " + std::to_string(c));
  std::sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
    return std::stoi(a.substr(15)) < std::stoi(b.substr(15));
  });
  expected.push_back(LoadLine(88200));
  EXPECT_EQ(Load(10, bytes), expected);

  for (int c : channels) {
    ALint state = 0, buffer = -1;
    alGetSourcei(ALsource[c], AL_SOURCE_STATE, &state);
    alGetSourcei(ALsource[c], AL_BUFFER, &buffer);
    EXPECT_NE(state, AL_PLAYING) << "channel " << c;
    EXPECT_EQ(buffer, 0) << "channel " << c;
    EXPECT_EQ(ALsourcebuffer[c], -1) << "channel " << c;
  }
  ALint otherBuffer = 0;
  alGetSourcei(ALsource[other], AL_BUFFER, &otherBuffer);
  EXPECT_EQ(unsigned(otherBuffer), ALbuffer[11]);
  EXPECT_EQ(ALsourcebuffer[other], 11);
}

ALint SourceState(int channel) {
  ALint state = 0;
  alGetSourcei(ALsource[channel], AL_SOURCE_STATE, &state);
  return state;
}

// StopSFX stops every channel the slot plays on, looping or not, and no
// other; the channels keep their buffer as after an effect that ended.
TEST_F(SoundSlots, StopSfxStopsOnlyTheChannelsOfItsSlot) {
  const std::string bytes = SimpleWav(1, kRate, Sine16(1, kRate, 440, 44100, 0.5));
  Load(20, bytes);
  Load(21, bytes);
  std::vector<int> channels;
  game.PlaySFX(20, 1.0f, 1.0f, 0.0f, 1);
  channels.push_back(ALChannel);
  game.PlaySFX(20, 1.0f);
  channels.push_back(ALChannel);
  game.PlaySFX(21, 1.0f);
  const int other = ALChannel;
  for (int c : channels) ASSERT_EQ(SourceState(c), AL_PLAYING) << c;

  for (int slot : {-1, kSoundSlots, 22, INT_MIN}) game.StopSFX(slot);
  for (int c : channels) EXPECT_EQ(SourceState(c), AL_PLAYING) << c;

  EXPECT_EQ(LogOf([] { game.StopSFX(20); }), Lines{});
  for (int c : channels) {
    EXPECT_EQ(SourceState(c), AL_STOPPED) << c;
    EXPECT_EQ(ALsourcebuffer[c], 20) << c;
  }
  EXPECT_EQ(SourceState(other), AL_PLAYING);
  // Played again, the slot sounds as before.
  game.PlaySFX(20, 1.0f);
  EXPECT_EQ(SourceState(ALChannel), AL_PLAYING);
  game.StopSFX(20);
  game.StopSFX(21);
  EXPECT_EQ(SourceState(other), AL_STOPPED);
}

TEST_F(SoundSlots, SlotNumbersOutOfRangeAreIgnored) {
  for (int slot : {-1, kSoundSlots, INT_MAX, INT_MIN}) {
    const Lines lines = LogOf([slot] { game.LoadSFX(slot); });
    ASSERT_EQ(lines.size(), 2u) << slot;
    EXPECT_EQ(lines[0], "Load Wave " + std::to_string(slot));
    EXPECT_NE(lines[1].find(std::to_string(slot)), std::string::npos) << lines[1];
    const int channel = ALChannel;
    game.PlaySFX(slot, 1.0f);
    EXPECT_EQ(ALChannel, channel) << slot;
  }
}

TEST_F(SoundSlots, PlayingASlotNeverLoadedTakesNoChannel) {
  const int channel = ALChannel;
  ASSERT_EQ(ALbufferActive[90], 0);
  game.PlaySFX(90);
  EXPECT_EQ(ALChannel, channel);
}

// ---- Bad files ----

// Every prefix of a good file: only the complete data chunk is uploaded.
TEST_F(SoundSlots, EveryTruncationLoadsSafely) {
  const std::string samples = Sine16(2, kRate, 440, 64, 0.5);
  const std::string good = Riff(Chunk("fmt ", FormatBody(2, 16, kRate, 18)) +
                                Chunk("LIST", "INFOx", true) + Chunk("data", samples));
  for (size_t length = 0; length <= good.size(); length++) {
    const Lines lines = Load(12, good.substr(0, length));
    if (length == good.size()) {
      EXPECT_EQ(lines, Lines{LoadLine(samples.size())});
    } else {
      EXPECT_EQ(lines, Lines{}) << length;
    }
    EXPECT_EQ(ALbufferActive[12], 1);
  }
}

// Random bytes and sizes: never a crash, and never more uploaded than the
// file holds.
TEST_F(SoundSlots, FuzzedFilesLoadSafely) {
  const std::string good = Riff(Chunk("fmt ", FormatBody(1, 16, kRate)) + Chunk("fact", Le32(9)) +
                                Chunk("data", Sine16(1, kRate, 440, 200, 0.5)));
  std::mt19937 random(20240611);
  int loaded = 0;
  for (int round = 0; round < 1500; round++) {
    std::string bytes = good;
    const int flips = 1 + int(random() % 6);
    for (int i = 0; i < flips; i++) bytes[random() % bytes.size()] = char(random() & 0xFF);
    if (round % 3 == 0) bytes.resize(random() % bytes.size());
    const Lines lines = Load(13, bytes);
    for (const std::string& line : lines) {
      if (line.rfind("     Load ", 0) != 0) continue;
      loaded++;
      EXPECT_LE(std::stoul(line.substr(10)), bytes.size()) << "round " << round;
    }
  }
  EXPECT_GT(loaded, 0);  // the mutations leave some files readable
}

}  // namespace
