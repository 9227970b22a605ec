// The floor of the framework's drawing method: the scene of Scene.h drawn in
// raw GL with nothing but the calls that method needs. Immediate mode on a
// GL 2.0 context, the texture uploaded with glTexImage2D into the default
// texture at each batch start (once per frame, or once per block of 500 in
// "alt"), glTexCoord2d / glColor4ub / glVertex2f per vertex, the same view
// transform, then the buffer swap and the event pump.
// Usage: scene_floor SPRITES [window|full|alt]
#include <GLFW/glfw3.h>

#include "Scene.h"

namespace {

struct Target {
  GLFWwindow* window = nullptr;
  int width = 0;
  int height = 0;
};

Target OpenWindow(bool full) {
  Target t;
  if (!glfwInit()) return t;
  glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 2);
  glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 0);
  GLFWmonitor* monitor = full ? glfwGetPrimaryMonitor() : nullptr;
  const GLFWvidmode* mode = monitor != nullptr ? glfwGetVideoMode(monitor) : nullptr;
  t.width = mode != nullptr ? mode->width : scene::kWindowWidth;
  t.height = mode != nullptr ? mode->height : scene::kWindowHeight;
  t.window = glfwCreateWindow(t.width, t.height, "floor", monitor, nullptr);
  if (t.window == nullptr) return t;
  glfwMakeContextCurrent(t.window);
  glfwSwapInterval(1);
  glfwGetFramebufferSize(t.window, &t.width, &t.height);
  return t;
}

void StartBatch(const std::vector<unsigned char>& texture) {
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, scene::kTextureSide, scene::kTextureSide, 0, GL_RGBA,
               GL_UNSIGNED_BYTE, texture.data());
  glBegin(GL_TRIANGLES);
}

void BlendMode(int mode) {
  if (mode == 1) glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  if (mode == 2) glBlendFunc(GL_SRC_ALPHA, GL_ONE);
}

// Two triangles per sprite; the cell's bottom row at the bottom of the screen.
void Sprite(const scene::Sprite& s, float centreX, float centreY) {
  const float half = scene::kCell / 2.0f;
  const double step = static_cast<double>(scene::kCell) / scene::kTextureSide;
  const double left = step * s.frame, right = left + step, top = 0.0, bottom = step;
  const float x = static_cast<float>(s.x) - centreX, y = static_cast<float>(s.y) - centreY;
  const float px[6] = {x - half, x + half, x + half, x - half, x + half, x - half};
  const float py[6] = {y + half, y + half, y - half, y + half, y - half, y - half};
  const double u[6] = {left, right, right, left, right, left};
  const double v[6] = {bottom, bottom, top, bottom, top, top};
  for (int i = 0; i < 6; i++) {
    glTexCoord2d(u[i], v[i]);
    glColor4ub(scene::kTintRed, scene::kTintGreen, scene::kTintBlue, scene::kTintAlpha);
    glVertex2f(px[i], py[i]);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const scene::Args args = scene::ReadArgs(argc, argv, {"window", "full", "alt"});
  if (!args.ok) return 2;
  const scene::Mode mode = scene::ModeOf(args);
  const Target target = OpenWindow(mode == scene::Mode::kFull);
  if (target.window == nullptr) {
    std::fprintf(stderr, "floor: no window\n");
    return 1;
  }
  const float ratio = static_cast<float>(target.width) / static_cast<float>(target.height);
  const int viewHeight = static_cast<int>(scene::kViewWidth / ratio);
  const std::vector<scene::Sprite> sprites = scene::MakeSprites(args.sprites, viewHeight);
  const std::vector<unsigned char> texture = scene::MakeTexture();
  const float centreX = scene::kViewWidth / 2, centreY = static_cast<float>(viewHeight / 2);

  scene::TimeFrames("floor", args, [&] {
    glViewport(0, 0, target.width, target.height);
    glClearColor(scene::kClearRed / 255.0f, scene::kClearGreen / 255.0f, scene::kClearBlue / 255.0f,
                 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    BlendMode(1);
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glPushMatrix();
    const float scale = 2.0f / scene::kViewWidth;
    glScalef(scale, -scale * ratio, 1.0f);
    bool open = false;
    for (int i = 0; i < args.sprites; i++) {
      const bool cut = mode == scene::Mode::kAlternating && i % scene::kBlendBlock == 0;
      if (!open || cut) {
        if (open) glEnd();
        if (cut) BlendMode(i / scene::kBlendBlock);
        StartBatch(texture);
        open = true;
      }
      Sprite(sprites[static_cast<size_t>(i)], centreX, centreY);
    }
    if (open) glEnd();
    glPopMatrix();
    glfwSwapBuffers(target.window);
    glfwPollEvents();
  });
  glfwTerminate();
  return 0;
}
