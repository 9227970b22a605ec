// Internal header of frame/: the per-second rate counter that the render
// step (RenderGame, frame/Loop.cpp) and the update step (PollInput,
// input/Poll.cpp) both keep.
#ifndef VESKFRAME_LOOP_H
#define VESKFRAME_LOOP_H

// Counts one step into `live`. Once the clock `now` lies a whole rate window
// (kRateWindowMs) after the window's `start`, or as far before it (the clock
// was restarted), the count is published in `shown` and a new window starts.
void CountRate(int now, int& start, int& shown, int& live);

#endif  // VESKFRAME_LOOP_H
