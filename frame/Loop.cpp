// Loop pieces that the game's fixed-step loop calls: the render step
// (RenderGame), the end of an update step (BufferGame: rate overlay and
// hand-over of the recorded commands) and the full-screen switch.
// Owns the per-second rate counter (CountRate, also kept by PollInput) and
// the published view values rw2, rh2 and ViewScale. Relies on the render
// pass and the command list (graphics/), the text and string helpers, and
// VeskSys::FlipFull (frame/Window.cpp).
#include "frame/Loop.h"

#include <algorithm>
#include <cmath>

#include "VeskFrame.h"
#include "frame/Session.h"
#include "graphics/Records.h"

int RenderCountLive;
int rw2;
int rh2;
float ViewScale;

namespace {

constexpr float kOverlaySize = 0.5f;
constexpr float kOverlayMargin = 8.0f;  // from the left and bottom edges, in drawing units
constexpr float kAlignLeft = 0.0f;

}  // namespace

void CountRate(int now, int& start, int& shown, int& live) {
  live += 1;
  if (now >= start + kRateWindowMs || now <= start - kRateWindowMs) {
    start = now;
    shown = live;
    live = 0;
  }
}

void VeskCore::RenderGame(float& width, float& height) {
  CountRate(Mills(), RenderSec, RenderCount, RenderCountLive);
  SessionRenderBegins();
  ASys.RenderSys();
  // A framebuffer of zero width or height (a minimised window) gives no
  // usable ratio; the view of the last usable pass then stays published and
  // the caller's width and height keep their values.
  if (ASys.Ratio > 0.0f && std::isfinite(ASys.Ratio)) {
    width = ASys.TargetScale;
    rw2 = static_cast<int>(width / 2);
    height = ASys.TargetScale / ASys.Ratio;
    rh2 = static_cast<int>(height / 2);
    ViewScale = 2 / ASys.TargetScale;
  }
  SessionViewPublished(width, height);
}

// The overlay draws in its own state and gives the game back the draw state
// it found: a colour or size the game set once holds on the next step.
void VeskCore::BufferGame() {
  if (DebugMode == 1) {
    float found[kDrawStateFloats];
    std::copy(ASys.DrawSet, ASys.DrawSet + kDrawStateFloats, found);
    ResetDraw();
    SetSize(kOverlaySize);
    const float bottom = ASys.Ratio > 0.0f ? ASys.TargetScale / ASys.Ratio : 0.0f;
    Text(kOverlayMargin, bottom - kOverlayMargin,
         fstr("Update %ifps - Render %ifps - Polys %i", UpdateCount, RenderCount, PolyCountR),
         kAlignLeft);
    std::copy(found, found + kDrawStateFloats, ASys.DrawSet);
  }
  HandOverRecords();
  PolyCountR = ASys.PolyCount;
}

void VeskCore::FlipFullscreen() { ASys.FlipFull(); }
