// Mutation tests of the three file readers, done the way lodepng tests its
// own decoder: one good file of each kind (a WAV effect, an Ogg Vorbis piece,
// a PNG sprite sheet), then every byte of it in turn complemented, set to 0
// and set to 255, and the file cut at every length. Each variant is loaded for
// real through the game's own calls under the sanitizers, and its outcome is
// held to what the variant still contains: the documented log line where the
// file cannot be used, the untouched result where only data that cannot
// matter was changed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "VeskFrame.h"
#include "audio/Audio.h"
#include "audio/AudioTestKit.h"
#include "audio/MusicStreamKit.h"
#include "audio/OggPages.h"
#include "graphics/images_png.h"

using namespace audiotest;

namespace {

struct MutationGame : VeskCore {};
MutationGame game;

constexpr int kSoundSlot = 3;
constexpr int kImageSlot = 30;
constexpr int kSheetFrame = 8;
constexpr int kRefills = 2;
constexpr size_t kPngClosingChunk = 12;  // IEND: length, type and checksum

// The three ways a byte is changed.
enum ByteChange { kComplement, kZero, kAllOnes, kEveryChange };

unsigned char Changed(unsigned char byte, int change) {
  return change == kComplement ? static_cast<unsigned char>(~byte) : change == kZero ? 0 : 255;
}

// Every single-byte variant of good: the byte at each position complemented,
// zeroed and set to 255, or changed in the one way `only` names (variants
// equal to good are skipped).
template <class Visit>
void EveryByteVariant(const std::string& good, Visit visit, int only = kEveryChange) {
  for (size_t at = 0; at < good.size(); at++) {
    for (int change = kComplement; change < kEveryChange; change++) {
      if (only != kEveryChange && change != only) continue;
      const unsigned char value = Changed(static_cast<unsigned char>(good[at]), change);
      if (static_cast<unsigned char>(good[at]) == value) continue;
      std::string bytes = good;
      bytes[at] = static_cast<char>(value);
      visit(bytes, at);
    }
  }
}

bool HasLine(const std::vector<std::string>& lines, const std::string& start) {
  for (const std::string& line : lines) {
    if (line.rfind(start, 0) == 0) return true;
  }
  return false;
}

// ---- WAV ----

class WavMutations : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    GameNum = 1;
    LogOf([] { ASys.OpenAudio(); });
  }
  static void TearDownTestSuite() {
    LogOf([] { ASys.CloseAudio(); });
  }

  // 120 stereo frames after an 18-byte format chunk and a LIST chunk; the
  // data chunk comes last, so every cut shortens it.
  const std::string samples_ = Sine16(2, kStreamRate, 440, 120, 0.5);
  const std::string good_ = Riff(Chunk("fmt ", FormatBody(2, 16, kStreamRate, 18)) +
                                 Chunk("LIST", "INFOISFTmutated") + Chunk("data", samples_));
  const size_t dataAt_ = good_.size() - samples_.size();
  const std::string loadLine_ = "     Load " + std::to_string(samples_.size()) + " bytes";

  std::vector<std::string> LoadEffect(const std::string& bytes) {
    WriteFile("Data/1/audio/m.wav", bytes);
    SFXData[kSoundSlot][kSfxBytes] = -1;
    return LogOf([] { game.LoadSFX(kSoundSlot, "m"); });
  }

  std::vector<std::string> StreamMusic(const std::string& bytes) {
    WriteFile("Data/1/audio/m.wav", bytes);
    return LogOf([] {
      game.PlayMusic("m.wav", 1);
      MoreBlocks(kRefills);
      game.StopMusic();
    });
  }
};

TEST_F(WavMutations, EveryCutLeavesTheSlotEmptyAndStreamsOnlyAWholeDataHeader) {
  ASSERT_TRUE(HasLine(LoadEffect(good_), loadLine_));
  for (size_t length = 0; length < good_.size(); length++) {
    const std::string cut = good_.substr(0, length);
    const std::vector<std::string> effect = LoadEffect(cut);
    EXPECT_FALSE(HasLine(effect, "     Load")) << "cut at " << length;
    EXPECT_EQ(SFXData[kSoundSlot][kSfxBytes], -1) << "cut at " << length;
    // Music streams what a cut-off data chunk holds, once its body has begun.
    const bool refused = HasLine(StreamMusic(cut), "Error Opening Wave - Data/1/audio/m.wav");
    EXPECT_EQ(refused, length <= dataAt_) << "cut at " << length;
    EXPECT_EQ(MusicFile, nullptr);
  }
}

TEST_F(WavMutations, ChangedBytesNeverLoadMoreThanTheFileAndSamplesDoNotMatter) {
  int loaded = 0;
  int refused = 0;
  EveryByteVariant(good_, [&](const std::string& bytes, size_t at) {
    const std::vector<std::string> effect = LoadEffect(bytes);
    if (at >= dataAt_) {
      EXPECT_TRUE(HasLine(effect, loadLine_)) << "sample byte " << at;
    }
    if (HasLine(effect, "     Load")) {
      loaded++;
      EXPECT_GE(SFXData[kSoundSlot][kSfxBytes], 0);
      EXPECT_LE(size_t(SFXData[kSoundSlot][kSfxBytes]), bytes.size()) << "byte " << at;
    } else {
      refused++;
    }
    const std::vector<std::string> music = StreamMusic(bytes);
    if (at >= dataAt_) {
      EXPECT_FALSE(HasLine(music, "Error Opening Wave")) << "sample byte " << at;
    }
    EXPECT_EQ(MusicFile, nullptr);
  });
  EXPECT_GT(refused, 0);
  EXPECT_GT(loaded, int(samples_.size()));
}

// ---- Ogg Vorbis ----

// End of the header pages: the pages before the first one that carries a
// granule position (the audio pages do).
size_t HeaderPagesEnd(const std::string& ogg) {
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(ogg.data());
  size_t at = 0;
  for (size_t size;
       (size = OggPageBytes(bytes + at, ogg.size() - at)) != 0 && size <= ogg.size() - at;
       at += size) {
    uint64_t granule = 0;
    for (int i = 0; i < 8; i++) granule |= uint64_t(bytes[at + kOggGranuleAt + i]) << (8 * i);
    if (granule != 0) return at;
  }
  return at;
}

class OggMutations : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    GameNum = 1;
    LogOf([] { ASys.OpenAudio(); });
    good_ = ReadFile(FixturePath("short.ogg"));  // 1/8 s at 660 Hz
    ASSERT_FALSE(good_.empty());
  }
  static void TearDownTestSuite() {
    LogOf([] { ASys.CloseAudio(); });
  }

  // Starts the bytes as music and feeds a few refills; true if it was refused.
  static bool Refused(const std::string& bytes) {
    WriteFile("Data/1/audio/m.ogg", bytes);
    const std::vector<std::string> lines = LogOf([] {
      game.PlayMusic("m.ogg", 1);
      MoreBlocks(kRefills);
      game.StopMusic();
    });
    EXPECT_EQ(OggFile, nullptr);
    return HasLine(lines, "Error Opening Ogg");
  }

  static std::string good_;
};
std::string OggMutations::good_;

TEST_F(OggMutations, CutsInTheHeaderPagesAreRefusedTheRestPlay) {
  const size_t headerEnd = HeaderPagesEnd(good_);
  ASSERT_GT(headerEnd, 0u);
  ASSERT_LT(headerEnd, good_.size()) << "the piece has audio pages";
  ASSERT_FALSE(Refused(good_));
  for (size_t length = 0; length < good_.size(); length++) {
    EXPECT_EQ(Refused(good_.substr(0, length)), length < headerEnd) << "cut at " << length;
  }
}

// One case per kind of change, so that the three run side by side.
class OggByteChanges : public OggMutations, public ::testing::WithParamInterface<int> {};

// Every byte of a header page is covered by the page's checksum.
TEST_P(OggByteChanges, InTheHeaderPagesAreRefusedTheRestPlay) {
  const size_t headerEnd = HeaderPagesEnd(good_);
  ASSERT_GT(headerEnd, 0u);
  EveryByteVariant(
      good_,
      [&](const std::string& bytes, size_t at) {
        EXPECT_EQ(Refused(bytes), at < headerEnd) << "byte " << at;
      },
      GetParam());
}

INSTANTIATE_TEST_SUITE_P(EachChange, OggByteChanges,
                         ::testing::Values(kComplement, kZero, kAllOnes));

// ---- PNG ----

class PngMutations : public ImageStoreTest {
 protected:
  void SetUp() override {
    ImageStoreTest::SetUp();
    const std::vector<unsigned char> png = EncodePng(Gradient(40, 16));
    good_.assign(png.begin(), png.end());
    ASSERT_FALSE(Load(good_));
    goodTexture_ = Image[kImageSlot];
    ASSERT_EQ(iFrames[kImageSlot], 10);
  }

  // Loads the bytes as a sheet of 8 x 8 frames; true if OMGERRORZ was logged.
  bool Load(const std::string& bytes) {
    EXPECT_TRUE(WriteFile("Data/1/m.png", bytes));
    const std::vector<std::string> lines =
        LogOf([] { game.LoadImg(kImageSlot, "m", kSheetFrame); });
    return HasLine(lines, "OMGERRORZ");
  }

  // A variant either fails with the slot unusable or loads the good picture.
  void ExpectRefusedOrUntouched(const std::string& bytes, const std::string& what) {
    if (Load(bytes)) {
      EXPECT_EQ(iFrames[kImageSlot], -1) << what;
    } else {
      EXPECT_EQ(iFrames[kImageSlot], 10) << what;
      EXPECT_TRUE(Image[kImageSlot] == goodTexture_) << what;
    }
  }

  std::string good_;
  std::vector<unsigned char> goodTexture_;
};

TEST_F(PngMutations, CutsFailUnlessOnlyTheClosingChunkIsMissing) {
  for (size_t length = 0; length < good_.size(); length++) {
    const std::string cut = good_.substr(0, length);
    if (length < good_.size() - kPngClosingChunk) {
      EXPECT_TRUE(Load(cut)) << "cut at " << length;
      EXPECT_EQ(iFrames[kImageSlot], -1);
    } else {
      ExpectRefusedOrUntouched(cut, "cut at " + std::to_string(length));
    }
  }
}

TEST_F(PngMutations, ChangedBytesFailOrLeaveThePictureAsItWas) {
  int refused = 0;
  EveryByteVariant(good_, [&](const std::string& bytes, size_t at) {
    ExpectRefusedOrUntouched(bytes, "byte " + std::to_string(at));
    if (iFrames[kImageSlot] == -1) refused++;
  });
  // Checksums cover every chunk: nearly every change is caught.
  EXPECT_GT(refused, int(good_.size()));
}

}  // namespace
