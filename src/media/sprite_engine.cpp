#include "media/sprite_engine.h"

#include <algorithm>

#include "media/image_list.h"

namespace vesk::media {

SpriteEngine::Id SpriteEngine::add(Sprite sprite) {
  sprites_.push_back(std::move(sprite));
  return sprites_.size() - 1;
}

Sprite* SpriteEngine::findByPicture(std::string_view picture) {
  for (Sprite& s : sprites_) {
    if (sameNameIgnoringCase(s.picture, picture)) return &s;
  }
  return nullptr;
}

std::optional<SpriteEngine::Id> SpriteEngine::idOf(std::string_view picture) const {
  for (std::size_t i = 0; i < sprites_.size(); ++i) {
    if (sameNameIgnoringCase(sprites_[i].picture, picture)) return i;
  }
  return std::nullopt;
}

const Sprite* SpriteEngine::findByPicture(std::string_view picture) const {
  return const_cast<SpriteEngine*>(this)->findByPicture(picture);
}

SpriteEngine::Id SpriteEngine::put(Sprite sprite) {
  for (std::size_t i = 0; i < sprites_.size(); ++i) {
    if (sameNameIgnoringCase(sprites_[i].picture, sprite.picture)) {
      sprites_[i] = std::move(sprite);
      return i;
    }
  }
  return add(std::move(sprite));
}

std::vector<const Sprite*> SpriteEngine::drawOrder() const {
  std::vector<const Sprite*> order;
  order.reserve(sprites_.size());
  for (const Sprite& s : sprites_) order.push_back(&s);
  std::stable_sort(order.begin(), order.end(), [](const Sprite* a, const Sprite* b) { return a->z < b->z; });
  return order;
}

}  // namespace vesk::media
