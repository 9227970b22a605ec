// The scene of Scene.h drawn with SFML 2.5's graphics module, in two ways:
// "sprites" draws one sf::Sprite per sprite, "array" builds one
// sf::VertexArray of triangles per frame and draws it in one call. Vertical
// sync is requested; events are drained every frame.
// Usage: scene_sfml SPRITES [sprites|array]
#include <SFML/Graphics.hpp>

#include "Scene.h"

namespace {

// Six vertices per sprite into `vertices`, from the sprite's cell.
void AddQuad(sf::VertexArray& vertices, const scene::Sprite& s, const sf::Color& tint) {
  const float half = scene::kCell / 2.0f;
  const float left = static_cast<float>(s.frame * scene::kCell), right = left + scene::kCell;
  const float x0 = s.x - half, x1 = s.x + half, y0 = s.y - half, y1 = s.y + half;
  const sf::Vertex corners[4] = {{{x0, y0}, tint, {left, 0.0f}},
                                 {{x1, y0}, tint, {right, 0.0f}},
                                 {{x1, y1}, tint, {right, static_cast<float>(scene::kCell)}},
                                 {{x0, y1}, tint, {left, static_cast<float>(scene::kCell)}}};
  const int order[6] = {3, 2, 1, 3, 1, 0};
  for (int i : order) vertices.append(corners[i]);
}

}  // namespace

int main(int argc, char** argv) {
  scene::Args args = scene::ReadArgs(argc, argv, {"sprites", "array"});
  if (!args.ok) return 2;
  const bool array = std::strcmp(args.mode, "array") == 0;
  sf::RenderWindow window(sf::VideoMode(scene::kWindowWidth, scene::kWindowHeight), "sfml",
                          sf::Style::Titlebar | sf::Style::Close);
  window.setVerticalSyncEnabled(true);
  sf::Texture texture;
  if (!window.isOpen() || !texture.create(scene::kTextureSide, scene::kTextureSide)) {
    std::fprintf(stderr, "sfml: no window or no texture\n");
    return 1;
  }
  const std::vector<unsigned char> pixels = scene::MakeTexture();
  texture.update(pixels.data());
  const sf::Color tint(scene::kTintRed, scene::kTintGreen, scene::kTintBlue, scene::kTintAlpha);
  const sf::Color background(scene::kClearRed, scene::kClearGreen, scene::kClearBlue);
  const std::vector<scene::Sprite> sprites = scene::MakeSprites(args.sprites, scene::kWindowHeight);
  sf::Sprite sprite(texture);
  sprite.setColor(tint);
  sf::VertexArray vertices(sf::Triangles);
  const float half = scene::kCell / 2.0f;

  scene::TimeFrames(array ? "sfml-array" : "sfml", args, [&] {
    sf::Event event;
    while (window.pollEvent(event)) {
    }
    window.clear(background);
    if (array) {
      vertices.clear();
      for (const scene::Sprite& s : sprites) AddQuad(vertices, s, tint);
      window.draw(vertices, sf::RenderStates(&texture));
    } else {
      for (const scene::Sprite& s : sprites) {
        sprite.setTextureRect(sf::IntRect(s.frame * scene::kCell, 0, scene::kCell, scene::kCell));
        sprite.setPosition(s.x - half, s.y - half);
        window.draw(sprite);
      }
    }
    window.display();
  });
  return 0;
}
