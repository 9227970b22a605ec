// Internal header of frame/: the hooks through which a recording or a replay
// of the session (frame/Session.cpp) sees, and in a replay supplies, what the
// update steps read from outside the game: the clock, the input block, the
// view values and the render side's counts. Each hook is called from the one
// place where that reading happens (Mills, PollInput, RenderGame, the
// hand-over, the loop) and does nothing while no session was started.
#ifndef VESKFRAME_SESSION_H
#define VESKFRAME_SESSION_H

class VeskCore;

// True once Record or Replay has been called; until then every hook returns
// at once (the clock's is inline, since the loop reads the clock constantly).
extern bool SessionStarted;

// The real clock as Mills reads it without a session: milliseconds since
// Begin, or since SetNum restarted it (frame/Core.cpp).
int LiveMills();

// The clock as the game sees it, from `live` (the real clock's Mills): a
// replay gives the recorded readings inside update steps and before the
// loop, and elsewhere the real clock moved to carry on from the last
// recorded reading; a recording keeps the readings of update steps.
int SessionClockReading(int live);
inline int SessionClock(int live) { return SessionStarted ? SessionClockReading(live) : live; }
// Another reading from outside the game that an update step makes (whether
// music plays, the monitor's size): recorded, and in a replay given back in
// the order the step made them.
int SessionOtherReading(int live);
inline int SessionOther(int live) { return SessionStarted ? SessionOtherReading(live) : live; }
// SetNum restarted the real clock.
void SessionClockRestarted();

// PollInput, before its first clock reading: ends the previous update step
// and begins the next one (its view values and render counts in a replay).
void SessionStepBegins(VeskCore& game);
// PollInput: true when a replay has put this step's input block in place, so
// the devices are not read.
bool SessionInputReplayed();
// PollInput, after the poll: the block as the step sees it.
void SessionInputPolled();
// EndUpdate: the update step is over. A replay that has run out ends here;
// by default the game then quits (its GameBreak is set).
void SessionStepEnds(VeskCore& game);

// The hand-over is about to replace the render-side list.
void SessionHandOver();
// RenderGame, before the render pass draws the handed-over list.
void SessionRenderBegins();
// RenderGame, after the view values were published: the values the
// game's update steps get. A replay gives those of its next step.
void SessionViewPublished(float& width, float& height);

// RunLoop starts: clock readings from here on belong to update steps only.
void SessionLoopStarts();
// Terminate: the last step is finished, the recording closed.
void SessionEnds();

#endif  // VESKFRAME_SESSION_H
