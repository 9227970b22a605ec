// Test scenes (see Scene.h). Relies on the view globals the render step
// publishes (rw2, rh2, ViewScale, ASys.TargetScale) and the window handle.
#include "support/Scene.h"

#include "VeskFrame.h"
#include "frame/Window.h"

namespace vftest {

bool OpenScene(VeskCore& game, int number, const char* title, const std::function<void()>& load,
               float* viewWidth, float* viewHeight) {
  game.Begin(number, title);
  game.DebugMode = 0;
  load();
  float width = 0.0f;
  float height = 0.0f;
  game.RenderGame(viewWidth != nullptr ? *viewWidth : width,
                  viewHeight != nullptr ? *viewHeight : height);
  return window != nullptr;
}

void PublishWindowView() {
  ASys.TargetScale = kViewWidth;
  ViewScale = 2.0f / kViewWidth;
  rw2 = static_cast<int>(kViewWidth / 2);
  rh2 = static_cast<int>(kViewHeight / 2);
}

}  // namespace vftest
