// Star Catcher: the example game, and the first code to read before writing
// a game of your own. It uses everything a game usually needs: keyboard,
// mouse and joystick, sprites from a sheet, text in a bitmap font, a gradient
// background, sound effects on events, looping music and a score.
//
// Play: Left/Right (A/D, or joystick 0's stick) move the basket. Catch stars
// (+1), not rocks (-3). Click a rock to zap it (+1). Escape quits.
// Assets come from the data folder of game number 2, "Data/2/", in the
// working directory (run it from the folder that holds Data/).
#include "VeskFrame.h"

constexpr int kGameNumber = 2;

// Image slots, sound slots and frames of the sprite sheet.
constexpr int kSprites = 0;  // "Data/2/sprites.png", 32-pixel frames
constexpr int kFont = 1;     // "Data/2/font.png", characters 32..127
constexpr int kChime = 1;    // "Data/2/audio/01.wav"
constexpr int kZap = 2;      // "Data/2/audio/zap.wav"
constexpr int kBump = 3;     // "Data/2/audio/bump.wav"
constexpr int kBasketFrame = 0;
constexpr int kStarFrame = 1;
constexpr int kRockFrame = 2;
constexpr int kZapFrame = 3;

// Distances are drawing units: the view is 800 units wide, y grows downward.
constexpr int kFallers = 12;
constexpr float kBasketSpeed = 6;  // per update step; steps come every 16 ms
constexpr float kBasketSize = 1.5f;
constexpr float kBasketHalfWidth = 16 * kBasketSize;  // half a 32-pixel frame, scaled
constexpr float kBasketLift = 40;                     // basket centre above the bottom edge
constexpr float kCatchX = 30;
constexpr float kCatchY = 20;
constexpr float kZapRadius = 36;
constexpr int kZapFlashSteps = 15;
constexpr int kRockPenalty = 3;

class StarCatcher : public VeskCore {
 public:
  float ViewWidth;  // view size, written by every render step
  float ViewHeight;
  float BasketX;
  float FallX[kFallers];
  float FallY[kFallers];
  float FallSpeed[kFallers];  // 0: not placed yet
  int FallFrame[kFallers];
  int Score;
  float ZapX;
  float ZapY;
  int ZapFlash;  // update steps the zap burst stays visible

  // The command line may ask for a recording or a replay of the session:
  // --record FILE, --replay FILE, --then-play.
  void Start(int argc, const char* const* argv) {
    Begin(kGameNumber, "Star Catcher");
    CommandLine(argc, argv);
    DebugMode = 0;  // F1 shows the rate overlay
    LoadImg(kSprites, "sprites", 32);
    LoadImg(kFont, "font", 32);
    SetFont(kFont);
    LoadSFX(kChime);
    LoadSFX(kZap, "zap");
    LoadSFX(kBump, "bump");
    // iFrames[slot] is -1 when the image did not load.
    if (iFrames[kSprites] < 0) Print("No Data/2/sprites.png: run from the folder holding Data/");
    PlayMusic("music.ogg");  // loops until the game ends
    BasketX = 400;
    // One render step before the loop: it measures the view, so ViewWidth
    // and ViewHeight hold from the first update step on.
    Render();
  }

  // After the loop (Escape, F4 or closing the window ended it).
  void Finish() {
    Print(fstr("Final score: %i", Score));
    StopMusic();
    Terminate();
  }

  void KeepAlive() { VeskKeepAlive(*this); }
  void Render() { RenderGame(ViewWidth, ViewHeight); }

  void Update() {
    PollInput();
    MoveBasket();
    MoveFallers();
    Zap();
    Draw();
    BufferGame();
  }

  // A new star or rock somewhere above the top edge.
  void Place(int i) {
    FallX[i] = Rnd(16, ViewWidth - 16);
    FallY[i] = -Rnd(16, ViewHeight);
    FallSpeed[i] = Rnd(1.5f, 3.5f);
    FallFrame[i] = Rand(3) == 0 ? kRockFrame : kStarFrame;
  }

  void MoveBasket() {
    float step = JoyAxis(0) * kBasketSpeed;  // 0 without a joystick
    if (PlayKey(kButtonLeft)) step = -kBasketSpeed;
    if (PlayKey(kButtonRight)) step = kBasketSpeed;
    BasketX += step;
    if (BasketX < kBasketHalfWidth) BasketX = kBasketHalfWidth;
    if (BasketX > ViewWidth - kBasketHalfWidth) BasketX = ViewWidth - kBasketHalfWidth;
  }

  void MoveFallers() {
    float basketY = ViewHeight - kBasketLift;
    for (int i = 0; i < kFallers; i++) {
      if (FallSpeed[i] == 0) Place(i);
      FallY[i] += FallSpeed[i];
      float dx = FallX[i] - BasketX;
      float dy = FallY[i] - basketY;
      if (dx > -kCatchX && dx < kCatchX && dy > -kCatchY && dy < kCatchY) {
        if (FallFrame[i] == kStarFrame) {
          Score += 1;
          PlaySFX(kChime);  // a slightly different pitch each time
        } else {
          Score = Score > kRockPenalty ? Score - kRockPenalty : 0;
          PlaySFX(kBump, 1.0f, 1.0f, (BasketX - 400) / 400);  // panned to the basket
        }
        Place(i);
      } else if (FallY[i] > ViewHeight + 16) {
        Place(i);
      }
    }
  }

  // A click (the update step on which the button went down) zaps at the pointer.
  void Zap() {
    if (ZapFlash > 0) ZapFlash -= 1;
    if (MousePressed() == 0) return;
    ZapX = MouseX();
    ZapY = MouseY();
    ZapFlash = kZapFlashSteps;
    PlaySFX(kZap, tRnd(0.9f, 1.1f));
    for (int i = 0; i < kFallers; i++) {
      float dx = FallX[i] - ZapX;
      float dy = FallY[i] - ZapY;
      if (dx * dx + dy * dy > kZapRadius * kZapRadius) continue;
      if (FallFrame[i] == kRockFrame) Score += 1;
      Place(i);
    }
  }

  void Draw() {
    // Background: the first colour of a gradient lands on the top edge.
    ResetDraw();
    SetGradient(10, 10, 40, 1, 70, 20, 90, 1);
    Rect_UL(0, 0, ViewWidth, ViewHeight);

    // Sprites, all from one sheet so they share one texture upload. Rocks spin.
    ResetDraw();
    for (int i = 0; i < kFallers; i++) {
      SetRot(FallFrame[i] == kRockFrame ? Mills() / 4 % 360 : 0);
      DrawImg(kSprites, FallX[i], FallY[i], FallFrame[i]);
    }
    SetRot(0);
    SetSize(kBasketSize);
    DrawImg(kSprites, BasketX, ViewHeight - kBasketLift, kBasketFrame);
    if (ZapFlash > 0) {
      SetBlend(2);  // additive: the burst lights up what is behind it
      SetSize(2);
      Alpha(ZapFlash / static_cast<float>(kZapFlashSteps));
      DrawImg(kSprites, ZapX, ZapY, kZapFrame);
      SetBlend(1);
    }

    // Cross-hair at the pointer, drawn with two lines.
    ResetDraw();
    SetCol(255, 255, 255, 0.7f);
    Line(MouseX() - 10, MouseY(), MouseX() + 10, MouseY());
    Line(MouseX(), MouseY() - 10, MouseX(), MouseY() + 10);

    // Text: Text(x, y, text, align) with align 0 left, 1 centred, 2 right.
    ResetDraw();
    SetCol(255, 230, 120, 1);
    Text(16, 24, fstr("Score %i", Score));
    Text(ViewWidth - 16, 24, "STAR CATCHER", 2);
    SetSize(0.75f);
    SetCol(200, 200, 255, 1);
    Text(ViewWidth / 2, ViewHeight - 12, "Arrows move - click zaps rocks - Esc quits", 1);
  }
};

StarCatcher Game;

// One pass of the loop, run by RunLoop.
void Heartbeat() { Game.KeepAlive(); }

int main(int argc, char** argv) {
  Game.Start(argc, argv);
  // Passes until the game ends, then Finish. In a browser RunLoop does not
  // return (the page runs the passes), so nothing may follow it but return.
  Game.RunLoop([] { Game.Finish(); });
  return 0;
}
