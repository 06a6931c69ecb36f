// The sprite model: every panel element and track-side indicator is a sprite that shows (a pattern of) a named
// picture. The simulation and the handle logic change sprites; the renderer only reads them, lower Z first.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vesk::media {

struct Sprite {
  std::string picture;  // name of an ImageList entry
  double x = 0;
  double y = 0;
  int z = 0;
  int width = 0;
  int height = 0;
  int pattern = 0;
  bool visible = true;
  bool rotating = false;  // only rotating sprites use angle and alpha
  int angle = 0;          // 256 units a full turn, about the sprite's centre
  int alpha = 255;        // 0 transparent .. 255 opaque

  bool operator==(const Sprite&) const = default;
};

class SpriteEngine {
 public:
  using Id = std::size_t;

  Id add(Sprite sprite);
  Sprite& at(Id id) { return sprites_.at(id); }
  const Sprite& at(Id id) const { return sprites_.at(id); }
  // The sprite showing the named picture (letter case ignored), or nullptr.
  Sprite* findByPicture(std::string_view picture);
  // The id of the sprite showing the named picture. Ids stay valid for the engine's life, so the simulation looks
  // its sprites up once and not by name on every tick.
  std::optional<Id> idOf(std::string_view picture) const;
  const Sprite* findByPicture(std::string_view picture) const;
  // Replaces the sprite of the same picture, or adds one: a data file that names a picture twice keeps one.
  Id put(Sprite sprite);
  // Sprites in drawing order: by Z, sprites of equal Z in the order they were created.
  std::vector<const Sprite*> drawOrder() const;
  std::size_t size() const { return sprites_.size(); }
  void clear() { sprites_.clear(); }

 private:
  std::vector<Sprite> sprites_;
};

}  // namespace vesk::media
