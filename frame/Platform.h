// Internal state of the platform layer: GLFW, OpenGL and OpenAL handles and
// the render-pass, audio and music globals that only framework code touches.
// Not installed with the public header; framework .cpp files and the tests
// include it.
#ifndef VESKFRAME_PLATFORM_H
#define VESKFRAME_PLATFORM_H

#include <AL/alc.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "VeskFrame.h"

struct GLFWwindow;
typedef struct stb_vorbis stb_vorbis;

// ---- Window ----
extern GLFWwindow* window;
extern int isFullscreen;
extern char GameTitleSys[kTextBufferSize];

// ---- Draw state fields (indices into ASys.DrawSet) ----
constexpr int kRecordStateSlot = 10;  // record slots 10..25 hold a copy of DrawSet
constexpr int kSetColour1 = 0;        // alpha, red, green, blue of colour 1
constexpr int kSetColour2 = 4;        // alpha, red, green, blue of colour 2
constexpr int kSetRotation = 8;
constexpr int kSetHalfThickness = 9;
constexpr int kSetSizeX = 11;              // horizontal scale / ViewScale
constexpr int kSetSizeY = 12;              // vertical scale / ViewScale, negated
constexpr float kViewWidthUnits = 800.0f;  // TargetScale: the view is 800 drawing units wide
constexpr float kQuarterTurn = 90.0f;      // degrees
// ViewScale for recording; before the first render step, the value of an
// 800-unit view instead of 0.
float RecordViewScale();

// ---- Record slots (index within one 30-slot record) ----
constexpr int kSlotKind = 0;
constexpr int kSlotX = 1;          // x - rw2 (rectangle, oval, image); corners from here for quads
constexpr int kSlotY = 2;          // y - rh2
constexpr int kSlotWidth = 3;      // shapes: width in units; images: horizontal size as stored
constexpr int kSlotHeight = 4;     // shapes: height (negative); images: vertical size as stored
constexpr int kSlotBlendMode = 1;  // blend records
constexpr int kSlotImage = 28;     // image records
constexpr int kSlotFrame = 29;

// ---- Render pass ----
constexpr int kWhiteBlockBytes = kWhiteBlockSide * kWhiteBlockSide * 4;
constexpr int kBatchPrimitiveLimit = 50000;   // a batch is cut after more than this
constexpr int kTexNone = -1;                  // no batch open
constexpr int kTexWhite = -2;                 // the white block
constexpr double kRenderDegToRad = 0.017453;  // degree constant of rotations and oval segments
extern int TexUse;
extern int TriCount;
extern int RenderMode;  // GL_NEAREST or GL_LINEAR for this pass
extern int Wireframe;   // 1 while F9 is held
// Batching and vertex helpers shared by the shape and image routines; each
// drawing routine calls RenderUseTexture, then RenderBox or RenderCorners.
// Opens a new batch unless the open one uses `texture` (kTexWhite or an image
// number) and has room.
void RenderUseTexture(int texture);
// Two triangles around the record's centre with half extents hw, hh, turned
// by its rotation; v0 is the texture row at offset -hh, v1 the row at +hh.
void RenderBox(int base, float hw, float hh, float u0, float u1, float v0, float v1);
// Two triangles through the record's four corners; p1, p2 take row v12 and
// colour 1, p3, p4 row v34 and colour 2.
void RenderCorners(int base, float u0, float u1, float v12, float v34);
// Draws the last pass's frame again into the back buffer (no fade step, no
// swap), so that a screenshot taken between passes can read it.
void RenderRepeatFrame();

// ---- Audio device and sound slots ----
extern ALCdevice* ALdev;
extern ALCcontext* ALctx;
extern int AudioEnabled;
extern unsigned ALsource[kSources];
extern int ALChannel;
extern int ALsourcebuffer[kSources];
extern unsigned MusicBuffer[kMusicBuffers];
extern unsigned ALbuffer[kSoundSlots];
extern int ALbufferActive[kSoundSlots];
extern int SFXData[kSoundSlots][10];
// Entries of a slot's SFXData record, filled by each data chunk loaded.
enum SfxEntry { kSfxBytes, kSfxFrames, kSfxChannels, kSfxBytesPerSample, kSfxRate };

// ---- Music stream ----
constexpr int kMusicStatsFormat = 1;
constexpr int kMusicStatsRate = 4;
constexpr int kMusicStatsChannels = 5;
extern int MusicBufferTick;
extern int MusicBufferStats[10];
extern FILE* MusicFile;
extern fpos_t MusicFileBegin;
extern stb_vorbis* OggFile;

// ---- WAV readers (shared by sound slots and the music stream) ----
const char* readTag(FILE* file);
int readInt(FILE* file);
int readShort(FILE* file);
void skipBytes(FILE* file, int n);

// Sample layout from a WAV file's format chunk.
struct WavFormat {
  int channels;
  int bytesPerSample;  // bits per sample / 8
  int rate;            // Hz
};
// Reads the fixed RIFF/WAVE header and the format chunk; 0 when a rule fails.
int readWavHeader(FILE* file, WavFormat* format);
// Walks on to the next "data" chunk and returns its size, leaving the file at
// its first byte; -1 once the walk has ended. With toEndOfFile set, a data
// chunk that claims more than the file holds (a cut-off file, or a size a
// streaming writer never filled in) is taken to end with the file.
int findWavData(FILE* file, bool toEndOfFile = false);
// Audio-library format of the layout (mono/stereo, 8/16 bits), 0 for none.
int wavFormatCode(const WavFormat& format);
// Whether the Ogg Vorbis file's header pages and packets, read from the
// current position, are sound enough to hand to the decoder (the position is
// restored).
bool vorbisHeadersSound(FILE* file);
// Size of the whole Ogg page that begins at `page`, from its header and
// lacing values; 0 unless the capture pattern, the header and the lacing
// values lie within the `available` bytes (the body may not).
size_t oggPageBytes(const uint8_t* page, size_t available);
// Checksum of one Ogg page whose checksum field holds zeros.
uint32_t oggPageChecksum(const uint8_t* page, size_t size);

#endif  // VESKFRAME_PLATFORM_H
