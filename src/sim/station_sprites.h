// The panel lamps and track-side sprites the station logic switches every tick, each looked up by its picture
// name once (and again only after the engine has gained sprites), so that a tick does not search by name.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "media/sprite_engine.h"

namespace vesk::sim {

class SpriteRef {
 public:
  explicit SpriteRef(std::string_view picture) : picture_(picture) {}
  // The sprite showing the picture, or nullptr when the panel or the route has none.
  media::Sprite* get(media::SpriteEngine& engine) {
    if (resolvedAt_ != engine.size()) {
      id_ = engine.idOf(picture_);
      resolvedAt_ = engine.size();
    }
    return id_ ? &engine.at(*id_) : nullptr;
  }
  void show(media::SpriteEngine& engine, bool visible) {
    if (media::Sprite* sprite = get(engine)) sprite->visible = visible;
  }

 private:
  std::string picture_;
  std::size_t resolvedAt_ = static_cast<std::size_t>(-1);
  std::optional<media::SpriteEngine::Id> id_;
};

struct StationSprites {
  SpriteRef pilotLamp{"img_Lamp_Door"};  // lit while the doors are shut
  // The door-open lamps are the first two "[Others]" pictures: the first for the usual side, the second for
  // platforms whose door side is 1.
  SpriteRef doorLamp1{"img_other0"};
  SpriteRef doorLamp2{"img_other1"};
  SpriteRef stopAlertLamp{"img_Lamp_stopalert"};  // blinks during the station approach warning
  SpriteRef nameBoard{"img_unten_teimoku"};       // the station's board: pattern = station index + 1
  SpriteRef monitor{"img_mon"};                   // the cab monitor: pattern = the station shown
};

}  // namespace vesk::sim
