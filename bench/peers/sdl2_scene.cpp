// The scene of Scene.h drawn with SDL2's 2D renderer on its OpenGL driver:
// one SDL_RenderCopy per sprite from one static texture, tinted with the
// texture's colour and alpha modulation, presented with vertical sync
// requested, events drained every frame.
// Usage: scene_sdl2 SPRITES [window]
#include <SDL2/SDL.h>

#include "Scene.h"

int main(int argc, char** argv) {
  const scene::Args args = scene::ReadArgs(argc, argv, {"window"});
  if (!args.ok) return 2;
  SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
  SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "sdl2: %s\n", SDL_GetError());
    return 1;
  }
  SDL_Window* window = SDL_CreateWindow("sdl2", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                        scene::kWindowWidth, scene::kWindowHeight, 0);
  SDL_Renderer* renderer =
      window != nullptr
          ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC)
          : nullptr;
  if (renderer == nullptr) {
    std::fprintf(stderr, "sdl2: %s\n", SDL_GetError());
    SDL_Quit();
    return 1;
  }
  // Bytes R, G, B, A in memory: ABGR8888 on a little-endian machine.
  SDL_Texture* texture =
      SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC,
                        scene::kTextureSide, scene::kTextureSide);
  const std::vector<unsigned char> pixels = scene::MakeTexture();
  SDL_UpdateTexture(texture, nullptr, pixels.data(), scene::kTextureSide * 4);
  SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
  SDL_SetTextureColorMod(texture, scene::kTintRed, scene::kTintGreen, scene::kTintBlue);
  SDL_SetTextureAlphaMod(texture, scene::kTintAlpha);
  const std::vector<scene::Sprite> sprites = scene::MakeSprites(args.sprites, scene::kWindowHeight);
  const int half = scene::kCell / 2;

  scene::TimeFrames("sdl2", args, [&] {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
    SDL_SetRenderDrawColor(renderer, scene::kClearRed, scene::kClearGreen, scene::kClearBlue, 255);
    SDL_RenderClear(renderer);
    for (const scene::Sprite& s : sprites) {
      const SDL_Rect from = {s.frame * scene::kCell, 0, scene::kCell, scene::kCell};
      const SDL_Rect to = {s.x - half, s.y - half, scene::kCell, scene::kCell};
      SDL_RenderCopy(renderer, texture, &from, &to);
    }
    SDL_RenderPresent(renderer);
  });

  SDL_DestroyTexture(texture);
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
