// A test game for the browser's sound: the benchmark's end-of-test chime,
// then its two streamed pieces of music ("test.wav", then "test.ogg"), each
// started the way the benchmark starts them, with silence before and after.
// Each phase is announced on the console ("phase: <name>") so that a test
// listening to the page's audio output knows what it should hear.
#include "VeskFrame.h"

namespace {

constexpr int kChime = 1;  // Data/1/audio/01.wav, the benchmark's end-of-test sound

struct Phase {
  const char* name;
  int ticks;          // update steps of 16 ms
  bool chime;         // plays the chime as it starts
  const char* music;  // streams this piece, looping; nullptr: none
};
constexpr Phase kPhases[] = {{"silence", 60, false, nullptr},
                             {"chime", 90, true, nullptr},
                             {"wave", 190, false, "test.wav"},
                             {"ogg", 190, false, "test.ogg"},
                             {"after", 150, false, nullptr}};
constexpr int kPhaseCount = sizeof(kPhases) / sizeof(kPhases[0]);

class SoundCheck : public VeskCore {
 public:
  float ViewWidth;
  float ViewHeight;
  int PhaseNum;
  int PhaseTicks;

  void Update() {
    PollInput();
    ResetDraw();
    if (PhaseTicks == 0) StartPhase();
    PhaseTicks += 1;
    if (PhaseTicks >= kPhases[PhaseNum].ticks) {
      PhaseNum += 1;
      PhaseTicks = 0;
      if (PhaseNum == kPhaseCount) GameBreak = 1;
    }
    FadeCLS(0, 0, 80, 8);
    BufferGame();
  }

  void StartPhase() {
    const Phase& phase = kPhases[PhaseNum];
    Print(fstr("phase: %s", phase.name));
    StopMusic();
    if (phase.chime) PlaySFX(kChime, 1.0f);
    if (phase.music != nullptr) PlayMusic(phase.music, 1);
  }

  void Render() { RenderGame(ViewWidth, ViewHeight); }
  void KeepAlive() { VeskKeepAlive(*this); }
};

SoundCheck Game;

}  // namespace

void Heartbeat() { Game.KeepAlive(); }

int main() {
  Game.Begin(1, "Sound check");
  Game.LoadSFX(kChime);
  Game.NextUpdate = Game.NextRender = Game.Mills();  // from now on, no steps to catch up
  Game.RunLoop([] { Game.Terminate(); });
  return 0;
}
