// Batching of the render pass and the vertices it emits, seen at the GL
// boundary: this program is linked with --wrap for glBegin, glTexImage2D,
// glTexParameterf and glVertex2f, and the __wrap_
// functions below count (and record) the calls before forwarding them to
// the real ones.
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "frame/Window.h"
#include "graphics/Records.h"
#include "graphics/RenderPass.h"
#include "graphics/render_scene.h"

namespace {

struct Upload {
  int size;
  int internalFormat;
  const void* pixels;
};

std::vector<Upload> uploads;
std::string calls;  // 'T' per upload, 'B' per glBegin, in call order
int begins = 0;
std::vector<float> filters;

struct Point {
  float x, y;
};
std::vector<Point> vertices;  // glVertex2f positions, in call order

}  // namespace

extern "C" {
void __real_glBegin(GLenum mode);
void __real_glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                         GLsizei height, GLint border, GLenum format, GLenum type,
                         const void* pixels);
void __real_glTexParameterf(GLenum target, GLenum name, GLfloat value);
void __real_glVertex2f(GLfloat x, GLfloat y);
void __real_glfwGetFramebufferSize(GLFWwindow* w, int* width, int* height);

void __wrap_glBegin(GLenum mode) {
  begins++;
  calls += 'B';
  __real_glBegin(mode);
}

void __wrap_glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                         GLsizei height, GLint border, GLenum format, GLenum type,
                         const void* pixels) {
  EXPECT_EQ(width, height);
  uploads.push_back({width, internalFormat, pixels});
  calls += 'T';
  __real_glTexImage2D(target, level, internalFormat, width, height, border, format, type, pixels);
}

void __wrap_glTexParameterf(GLenum target, GLenum name, GLfloat value) {
  if (name == GL_TEXTURE_MIN_FILTER || name == GL_TEXTURE_MAG_FILTER) filters.push_back(value);
  __real_glTexParameterf(target, name, value);
}

void __wrap_glVertex2f(GLfloat x, GLfloat y) {
  vertices.push_back({x, y});
  __real_glVertex2f(x, y);
}
}

namespace {

class BatchGame : public VeskCore {};
BatchGame Game;

constexpr int kGame = 6;
constexpr int kSprite = 3;
constexpr int kOther = 4;
constexpr int kUnloaded = 40;
constexpr int kSpriteSide = 8;
constexpr int kOvalTriangles = 36;
constexpr int kBatchLimit = 50000;

class BatchCount : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WriteImage(kGame, "dot", kSpriteSide, kSpriteSide, [](int, int) {
      return vftest::Rgba{200, 100, 50, 255};
    });
    vftest::OpenScene(Game, kGame, "batch counts", [] {
      Game.LoadImg(kSprite, "dot", kSpriteSide);
      Game.LoadImg(kOther, "dot", kSpriteSide);
    });
  }

  static void TearDownTestSuite() { Game.Terminate(); }

  void SetUp() override {
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(iFrames[kSprite], 1);
    Game.Smoothing(0);
    Game.ResetDraw();
  }

  // Hands the recorded list over and counts the calls of one render pass.
  static void Render() {
    Game.BufferGame();
    uploads.clear();
    calls.clear();
    filters.clear();
    vertices.clear();
    begins = 0;
    float w = 0.0f;
    float h = 0.0f;
    Game.RenderGame(w, h);
  }

  // Asks for a new window size and runs render passes (up to about 2 s)
  // until one has drawn at the new width.
  static void ResizeAndRender(int width, int height) {
    glfwSetWindowSize(window, width, height);
    for (int pass = 0; pass < 100 && ASys.CanvasWidth != width; pass++) {
      glfwWaitEventsTimeout(0.02);
      Render();
    }
  }

  static bool IsWhiteUpload(const Upload& u) {
    return u.size == kWhiteBlockSide && u.pixels == WhiteBlock.data();
  }
  static bool IsSpriteUpload(const Upload& u, int n) {
    return u.size == iSize[n] && u.pixels == Image[n].data();
  }
};

TEST_F(BatchCount, ThousandRectanglesShareOneUploadAndOneBatch) {
  Game.SetBlend(1);
  for (int i = 0; i < 1000; i++) Game.Rect(static_cast<float>(i % 800), 300, 4, 4);
  Game.SetBlend(1);
  Render();
  EXPECT_EQ(begins, 1);
  ASSERT_EQ(uploads.size(), 1u);
  EXPECT_TRUE(IsWhiteUpload(uploads[0]));
  EXPECT_EQ(uploads[0].internalFormat, 4);
  EXPECT_EQ(ASys.PolyCount, 2000);
  EXPECT_EQ(ASys.ObjCount, 1000);
}

TEST_F(BatchCount, SpritesOfOneImageShareABatchUntilABlendChange) {
  Game.DrawImg(kSprite, 100, 100, 0);
  Game.DrawImg(kSprite, 120, 100, 0);
  Game.QuadImg(kSprite, 0, 0, 10, 0, 10, 10, 0, 10, 0);
  Game.QuadImg(kSprite, 20, 0, 30, 0, 30, 10, 20, 10, 0);
  Render();
  EXPECT_EQ(calls, "TB");
  ASSERT_EQ(uploads.size(), 1u);
  EXPECT_TRUE(IsSpriteUpload(uploads[0], kSprite));

  Game.DrawImg(kSprite, 100, 100, 0);
  Game.SetBlend(2);
  Game.DrawImg(kSprite, 120, 100, 0);
  Render();
  EXPECT_EQ(calls, "TBTB");  // the second batch uploads the same texture again
  ASSERT_EQ(uploads.size(), 2u);
  EXPECT_TRUE(IsSpriteUpload(uploads[1], kSprite));
}

TEST_F(BatchCount, RectangleBetweenTwoSpritesGivesThreeBatches) {
  Game.DrawImg(kSprite, 100, 100, 0);
  Game.Rect(200, 200, 10, 10);
  Game.DrawImg(kSprite, 300, 100, 0);
  Render();
  EXPECT_EQ(calls, "TBTBTB");
  ASSERT_EQ(uploads.size(), 3u);
  EXPECT_TRUE(IsSpriteUpload(uploads[0], kSprite));
  EXPECT_TRUE(IsWhiteUpload(uploads[1]));
  EXPECT_TRUE(IsSpriteUpload(uploads[2], kSprite));
  EXPECT_EQ(ASys.ObjCount, 3);
}

TEST_F(BatchCount, ImagesThatCannotBeDrawnSplitNothing) {
  Game.DrawImg(kSprite, 100, 100, 0);
  Game.DrawImg(kUnloaded, 100, 100, 0);
  Game.DrawImg(150, 100, 100, 0);
  Game.DrawImg(-3, 100, 100, 0);
  Game.DrawImg(kMaxImages, 100, 100, 0);
  Game.QuadImg(kUnloaded, 0, 0, 10, 0, 10, 10, 0, 10, 0);
  Game.QuadImg(-1, 0, 0, 10, 0, 10, 10, 0, 10, 0);
  Game.DrawImg(kSprite, 120, 100, 0);
  Render();
  EXPECT_EQ(calls, "TB");
  EXPECT_EQ(ASys.ObjCount, 2);
  EXPECT_EQ(ASys.PolyCount, 4);
}

TEST_F(BatchCount, FailedReloadMakesTheSlotDrawNothing) {
  Game.LoadImg(kOther, "no-such-image", kSpriteSide);
  ASSERT_LT(iFrames[kOther], 0);
  Game.DrawImg(kSprite, 100, 100, 0);
  Game.DrawImg(kOther, 100, 100, 0);
  Game.DrawImg(kSprite, 100, 100, 0);
  Render();
  EXPECT_EQ(calls, "TB");
  EXPECT_EQ(ASys.ObjCount, 2);
  Game.LoadImg(kOther, "dot", kSpriteSide);
}

// The limit is tested once per command before its triangles: 1388 ovals
// give 49,968 primitives, 32 rectangles bring the batch to exactly 50,000,
// the 33rd still joins (50,000 is not above the limit) and the 34th starts
// a new batch.
TEST_F(BatchCount, BatchIsCutOnlyAfterMoreThanTheLimit) {
  const int ovals = kBatchLimit / kOvalTriangles;
  ASSERT_EQ(ovals * kOvalTriangles + 32, kBatchLimit);
  for (int i = 0; i < ovals; i++) Game.Oval(400, 300, 4, 4);
  for (int i = 0; i < 33; i++) Game.Rect(400, 300, 4, 4);
  Render();
  EXPECT_EQ(begins, 1);
  EXPECT_EQ(TriCount, kBatchLimit + 1);

  for (int i = 0; i < ovals; i++) Game.Oval(400, 300, 4, 4);
  for (int i = 0; i < 34; i++) Game.Rect(400, 300, 4, 4);
  Render();
  EXPECT_EQ(begins, 2);
  ASSERT_EQ(uploads.size(), 2u);
  EXPECT_TRUE(IsWhiteUpload(uploads[1]));
  EXPECT_EQ(TriCount, 1);
  EXPECT_EQ(ASys.PolyCount, ovals * kOvalTriangles + 34 * 2);
}

TEST_F(BatchCount, UnknownKindsAreSkippedAndUnknownBlendModesSplit) {
  Game.Rect(100, 100, 10, 10);
  const int base = ASys.RecordStart(7);
  ASSERT_GE(base, 0);
  Getdef(base);
  Game.Rect(120, 100, 10, 10);
  Render();
  EXPECT_EQ(calls, "TB");
  EXPECT_EQ(ASys.ObjCount, 2);

  Game.Rect(100, 100, 10, 10);
  Game.SetBlend(0);
  Game.Rect(120, 100, 10, 10);
  Render();
  EXPECT_EQ(calls, "TBTB");
}

TEST_F(BatchCount, EmptyListUploadsNothing) {
  Render();
  EXPECT_EQ(calls, "");
  EXPECT_EQ(ASys.PolyCount, 0);
  EXPECT_EQ(ASys.ObjCount, 0);
}

TEST_F(BatchCount, RecordCountIsBoundedByTheRenderSideList) {
  Game.Rect(100, 100, 10, 10);
  Game.BufferGame();
  for (int i = 1; i < kRenderListRecords; i++) {
    std::copy(DrawR, DrawR + kRecordSlots, DrawR + i * kRecordSlots);
  }
  DrawToRT = kRenderListRecords + 1000;  // more than the list holds
  ASys.RenderSys();
  DrawToRT = 0;
  EXPECT_EQ(ASys.ObjCount, kRenderListRecords);
}

TEST_F(BatchCount, FilterIsLinearOnlyForSmoothModeExactlyOne) {
  const struct {
    float mode;
    float filter;
  } cases[] = {{1.0f, GL_LINEAR}, {0.0f, GL_NEAREST}, {2.0f, GL_NEAREST}, {0.999f, GL_NEAREST}};
  for (const auto& c : cases) {
    ASys.SmoothMode = c.mode;
    Game.Rect(100, 100, 10, 10);
    Game.DrawImg(kSprite, 100, 100, 0);
    Render();
    ASSERT_EQ(filters.size(), 4u) << "mode " << c.mode;  // min and mag at each batch start
    for (float f : filters) EXPECT_EQ(f, c.filter) << "mode " << c.mode;
  }
}

// The framebuffer size comes from GLFW's size events, not from a query per
// pass: a resized window is drawn at its new size from the next pass on, and
// a minimised one (0 x 0, which X11 never reports, so the test sends the
// event through the installed callback) keeps the last usable size.
TEST_F(BatchCount, FramebufferSizeFollowsTheWindowsSizeEvents) {
  Render();
  const int width = ASys.CanvasWidth;
  const int height = ASys.CanvasHeight;
  ASSERT_GT(width, 0);

  const int resizedWidth = width / 2;
  const int resizedHeight = height / 2;
  ResizeAndRender(resizedWidth, resizedHeight);
  EXPECT_EQ(ASys.CanvasWidth, resizedWidth);
  EXPECT_EQ(ASys.CanvasHeight, resizedHeight);
  EXPECT_FLOAT_EQ(ASys.Ratio, static_cast<float>(resizedWidth) / resizedHeight);

  const float ratio = ASys.Ratio;
  GLFWframebuffersizefun sizeEvent = glfwSetFramebufferSizeCallback(window, nullptr);
  ASSERT_NE(sizeEvent, nullptr);
  glfwSetFramebufferSizeCallback(window, sizeEvent);
  sizeEvent(window, 0, 0);
  Render();
  EXPECT_EQ(ASys.CanvasWidth, resizedWidth);
  EXPECT_EQ(ASys.CanvasHeight, resizedHeight);
  EXPECT_EQ(ASys.Ratio, ratio);
  EXPECT_EQ(rh2, static_cast<int>(800.0f / ratio / 2));

  ResizeAndRender(width, height);
  EXPECT_EQ(ASys.CanvasWidth, width);
}

// ---- Vertices of rotated boxes and oval rims ----

// A vertex of a box turned by `degrees` as the renderer must emit it: the
// angle rounded to float, its sine and cosine taken in double, the turned
// offset rounded to float before it is added. With useFloatSine the sine and
// cosine of the float angle are taken in float instead.
Point Turned(double x, double y, float dx, float dy, double degrees, bool useFloatSine = false) {
  const float angle = static_cast<float>(degrees * kDegreeInRadians);
  const double c = useFloatSine ? std::cos(angle) : std::cos(static_cast<double>(angle));
  const double s = useFloatSine ? std::sin(angle) : std::sin(static_cast<double>(angle));
  const float ox = static_cast<float>(dx * c - dy * s);
  const float oy = static_cast<float>(dy * c + dx * s);
  return {static_cast<float>(x + ox), static_cast<float>(y + oy)};
}

bool Same(const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }

TEST_F(BatchCount, RotatedSpritesTakeSineAndCosineInDoublePrecision) {
  const float angles[] = {1, 7, 13, 30, 45, 61, 89, 90, 133, 200, 271, 359, -45, 0.5f};
  // Centred on the view's centre, where a vertex is its turned offset alone.
  for (float angle : angles) {
    Game.ResetDraw();
    Game.SetSize(5.3f);
    Game.SetRot(angle);
    Game.DrawImg(kSprite, static_cast<float>(rw2), static_cast<float>(rh2), 0);
  }
  Render();
  const int sprites = static_cast<int>(sizeof angles / sizeof angles[0]);
  ASSERT_EQ(vertices.size(), static_cast<size_t>(sprites) * 6);
  // Corner offsets of the six vertices, in units of (hw, hh).
  const float cornerX[6] = {-1, 1, 1, -1, 1, -1};
  const float cornerY[6] = {-1, -1, 1, -1, 1, 1};
  int differFromFloatSine = 0;
  for (int i = 0; i < sprites; i++) {
    const double* record = DrawR + i * kRecordSlots;
    ASSERT_EQ(record[kSlotRotation], angles[i]);
    const float hw = static_cast<float>(record[kSlotWidth] * ASys.iSizeScaled[kSprite]);
    const float hh = static_cast<float>(record[kSlotHeight] * ASys.iSizeScaled[kSprite]);
    for (int v = 0; v < 6; v++) {
      const float dx = cornerX[v] * hw;
      const float dy = cornerY[v] * hh;
      const Point want = Turned(record[kSlotX], record[kSlotY], dx, dy, angles[i]);
      const Point got = vertices[i * 6 + v];
      EXPECT_TRUE(Same(got, want))
          << "angle " << angles[i] << " vertex " << v << ": (" << got.x << ", " << got.y
          << "), want (" << want.x << ", " << want.y << ")";
      if (!Same(want, Turned(record[kSlotX], record[kSlotY], dx, dy, angles[i], true))) {
        differFromFloatSine++;
      }
    }
  }
  // The angles are chosen so that float sines would give other vertices.
  EXPECT_GT(differFromFloatSine, 0);
}

TEST_F(BatchCount, OvalRimPointsTakeSineAndCosineInDoublePrecision) {
  Game.Oval(217.3f, 181.9f, 151.7f, 93.1f);
  Render();
  ASSERT_EQ(vertices.size(), static_cast<size_t>(kOvalTriangles) * 3);
  const double x = DrawR[kSlotX];
  const double y = DrawR[kSlotY];
  const float hw = static_cast<float>(DrawR[kSlotWidth] * 0.5);
  const float hh = static_cast<float>(DrawR[kSlotHeight] * 0.5);
  int differFromFloatSine = 0;
  for (int i = 0; i < kOvalTriangles; i++) {
    EXPECT_TRUE(Same(vertices[i * 3], {static_cast<float>(x), static_cast<float>(y)}));
    for (int k = 0; k < 2; k++) {
      const float a = static_cast<float>(10.0 * (i + k) * kDegreeInRadians);
      const double sine = std::sin(static_cast<double>(a));
      const double cosine = std::cos(static_cast<double>(a));
      const Point want = {static_cast<float>(x + sine * hw), static_cast<float>(y - cosine * hh)};
      const Point withFloatSine = {static_cast<float>(x + std::sin(a) * hw),
                                   static_cast<float>(y - std::cos(a) * hh)};
      const Point got = vertices[i * 3 + 1 + k];
      EXPECT_TRUE(Same(got, want))
          << "segment " << i << " rim point " << k << ": (" << got.x << ", " << got.y << "), want ("
          << want.x << ", " << want.y << ")";
      if (!Same(want, withFloatSine)) differFromFloatSine++;
    }
  }
  EXPECT_GT(differFromFloatSine, 0);
}

}  // namespace
