#include "demo_line/title_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <numbers>
#include <utility>

#include "demo_line/picture_canvas.h"

namespace vesk::demo {
namespace {

const QColor kLineColour(0x00, 0x8C, 0x95);
const QString kLineName = QStringLiteral("港湾線");
constexpr double kHorizon = 330;
constexpr double kRailY = 500;
constexpr double kCarLength = 230;

// The light of one time of day.
struct SceneTime {
  QColor skyTop;
  QColor skyHorizon;
  QColor grade;  // multiplies the colours of the land and the train
  QColor cloud;
  QPointF sun;
  double sunRadius;
  QColor sunColour;
  bool moon;
  double stars;  // 0 none .. 1 a clear night
  bool lights;   // windows and harbour lamps lit
};

const std::array<SceneTime, kTitleScenes> kTimes = {{
    {QColor(0x6F, 0xA4, 0xDC), QColor(0xF6, 0xD7, 0xB8), QColor(255, 242, 230), QColor(0xFF, 0xF0, 0xEA),
     QPointF(650, 250), 24, QColor(0xFF, 0xF0, 0xC8), false, 0, false},
    {QColor(0x2C, 0x74, 0xD0), QColor(0xB8, 0xDC, 0xF6), QColor(255, 255, 255), QColor(0xFF, 0xFF, 0xFF),
     QPointF(690, 80), 22, QColor(0xFF, 0xFC, 0xE8), false, 0, false},
    {QColor(0x3F, 0x84, 0xCC), QColor(0xF2, 0xE2, 0xB4), QColor(255, 240, 214), QColor(0xFF, 0xF6, 0xE4),
     QPointF(610, 170), 24, QColor(0xFF, 0xEC, 0xB0), false, 0, false},
    {QColor(0x38, 0x40, 0x7E), QColor(0xFF, 0x94, 0x48), QColor(232, 168, 132), QColor(0xFF, 0xB0, 0x90),
     QPointF(570, 312), 34, QColor(0xFF, 0xB0, 0x50), false, 0, false},
    {QColor(0x0E, 0x14, 0x36), QColor(0x7A, 0x5A, 0x8A), QColor(105, 100, 150), QColor(0x5A, 0x48, 0x78), QPointF(0, 0),
     0, QColor(), false, 0.35, true},
    {QColor(0x02, 0x04, 0x0E), QColor(0x14, 0x28, 0x48), QColor(48, 56, 92), QColor(0x20, 0x28, 0x40),
     QPointF(660, 110), 20, QColor(0xF4, 0xF0, 0xDC), true, 1, true},
}};

struct SceneTrain {
  TrainLook look;
  int cars;
  double left;
};

SceneTrain trainOf(int k) {
  switch (k % 3) {
  case 0:
    return {suburbanLook(), 3, 70};
  case 1:
    return {regionalLook(), 3, 70};
  default:
    return {dieselLook(), 2, 300};
  }
}

void drawCloud(QPainter& p, QPointF at, double size, QColor colour) {
  colour.setAlpha(190);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  QPainterPath cloud;
  cloud.addEllipse(at, size * 1.6, size * 0.45);
  cloud.addEllipse(at + QPointF(-size * 0.6, -size * 0.2), size * 0.7, size * 0.5);
  cloud.addEllipse(at + QPointF(size * 0.3, -size * 0.35), size * 0.8, size * 0.6);
  cloud.addEllipse(at + QPointF(size * 1.0, -size * 0.1), size * 0.6, size * 0.4);
  cloud.setFillRule(Qt::WindingFill);
  p.drawPath(cloud.simplified());
}

void paintSky(QImage& image, const SceneTime& t, int k) {
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, kHorizon + 40);
  sky.setColorAt(0, t.skyTop);
  sky.setColorAt(0.65, mixColours(t.skyTop, t.skyHorizon, 0.55));
  sky.setColorAt(1, t.skyHorizon);
  p.fillRect(image.rect(), sky);
  FixedRandom random(0x57A125u + static_cast<std::uint32_t>(k));
  const int stars = static_cast<int>(t.stars * 220);
  for (int i = 0; i < stars; ++i) {
    const QPointF at(random.uniform() * 800, random.uniform() * kHorizon * 0.9);
    const int light = 120 + static_cast<int>(random.uniform() * 135);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 240, light));
    p.drawEllipse(at, 0.7 + random.uniform(), 0.7 + random.uniform());
  }
  if (t.sunRadius > 0) {
    QRadialGradient glow(t.sun, t.sunRadius * 5);
    QColor halo = t.sunColour;
    halo.setAlpha(t.moon ? 50 : 110);
    glow.setColorAt(0, halo);
    halo.setAlpha(0);
    glow.setColorAt(1, halo);
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(t.sun, t.sunRadius * 5, t.sunRadius * 5);
    p.setBrush(t.sunColour);
    p.drawEllipse(t.sun, t.sunRadius, t.sunRadius);
    if (t.moon) {
      p.setBrush(QColor(0xD8, 0xD4, 0xC0));
      p.drawEllipse(t.sun + QPointF(-6, -5), 5, 4);
      p.drawEllipse(t.sun + QPointF(7, 6), 4, 3.5);
    }
  }
  if (t.stars < 1) {
    for (int i = 0; i < 5; ++i) {
      const QPointF at(60 + i * 170 + random.uniform() * 60, 60 + random.uniform() * 150);
      drawCloud(p, at, 22 + random.uniform() * 22, t.cloud);
    }
  }
}

// A hill line from x = from to x = to over `base`, filled down to `bottom`.
QPainterPath ridge(double from, double to, double base, double bottom, const std::function<double(double)>& height) {
  QPainterPath path;
  path.moveTo(from, bottom);
  for (double x = from; x <= to; x += 4) path.lineTo(x, base - height(x));
  path.lineTo(to, bottom);
  path.closeSubpath();
  return path;
}

void drawCrane(QPainter& p, double x, double ground, double scale) {
  p.setPen(QPen(QColor(0x8A, 0x5A, 0x4A), 2.2 * scale));
  p.drawLine(QPointF(x, ground), QPointF(x, ground - 60 * scale));
  p.drawLine(QPointF(x + 24 * scale, ground), QPointF(x + 24 * scale, ground - 60 * scale));
  p.drawLine(QPointF(x - 30 * scale, ground - 60 * scale), QPointF(x + 70 * scale, ground - 60 * scale));
  p.drawLine(QPointF(x + 12 * scale, ground - 78 * scale), QPointF(x - 30 * scale, ground - 60 * scale));
  p.drawLine(QPointF(x + 12 * scale, ground - 78 * scale), QPointF(x + 70 * scale, ground - 60 * scale));
  p.drawLine(QPointF(x, ground - 30 * scale), QPointF(x + 24 * scale, ground - 30 * scale));
}

void paintLand(QImage& land, int k) {
  QPainter p(&land);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  // The harbour: sea to the right, cranes and sheds on the far quay.
  QLinearGradient sea(0, kHorizon, 0, 420);
  sea.setColorAt(0, QColor(0x6A, 0x9C, 0xC8));
  sea.setColorAt(1, QColor(0x2E, 0x6A, 0xA0));
  p.setBrush(sea);
  p.drawRect(QRectF(300, kHorizon, 500, 120));
  p.setBrush(QColor(0x7E, 0x9E, 0x8C));  // the far shore, sloping into the sea
  p.drawPolygon(QPolygonF({QPointF(0, kHorizon), QPointF(440, kHorizon), QPointF(340, 440), QPointF(0, 440)}));
  p.setBrush(QColor(0x9A, 0xA4, 0xAE));
  p.drawRect(QRectF(600, kHorizon - 6, 200, 6));
  p.setBrush(QColor(0xB4, 0xB8, 0xBC));
  p.drawRect(QRectF(700, kHorizon - 20, 40, 14));
  p.drawRect(QRectF(750, kHorizon - 16, 46, 10));
  drawCrane(p, 620, kHorizon - 6, 0.8);
  drawCrane(p, 672, kHorizon - 6, 0.7);
  // Far hills in the haze, sinking towards the sea, then the nearer green ones.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x86, 0xA2, 0xB4));
  p.drawPath(ridge(0, 600, kHorizon + 4, kHorizon + 4, [](double x) {
    const double fade = std::clamp((600 - x) / 260, 0.0, 1.0);
    return (70 + 30 * std::sin(x * 0.012 + 0.5) + 14 * std::sin(x * 0.037)) * fade * fade * (3 - 2 * fade);
  }));
  p.setBrush(QColor(0x5C, 0x86, 0x4A));
  p.drawPath(ridge(0, 800, 430, 600, [](double x) {
    return 50 + 22 * std::sin(x * 0.009 + 1.2) + 10 * std::sin(x * 0.023) - std::max(0.0, x - 300) * 0.16;
  }));
  // Wind turbines on the green ridge.
  for (const auto& [x, foot] : {std::pair{96.0, 374.0}, std::pair{150.0, 368.0}}) {
    p.setPen(QPen(QColor(0xE8, 0xEC, 0xF0), 2));
    p.drawLine(QPointF(x, foot), QPointF(x, foot - 46));
    p.setPen(QPen(QColor(0xE8, 0xEC, 0xF0), 1.6, Qt::SolidLine, Qt::RoundCap));
    for (int b = 0; b < 3; ++b) {
      const double a = (x + b * 120) * std::numbers::pi / 180;
      p.drawLine(QPointF(x, foot - 46), QPointF(x + 20 * std::sin(a), foot - 46 - 20 * std::cos(a)));
    }
  }
  p.setPen(Qt::NoPen);
  QLinearGradient field(0, 440, 0, 600);
  field.setColorAt(0, QColor(0x6E, 0x9A, 0x48));
  field.setColorAt(1, QColor(0x3C, 0x62, 0x28));
  p.setBrush(field);
  p.drawRect(QRectF(0, 440, 800, 160));
  // Overhead line poles, the messenger and the contact wire the pantograph touches.
  p.setPen(QPen(QColor(0x6A, 0x6E, 0x74), 4));
  for (double x = 30; x < 800; x += 190) {
    p.drawLine(QPointF(x, kRailY), QPointF(x, kRailY - 112));
    p.drawLine(QPointF(x - 2, kRailY - 102), QPointF(x + 34, kRailY - 102));
  }
  p.setPen(QPen(QColor(0x40, 0x44, 0x48), 1));
  p.drawLine(QPointF(0, kRailY - 100), QPointF(800, kRailY - 100));
  p.setPen(QPen(QColor(0x40, 0x44, 0x48), 1.4));
  p.drawLine(QPointF(0, kRailY - kCarLength * 0.285), QPointF(800, kRailY - kCarLength * 0.285));
  // Ballast and rail.
  p.setPen(Qt::NoPen);
  QLinearGradient ballast(0, kRailY, 0, kRailY + 26);
  ballast.setColorAt(0, QColor(0x9A, 0x92, 0x86));
  ballast.setColorAt(1, QColor(0x6A, 0x62, 0x58));
  p.setBrush(ballast);
  p.drawPolygon(QPolygonF(
      {QPointF(0, kRailY + 1), QPointF(800, kRailY + 1), QPointF(800, kRailY + 26), QPointF(0, kRailY + 26)}));
  p.setBrush(QColor(0xA8, 0xAC, 0xB2));
  p.drawRect(QRectF(0, kRailY - 1, 800, 3));
  const SceneTrain train = trainOf(k);
  drawTrain(p, train.left, kRailY - 1, kCarLength, train.cars, train.look);
  // Grass in the foreground, with a deterministic scatter of tufts.
  FixedRandom random(0x6A55u + static_cast<std::uint32_t>(k));
  QLinearGradient grass(0, kRailY + 26, 0, 600);
  grass.setColorAt(0, QColor(0x4E, 0x7A, 0x34));
  grass.setColorAt(1, QColor(0x2C, 0x4C, 0x1E));
  p.setBrush(grass);
  p.drawRect(QRectF(0, kRailY + 26, 800, 600 - kRailY - 26));
  p.setPen(QPen(QColor(0x6A, 0x96, 0x40), 1.4));
  for (int i = 0; i < 260; ++i) {
    const QPointF root(random.uniform() * 800, kRailY + 34 + random.uniform() * 80);
    p.drawLine(root, root + QPointF(random.uniform() * 6 - 3, -4 - random.uniform() * 6));
  }
}

void grade(QImage& layer, QColor by) {
  for (int y = 0; y < layer.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(layer.scanLine(y));
    for (int x = 0; x < layer.width(); ++x) {
      const QRgb c = line[x];
      line[x] = qRgba(qRed(c) * by.red() / 255, qGreen(c) * by.green() / 255, qBlue(c) * by.blue() / 255, qAlpha(c));
    }
  }
}

void paintLights(QPainter& p, int k) {
  const SceneTrain train = trainOf(k);
  drawTrainLights(p, train.left, kRailY - 1, kCarLength, train.cars);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  // Quay lamps and their reflections in the water.
  for (double x : {610.0, 640.0, 700.0, 730.0, 770.0}) {
    QRadialGradient lamp(QPointF(x, kHorizon - 8), 6);
    lamp.setColorAt(0, QColor(0xFF, 0xE8, 0xA0, 255));
    lamp.setColorAt(1, QColor(0xFF, 0xE8, 0xA0, 0));
    p.setBrush(lamp);
    p.drawEllipse(QPointF(x, kHorizon - 8), 6, 6);
    p.setBrush(QColor(0xFF, 0xE0, 0x90, 50));
    p.drawRect(QRectF(x - 1, kHorizon + 4, 2, 16));
  }
}

// The low sun or the moon glittering on the sea below it.
void paintReflection(QPainter& p, const SceneTime& t, int k) {
  if (t.sunRadius <= 0 || (!t.moon && t.sun.y() < 280)) return;
  p.save();
  p.setClipRect(QRectF(440, kHorizon + 2, 360, 404 - kHorizon));
  p.setRenderHint(QPainter::Antialiasing);
  FixedRandom random(0x5EAu + static_cast<std::uint32_t>(k));
  for (double y = kHorizon + 4; y < 404; y += 5) {
    const double depth = (y - kHorizon) / (404 - kHorizon);
    const double width = 10 + depth * 40 * random.uniform();
    QColor glint = t.sunColour;
    glint.setAlpha(static_cast<int>(170 - depth * 120));
    p.setPen(QPen(glint, 1.6, Qt::SolidLine, Qt::RoundCap));
    const double x = t.sun.x() + (random.uniform() - 0.5) * 14;
    p.drawLine(QPointF(x - width / 2, y), QPointF(x + width / 2, y));
  }
  p.restore();
}

void paintTitleText(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  const QFont big = japaneseFont(120, true);
  const QFont name = japaneseFont(66, true);
  for (const auto& [offset, colour] :
       {std::pair{QPointF(4, 5), QColor(0, 0, 0, 110)}, std::pair{QPointF(), QColor(Qt::white)}}) {
    p.setPen(colour);
    drawLeftText(p, QPointF(44, 100) + offset, QStringLiteral("VESK"), big);
    drawLeftText(p, QPointF(50, 210) + offset, kLineName, name);
  }
  p.fillRect(QRectF(50, 252, 236, 4), kLineColour);
  p.setPen(QColor(0, 0, 0, 110));
  drawLeftText(p, QPointF(52, 280), QStringLiteral("KŌWAN LINE  運転シミュレータ"), japaneseFont(19, true));
  p.setPen(Qt::white);
  drawLeftText(p, QPointF(50, 278), QStringLiteral("KŌWAN LINE  運転シミュレータ"), japaneseFont(19, true));
}

}  // namespace

QImage titleScenePicture(int k) {
  const SceneTime& t = kTimes[static_cast<std::size_t>(k % kTitleScenes)];
  QImage image(800, 600, QImage::Format_RGB32);
  paintSky(image, t, k);
  QImage land = transparentCanvas(800, 600);
  paintLand(land, k);
  grade(land, t.grade);
  QPainter p(&image);
  p.drawImage(0, 0, land);
  paintReflection(p, t, k);
  if (t.lights) paintLights(p, k);
  paintTitleText(p);
  return image;
}

QImage lineButtonPicture(int k, const std::vector<RouteStop>& stops) {
  const bool down = k < 3;
  const std::array<QString, 3> services = {QStringLiteral("各駅停車"), QStringLiteral("快速"), QStringLiteral("直通")};
  const std::array<QColor, 3> serviceColours = {QColor(0xFF, 0xFF, 0xFF), QColor(0xFF, 0xA8, 0x40),
                                                QColor(0xD0, 0xA0, 0xFF)};
  QImage button(240, 56, QImage::Format_RGB32);
  QPainter p(&button);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient back(0, 0, 0, 56);
  back.setColorAt(0, QColor(0x24, 0x44, 0x66));
  back.setColorAt(1, QColor(0x0E, 0x20, 0x36));
  p.fillRect(button.rect(), back);
  const QColor direction = down ? kLineColour : QColor(0xD0, 0x78, 0x18);
  p.fillRect(QRectF(0, 0, 58, 56), direction);
  p.fillRect(QRectF(0, 0, 240, 1), QColor(0x5A, 0x7A, 0x9A));
  p.fillRect(QRectF(0, 55, 240, 1), QColor(0x06, 0x0E, 0x18));
  p.setPen(Qt::white);
  drawCentredText(p, QPointF(29, 20), down ? QStringLiteral("下り") : QStringLiteral("上り"), japaneseFont(18, true));
  drawCentredText(p, QPointF(29, 41), down ? QStringLiteral("▼") : QStringLiteral("▲"), japaneseFont(11, true));
  const std::size_t service = static_cast<std::size_t>(k % 3);
  p.setPen(serviceColours[service]);
  drawLeftText(p, QPointF(72, 21), services[service], japaneseFont(22, true));
  if (!stops.empty()) {
    p.setPen(QColor(0xC0, 0xD0, 0xE0));
    const QString to = (down ? stops.back().name : stops.front().name) + QStringLiteral(" ゆき");
    drawLeftText(p, QPointF(73, 43), to, japaneseFont(13));
  }
  p.setPen(QColor(0x8A, 0xA8, 0xC8));
  drawCentredText(p, QPointF(224, 28), QStringLiteral("›"), japaneseFont(26, true));
  return button;
}

QImage trainPlatePicture(int k) {
  const std::array<QString, 3> names = {QStringLiteral("VK500形"), QStringLiteral("VK700形"),
                                        QStringLiteral("VK100/400形")};
  const std::array<QString, 3> kinds = {QStringLiteral("通勤形電車"), QStringLiteral("近郊形電車"),
                                        QStringLiteral("気動車")};
  const std::array<TrainLook, 3> looks = {suburbanLook(), regionalLook(), dieselLook()};
  const std::size_t i = static_cast<std::size_t>(k % 3);
  QImage plate(220, 40, QImage::Format_RGB32);
  QPainter p(&plate);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient back(0, 0, 0, 40);
  back.setColorAt(0, QColor(0x2A, 0x30, 0x38));
  back.setColorAt(1, QColor(0x14, 0x18, 0x1E));
  p.fillRect(plate.rect(), back);
  p.fillRect(QRectF(0, 0, 220, 1), QColor(0x5A, 0x62, 0x6C));
  drawTrainFront(p, QRectF(28, 4, 32, 32), looks[i]);
  p.setPen(Qt::white);
  drawLeftText(p, QPointF(92, 14), names[i], fittedFont(names[i], 124, 18, 17, true));
  p.setPen(QColor(0xA8, 0xB4, 0xC0));
  drawLeftText(p, QPointF(93, 31), kinds[i], japaneseFont(11));
  return plate;
}

QImage menuBackgroundPicture(const std::vector<RouteStop>& stops) {
  QImage image(800, 600, QImage::Format_RGB32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient back(0, 0, 800, 600);
  back.setColorAt(0, QColor(0x0E, 0x24, 0x3E));
  back.setColorAt(1, QColor(0x06, 0x3A, 0x44));
  p.fillRect(image.rect(), back);
  // A faint rail running along the foot of the picture.
  p.fillRect(QRectF(0, 586, 800, 3), QColor(0x30, 0x5A, 0x6A));
  p.fillRect(QRectF(0, 0, 800, 6), kLineColour);
  p.setPen(Qt::white);
  drawLeftText(p, QPointF(50, 46), kLineName, japaneseFont(40, true));
  p.setPen(QColor(0xC8, 0xD8, 0xE8));
  drawLeftText(p, QPointF(190, 52), QStringLiteral("運転する列車を選んでください"), japaneseFont(16));
  p.setPen(QColor(0xFF, 0xFF, 0xFF, 150));
  drawLeftText(p, QPointF(660, 46), QStringLiteral("VESK"), japaneseFont(34, true));
  RouteMapStyle style;
  style.line = kLineColour;
  style.text = Qt::white;
  style.passed = QColor(0x70, 0x7C, 0x8A);
  style.highlight = QColor(0xFF, 0xA8, 0x20);
  style.nameSize = 13;
  drawRouteStrip(p, QRectF(40, 84, 720, 56), stops, -1, style);
  p.setPen(QColor(0xC8, 0xD8, 0xE8));
  if (!stops.empty()) {
    drawLeftText(p, QPointF(50, 164), QStringLiteral("下り  ") + stops.back().name + QStringLiteral("方面"),
                 japaneseFont(15, true));
    drawLeftText(p, QPointF(385, 164), QStringLiteral("上り  ") + stops.front().name + QStringLiteral("方面"),
                 japaneseFont(15, true));
  }
  drawLeftText(p, QPointF(370, 412), QStringLiteral("車両"), japaneseFont(15, true));
  p.fillRect(QRectF(50, 174, 280, 1), QColor(0x3A, 0x6A, 0x7A));
  p.fillRect(QRectF(385, 174, 280, 1), QColor(0x3A, 0x6A, 0x7A));
  p.fillRect(QRectF(370, 422, 220, 1), QColor(0x3A, 0x6A, 0x7A));
  return image;
}

}  // namespace vesk::demo
