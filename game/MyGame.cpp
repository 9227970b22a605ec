// The benchmark's own logic: start-up (Launch), the loop (GameLoop, Update,
// Render), the loading stages (Loader) and one test tick (DoGame), plus the
// results file "Debug.txt" and, beside it, "System.txt".
// Relies on the framework for everything it draws, plays and reads: draw
// state and recording, images and text, sound effects and music, input, the
// clock and the random generator. main.cpp holds the instance and entry.
#include "MyGame.h"

namespace {

// Shown on screen and written to the results, indexed by TestNum.
const char* const kTestNames[kTestCount] = {
    "Practically nothing",
    "Added Blend Modes",
    "Oodles of Sprites",
    "Oodles of Alt-Blended Sprites",
    "Boatloads of Sprites",
    "An Insane Number of Sprites",
    "Streaming Wave",
    "Streaming Ogg",
    "Fullscreen - Oodles of Sprites",
    "Oodles of Alt-Blended Sprites",
    "Boatloads of Sprites",
    "An Insane Number of Sprites",
    "Rotated Sprites",
    "Streaming Wave",
    "Streaming Ogg",
};

// Sprite loads.
constexpr int kSpritesLight = 1500;
constexpr int kSpritesHeavy = 5000;
constexpr int kSpritesInsane = 10000;
constexpr int kBlendBlock = 500;    // tests 3 and 9 change blend mode every 500 sprites
constexpr int kLayoutHoldMs = 500;  // the random layout is reseeded every 500 ms
constexpr float kRotatedDegrees = 45;
constexpr int kSpriteFrames = 3;  // test sprites use frames 0..3

// Sprite frames of "gfx-32".
constexpr int kOrbiterFrame = 0;
constexpr int kPointerFrame = 8;
constexpr float kCornerInset = 16;

// Scene layout in drawing units, relative to the view's centre or bottom.
constexpr float kLineSpacing = 32;
constexpr float kNameFromBottom = 96;
constexpr float kCentred = 1;

// Background fade toward dark green, grey texts.
constexpr float kFadeGreen = 110;
constexpr float kFadeSpeed = 8;
constexpr float kTextGrey = 125;

// Three orbiters circle the view's centre, each at its own speed.
struct Orbiter {
  int msPerDegree;
  float radius;
};
constexpr int kOrbiterCount = 3;
constexpr Orbiter kOrbiters[kOrbiterCount] = {{16, 120}, {6, 90}, {9, 60}};
constexpr float kOrbiterSize = 4;
constexpr float kPointerSize = 3;
constexpr float kPointerAlpha = 0.5f;

bool IsSpriteTest(int n) { return (n >= 2 && n <= 5) || (n >= 8 && n <= 12); }

int SpriteCount(int n) {
  if (n == 4 || n == 10 || n == 12) return kSpritesHeavy;
  if (n == 5 || n == 11) return kSpritesInsane;
  return kSpritesLight;
}

}  // namespace

const char* MyGame::TestName(int n) {
  if (n < 0 || n >= kTestCount) return "";
  return kTestNames[n];
}

void MyGame::Launch(int argc, const char* const* argv) {
  Begin(kGameNumber, "This is a test");
  CommandLine(argc, argv);
  LoadTo = 1;
  NextUpdate = 0;
  NextRender = 0;
  // A results file that cannot be created is reported and the run goes on
  // without results; every line is flushed so a killed run keeps the tests
  // that finished. Binary, so lines end in LF on Windows too: the file is the
  // same byte for byte on every system, for the scripts that read it.
  ResultsFile = std::fopen(kResultsFileName, "wb");
  if (ResultsFile == nullptr) {
    Debuglog(fstr("Cannot create %s: the results are not saved", kResultsFileName));
  } else {
    std::fputs(fstr("Bim's Magical Benchmark"), ResultsFile);
    std::fputs("\n", ResultsFile);
    std::fputs(fstr("-=-=-=-"), ResultsFile);
    std::fputs("\n", ResultsFile);
    std::fflush(ResultsFile);
  }
  TestNum = 0;
  TestStart = Mills();
  TestTicks = 0;
  GameLoop();
}

void MyGame::GameLoop() {
  RunLoop([] { ThisGame.Finish(); });
}

void MyGame::Finish() {
  if (ResultsFile != nullptr) {
    std::fclose(ResultsFile);
    ResultsFile = nullptr;
  }
  Terminate();
}

void MyGame::KeepAlive() { VeskKeepAlive(*this); }

void MyGame::Update() {
  PollInput();
  ResetDraw();
  if (LoadTo > 0) {
    Loader();
  } else {
    DoGame();
    BufferGame();
  }
}

void MyGame::Render() { RenderGame(ViewWidth, ViewHeight); }

void MyGame::Loader() {
  bool loaded = true;
  switch (LoadTo) {
    case 1:
      LoadImg(kFontImage, "bandwidth", kSheetFrame);
      SetFont(kFontImage);
      break;
    case 2:
      LoadImg(kSpriteImage, "gfx-32", kSheetFrame);
      break;
    case 3:
      LoadSFX(kEndSound);
      break;
    default:
      loaded = false;
      break;
  }
  LoadTo += 1;
  TestStart = Mills();
  if (LoadTo > kLoadStages && !loaded) {
    LoadTo = 0;
    WriteSystemFile();
    StartTestClock();
  }
}

void MyGame::WriteSystemFile() {
  FILE* file = std::fopen(kSystemFileName, "wb");
  if (file == nullptr) {
    Debuglog(fstr("Cannot create %s: the run's system is not recorded", kSystemFileName));
    return;
  }
  const auto known = [](const char* text) { return text[0] != '\0' ? text : "none"; };
  std::fprintf(file, "gl-renderer: %s\n", known(GLRenderer()));
  std::fprintf(file, "gl-version: %s\n", known(GLVersion()));
  std::fprintf(file, "window: %dx%d\n", ASys.CanvasWidth, ASys.CanvasHeight);
  std::fprintf(file, "monitor: %dx%d\n", MonitorWidth(), MonitorHeight());
  std::fprintf(file, "audio-device: %s\n", known(AudioDevice()));
  std::fclose(file);
}

void MyGame::StartTestClock() {
  TestStart = Mills();
  NextUpdate = TestStart + kFixedStepMs;
  NextRender = TestStart + kFixedStepMs;
}

void MyGame::DoGame() {
  const float w = ViewWidth;
  const float h = ViewHeight;

  // ---- Filtering and background ----
  ResetDraw();
  Smoothing(0);
  if (PlayKey(kButtonAction1) != 0) Smoothing(1);
  FadeCLS(0, kFadeGreen, 0, kFadeSpeed);

  // ---- Corner markers: frames 1..4, clockwise from the top-left ----
  ResetDraw();
  DrawImg(kSpriteImage, kCornerInset, kCornerInset, 1);
  DrawImg(kSpriteImage, w - kCornerInset, kCornerInset, 2);
  DrawImg(kSpriteImage, w - kCornerInset, h - kCornerInset, 3);
  DrawImg(kSpriteImage, kCornerInset, h - kCornerInset, 4);

  // ---- Sprite load ----
  if (IsSpriteTest(TestNum)) {
    const int count = SpriteCount(TestNum);
    const bool altBlend = (TestNum == 3 || TestNum == 9);
    ResetDraw();
    SeedRnd(Mills() / kLayoutHoldMs);
    if (TestNum == 12) SetRot(kRotatedDegrees);
    for (int i = 0; i < count; i++) {
      if (altBlend && i % kBlendBlock == 0) SetBlend(i / kBlendBlock);
      // Drawn in this order so that one seed always gives the same layout.
      const int x = static_cast<int>(Rnd(0, w));
      const int y = static_cast<int>(Rnd(0, h));
      const int frame = Rand(0, kSpriteFrames);
      DrawImg(kSpriteImage, x, y, frame);
    }
  }

  // ---- Texts (a blend mode set here carries on into the orbiters) ----
  ResetDraw();
  SetCol(kTextGrey, kTextGrey, kTextGrey, 1);
  if (TestNum == 1) SetBlend(kBlendNormal);
  Text(w / 2, h / 2 - 3 * kLineSpacing, "Bim's Magic Benchmark", kCentred);
  Text(w / 2, h / 2 - 2 * kLineSpacing, "Please don't touch anything!", kCentred);
  Text(w / 2, h / 2 - kLineSpacing, "Testing is happening!!", kCentred);
  if (TestNum == 1) SetBlend(kBlendAddAlpha);
  Text(w / 2, h / 2, fstr("Test %i/%i", TestNum, kTestCount), kCentred);
  if (TestNum == 1) SetBlend(kBlendAddColour);
  Text(w / 2, h / 2 + kLineSpacing, fstr("%i", kTestLastTick - TestTicks), kCentred);
  tstr("%s", TestName(TestNum));
  Text(w / 2, h - kNameFromBottom, Tempstr, kCentred);

  // ---- Test end ----
  TestTicks += 1;
  if (TestTicks > kTestLastTick) {
    PlaySFX(kEndSound);
    TestTicks = 0;
    const int elapsed = Mills() - TestStart;
    if (ResultsFile != nullptr) {
      // Tempstr still holds the test name.
      std::fputs(Tempstr, ResultsFile);
      std::fputs(fstr(" took %i", elapsed), ResultsFile);
      std::fputs("\n", ResultsFile);
      std::fflush(ResultsFile);
    }
    TestNum += 1;
    if (TestNum >= kTestCount) GameBreak = 1;
    if (TestNum == kFullscreenTest) FlipFullscreen();
    StopMusic();
    if (TestNum == 6 || TestNum == 13) PlayMusic("test.wav", 1);
    if (TestNum == 7 || TestNum == 14) PlayMusic("test.ogg", 1);
    StartTestClock();
  }

  // ---- Orbiters ----
  ResetDraw();
  SetSize(kOrbiterSize);
  for (int k = 0; k < kOrbiterCount; k++) {
    // Test 1 shows the second and third orbiter in the two additive modes.
    if (k > 0 && TestNum == 1) SetBlend(kBlendNormal + k);
    const int a = Mills() / kOrbiters[k].msPerDegree;
    const float r = kOrbiters[k].radius;
    DrawImg(kSpriteImage, static_cast<int>(w / 2 + Sin(a) * r),
            static_cast<int>(h / 2 - Cos(a) * r), kOrbiterFrame);
  }
  SetSize(1);
  SetBlend(kBlendNormal);

  // ---- Pointers: a half-transparent marker tied to the view's corners ----
  ResetDraw();
  SetSize(kPointerSize);
  Alpha(kPointerAlpha);
  for (int p = 0; p < kPointers; p++) {
    if (MouseDown(p) == 0) continue;
    const float x = MouseX(p);
    const float y = MouseY(p);
    DrawImg(kSpriteImage, x, y, kPointerFrame);
    Line(0, 0, x, y);
    Line(w, 0, x, y);
    Line(w, h, x, y);
    Line(0, h, x, y);
  }
}
