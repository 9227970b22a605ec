// The two ways a test gets a view to draw in: a real window opened as a
// game opens it, with its images loaded and the view published by a first
// render pass; or, for tests that only record, the view values alone.
#ifndef VESKFRAME_TESTS_SUPPORT_SCENE_H
#define VESKFRAME_TESTS_SUPPORT_SCENE_H

#include <functional>

#include "VeskFrame.h"

namespace vftest {

// Begin(number, title) with the rate overlay off (it would draw over the
// scene), then load() (LoadImg calls, a game's loading stages), then one
// render pass, which publishes the view size (into *viewWidth and
// *viewHeight when given). False when no window opened.
bool OpenScene(VeskCore& game, int number, const char* title, const std::function<void()>& load,
               float* viewWidth = nullptr, float* viewHeight = nullptr);

// The view of an 800 x 600 window as a render step publishes it, with no
// window: what recording needs.
constexpr float kViewWidth = 800.0f;
constexpr float kViewHeight = 600.0f;
void PublishWindowView();

}  // namespace vftest

#endif  // VESKFRAME_TESTS_SUPPORT_SCENE_H
