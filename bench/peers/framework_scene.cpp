// The scene of Scene.h drawn by a game written from the public header alone,
// the way a game's update and render steps do it: every frame records the
// sprites with DrawImg, hands them over (BufferGame) and runs one render
// pass (RenderGame). The frames of the sheet are those of the floor's
// texture; the sheet is written as a PNG into a fresh temporary folder,
// which is the working directory while the program runs.
// Usage: scene_framework SPRITES [window|full|alt]
#include <lodepng.h>  // Required for: writing the sheet the game loads
#include <unistd.h>   // Required for: mkdtemp, chdir

#include <filesystem>
#include <string>

#include "Scene.h"
#include "VeskFrame.h"

namespace {

class SceneGame : public VeskCore {};
SceneGame Game;

constexpr int kGame = 7;
constexpr int kSheet = 0;
constexpr const char* kSheetName = "scene";

// One row of the sheet's frames, 32 x 32 texels each.
bool WriteSheet() {
  const int width = scene::kSheetFrames * scene::kFrameSide;
  std::vector<unsigned char> rgba(static_cast<size_t>(width) * scene::kFrameSide * 4);
  for (int frame = 0; frame < scene::kSheetFrames; frame++) {
    for (int y = 0; y < scene::kFrameSide; y++) {
      for (int x = 0; x < scene::kFrameSide; x++) {
        const size_t at = static_cast<size_t>(y) * width + frame * scene::kFrameSide + x;
        scene::FrameTexel(frame, x, y, &rgba[at * 4]);
      }
    }
  }
  const std::string path = "Data/" + std::to_string(kGame) + "/" + kSheetName + ".png";
  return lodepng::encode(path, rgba, width, scene::kFrameSide) == 0;
}

// A fresh working directory holding Data/<game>/scene.png; empty on failure.
std::string PrepareFolder() {
  char name[] = "/tmp/vf-scene-XXXXXX";
  if (mkdtemp(name) == nullptr || chdir(name) != 0) return "";
  std::error_code error;
  std::filesystem::create_directories("Data/" + std::to_string(kGame), error);
  if (error || !WriteSheet()) return "";
  return name;
}

}  // namespace

int main(int argc, char** argv) {
  const scene::Args args = scene::ReadArgs(argc, argv, {"window", "full", "alt"});
  if (!args.ok) return 2;
  const scene::Mode mode = scene::ModeOf(args);
  const std::string folder = PrepareFolder();
  if (folder.empty()) {
    std::fprintf(stderr, "framework scene: cannot write the sheet under /tmp\n");
    return 1;
  }

  Game.Begin(kGame, "framework scene");
  Game.DebugMode = 0;
  Game.SetCLS(scene::kClearRed, scene::kClearGreen, scene::kClearBlue);
  if (mode == scene::Mode::kFull) Game.FlipFullscreen();
  Game.LoadImg(kSheet, kSheetName, scene::kFrameSide);
  float width = 0.0f;
  float height = 0.0f;
  Game.RenderGame(width, height);  // publishes the view the recording uses
  const std::vector<scene::Sprite> sprites =
      scene::MakeSprites(args.sprites, static_cast<int>(height));

  scene::TimeFrames("framework", args, [&] {
    Game.ResetDraw();
    // Alphas are stored times 255 and truncated when drawn: half a step up
    // lands exactly on kTintAlpha.
    Game.SetCol(scene::kTintRed, scene::kTintGreen, scene::kTintBlue,
                (scene::kTintAlpha + 0.5f) / 255.0f);
    for (int i = 0; i < args.sprites; i++) {
      if (mode == scene::Mode::kAlternating && i % scene::kBlendBlock == 0) {
        Game.SetBlend(i / scene::kBlendBlock);
      }
      const scene::Sprite& s = sprites[static_cast<size_t>(i)];
      Game.DrawImg(kSheet, static_cast<float>(s.x), static_cast<float>(s.y), s.frame);
    }
    Game.BufferGame();
    Game.RenderGame(width, height);
  });

  Game.Terminate();
  std::error_code error;
  std::filesystem::remove_all(folder, error);
  return 0;
}
