#include "vesk_sim/state_json.h"

#include <algorithm>

#include "media/image_list.h"
#include "sim/state_fields.h"
#include "vesk_sim/json_tables.h"
#include "vesk_sim/sound_ops_json.h"

namespace vesk::tools {
namespace {

class FieldWriter {
 public:
  explicit FieldWriter(JsonWriter& w) : w_(w) {}
  template <class T> void operator()(std::string_view name, const T& value) {
    w_.key(name);
    write(value);
  }

 private:
  void write(std::uint8_t v) { w_.value(static_cast<int>(v)); }
  void write(std::int32_t v) { w_.value(v); }
  void write(double v) { w_.value(v); }
  void write(core::Fixed v) { w_.value(v); }
  void write(const std::string& v) { w_.value(v); }
  void write(const std::vector<double>& values) {
    w_.beginArray();
    for (double v : values) w_.value(v);
    w_.endArray();
  }
  template <std::size_t N> void write(const std::array<std::int32_t, N>& values) {
    w_.beginArray();
    for (std::int32_t v : values) w_.value(v);
    w_.endArray();
  }
  JsonWriter& w_;
};

}  // namespace

std::string stateLine(sim::Drive& drive, std::int64_t timeMs, std::int64_t tick) {
  JsonWriter w;
  w.beginObject();
  w.field("t_ms", timeMs);
  w.field("tick", tick);
  FieldWriter fields(w);
  sim::visitTrainStateFields(drive.state, fields);
  sim::visitControlStateFields(drive.control, fields);
  w.field("reverserText", drive.handleTexts.reverserText);
  w.field("powerText", drive.handleTexts.powerText);
  w.field("brakeText", drive.handleTexts.brakeText);
  w.field("gearText", drive.handleTexts.gearText);
  sim::visitOverlayTexts(drive.texts, fields);
  // Signals and train protection.
  w.key("signalAspects");
  w.beginArray();
  for (int i = 0; i < std::min(drive.route.signalCount, data::kSignalCapacity); ++i) {
    w.value(drive.line.signals[static_cast<std::size_t>(i)].aspect);
  }
  w.endArray();
  // The phase (1-6) of each road traffic light.
  w.key("trafficLightPhases");
  w.beginArray();
  for (int i = 0; i < std::min(drive.route.trafficSignalCount, data::kTrafficSignalCapacity); ++i) {
    w.value(drive.line.trafficLights[static_cast<std::size_t>(i)].phase + 1);
  }
  w.endArray();

  // Stations and call-outs.
  w.key("stationFlags");
  w.beginArray();
  for (int i = 0; i < drive.route.stationCount && i < data::kStationCapacity; ++i) {
    const sim::StationState& f = drive.line.stations[static_cast<std::size_t>(i)];
    w.beginObject();
    w.field("inPlatform", static_cast<int>(f.inPlatform));
    w.field("arrived", static_cast<int>(f.arrived));
    w.field("stopNoticed", static_cast<int>(f.stopNoticed));
    w.field("departureAnnounced", static_cast<int>(f.departureAnnounced));
    w.field("served", static_cast<int>(f.served));
    w.endObject();
  }
  w.endArray();
  w.field("doorStatusText", drive.doorStatusText);
  // The call-outs waiting, head first (the head may be playing).
  w.key("calloutQueue");
  w.beginArray();
  for (const std::string& file : drive.callOutQueue.files()) w.value(file);
  w.endArray();

  // Sounds.
  w.key("soundOps");
  writeSoundOps(w, drive.sounds);

  // The panel's sprites.

  // The panel lamps are the "img_Lamp_" sprites; a lamp is lit while its sprite is visible.
  w.key("lamps");
  w.beginArray();
  for (const media::Sprite* sprite : drive.sprites.drawOrder()) {
    if (sprite->visible && media::sameNameIgnoringCase(sprite->picture.substr(0, 9), "img_Lamp_")) {
      w.value(sprite->picture);
    }
  }
  w.endArray();
  // The window commands raised since the previous line.
  w.key("uiEvents");
  w.beginArray();
  for (const std::string& command : drive.uiEvents) w.value(command);
  w.endArray();
  drive.uiEvents.clear();
  w.endObject();
  return w.str();
}

}  // namespace vesk::tools
