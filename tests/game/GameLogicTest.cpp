// The benchmark's own logic, checked without waiting for a run: the game is
// loaded without a window and DoGame is driven tick by tick at chosen tests
// and ticks; the recorded command list is read back and compared with what
// each test must draw (sprite loads, texts, blend modes, markers), and the
// results file and music changes at a test's end are checked.
#include <fstream>
#include <sstream>

#include "GameKit.h"
#include "graphics/Records.h"

MyGame ThisGame;
void Heartbeat() { ThisGame.KeepAlive(); }

namespace {

constexpr int kNoBlendYet = -1;

struct TextLine {
  std::string text;
  double firstX;
  double y;
  int blend;  // mode in force when the line starts
};

// The texts of a tick, rebuilt from the font records (frame = character - 32).
std::vector<TextLine> Texts(const std::vector<Record>& records) {
  std::vector<TextLine> lines;
  int blend = kNoBlendYet;
  bool inLine = false;
  for (const Record& r : records) {
    if (r.Kind() == kCmdBlend) blend = static_cast<int>(r.s[kSlotBlendMode]);
    if (!r.IsImage(kFontImage)) {
      inLine = false;
      continue;
    }
    if (!inLine || lines.back().y != r.Y()) lines.push_back({"", r.X(), r.Y(), blend});
    lines.back().text += static_cast<char>(r.Frame() + 32);
    inLine = true;
  }
  return lines;
}

// Records of image 0 drawn at the given scale relative to the corner markers.
std::vector<std::pair<const Record*, int>> SpritesAtScale(const std::vector<Record>& records,
                                                          double scale) {
  std::vector<std::pair<const Record*, int>> out;
  const double unit = records[0].s[kSlotWidth];
  int blend = kNoBlendYet;
  for (const Record& r : records) {
    if (r.Kind() == kCmdBlend) blend = static_cast<int>(r.s[kSlotBlendMode]);
    if (r.IsImage(kSpriteImage) && std::fabs(r.s[kSlotWidth] - scale * unit) < 1e-6) {
      out.push_back({&r, blend});
    }
  }
  return out;
}

// The test sprites: image-0 records between the corner markers and the texts.
std::vector<const Record*> TestSprites(const std::vector<Record>& records) {
  std::vector<const Record*> out;
  for (size_t i = 4; i < records.size() && !records[i].IsImage(kFontImage); i++) {
    if (records[i].IsImage(kSpriteImage)) out.push_back(&records[i]);
  }
  return out;
}

int ExpectedSprites(int test) {
  switch (test) {
    case 2:
    case 3:
    case 8:
    case 9:
      return 1500;
    case 4:
    case 10:
    case 12:
      return 5000;
    case 5:
    case 11:
      return 10000;
    default:
      return 0;
  }
}

class GameTick : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { StartGameWithoutWindow(); }
  static void TearDownTestSuite() {
    vftest::LogOf([] { ASys.CloseAudio(); });
  }
  void SetUp() override {
    for (int p = 0; p < kPointers; p++)
      for (int k = 0; k < kPointerSlots; k++) ASys.Touch[p][k] = 0;
    ASys.Button[kButtonAction1] = 0;
    ThisGame.GameBreak = 0;
  }
  float w() const { return ThisGame.ViewWidth; }
  float h() const { return ThisGame.ViewHeight; }
};

TEST_F(GameTick, CornerMarkersUseFramesOneToFourAtTheCorners) {
  const std::vector<Record> r = RecordTick(0, 10);
  ASSERT_GE(r.size(), 4u);
  const double want[4][2] = {{16, 16}, {w() - 16, 16}, {w() - 16, h() - 16}, {16, h() - 16}};
  for (int k = 0; k < 4; k++) {
    SCOPED_TRACE(k);
    EXPECT_TRUE(r[k].IsImage(kSpriteImage));
    EXPECT_EQ(r[k].Frame(), k + 1);
    EXPECT_NEAR(r[k].X(), want[k][0], 1e-3);
    EXPECT_NEAR(r[k].Y(), want[k][1], 1e-3);
  }
}

TEST_F(GameTick, EachTestDrawsItsSpriteLoadInsideTheView) {
  for (int test = 0; test < kTestCount; test++) {
    SCOPED_TRACE(test);
    const std::vector<Record> r = RecordTick(test, 10);
    const std::vector<const Record*> sprites = TestSprites(r);
    ASSERT_EQ(static_cast<int>(sprites.size()), ExpectedSprites(test));
    for (const Record* s : sprites) {
      ASSERT_GE(s->Frame(), 0);
      ASSERT_LE(s->Frame(), 3);
      ASSERT_GE(s->X(), 0);
      ASSERT_LE(s->X(), w());
      ASSERT_GE(s->Y(), 0);
      ASSERT_LE(s->Y(), h());
      ASSERT_EQ(s->s[kSlotRotation], test == 12 ? 45 : 0);
    }
  }
}

// The layout comes from SeedRnd(Mills() / 500) with x, y and frame drawn in
// that order, truncated toward zero; replay it with the framework's generator.
TEST_F(GameTick, SpriteLayoutFollowsTheHalfSecondSeed) {
  for (int attempt = 0; attempt < 5; attempt++) {
    const int before = ThisGame.Mills() / 500;
    const std::vector<Record> r = RecordTick(2, 10);
    if (ThisGame.Mills() / 500 != before) continue;  // crossed a seed boundary
    const std::vector<const Record*> sprites = TestSprites(r);
    ThisGame.SeedRnd(before);
    for (size_t i = 0; i < sprites.size(); i++) {
      const int x = static_cast<int>(ThisGame.Rnd(0, w()));
      const int y = static_cast<int>(ThisGame.Rnd(0, h()));
      const int frame = ThisGame.Rand(0, 3);
      ASSERT_EQ(sprites[i]->X(), x) << "sprite " << i;
      ASSERT_EQ(sprites[i]->Y(), y) << "sprite " << i;
      ASSERT_EQ(sprites[i]->Frame(), frame) << "sprite " << i;
    }
    return;
  }
  FAIL() << "every attempt crossed a half-second boundary";
}

TEST_F(GameTick, TextsAreCentredWithCountdownAndTestName) {
  struct Case {
    int test, tick;
    const char* number;
    const char* countdown;
    const char* name;
  };
  const Case cases[] = {{0, 0, "Test 0/15", "300", "Practically nothing"},
                        {7, 150, "Test 7/15", "150", "Streaming Ogg"},
                        {12, 299, "Test 12/15", "1", "Rotated Sprites"},
                        {14, 300, "Test 14/15", "0", "Streaming Ogg"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.test);
    const std::vector<TextLine> lines = Texts(RecordTick(c.test, c.tick));
    const std::string want[6] = {"Bim's Magic Benchmark",
                                 "Please don't touch anything!",
                                 "Testing is happening!!",
                                 c.number,
                                 c.countdown,
                                 c.name};
    const double wantY[6] = {h() / 2 - 96, h() / 2 - 64, h() / 2 - 32,
                             h() / 2,      h() / 2 + 32, h() - 96};
    ASSERT_EQ(lines.size(), 6u);
    ThisGame.ResetDraw();
    for (int k = 0; k < 6; k++) {
      EXPECT_EQ(lines[k].text, want[k]);
      EXPECT_NEAR(lines[k].y, wantY[k], 1e-3);
      // Centred: the first glyph sits half a common advance (7.5) inside.
      const double left = w() / 2 - ThisGame.StringWidth(want[k].c_str()) / 2;
      EXPECT_NEAR(lines[k].firstX, left + 7.5, 1e-3) << want[k];
    }
  }
  // The last tick of the last test ends the run; "15/15" is never shown.
  EXPECT_EQ(ThisGame.GameBreak, 1);
  EXPECT_EQ(ThisGame.TestNum, kTestCount);
}

// Blend modes are records, so a mode set for one step carries into the next.
TEST_F(GameTick, BlendModesOfTextsAndOrbiters) {
  struct Case {
    int test;
    int texts[6];
    int orbiters[3];
  };
  const Case cases[] = {
      {0,
       {kNoBlendYet, kNoBlendYet, kNoBlendYet, kNoBlendYet, kNoBlendYet, kNoBlendYet},
       {kNoBlendYet, kNoBlendYet, kNoBlendYet}},
      {1, {1, 1, 1, 2, 3, 3}, {3, 2, 3}},
      {2,
       {kNoBlendYet, kNoBlendYet, kNoBlendYet, kNoBlendYet, kNoBlendYet, kNoBlendYet},
       {kNoBlendYet, kNoBlendYet, kNoBlendYet}},
      {3, {2, 2, 2, 2, 2, 2}, {2, 2, 2}},
      {9, {2, 2, 2, 2, 2, 2}, {2, 2, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.test);
    const std::vector<Record> r = RecordTick(c.test, 20);
    const std::vector<TextLine> lines = Texts(r);
    ASSERT_EQ(lines.size(), 6u);
    for (int k = 0; k < 6; k++) EXPECT_EQ(lines[k].blend, c.texts[k]) << lines[k].text;
    const auto orbiters = SpritesAtScale(r, 4);
    ASSERT_EQ(orbiters.size(), 3u);
    for (int k = 0; k < 3; k++) {
      EXPECT_EQ(orbiters[k].first->Frame(), 0);
      EXPECT_EQ(orbiters[k].second, c.orbiters[k]) << "orbiter " << k;
    }
    // Every tick leaves the normal mode behind it.
    int last = kNoBlendYet;
    for (const Record& rec : r)
      if (rec.Kind() == kCmdBlend) last = static_cast<int>(rec.s[kSlotBlendMode]);
    EXPECT_EQ(last, 1);
  }
}

TEST_F(GameTick, AltBlendedSpritesSwitchModeEveryFiveHundred) {
  for (int test : {3, 9}) {
    SCOPED_TRACE(test);
    const std::vector<Record> r = RecordTick(test, 20);
    std::vector<std::pair<int, int>> switches;  // (sprites drawn so far, mode)
    int sprites = 0;
    for (size_t i = 4; i < r.size() && !r[i].IsImage(kFontImage); i++) {
      if (r[i].Kind() == kCmdBlend) switches.push_back({sprites, int(r[i].s[kSlotBlendMode])});
      if (r[i].IsImage(kSpriteImage)) sprites++;
    }
    const std::vector<std::pair<int, int>> want = {{0, 0}, {500, 1}, {1000, 2}};
    EXPECT_EQ(switches, want);
  }
}

TEST_F(GameTick, FireButtonSmoothsWhileHeld) {
  ASys.Button[kButtonAction1] = 1;
  RecordTick(0, 30);
  EXPECT_EQ(ASys.SmoothMode, 1);
  ASys.Button[kButtonAction1] = 0;
  RecordTick(0, 31);
  EXPECT_EQ(ASys.SmoothMode, 0);
}

TEST_F(GameTick, PointerDownDrawsHalfTransparentMarkerTiedToTheCorners) {
  const float px = 300, py = 200;
  ASys.Touch[2][1] = px;
  ASys.Touch[2][2] = py;
  ASys.Touch[2][5] = 1;
  const std::vector<Record> r = RecordTick(0, 40);
  size_t marker = r.size();
  for (size_t i = 0; i < r.size(); i++)
    if (r[i].IsImage(kSpriteImage) && r[i].Frame() == 8) marker = i;
  ASSERT_LT(marker + 4, r.size());
  EXPECT_NEAR(r[marker].X(), px, 1e-3);
  EXPECT_NEAR(r[marker].Y(), py, 1e-3);
  EXPECT_NEAR(r[marker].s[kSlotColour1 + kColourAlpha], 127.5, 0.5);
  EXPECT_NEAR(r[marker].s[kSlotWidth], 3 * r[0].s[kSlotWidth], 1e-6);
  const double corners[4][2] = {{0, 0}, {w(), 0}, {w(), h()}, {0, h()}};
  for (int k = 0; k < 4; k++) {
    SCOPED_TRACE(k);
    const Record& line = r[marker + 1 + k];
    ASSERT_EQ(line.Kind(), kCmdQuad);
    double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
    for (int c = 0; c < kQuadCorners; c++) {
      minX = std::min(minX, line.s[SlotCornerX(c)] + rw2);
      maxX = std::max(maxX, line.s[SlotCornerX(c)] + rw2);
      minY = std::min(minY, line.s[SlotCornerY(c)] + rh2);
      maxY = std::max(maxY, line.s[SlotCornerY(c)] + rh2);
    }
    // The thin quad spans from its corner of the view to the pointer.
    EXPECT_NEAR(minX, std::min<double>(corners[k][0], px), 3);
    EXPECT_NEAR(maxX, std::max<double>(corners[k][0], px), 3);
    EXPECT_NEAR(minY, std::min<double>(corners[k][1], py), 3);
    EXPECT_NEAR(maxY, std::max<double>(corners[k][1], py), 3);
  }
  // Only pointer 2 is down: one marker.
  int markers = 0;
  for (const Record& rec : r) markers += rec.IsImage(kSpriteImage) && rec.Frame() == 8;
  EXPECT_EQ(markers, 1);
}

TEST_F(GameTick, TestEndWritesAFlushedResultsLineAndMovesOn) {
  const char* path = "results-check.txt";
  ThisGame.ResultsFile = std::fopen(path, "w");
  ASSERT_NE(ThisGame.ResultsFile, nullptr);

  ThisGame.TestStart = ThisGame.Mills() - 1000;
  ThisGame.NextUpdate = ThisGame.NextRender = -5000;  // far behind, as after a slow test
  RecordTick(2, 299);
  EXPECT_EQ(ThisGame.TestTicks, 300);
  EXPECT_EQ(ThisGame.TestNum, 2);

  const int before = ThisGame.Mills();
  ThisGame.TestStart = before - 1000;
  RecordTick(2, 300);
  const int after = ThisGame.Mills();
  EXPECT_EQ(ThisGame.TestNum, 3);
  EXPECT_EQ(ThisGame.TestTicks, 0);
  EXPECT_GE(ThisGame.TestStart, before);
  EXPECT_LE(ThisGame.TestStart, after);
  // The next test's steps are due from its own start, whatever backlog the
  // finished one left behind.
  EXPECT_EQ(ThisGame.NextUpdate, ThisGame.TestStart + kFixedStepMs);
  EXPECT_EQ(ThisGame.NextRender, ThisGame.TestStart + kFixedStepMs);

  // Read while the game still holds the file open: the line is already there.
  std::ifstream in(path);
  std::string line;
  ASSERT_TRUE(std::getline(in, line));
  const std::string head = "Oodles of Sprites took ";
  ASSERT_EQ(line.substr(0, head.size()), head);
  const int took = std::stoi(line.substr(head.size()));
  EXPECT_GE(took, 1000);
  EXPECT_LE(took, 1000 + after - before);
  EXPECT_FALSE(std::getline(in, line));
  std::fclose(ThisGame.ResultsFile);

  // Without a results file a test still ends and the next one starts.
  ThisGame.ResultsFile = nullptr;
  RecordTick(3, 300);
  EXPECT_EQ(ThisGame.TestNum, 4);
  EXPECT_EQ(ThisGame.TestTicks, 0);
}

TEST_F(GameTick, MusicPlaysOnlyDuringTheStreamingTests) {
  struct Case {
    int endingTest;
    int music;  // 0 none, 1 WAV, 2 Ogg Vorbis
  };
  const Case cases[] = {{5, 1}, {6, 2}, {3, 0}, {12, 1}, {13, 2}, {14, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.endingTest);
    RecordTick(c.endingTest, 300);
    EXPECT_EQ(ThisGame.TestNum, c.endingTest + 1);
    EXPECT_EQ(ASys.MusicPlaying, c.music);
  }
}

TEST_F(GameTick, LoadingTakesFiveStagesAndRestartsTheSchedule) {
  ThisGame.LoadTo = 1;
  int stages = 0;
  while (ThisGame.LoadTo > 0 && stages < 10) {
    ThisGame.Loader();
    stages++;
  }
  EXPECT_EQ(stages, kLoadStages);
  EXPECT_EQ(ASys.FontImage, kFontImage);
  EXPECT_GE(iFrames[kFontImage], 96);  // characters 32..127
  EXPECT_GE(iFrames[kSpriteImage], 9);
  // The first test's ticks are due from the end of loading, not from start-up.
  EXPECT_EQ(ThisGame.NextUpdate, ThisGame.TestStart + kFixedStepMs);
  EXPECT_EQ(ThisGame.NextRender, ThisGame.TestStart + kFixedStepMs);
}

}  // namespace
