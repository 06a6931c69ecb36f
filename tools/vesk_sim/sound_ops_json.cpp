#include "vesk_sim/sound_ops_json.h"

namespace vesk::tools {

void writeSoundOps(JsonWriter& w, media::SoundBank& bank) {
  w.beginArray();
  auto* recording = dynamic_cast<media::RecordingSoundBank*>(&bank);
  if (recording != nullptr) {
    for (const media::SoundRequest& r : recording->requests()) {
      w.beginArray();
      w.value(media::soundRequestName(r.kind));
      w.value(r.channel);
      switch (r.kind) {
      case media::SoundRequest::Kind::Bind:
        if (r.wave) {
          w.value(*r.wave);
        } else {
          w.null();
        }
        break;
      case media::SoundRequest::Kind::Volume:
        w.value(static_cast<std::int64_t>(r.value));
        break;
      case media::SoundRequest::Kind::Rate:
        w.value(r.value);
        break;
      default:
        break;
      }
      w.endArray();
    }
    recording->clearRequests();
  }
  w.endArray();
}

}  // namespace vesk::tools
