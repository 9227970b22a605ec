// Scheduling rules of the standard loop pass VeskKeepAlive, run against a
// game whose clock, steps and sleep are fakes: the template calls them on the
// game's own type, so nothing here waits on wall time or opens a window.
#include <gtest/gtest.h>

#include "VeskFrame.h"

namespace {

struct FakeGame : VeskCore {
  int Clock = 0;
  int Updates = 0;
  int Renders = 0;
  int Polls = 0;
  int MusicFeeds = 0;
  int Rests = 0;
  int RestedMs = 0;
  int EscapeDown = 0;
  int LoseFocusInUpdate = 0;

  int Mills() { return Clock; }
  void Update() {
    Updates++;
    if (LoseFocusInUpdate) Active = -1;
  }
  void Render() { Renders++; }
  void PollInput() { Polls++; }
  void MusicHandler() { MusicFeeds++; }
  void Rest(int ms) {
    Rests++;
    RestedMs += ms;
  }
  int PlayKey(int n) { return n == kButtonEscape ? EscapeDown : 0; }
};

class LoopSchedule : public ::testing::Test {
 protected:
  void SetUp() override {
    game = FakeGame();
    game.Active = 1;
  }
  FakeGame game{};  // zeroed, as a game in static storage is
};

TEST_F(LoopSchedule, StepRunsOnlyWhenClockIsStrictlyPastItsDueTime) {
  game.Clock = 100;
  game.NextUpdate = 100;
  game.NextRender = 100;
  VeskKeepAlive(game);
  EXPECT_EQ(game.Updates, 0);
  EXPECT_EQ(game.Renders, 0);
  EXPECT_EQ(game.NextUpdate, 100);

  game.Clock = 101;
  VeskKeepAlive(game);
  EXPECT_EQ(game.Updates, 1);
  EXPECT_EQ(game.Renders, 1);
  EXPECT_EQ(game.NextUpdate, 100 + kFixedStepMs);
  EXPECT_EQ(game.NextRender, 100 + kFixedStepMs);
}

TEST_F(LoopSchedule, FocusedPassFeedsMusicNeverSleepsNorPollsSeparately) {
  game.Clock = 50;
  VeskKeepAlive(game);
  EXPECT_EQ(game.MusicFeeds, 1);
  EXPECT_EQ(game.Rests, 0);
  EXPECT_EQ(game.Polls, 0);
  EXPECT_EQ(game.GameBreak, 0);
}

TEST_F(LoopSchedule, StallIsCaughtUpOneStepPerPassWithoutSkipping) {
  const int stall = 5000;
  game.Clock = stall;
  // Due times 0, 16, 32, ... up to the last one below the clock each give one step.
  const int expected = stall / kFixedStepMs + 1;
  int passes = 0;
  int lastUpdates = -1;
  while (game.Updates != lastUpdates) {
    lastUpdates = game.Updates;
    VeskKeepAlive(game);
    passes++;
    ASSERT_LE(game.Updates, passes) << "more than one update step in a pass";
    ASSERT_LE(game.Renders, passes) << "more than one render step in a pass";
  }
  EXPECT_EQ(game.Updates, expected);
  EXPECT_EQ(game.Renders, expected);
  EXPECT_EQ(game.NextUpdate, expected * kFixedStepMs);
  EXPECT_GT(game.NextUpdate, stall);
}

TEST_F(LoopSchedule, DueTimeFarAheadIsResyncedOnlyBeyondTheWindow) {
  game.Clock = 200;
  game.NextUpdate = game.Clock + kResyncMs;      // exactly at the window: waited out
  game.NextRender = game.Clock + kResyncMs + 1;  // beyond it: reset to now + one step
  VeskKeepAlive(game);
  EXPECT_EQ(game.Updates, 0);
  EXPECT_EQ(game.NextUpdate, game.Clock + kResyncMs);
  EXPECT_EQ(game.Renders, 1);
  EXPECT_EQ(game.NextRender, game.Clock + kFixedStepMs);

  // Unfocused, the resync uses the slow step.
  game.Active = -1;
  game.NextUpdate = game.Clock + kResyncMs + 1;
  VeskKeepAlive(game);
  EXPECT_EQ(game.Polls, 1);
  EXPECT_EQ(game.NextUpdate, game.Clock + kInactiveStepMs);
}

TEST_F(LoopSchedule, UnfocusedPassPollsInsteadOfUpdatingAndSleeps) {
  game.Active = -1;
  game.Clock = 1000;
  game.NextUpdate = 900;
  game.NextRender = 900;
  VeskKeepAlive(game);
  EXPECT_EQ(game.Updates, 0);
  EXPECT_EQ(game.Polls, 1);
  EXPECT_EQ(game.Renders, 1);
  EXPECT_EQ(game.MusicFeeds, 0);
  EXPECT_EQ(game.Rests, 1);
  EXPECT_EQ(game.RestedMs, kInactiveStepMs);
  EXPECT_EQ(game.NextUpdate, 900 + kInactiveStepMs);
  EXPECT_EQ(game.NextRender, 900 + kInactiveStepMs);

  // Active 0 counts as unfocused too.
  game.Active = 0;
  VeskKeepAlive(game);
  EXPECT_EQ(game.Rests, 2);
  EXPECT_EQ(game.Updates, 0);
}

TEST_F(LoopSchedule, FocusLostDuringUpdateAlsoRunsTheUnfocusedSteps) {
  game.LoseFocusInUpdate = 1;
  game.Clock = 1000;
  game.NextUpdate = 900;
  game.NextRender = 900;
  VeskKeepAlive(game);
  EXPECT_EQ(game.Updates, 1);
  // The focused branch advanced both due times by 16; both still lie in the
  // past, so the unfocused branch polls and renders as well, then sleeps.
  EXPECT_EQ(game.Polls, 1);
  EXPECT_EQ(game.Renders, 2);
  EXPECT_EQ(game.Rests, 1);
  EXPECT_EQ(game.NextUpdate, 900 + kFixedStepMs + kInactiveStepMs);
  EXPECT_EQ(game.MusicFeeds, 1);
}

TEST_F(LoopSchedule, EscapeEndsTheLoopAfterThePassHasRun) {
  game.Clock = 20;
  game.EscapeDown = 1;
  VeskKeepAlive(game);
  EXPECT_EQ(game.GameBreak, 1);
  EXPECT_EQ(game.Updates, 1);
  EXPECT_EQ(game.Renders, 1);

  FakeGame idle{};  // zeroed, as a game in static storage is
  idle.Active = 1;
  VeskKeepAlive(idle);
  EXPECT_EQ(idle.GameBreak, 0);
}

}  // namespace
