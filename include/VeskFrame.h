// VeskFrame - the one public header of the framework.
//
// A game derives a class from VeskCore, keeps exactly one instance of it in
// static storage, calls Begin() once and then runs its fixed-step loop with
// RunLoop (VeskKeepAlive below is the standard pass). VeskSys (instance ASys) is the
// platform layer: window, render pass, images, audio device, input and log.
// Both classes have no constructor and no virtual functions: everything lives
// in zero-initialised static storage and is set up by Begin().
#ifndef VESKFRAME_H
#define VESKFRAME_H

#include <cstdio>
#include <vector>

// ---- Sizes and fixed numbers of the framework ----

constexpr int kTextBufferSize = 1024;  // Tempstr, TempstrSys, titles (1023 chars + zero)

constexpr int kRecordSlots = 30;          // doubles per draw command record
constexpr int kDrawListDoubles = 500000;  // update-side list `Draw`
constexpr int kDrawListRecords = kDrawListDoubles / kRecordSlots;  // 16,666 records
constexpr int kRenderListRecords = 50000;                          // render-side list `DrawR`
constexpr int kDrawStateFloats = 16;                               // `DrawSet`

// Command kinds stored in slot 0 of a record.
constexpr int kCmdRect = 1;
constexpr int kCmdQuad = 2;
constexpr int kCmdOval = 3;
constexpr int kCmdImage = 11;
constexpr int kCmdQuadImage = 12;
constexpr int kCmdBlend = 50;

// Blend modes for SetBlend; any other mode leaves the blend function as it was.
constexpr int kBlendNormal = 1;     // alpha blending, the mode every render pass starts in
constexpr int kBlendAddAlpha = 2;   // additive, weighted by the source alpha
constexpr int kBlendAddColour = 3;  // additive, weighted by one minus the source colour

constexpr int kMaxImages = 100;       // image slots 0..99
constexpr int kImageTableSize = 105;  // entries 100 and 101 are screenshot scratch buffers
constexpr int kScreenshotSlot = 100;  // flipped, opaque copy that is saved
constexpr int kReadbackSlot = 101;    // pixels as read back from OpenGL
constexpr int kWhiteBlockSide = 8;    // texture of untextured shapes

constexpr int kButtons = 128;
constexpr int kPointers = 10;
constexpr int kPointerSlots = 10;
constexpr int kJoysticks = 4;
constexpr int kJoySlots = 100;

constexpr int kSoundSlots = 105;     // sound slots 0..104
constexpr int kSources = 32;         // OpenAL sources
constexpr int kEffectChannels = 31;  // sources 0..30 play effects
constexpr int kMusicSource = 31;     // source 31 plays music
constexpr int kMusicBuffers = 4;     // music stream ring

constexpr int kFixedStepMs = 16;      // update and render period with focus
constexpr int kInactiveStepMs = 150;  // poll, render and sleep period without focus
constexpr int kResyncMs = 10000;      // a due time further ahead than this is reset
constexpr int kRateWindowMs = 1000;   // window of the per-second counters

// Button numbers of the fixed key map.
constexpr int kButtonUp = 0;
constexpr int kButtonLeft = 3;
constexpr int kButtonRight = 5;
constexpr int kButtonDown = 8;
constexpr int kButtonAction1 = 10;  // Z, J, Space, Enter, keypad 7
constexpr int kButtonAction2 = 11;
constexpr int kButtonAction3 = 12;
constexpr int kButtonAction4 = 13;
constexpr int kButtonAction5 = 14;
constexpr int kButtonAction6 = 15;
constexpr int kButtonFocus = 63;           // 1 with input focus, -1 without
constexpr int kButtonScreenshotMode = 64;  // F2
constexpr int kButtonFullscreen = 65;      // F11
constexpr int kButtonScreenshot = 66;      // F10
constexpr int kButtonWireframe = 67;       // F9
constexpr int kButtonDebug = 68;           // F1
constexpr int kButtonEscape = 99;
constexpr int kButtonQuit = 100;   // F4 or the window's close request
constexpr int kGameButtons = 63;   // buttons 0..62 are the game's: MapKey changes their keys
constexpr int kKeysPerButton = 8;  // keys one button can have

// Key codes, as the window library numbers its keys (KeyDown, MapKey).
// Letters are their upper-case characters ('A' to 'Z'), digits theirs ('0'
// to '9'), and so are ' ', ',', '-', '.', '/', ';', '=', '[', '\\', ']',
// '\'' and '`'.
constexpr int kKeyCodes = 349;  // codes 0..348; 32 is the lowest in use
constexpr int kKeySpace = 32;
constexpr int kKeyEscape = 256;
constexpr int kKeyEnter = 257;
constexpr int kKeyTab = 258;
constexpr int kKeyBackspace = 259;
constexpr int kKeyInsert = 260;
constexpr int kKeyDelete = 261;
constexpr int kKeyRight = 262;
constexpr int kKeyLeft = 263;
constexpr int kKeyDown = 264;
constexpr int kKeyUp = 265;
constexpr int kKeyPageUp = 266;
constexpr int kKeyPageDown = 267;
constexpr int kKeyHome = 268;
constexpr int kKeyEnd = 269;
constexpr int kKeyPause = 284;
constexpr int kKeyF1 = 290;
constexpr int kKeyF2 = 291;
constexpr int kKeyF3 = 292;
constexpr int kKeyF4 = 293;
constexpr int kKeyF5 = 294;
constexpr int kKeyF6 = 295;
constexpr int kKeyF7 = 296;
constexpr int kKeyF8 = 297;
constexpr int kKeyF9 = 298;
constexpr int kKeyF10 = 299;
constexpr int kKeyF11 = 300;
constexpr int kKeyF12 = 301;
constexpr int kKeyKeypad0 = 320;  // keypad digit d is kKeyKeypad0 + d
constexpr int kKeyKeypadEnter = 335;
constexpr int kKeyLeftShift = 340;
constexpr int kKeyLeftControl = 341;
constexpr int kKeyLeftAlt = 342;
constexpr int kKeyRightShift = 344;
constexpr int kKeyRightControl = 345;
constexpr int kKeyRightAlt = 346;

// ---- The game-facing layer ----

class VeskCore {
 public:
  // Members, in this order; all zero before Begin().
  char Tempstr[kTextBufferSize];  // result of fstr, tstr and the string helpers
  int UpdateSec;                  // start of the current update-rate window (ms)
  int UpdateCount;                // polls in the last completed one-second window
  int RenderSec;                  // start of the current render-rate window (ms)
  int RenderCount;                // render passes in the last completed window
  int PolyCountR;                 // triangles of the last render pass, for the overlay
  int Active;                     // 1 with input focus, -1 without
  int NextUpdate;                 // clock time at which the next update step is due
  int NextRender;                 // clock time at which the next render step is due
  int GameBreak;                  // 1 once quitting is requested
  int LoadTo;                     // loading stage; 0 once the game runs
  int DebugMode;                  // 1 shows the rate overlay (F1)
  int ScreenshotMode;             // flipped by F2
  int MixJoy;                     // 1 lets joystick 0 drive buttons 0 and 8

  // ---- Lifecycle, clock and title ----
  // Prints the banner, starts the clock, opens the window and the audio
  // device. Without a window it calls Terminate, so the process exits.
  void Begin(int num, const char* title);
  // Releases audio, closes the window and prints the closing lines. When no
  // window is open (start-up or a later window re-creation failed), the
  // process then exits with a failure status (EXIT_FAILURE) instead of
  // returning.
  void Terminate();
  void SetTitle(const char* title);
  const char* GetTitle();
  void SetNum(int num);  // also restarts the clock
  int GetNum();
  int Mills();  // milliseconds since the start tick
  int StartTick();
  void Rest(int ms);

  // ---- Loop pieces ----
  void PollInput();
  void RenderGame(float& width, float& height);
  void BufferGame();
  void FlipFullscreen();
  void MusicHandler();  // keeps streamed music fed; call on every focused pass
  // Runs the game's loop the same way on every target: passes of Heartbeat()
  // until GameBreak is set, then `shutdown` (close the game's files, call
  // Terminate). In a browser the page owns the loop and RunLoop does not
  // return: everything that follows the loop belongs in `shutdown`.
  void RunLoop(void (*shutdown)());
  // Ends an update step (VeskKeepAlive calls it after Update, and after the
  // poll of an unfocused pass): a recording or a replay takes the clock
  // readings from PollInput up to here as the step's own.
  void EndUpdate();

  // ---- Recording and replay ----
  // Call after Begin and before the loop. Record keeps everything each update
  // step reads from outside the game (input, clock, view) in `file`, written
  // as the game runs. Replay runs the steps from such a file instead and logs
  // the first step whose drawing differs from the recording; when the file
  // ends the game quits, or with thenPlay 1 the player takes over. A replay
  // may be recorded too: call Replay first.
  void Record(const char* file);
  void Replay(const char* file);
  void Replay(const char* file, int thenPlay);
  // Reads the framework's options from a game's command line: --record FILE,
  // --replay FILE and --then-play. Other arguments are logged and left alone.
  void CommandLine(int argc, const char* const* argv);

  // ---- Draw state ----
  void ResetDraw();
  void SetSize(float s);
  void SetSize(float sx, float sy);
  void SetRot(float degrees);
  void SetLineThickness(float t);
  void SetCol(float r, float g, float b, float a);
  void SetGradient(float r1, float g1, float b1, float a1, float r2, float g2, float b2, float a2);
  void SetAlpha(float a);
  void Alpha(float a);
  void SetBlend(int mode);  // recorded: 1 normal, 2 additive by alpha, 3 additive by colour
  void Smoothing(int on);
  void SetFont(int image);
  void SetCLS(float r, float g, float b);
  void CLS(float r, float g, float b);
  void FadeCLS(float r, float g, float b, float speed);

  // ---- Shapes ----
  void Rect(float x, float y, float w, float h);
  void Rect(float x, float y, float s);
  void Rect_UL(float x, float y, float w, float h);
  void Rect_UL(float x, float y, float s);
  void Oval(float x, float y, float w, float h);
  void Oval(float x, float y, float s);
  void Circle(float x, float y, float s);
  void Oval_UL(float x, float y, float w, float h);
  void Oval_UL(float x, float y, float s);
  void Circle_UL(float x, float y, float s);
  void Quad(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4);
  void Line(float x1, float y1, float x2, float y2);

  // ---- Images ----
  void LoadImg(int n, const char* name, int fs);  // "Data/<game>/<name>.png", frames of fs pixels
  void DrawImg(int image, float x, float y, int frame);
  void QuadImg(int image, float x1, float y1, float x2, float y2, float x3, float y3, float x4,
               float y4, int frame);
  void TakeScreenshot();  // writes "Screenshot.png"

  // ---- Text ----
  void Text(float x, float y, const char* text);
  void Text(float x, float y, const char* text, float align);
  void Text(float x, float y, const char* text, float align, float extra);
  float StringWidth(const char* text);

  // ---- Sound effects ----
  void LoadSFX(int slot);                    // "Data/<game>/audio/<slot, 2 digits>.wav"
  void LoadSFX(int slot, const char* name);  // "Data/<game>/audio/<name>.wav"
  void PlaySFX(int slot);                    // random pitch 0.8..1.2
  void PlaySFX(int slot, float pitch);
  void PlaySFX(int slot, float pitch, float volume);
  void PlaySFX(int slot, float pitch, float volume, float pan);
  void PlaySFX(int slot, float pitch, float volume, float pan, int loop);
  void StopSFX(int slot);  // stops every channel whose last effect came from the slot

  // ---- Music ----
  void PlayMusic(const char* name);  // loops; name ends in .wav or .ogg
  void PlayMusic(const char* name, int loop);
  void StopMusic();
  void MusicPitch(float pitch);
  void MusicVolume(float volume);
  void MusicPan(float pan);
  int IsMusicPlaying();  // 1 while a piece is fed: from PlayMusic to StopMusic or its end

  // ---- Input (as the last PollInput left it; "this step" is since the poll before) ----
  int PlayKey(int n);
  int PlayKeyPressed(int n);           // 1 when button n is down this step and was not before
  int PlayKeyReleased(int n);          // 1 when button n was down before and is not this step
  int KeyDown(int key);                // 1 while the key of that code is down, whatever its buttons
  void MapKey(int button, int key);    // the key also drives the game button (0..62)
  void UnmapKey(int button, int key);  // the key no longer drives the game button
  void ResetKeyMap();                  // every button back to its keys at start-up
  float MouseX();
  float MouseX(int i);
  float MouseY();
  float MouseY(int i);
  int MouseDown();
  int MouseDown(int i);
  int MouseDown_Alt();
  int MouseDown_Alt(int i);
  int MouseHeld();
  int MouseHeld(int i);
  int MousePressed();  // the left button went down this step
  int MouseReleased();
  int MousePressed_Alt();  // the right button
  int MouseReleased_Alt();
  float TouchX();
  float TouchX(int i);
  float TouchY();
  float TouchY(int i);
  int TouchDown();
  int TouchDown(int i);
  int TouchDown_Alt();
  int TouchDown_Alt(int i);
  int TouchHeld();
  int TouchHeld(int i);
  int JoyDown(int n);
  int JoyDown(int n, int j);
  float JoyAxis(int n);
  float JoyAxis(int n, int j);

  // ---- Random numbers ----
  void SeedRnd(int seed);
  void SeedRnd();
  float Rnd(float a, float b);
  float Rnd(float x);
  int Rand(float a, float b);
  int Rand(float x);
  float tRnd(float a, float b);
  float tRnd(float x);
  int tRand(float a, float b);
  int tRand(float x);

  // ---- Strings, numbers and checksums (results live in Tempstr) ----
  const char* fstr(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void tstr(const char* format, ...) __attribute__((format(printf, 2, 3)));
  const char* Hex(int value);
  int HexToInt(const char* text);
  const char* Bin(int value);
  int BinToInt(const char* text);
  int ToInt(const char* text);
  const char* iniLeft(const char* text);
  const char* iniRight(const char* text);
  const char* Trim(const char* text);
  const char* Mid(const char* text, int start, int count);
  const char* Left(const char* text, int count);
  const char* Right(const char* text, int count);
  const char* Split(const char* text, int separator, int index);
  int Checksum(const char* text, int key);
  int Checksum(const char* text);
  float Sin(float degrees);
  float Cos(float degrees);

  // ---- What the game runs on ----
  // Renderer and version strings of the window's OpenGL context ("" without
  // a window); the text stays valid when the window is made again.
  const char* GLRenderer();
  const char* GLVersion();
  // Size of the primary monitor's current video mode, in pixels (0 without a
  // window): the size of the full-screen window.
  int MonitorWidth();
  int MonitorHeight();
  // Name of the audio device sound plays on ("" when no device and context
  // are open, so the game runs silent).
  const char* AudioDevice();

  // ---- Console log ----
  int Print(const char* text);
  int Debuglog(const char* text);
  int Debug(const char* text);
};

// ---- The platform layer ----

class VeskSys {
 public:
  // View and window
  float TargetScale;  // view width in drawing units (800)
  float Ratio;        // CanvasWidth / CanvasHeight of the last render pass
  int CanvasWidth;    // window size in pixels (framebuffer size after a render pass)
  int CanvasHeight;

  // Update-side command list and draw state
  double Draw[kDrawListDoubles];
  int DrawTo;       // records written in the current update step
  int DrawDropped;  // commands refused this step because the list was full
  float DrawSet[kDrawStateFloats];
  float ClsCol[3];
  float ClsTarget[3];
  float ClsSpeed;
  float SmoothMode;  // exactly 1 selects linear filtering
  int FontImage;

  // Render pass statistics
  int PolyCount;
  int ObjCount;

  // Image store
  float iSizeScaled[kMaxImages];

  // Input: everything the input queries read, as the last poll left it, and
  // the poll before it (copied at the start of each poll) for the edges.
  int Button[kButtons];
  float Touch[kPointers][kPointerSlots];
  float Joy[kJoysticks][kJoySlots];
  int Key[kKeyCodes];  // 1 while the key of that code is down
  int ButtonBefore[kButtons];
  float TouchBefore[kPointers][kPointerSlots];
  float JoyBefore[kJoysticks][kJoySlots];

  // Music stream
  int MusicPlaying;  // 0 none, 1 WAV, 2 Ogg Vorbis
  int MusicLoop;
  int MusicBufferTo;
  float MusicPitchValue;
  float MusicVolumeValue;
  float MusicPanValue;

  // ---- Window and display ----
  void SysInit(const char* title);
  void SetScreen(int width, int height);
  void FlipFull();
  void Close();

  // ---- Command list ----
  // Starts a record: writes the kind into slot 0 and counts it in DrawTo.
  // Returns its base slot; the caller fills the geometry and calls Getdef.
  // Returns -1 (command dropped, logged once per step) when the list is full.
  int RecordStart(int kind);
  void RenderBuffer();

  // ---- Render pass ----
  void RenderSys();
  void RenderRect(int base);
  void RenderQuad(int base);
  void RenderOval(int base);
  void RenderImage(int base);
  void RenderQuadImage(int base);

  // ---- Images and screenshots ----
  void GetPNG(int n, const char* path, int fs);
  void Screenshot();
  void SavePNG(const char* file, int slot, unsigned width, unsigned height);

  // ---- Input ----
  void FlushKeys();
  void RememberLastPoll();  // the arrays of this poll become those of the poll before
  void PollInputB();
  int IsBut(int n);

  // ---- Audio ----
  void OpenAudio();   // start-up part of SysInit
  void CloseAudio();  // shutdown part of Close
  void GetWAV(int slot, const char* path);
  void PlayWAV(int slot, float pitch, float volume, float pan, int loop);
  void PlayMusic_Wav_Sys(const char* path, int loop);
  void PlayMusic_Ogg_Sys(const char* path, int loop);
  void BufferMusic_Wav_Sys();
  void BufferMusic_Ogg_Sys();
  void HandleMusicSys();
  void StopMusicSys();

  // ---- Console log ----
  void Debuglog(const char* text);
  char* fstrSys(const char* format, ...) __attribute__((format(printf, 2, 3)));
};

// ---- Framework globals ----

extern VeskSys ASys;

// Clock and game
extern int GameStartTime;
extern int GameNum;
extern char GameTitle[kTextBufferSize];
extern int DebugToggle;
extern int ScreenshotToggle;
extern int UpdateCountLive;
extern int RenderCountLive;

// View, published after each render step
extern int rw2;
extern int rh2;
extern float ViewScale;

// Render-side command list
extern double DrawR[kRenderListRecords * kRecordSlots];
extern int DrawToRT;

// Image tables (index = image number)
extern std::vector<unsigned char> Image[kImageTableSize];
extern int iFrames[kMaxImages];  // -1: slot not usable
extern int iFramesW[kMaxImages];
extern float iFramesWz[kMaxImages];
extern int iSize[kMaxImages];
extern std::vector<unsigned char> WhiteBlock;

// Text
extern const int fontw[136];

// Random generator state
extern int jRand_Seed;
extern int jRand_Bit;
extern int jRand_Plus;
extern int jRand_Count;
extern int jRand_Out;
extern int jRand_tSeed;

// Console log
extern int DebugMessages;
extern char TempstrSys[kTextBufferSize];

// Writes the draw state into slots base+10 .. base+25 of the update-side list.
void Getdef(int base);

// Runs one pass of the game's loop (usually its KeepAlive); defined by a game
// that uses RunLoop, which knows the game's type.
void Heartbeat();

// ---- The standard loop pass ----

// One kind of step of the standard loop pass: runs `step` when the clock has
// passed `due`, which moves on by `period`, and once more, with `due` reset
// to now plus one period, when `due` lies more than 10 s ahead of the clock
// (after SetNum restarted it).
template <class G, class Step>
void VeskStepIfDue(G& game, int& due, int period, Step step) {
  if (game.Mills() > due) {
    due += period;
    step();
  }
  if (game.Mills() < due - kResyncMs) {
    due = game.Mills() + period;
    step();
  }
}

// One pass of the fixed-step loop for a game class G derived from VeskCore
// that defines Update() and Render(). While focused an update and a render
// step are due every 16 ms and the pass never sleeps; unfocused both are due
// every 150 ms, the update step only polls input, and the pass sleeps 150 ms.
// A due time more than 10 s ahead of the clock (after SetNum restarted it) is
// reset to now plus one step. Catch-up runs at most one regular and one
// resync step of each kind per pass.
template <class G>
void VeskKeepAlive(G& game) {
  if (game.Active == 1) {
    VeskStepIfDue(game, game.NextUpdate, kFixedStepMs, [&game] {
      game.Update();
      game.EndUpdate();
    });
    VeskStepIfDue(game, game.NextRender, kFixedStepMs, [&game] { game.Render(); });
    game.MusicHandler();
  }
  // Read again: a pass whose update step has just seen the focus go also
  // runs the unfocused steps.
  if (game.Active <= 0) {
    VeskStepIfDue(game, game.NextUpdate, kInactiveStepMs, [&game] {
      game.PollInput();
      game.EndUpdate();
    });
    VeskStepIfDue(game, game.NextRender, kInactiveStepMs, [&game] { game.Render(); });
    game.Rest(kInactiveStepMs);
  }
  if (game.PlayKey(kButtonEscape) == 1) game.GameBreak = 1;
}

#endif  // VESKFRAME_H
