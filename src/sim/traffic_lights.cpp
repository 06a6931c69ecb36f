// Road traffic lights beside the line ("[TrafficSignal]"), where the line crosses a road on its own signals: each
// light cycles through six phases of its own durations. While the light is in view its sprite shows the phase's
// picture; once the train is past the midpoint of the light's two reference points, the indication beside it
// shows whether the train may go (with the "[TC]" text) or must wait, and the distance to the light is shown.
#include <QPainter>

#include <algorithm>
#include <cstdlib>

#include "core/rounding.h"
#include "sim/drive.h"
#include "sim/protection.h"

namespace vesk::sim {
namespace {

constexpr int kHideFrames = 15;
constexpr double kDistanceShown = 10000;  // cm: the distance text names a light 0-99 m ahead
constexpr int kPhases = 6;

int rowCount(const Drive& drive) { return std::min(drive.route.trafficSignalCount, data::kTrafficSignalCapacity); }

// Where the train must stop for the light: its second reference point, or its first when it has none.
double stopPosition(const data::TrafficSignalRow& row) {
  return static_cast<double>(row.frameB != 0 ? row.positionB : row.positionA);
}

}  // namespace

void startTrafficLights(Drive& drive) {
  for (int i = 0; i < rowCount(drive); ++i) {
    TrafficLightState& light = drive.line.trafficLights[static_cast<std::size_t>(i)];
    light.phase = 0;
    light.counter = drive.route.trafficSignals[static_cast<std::size_t>(i)].phases[0].duration;
  }
}

void addTrafficLightSprites(Drive& drive) {
  const auto& pictures = drive.pictures.trafficSignalImages.entries();
  if (rowCount(drive) == 0 || pictures.empty()) return;
  int cellWidth = 0;
  int cellHeight = 0;
  for (const media::ImageEntry& p : pictures) {
    cellWidth = std::max(cellWidth, p.image.width());
    cellHeight = std::max(cellHeight, p.image.height());
  }
  if (cellWidth <= 0 || cellHeight <= 0) return;
  QImage strip(cellWidth * static_cast<int>(pictures.size()), cellHeight, QImage::Format_ARGB32_Premultiplied);
  strip.fill(Qt::transparent);
  {
    QPainter painter(&strip);
    for (std::size_t k = 0; k < pictures.size(); ++k) {
      painter.drawImage(cellWidth * static_cast<int>(k), 0, pictures[k].image);
    }
  }
  const int w = drive.strings.viewWidth;
  const int h = drive.strings.viewHeight;
  const double x = static_cast<double>(core::even(0.05 * w));
  const double y = static_cast<double>(core::even(0.1 * h));
  int row = 0;
  for (const char* name : {kTrafficLightPicture, kTrafficIndicationPicture}) {
    drive.pictures.images.put(media::makeImageEntry(name, strip, false, 0, cellWidth, cellHeight));
    media::Sprite sprite;
    sprite.picture = name;
    sprite.x = x;
    sprite.y = y + row * (cellHeight + 8);
    sprite.z = 100;
    sprite.width = cellWidth;
    sprite.height = cellHeight;
    sprite.visible = false;
    drive.sprites.put(std::move(sprite));
    ++row;
  }
}

void trafficLightStep(Drive& drive) {
  const int n = rowCount(drive);
  if (n == 0) return;
  TrainState& s = drive.state;
  const data::RouteData& r = drive.route;
  const ProtectionSprites& ids = protectionSprites(drive);
  media::Sprite* lightSprite = spriteOf(drive, ids.trafficLight);
  bool lightShown = false;
  int indication = -1;
  bool mayGo = false;
  double nearest = kDistanceShown;
  for (int i = 0; i < n; ++i) {
    const data::TrafficSignalRow& row = r.trafficSignals[static_cast<std::size_t>(i)];
    TrafficLightState& light = drive.line.trafficLights[static_cast<std::size_t>(i)];
    light.counter -= 1;
    if (light.counter < 1) {
      light.phase = (light.phase + 1) % kPhases;
      light.counter = row.phases[static_cast<std::size_t>(light.phase)].duration;
    }
    const data::TrafficSignalPhase& phase = row.phases[static_cast<std::size_t>(light.phase)];
    // Both sprites leave the view as the train comes to the end of the light's range.
    const bool leaving = std::abs(static_cast<std::int64_t>(s.frame) - row.showTo) <= kHideFrames;
    if (!leaving && row.showFrom <= s.frame && s.frame < row.showTo) {
      lightShown = true;
      // A phase of no duration leaves the picture as it was.
      if (lightSprite != nullptr && phase.duration != 0) lightSprite->pattern = phase.picture;
    }
    const double midpoint = (static_cast<double>(row.positionA) + static_cast<double>(row.positionB)) / 2;
    if (!leaving && s.position > midpoint && s.frame <= row.lastFrame) {
      const bool go = phase.stopFlag != 1;
      indication = go ? row.goPicture : row.waitPicture;
      mayGo = mayGo || go;
    }
    const double distance = stopPosition(row) - s.position;
    if (distance >= 0 && distance < nearest) nearest = distance;
  }
  if (lightSprite != nullptr) lightSprite->visible = lightShown;
  if (media::Sprite* sprite = spriteOf(drive, ids.trafficIndication)) {
    sprite->visible = indication >= 0;
    if (indication >= 0) sprite->pattern = indication;
  }
  drive.texts.SpeedCheckText = mayGo ? drive.strings.tcText : std::string();
  if (nearest < kDistanceShown) {
    drive.texts.RemainText = drive.strings.stopsTexts[0] + " " + std::to_string(static_cast<int>(nearest / 100)) + "m";
  } else {
    drive.texts.RemainText.clear();
  }
}

}  // namespace vesk::sim
