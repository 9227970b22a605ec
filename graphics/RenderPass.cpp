// The render pass (VeskSys::RenderSys) with the batching and vertex helpers
// that the shape routines (graphics/Shapes.cpp) and the image routines
// (graphics/ImageDraw.cpp) share.
// Owns TexUse, TriCount, RenderMode and Wireframe (set by the input poll).
// Relies on the render-side list DrawR (graphics/DrawState.cpp), the image
// tables and WhiteBlock (graphics/ImageStore.cpp), the window handle and its
// framebuffer size (frame/Window.cpp), Screenshot (frame/Screenshot.cpp) and
// the texture format, polygon mode and swap of the platform seam
// (frame/Platform.h).
// Nothing is kept on the GL side between passes: the texture of every batch
// is uploaded again when the batch starts.
#include "graphics/RenderPass.h"

#include <GLFW/glfw3.h>

#include <cmath>

#include "VeskFrame.h"
#include "frame/Platform.h"
#include "frame/Window.h"
#include "graphics/ImageStore.h"
#include "graphics/Records.h"

int TexUse;
int TriCount;
int RenderMode;
int Wireframe;

namespace {

constexpr int kBatchPrimitiveLimit = 50000;  // a batch is cut after more than this
constexpr int kTexNone = -1;                 // no batch open
constexpr int kTrianglesPerBox = 2;
// Slot 0 values outside this range cannot be a command kind.
constexpr double kMaxKind = 1000.0;

// Channels are stored as 0..255 doubles and truncated toward zero; anything
// outside that range (or NaN) is pinned so the conversion stays defined.
GLubyte ToByte(double v) {
  if (!(v > 0.0)) return 0;
  if (v >= kChannelMax) return kChannelMax;
  return static_cast<GLubyte>(v);
}

// Every vertex makes the same calls in the same order.
struct Corner {
  Colour c;
  double u, v;
  float x, y;
};

void Emit(const Corner& p) {
  glTexCoord2d(p.u, p.v);
  glColor4ub(p.c.r, p.c.g, p.c.b, p.c.a);
  glVertex2f(p.x, p.y);
}

// Where GL cannot draw polygons as outlines (kPlatformPolygonMode false),
// the wireframe view draws each triangle's three edges as lines: vertices
// come in threes, and each third one emits the triangle's edges.
bool EdgesAsLines;
Corner Triangle[3];
int TriangleCorners;

void CountPrimitive() {
  TriCount += 1;
  ASys.PolyCount += kTrianglesPerBox;
  ASys.ObjCount += 1;
}

// One step of the background fade for one channel: once the remaining gap
// truncates to less than 2 in magnitude, or stops being a number, the target
// is taken as is. |gap| < 2 is the same test as a truncation to int, without
// converting a huge or NaN value to int (which would be undefined).
void FadeChannel(float& colour, float target, float speed) {
  colour = colour - (colour - target) / speed;
  const float gap = colour - target;
  if (!std::isfinite(gap) || std::fabs(gap) < 2.0f) colour = target;
}

void ApplyBlend(double mode) {
  if (mode == kBlendNormal) {
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  } else if (mode == kBlendAddAlpha) {
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  } else if (mode == kBlendAddColour) {
    glBlendFunc(GL_ONE_MINUS_SRC_COLOR, GL_ONE);
  }
}

}  // namespace

// ---- Batching and vertex helpers ----

Colour ColourAt(const double* record, int first) {
  return {ToByte(record[first + kColourRed]), ToByte(record[first + kColourGreen]),
          ToByte(record[first + kColourBlue]), ToByte(record[first + kColourAlpha])};
}

void Vertex(const Colour& c, double u, double v, float x, float y) {
  const Corner corner = {c, u, v, x, y};
  if (!EdgesAsLines) {
    Emit(corner);
    return;
  }
  Triangle[TriangleCorners++] = corner;
  if (TriangleCorners < 3) return;
  TriangleCorners = 0;
  for (int i = 0; i < 3; i++) {
    Emit(Triangle[i]);
    Emit(Triangle[(i + 1) % 3]);
  }
}

void RenderUseTexture(int texture) {
  if (TexUse == texture && TriCount <= kBatchPrimitiveLimit) return;
  if (TexUse != kTexNone) glEnd();
  TexUse = texture;
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLfloat>(RenderMode));
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLfloat>(RenderMode));
  if (texture == kTexWhite) {
    // A white block that was never made uploads an undefined texture rather
    // than reading past its end.
    const unsigned char* pixels =
        WhiteBlock.size() >= kWhiteBlockBytes ? WhiteBlock.data() : nullptr;
    glTexImage2D(GL_TEXTURE_2D, 0, kTextureInternalFormat, kWhiteBlockSide, kWhiteBlockSide, 0,
                 GL_RGBA, GL_UNSIGNED_BYTE, pixels);
  } else {
    glTexImage2D(GL_TEXTURE_2D, 0, kTextureInternalFormat, iSize[texture], iSize[texture], 0,
                 GL_RGBA, GL_UNSIGNED_BYTE, Image[texture].data());
  }
  glBegin(EdgesAsLines ? GL_LINES : GL_TRIANGLES);
  TriangleCorners = 0;
  TriCount = 0;
}

// The six vertices of a box share one table for rectangles and images: only
// the texture edges differ (v0 is the row at offset -hh, the bottom edge of a
// normal box, v1 the row at +hh).
void RenderBox(int base, float hw, float hh, float u0, float u1, float v0, float v1) {
  const double* record = DrawR + base;
  const double x = record[kSlotX];
  const double y = record[kSlotY];
  const Colour colours[2] = {ColourAt(record, kSlotColour1), ColourAt(record, kSlotColour2)};
  const float dx[6] = {-hw, hw, hw, -hw, hw, -hw};
  const float dy[6] = {-hh, -hh, hh, -hh, hh, hh};
  const float u[6] = {u0, u1, u1, u0, u1, u0};
  const float v[6] = {v0, v0, v1, v0, v1, v1};
  const int colour[6] = {0, 0, 1, 0, 1, 1};
  const double rotation = record[kSlotRotation];
  if (rotation == 0.0) {
    for (int i = 0; i < 6; i++) {
      Vertex(colours[colour[i]], u[i], v[i], static_cast<float>(x + dx[i]),
             static_cast<float>(y + dy[i]));
    }
  } else {
    // The angle is rounded to float; its sine and cosine are taken in double.
    const double angle = static_cast<float>(rotation * kDegreeInRadians);
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    for (int i = 0; i < 6; i++) {
      const float ox = static_cast<float>(dx[i] * c - dy[i] * s);
      const float oy = static_cast<float>(dy[i] * c + dx[i] * s);
      Vertex(colours[colour[i]], u[i], v[i], static_cast<float>(x + ox),
             static_cast<float>(y + oy));
    }
  }
  CountPrimitive();
}

// Triangles (p1, p2, p3) and (p1, p3, p4) through the four recorded corners;
// p1 and p2 take texture row v12 and colour 1, p3 and p4 row v34 and colour 2.
void RenderCorners(int base, float u0, float u1, float v12, float v34) {
  const double* record = DrawR + base;
  const Colour c1 = ColourAt(record, kSlotColour1);
  const Colour c2 = ColourAt(record, kSlotColour2);
  float x[kQuadCorners];
  float y[kQuadCorners];
  for (int i = 0; i < kQuadCorners; i++) {
    x[i] = static_cast<float>(record[SlotCornerX(i)]);
    y[i] = static_cast<float>(record[SlotCornerY(i)]);
  }
  Vertex(c1, u0, v12, x[0], y[0]);
  Vertex(c1, u1, v12, x[1], y[1]);
  Vertex(c2, u1, v34, x[2], y[2]);
  Vertex(c1, u0, v12, x[0], y[0]);
  Vertex(c2, u1, v34, x[2], y[2]);
  Vertex(c2, u0, v34, x[3], y[3]);
  CountPrimitive();
}

// ---- The pass ----

namespace {

// The settings a pass drew with, kept so that RenderRepeatFrame can draw
// the same frame again.
struct PassSettings {
  int filter = GL_NEAREST;
  int wireframe = 0;
  float clear[3] = {0.0f, 0.0f, 0.0f};
};
PassSettings lastPass;

// The drawing routine of each command kind that draws.
struct KindRoutine {
  int kind;
  void (VeskSys::*draw)(int base);
};
constexpr KindRoutine kRoutines[] = {{kCmdRect, &VeskSys::RenderRect},
                                     {kCmdQuad, &VeskSys::RenderQuad},
                                     {kCmdOval, &VeskSys::RenderOval},
                                     {kCmdImage, &VeskSys::RenderImage},
                                     {kCmdQuadImage, &VeskSys::RenderQuadImage}};

// A blend record closes the open batch and sets the blend function; kinds
// that do not exist are skipped.
void DrawRecord(VeskSys& sys, int kind, int base) {
  if (kind == kCmdBlend) {
    if (TexUse != kTexNone) glEnd();
    TexUse = kTexNone;
    ApplyBlend(DrawR[base + kSlotBlendMode]);
    return;
  }
  for (const KindRoutine& routine : kRoutines) {
    if (routine.kind == kind) (sys.*routine.draw)(base);
  }
}

// Everything between the framebuffer size and the buffer swap: viewport,
// polygon mode, clear, blend mode 1, texturing, view scale and the list.
void DrawPass(const PassSettings& pass) {
  VeskSys& sys = ASys;
  RenderMode = pass.filter;
  glViewport(0, 0, sys.CanvasWidth, sys.CanvasHeight);

  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  if (pass.wireframe == 1) glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  EdgesAsLines = pass.wireframe == 1 && !kPlatformPolygonMode;

  glClearColor(pass.clear[0] / kChannelMax, pass.clear[1] / kChannelMax,
               pass.clear[2] / kChannelMax, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);

  ApplyBlend(kBlendNormal);
  glEnable(GL_BLEND);
  if (pass.wireframe == 0) {
    glEnable(GL_TEXTURE_2D);
  } else if (pass.wireframe == 1) {
    glDisable(GL_TEXTURE_2D);
  }

  glPushMatrix();
  const float scale = 2.0f / sys.TargetScale;
  glScalef(scale, -scale * sys.Ratio, 1.0f);

  TexUse = kTexNone;
  TriCount = 0;
  sys.PolyCount = 0;
  sys.ObjCount = 0;

  // DrawToRT comes from the hand-over; it is bounded here once so that no
  // count can walk past the render-side list.
  int count = DrawToRT;
  if (count < 0) count = 0;
  if (count > kRenderListRecords) count = kRenderListRecords;
  for (int i = 0; i < count; i++) {
    const int base = i * kRecordSlots;
    const double kind = DrawR[base + kSlotKind];
    if (!(kind > -kMaxKind && kind < kMaxKind)) continue;
    DrawRecord(sys, static_cast<int>(kind), base);
  }
  if (TexUse != kTexNone) glEnd();
  glPopMatrix();
}

}  // namespace

void VeskSys::RenderSys() {
  // After a failed start-up there is no window and no GL context: any GL
  // call would touch a context that does not exist.
  if (window == nullptr) return;

  PassSettings pass;
  pass.filter = SmoothMode == 1.0f ? GL_LINEAR : GL_NEAREST;
  pass.wireframe = Wireframe;

  // A minimised window reports a 0 x 0 framebuffer; the last usable size is
  // kept so that Ratio stays a finite, positive number.
  if (FramebufferWidth > 0 && FramebufferHeight > 0) {
    CanvasWidth = FramebufferWidth;
    CanvasHeight = FramebufferHeight;
  }
  if (CanvasWidth > 0 && CanvasHeight > 0) {
    Ratio = static_cast<float>(CanvasWidth) / static_cast<float>(CanvasHeight);
  }

  for (int c = 0; c < 3; c++) {
    FadeChannel(ClsCol[c], ClsTarget[c], ClsSpeed);
    pass.clear[c] = ClsCol[c];
  }
  lastPass = pass;
  DrawPass(pass);

  // The screenshot is read before the swap, while the back buffer still
  // holds the finished frame; after the swap its content is undefined.
  if (Button[kButtonScreenshot] != 0) Screenshot();
  glfwSwapInterval(1);
  PlatformShowFrame(window);
  glfwPollEvents();
}

// The same list with the same filter, wireframe and background as the last
// pass: the frame it presented, unless a hand-over has come since. No fade
// step, no swap.
void RenderRepeatFrame() {
  if (window == nullptr) return;
  DrawPass(lastPass);
}
