#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "demo_line/panel_layout.h"
#include "demo_line/picture_canvas.h"
#include "demo_line/picture_files.h"
#include "demo_line/pictures.h"
#include "demo_line/signal_pictures.h"
#include "media/image_list.h"
#include "media/picture_loader.h"
#include "support/temp_dir.h"

namespace vesk::demo {
namespace {

namespace fs = std::filesystem;

// Text needs fonts, and fonts need a QGuiApplication: one for the whole test program, made on first use.
void needGuiApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "vesk_tests";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = new QGuiApplication(argc, argv);  // kept until the program ends
  (void)app;
}

PictureInputs testInputs() {
  PictureInputs in;
  in.slopesDown = {8, 25, -15, 0, 2.5};
  in.slopesUp = {-25, 20};
  in.stations = {"青葉台", "桜川", "大滝", "北原", "港町"};
  in.limits = {60, 75, 45};
  return in;
}

std::string fileName(const std::string& dataName) {
  std::string name = dataName;
  std::replace(name.begin(), name.end(), '\\', '/');
  return name;
}

std::string readBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The pack is written once for all the tests that only read it.
class PicturePack : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    needGuiApplication();
    dir_ = new test::TempDir();
    writePictures(dir_->path(), testInputs());
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  static fs::path root() { return dir_->path(); }
  static QImage load(const std::string& dataName) {
    const auto picture = media::loadPicture(root() / fileName(dataName));
    return picture ? *picture : QImage();
  }

 private:
  static test::TempDir* dir_;
};

test::TempDir* PicturePack::dir_ = nullptr;

// ---- Every promised file, its size and its cells.

enum class Keying { Opaque, KeyColour, Black };

struct Promised {
  std::string file;
  int width = 0;
  int height = 0;
  int cellW = 0;  // 0: one pattern
  int cellH = 0;
  int patterns = 1;
  Keying keying = Keying::Opaque;
};
void PrintTo(const Promised& promised, std::ostream* out) { *out << promised.file; }

std::vector<Promised> promisedPictures() {
  const PictureInputs in = testInputs();
  const int stations = static_cast<int>(in.stations.size());
  std::vector<Promised> out;
  for (const PanelLayout& l : panelLayouts()) {
    out.push_back({l.panel, 800, 400, 0, 0, 1, Keying::Opaque});
    out.push_back({l.panel2, 800, 400, 0, 0, 1, Keying::KeyColour});
    for (const Gauge& g : l.gauges) out.push_back({g.needle, 2 * g.r, 2 * g.r, 0, 0, 1, Keying::KeyColour});
    for (const Lamp& lamp : l.lamps) out.push_back({lamp.picture, lamp.w, lamp.h, 0, 0, 1, Keying::KeyColour});
    for (const Strip& s : l.strips) {
      const int n = static_cast<int>(s.cells.size());
      out.push_back({s.picture, n * s.cellW, s.cellH, s.cellW, s.cellH, n, Keying::KeyColour});
    }
    if (!l.digiSpeed.empty()) {
      out.push_back({l.digiSpeed, 20 * l.digiW, 10 * l.digiH, l.digiW, l.digiH, 200, Keying::KeyColour});
    }
  }
  const std::string track = "image\\track\\";
  out.push_back({track + "teimoku.bmp", 11 * 64, 64, 64, 64, 11, Keying::KeyColour});
  for (const char* line : {"line_s.bmp", "line_m.bmp", "line_e.bmp"}) out.push_back({track + line, 800, 4});
  const int down = static_cast<int>(in.slopesDown.size()) + 1;
  const int up = static_cast<int>(in.slopesUp.size()) + 1;
  const int limits = static_cast<int>(in.limits.size()) + 2;
  out.push_back({track + "slope_down.bmp", down * 64, 64, 64, 64, down, Keying::KeyColour});
  out.push_back({track + "slope_up.bmp", up * 64, 64, 64, 64, up, Keying::KeyColour});
  out.push_back({track + "limit.bmp", limits * 64, 64, 64, 64, limits, Keying::KeyColour});
  out.push_back({track + "remain.bmp", 64, 900, 16, 900, 4, Keying::Black});
  out.push_back({track + "other.bmp", 8 * 64, 64, 64, 64, 8, Keying::KeyColour});
  out.push_back({track + "signal.bmp", 480, 560, 48, 112, 50, Keying::KeyColour});
  for (const char* sub : {"signal_s.bmp", "signal_l.bmp", "signal_r.bmp"}) {
    out.push_back({track + sub, 128, 32, 32, 32, 4, Keying::KeyColour});
  }
  for (int k = 0; k < 14; ++k)
    out.push_back({track + "anim_" + std::to_string(k) + ".bmp", 100, 75, 0, 0, 1, Keying::KeyColour});
  out.push_back({track + "cross_0.bmp", 100, 75, 0, 0, 1, Keying::KeyColour});
  out.push_back({track + "cross_1.bmp", 100, 75, 0, 0, 1, Keying::KeyColour});
  out.push_back({"image\\monitor.bmp", 240 * (stations + 1), 150, 240, 150, stations + 1, Keying::KeyColour});
  out.push_back({"image\\staf\\overlay.bmp", 460, 497, 0, 0, 1, Keying::KeyColour});
  out.push_back({"image\\staf\\standby.bmp", 800, 450});
  out.push_back({"image\\staf\\subdisp.bmp", 480, 360});
  for (int k = 1; k <= 6; ++k) out.push_back({"image\\title\\line0" + std::to_string(k) + ".bmp", 240, 56});
  for (int k = 1; k <= 3; ++k) out.push_back({"image\\title\\train0" + std::to_string(k) + ".bmp", 220, 40});
  for (int k = 1; k <= 6; ++k) out.push_back({"image\\title\\title0" + std::to_string(k) + ".jpg", 800, 600});
  out.push_back({"image\\title\\title2.jpg", 800, 600});
  return out;
}

class PromisedPicture : public PicturePack, public testing::WithParamInterface<Promised> {};

TEST_P(PromisedPicture, DecodesWithItsSizeCellsAndTransparentColour) {
  const Promised& want = GetParam();
  const fs::path file = root() / fileName(want.file);
  ASSERT_TRUE(fs::exists(file)) << file;
  const std::string bytes = readBytes(file);
  if (file.extension() == ".jpg") {
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xD8);
  } else {
    // An uncompressed BMP of 24 bits a pixel.
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<unsigned char>(bytes[28]), 24);
    EXPECT_EQ(bytes[30], 0);
  }
  const auto picture = media::decodePicture(bytes);
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(picture->width(), want.width);
  EXPECT_EQ(picture->height(), want.height);
  const QRgb transparent = media::bottomLeftColour(*picture);
  const media::ImageEntry entry =
      media::makeImageEntry(want.file, *picture, want.keying != Keying::Opaque, transparent, want.cellW, want.cellH);
  EXPECT_EQ(entry.patternCount(), want.patterns);
  if (want.keying == Keying::KeyColour) {
    EXPECT_EQ(transparent, kKeyColour);
  }
}

std::string testName(const testing::TestParamInfo<Promised>& info) {
  std::string name = info.param.file;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Pack, PromisedPicture, testing::ValuesIn(promisedPictures()), testName);

// ---- The key colour stands exactly where the picture is meant to be see-through.

bool isKey(const QImage& picture, QPoint at) { return picture.pixel(at) == kKeyColour; }

int keyPixels(const QImage& picture, QRect area) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) n += isKey(picture, {x, y});
  }
  return n;
}

struct SpotCase {
  const char* name;
  std::string file;
  QPoint at;
  bool transparent;
};
void PrintTo(const SpotCase& testCase, std::ostream* out) { *out << testCase.name; }

class PictureKeySpot : public PicturePack, public testing::WithParamInterface<SpotCase> {};

TEST_P(PictureKeySpot, KeyColourOnlyWhereMeant) {
  const SpotCase& c = GetParam();
  const QImage picture = load(c.file);
  ASSERT_FALSE(picture.isNull()) << c.file;
  EXPECT_EQ(isKey(picture, c.at), c.transparent) << c.file << " at " << c.at.x() << "," << c.at.y();
}

std::vector<SpotCase> spotCases() {
  const PanelLayout& vk500 = panelLayout("vk500");
  const Gauge& speed = vk500.gauges.front();
  const int r = speed.r;
  const Lamp& door = vk500.lamps.front();
  const Strip& notch = vk500.strips.front();
  const QPoint redLamp = signalLampCentre(4, 2);
  return {
      {"needle_hub", speed.needle, {r, r}, false},
      {"needle_pointer_half_way_up", speed.needle, {r, r / 2}, false},
      {"needle_pointer_near_tip", speed.needle, {r, r / 5 + 2}, false},
      {"needle_beside_pointer", speed.needle, {r / 2, r}, true},
      {"needle_below_tail", speed.needle, {r, r + r * 3 / 4}, true},
      {"needle_top_left", speed.needle, {0, 0}, true},
      {"needle_top_right", speed.needle, {2 * r - 1, 0}, true},
      {"needle_bottom_right", speed.needle, {2 * r - 1, 2 * r - 1}, true},
      {"lamp_middle", door.picture, {door.w / 2, door.h / 2}, false},
      {"lamp_bottom_left", door.picture, {0, door.h - 1}, true},
      {"strip_cell_middle", notch.picture, {notch.cellW / 2, notch.cellH / 2}, false},
      {"strip_cell_corner", notch.picture, {notch.cellW, 0}, true},
      {"digital_cell_middle", vk500.digiSpeed, {vk500.digiW + vk500.digiW / 2, vk500.digiH / 2}, false},
      {"signal_cell_zero", "image\\track\\signal.bmp", {24, 50}, true},
      {"signal_lamp", "image\\track\\signal.bmp", {4 % 10 * 48 + redLamp.x(), 4 / 10 * 112 + redLamp.y()}, false},
      {"signal_post", "image\\track\\signal.bmp", {4 * 48 + 24, 110}, false},
      {"signal_beside_post", "image\\track\\signal.bmp", {4 * 48 + 4, 110}, true},
      {"stop_target_board", "image\\track\\teimoku.bmp", {64 + 32, 20}, false},
      {"stop_target_corner", "image\\track\\teimoku.bmp", {64 + 1, 62}, true},
      {"stop_target_cell_zero", "image\\track\\teimoku.bmp", {32, 20}, true},
      {"limit_board", "image\\track\\limit.bmp", {64 + 32, 20}, false},
      {"monitor_screen", "image\\monitor.bmp", {120, 75}, false},
      {"monitor_corner", "image\\monitor.bmp", {0, 0}, true},
      {"overlay_card", "image\\staf\\overlay.bmp", {230, 250}, false},
      {"overlay_corner", "image\\staf\\overlay.bmp", {0, 0}, true},
      {"turbine_tower", "image\\track\\anim_0.bmp", {50, 60}, false},
      {"turbine_sky", "image\\track\\anim_0.bmp", {5, 5}, true},
      {"crossing_post", "image\\track\\cross_1.bmp", {30, 70}, false},
      {"crossing_sky", "image\\track\\cross_1.bmp", {90, 5}, true},
      {"indicator_plate", "image\\track\\signal_s.bmp", {32 + 4, 16}, false},
      {"indicator_cell_zero", "image\\track\\signal_s.bmp", {16, 16}, true},
  };
}

INSTANTIATE_TEST_SUITE_P(Pack, PictureKeySpot, testing::ValuesIn(spotCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PicturePack, EmptyCellsAreWhollyTransparent) {
  for (const char* file : {"image\\track\\signal.bmp", "image\\track\\teimoku.bmp", "image\\track\\slope_down.bmp",
                           "image\\track\\limit.bmp", "image\\track\\other.bmp", "image\\track\\signal_l.bmp"}) {
    const QImage picture = load(file);
    ASSERT_FALSE(picture.isNull()) << file;
    const int side = picture.height() == 560 ? 48 : picture.height();
    const QRect cell(0, 0, side, picture.height() == 560 ? 112 : side);
    EXPECT_EQ(keyPixels(picture, cell), cell.width() * cell.height()) << file;
  }
}

TEST_F(PicturePack, TunnelOverlayIsOpaqueButForItsCornerPixel) {
  for (const PanelLayout& l : panelLayouts()) {
    const QImage dark = load(l.panel2);
    const QImage panel = load(l.panel);
    ASSERT_FALSE(dark.isNull());
    EXPECT_EQ(keyPixels(dark, dark.rect()), 1) << l.family;
    // A darker version of the same panel.
    const QPoint face(l.gauges.front().cx, l.gauges.front().cy - 450);
    EXPECT_LT(qGray(dark.pixel(face)), qGray(panel.pixel(face)) / 2) << l.family;
  }
}

TEST_F(PicturePack, RemainingDistanceBarIsBlackAboveAndColouredBelow) {
  const QImage bar = load("image\\track\\remain.bmp");
  ASSERT_FALSE(bar.isNull());
  for (int cell = 0; cell < 4; ++cell) {
    const QRect upper(cell * 16, 0, 16, 450);
    int black = 0;
    for (int y = upper.top(); y <= upper.bottom(); ++y) {
      for (int x = upper.left(); x <= upper.right(); ++x) black += (bar.pixel(x, y) & 0xFFFFFF) == 0;
    }
    EXPECT_EQ(black, 16 * 450) << "cell " << cell;
  }
  // Green, yellow, orange, red: the green share falls from cell to cell while red stays high.
  int lastGreen = 256;
  for (int cell = 0; cell < 4; ++cell) {
    const QRgb c = bar.pixel(cell * 16 + 7, 700);
    EXPECT_NE(c & 0xFFFFFF, 0u);
    EXPECT_LT(qGreen(c), lastGreen) << "cell " << cell;
    lastGreen = qGreen(c);
    if (cell > 0) {
      EXPECT_GT(qRed(c), 200) << "cell " << cell;
    }
  }
  EXPECT_LT(qRed(bar.pixel(7, 700)), qGreen(bar.pixel(7, 700)));
}

// ---- Signals.

// The signal picture table: head type (rows) x aspect (columns), without the fast-train variants.
constexpr int kSignalTable[10][6] = {{1, 2, 2, 2, 3, 3},       {4, 4, 4, 5, 6, 6},       {7, 7, 8, 8, 9, 9},
                                     {10, 10, 11, 11, 12, 12}, {13, 13, 14, 15, 16, 16}, {17, 18, 19, 19, 20, 20},
                                     {21, 22, 23, 24, 25, 25}, {26, 26, 27, 27, 28, 28}, {30, 30, 31, 32, 33, 33},
                                     {35, 36, 37, 38, 39, 40}};

// What the train protection reads from each pattern number.
std::map<int, std::string> meanings() {
  std::map<int, std::string> m;
  for (int p : {1, 4, 7, 10, 13, 17, 21, 26, 30}) m[p] = "R";
  for (int p : {18, 22}) m[p] = "YY";
  for (int p : {2, 5, 8, 11, 14, 19, 23, 27, 31}) m[p] = "Y";
  for (int p : {15, 24, 32}) m[p] = "YG";
  for (int p : {3, 6, 9, 12, 16, 20, 25, 28, 33}) m[p] = "G";
  for (int p : {29, 34}) m[p] = "GG";
  const char* speeds[] = {"0", "25", "45", "65", "75", "90"};
  for (int p = 35; p <= 40; ++p) m[p] = speeds[p - 35];
  return m;
}

// The lit lamps of a head read top to bottom, dark ones left out.
std::string litLamps(const std::string& lamps) {
  std::string lit;
  for (char c : lamps) {
    if (c != '-') lit += c;
  }
  return lit;
}

TEST(SignalPicturePatterns, NumberedOneToFortyInTheHeadsOfTheTable) {
  const std::vector<SignalPattern> patterns = signalPatterns();
  ASSERT_EQ(patterns.size(), 40u);
  for (std::size_t i = 0; i < patterns.size(); ++i) EXPECT_EQ(patterns[i].pattern, static_cast<int>(i) + 1);
  for (int type = 0; type < 10; ++type) {
    for (int aspect = 0; aspect < 6; ++aspect) EXPECT_EQ(signalHeadType(kSignalTable[type][aspect]), type);
  }
  EXPECT_EQ(signalHeadType(29), 7);
  EXPECT_EQ(signalHeadType(34), 8);
  // Every head of a type has the same number of lamps.
  std::map<int, std::size_t> lampsOfType;
  for (const SignalPattern& p : patterns) {
    const int type = signalHeadType(p.pattern);
    if (type == 9) continue;
    if (lampsOfType.count(type) == 0) lampsOfType[type] = p.lamps.size();
    EXPECT_EQ(p.lamps.size(), lampsOfType[type]) << "pattern " << p.pattern;
  }
  for (int type = 4; type <= 8; ++type) EXPECT_GE(lampsOfType[type], 4u) << "type " << type;
  // A lamp of a head has one lens: every pattern that lights it lights it in the same colour.
  std::map<std::pair<int, std::size_t>, char> lens;
  for (const SignalPattern& p : patterns) {
    const int type = signalHeadType(p.pattern);
    if (type == 0 || type == 9) continue;
    for (std::size_t i = 0; i < p.lamps.size(); ++i) {
      if (p.lamps[i] == '-') continue;
      const auto [at, fresh] = lens.emplace(std::pair{type, i}, p.lamps[i]);
      EXPECT_EQ(at->second, p.lamps[i]) << "pattern " << p.pattern << " lamp " << i;
    }
  }
}

TEST(SignalPicturePatterns, LitLampsSayWhatTheProtectionReads) {
  const std::map<int, std::string> want = meanings();
  for (const SignalPattern& p : signalPatterns()) {
    EXPECT_EQ(litLamps(p.lamps), want.at(p.pattern)) << "pattern " << p.pattern << " lamps " << p.lamps;
  }
}

bool isRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 150 && qBlue(c) < 150; }
bool isYellow(QRgb c) { return qRed(c) > 200 && qGreen(c) > 150 && qBlue(c) < 160; }
bool isGreen(QRgb c) { return qGreen(c) > 180 && qRed(c) < 170; }
bool isDark(QRgb c) { return std::max({qRed(c), qGreen(c), qBlue(c)}) < 90; }

bool looksLike(char lamp, QRgb c) {
  switch (lamp) {
  case 'R':
    return isRed(c);
  case 'Y':
    return isYellow(c);
  case 'G':
    return isGreen(c);
  default:
    return isDark(c);
  }
}

TEST_F(PicturePack, SignalSheetLightsTheLampsOfEachPattern) {
  const QImage sheet = load("image\\track\\signal.bmp");
  ASSERT_FALSE(sheet.isNull());
  auto cellOrigin = [](int pattern) {
    return QPoint(pattern % kSignalCellsPerRow * kSignalCellWidth, pattern / kSignalCellsPerRow * kSignalCellHeight);
  };
  for (const SignalPattern& p : signalPatterns()) {
    const QPoint origin = cellOrigin(p.pattern);
    const int type = signalHeadType(p.pattern);
    if (type == 9) continue;
    if (type == 0) {
      // A repeater: its bar lit in its colour through the centre out to the end, the crossing places dark.
      const char lamp = p.lamps[0];
      const QPoint centre = origin + signalLampCentre(p.pattern, 0);
      const QPoint end = origin + repeaterBarEnd(p.pattern);
      EXPECT_TRUE(looksLike(lamp, sheet.pixel(centre))) << "pattern " << p.pattern;
      EXPECT_TRUE(looksLike(lamp, sheet.pixel(end))) << "pattern " << p.pattern;
      const QPoint across = centre + QPoint(-(end - centre).y(), (end - centre).x());
      EXPECT_TRUE(isDark(sheet.pixel(across))) << "pattern " << p.pattern;
      continue;
    }
    for (std::size_t i = 0; i < p.lamps.size(); ++i) {
      const QPoint at = origin + signalLampCentre(p.pattern, static_cast<int>(i));
      EXPECT_TRUE(looksLike(p.lamps[i], sheet.pixel(at))) << "pattern " << p.pattern << " lamp " << i << " ("
                                                          << p.lamps[i] << ") colour " << std::hex << sheet.pixel(at);
    }
  }
  // The repeater's stop bar lies flat and its proceed bar stands upright.
  EXPECT_EQ(repeaterBarEnd(1).y(), signalLampCentre(1, 0).y());
  EXPECT_EQ(repeaterBarEnd(3).x(), signalLampCentre(3, 0).x());
}

TEST_F(PicturePack, CabSignalShowsItsSpeedInTheColourOfItsMeaning) {
  const QImage sheet = load("image\\track\\signal.bmp");
  ASSERT_FALSE(sheet.isNull());
  std::set<std::string> seen;
  for (int pattern = 35; pattern <= 40; ++pattern) {
    const QRect cell(pattern % 10 * 48, pattern / 10 * 112, 48, 112);
    int red = 0;
    int yellow = 0;
    int green = 0;
    std::string pixels;
    for (int y = cell.top(); y < cell.top() + 40; ++y) {
      for (int x = cell.left(); x <= cell.right(); ++x) {
        const QRgb c = sheet.pixel(x, y);
        red += isRed(c);
        yellow += isYellow(c);
        green += isGreen(c);
        pixels += static_cast<char>(qGray(c));
      }
    }
    seen.insert(pixels);
    if (pattern == 35) {
      EXPECT_GT(red, 20) << "stop shows a red 0";
    } else {
      EXPECT_EQ(red, 0) << "pattern " << pattern;
      EXPECT_GT(pattern <= 37 ? yellow : green, 20) << "pattern " << pattern;
    }
  }
  EXPECT_EQ(seen.size(), 6u) << "each speed reads differently";
}

// ---- Panel details.

QImage cellOf(const QImage& sheet, int w, int h, int perRow, int k) {
  return sheet.copy((k % perRow) * w, (k / perRow) * h, w, h);
}

int brightGreenPixels(const QImage& cell) {
  int n = 0;
  for (int y = 0; y < cell.height(); ++y) {
    for (int x = 0; x < cell.width(); ++x) n += qGreen(cell.pixel(x, y)) > 180 && qRed(cell.pixel(x, y)) < 160;
  }
  return n;
}

TEST_F(PicturePack, DigitalSpeedometerCellsEachReadTheirOwnSpeed) {
  for (const PanelLayout& l : panelLayouts()) {
    if (l.digiSpeed.empty()) continue;
    const QImage sheet = load(l.digiSpeed);
    ASSERT_FALSE(sheet.isNull());
    for (int k = 0; k + 1 < 200; ++k) {
      EXPECT_NE(cellOf(sheet, l.digiW, l.digiH, 20, k), cellOf(sheet, l.digiW, l.digiH, 20, k + 1))
          << l.family << " cell " << k;
    }
    // More lit segments for 8 than for 1, for 188 than for 8; 0 shows a figure too.
    const int one = brightGreenPixels(cellOf(sheet, l.digiW, l.digiH, 20, 1));
    const int eight = brightGreenPixels(cellOf(sheet, l.digiW, l.digiH, 20, 8));
    const int many = brightGreenPixels(cellOf(sheet, l.digiW, l.digiH, 20, 188));
    EXPECT_GT(brightGreenPixels(cellOf(sheet, l.digiW, l.digiH, 20, 0)), one);
    EXPECT_GT(eight, one * 2);
    EXPECT_GT(many, eight * 2);
  }
}

TEST_F(PicturePack, StripAndSheetCellsAreAllDifferent) {
  std::vector<std::pair<std::string, QSize>> sheets;
  for (const PanelLayout& l : panelLayouts()) {
    for (const Strip& s : l.strips) sheets.emplace_back(s.picture, QSize(s.cellW, s.cellH));
  }
  for (const char* file : {"image\\track\\teimoku.bmp", "image\\track\\slope_down.bmp", "image\\track\\limit.bmp",
                           "image\\track\\other.bmp", "image\\track\\signal_r.bmp"}) {
    sheets.emplace_back(file, QSize(0, 0));
  }
  sheets.emplace_back("image\\monitor.bmp", QSize(240, 150));
  for (const auto& [file, size] : sheets) {
    const QImage sheet = load(file);
    ASSERT_FALSE(sheet.isNull()) << file;
    const int w = size.width() > 0 ? size.width() : sheet.height();
    const int h = size.height() > 0 ? size.height() : sheet.height();
    const int n = sheet.width() / w;
    for (int a = 0; a < n; ++a) {
      for (int b = a + 1; b < n; ++b) {
        EXPECT_NE(cellOf(sheet, w, h, n, a), cellOf(sheet, w, h, n, b)) << file << " cells " << a << ", " << b;
      }
    }
  }
}

TEST_F(PicturePack, LitLampsShowTheirColour) {
  for (const PanelLayout& l : panelLayouts()) {
    for (const Lamp& lamp : l.lamps) {
      const QImage picture = load(lamp.picture);
      ASSERT_FALSE(picture.isNull()) << lamp.picture;
      // Near the left edge, clear of the label: the lamp's own colour, give or take the shading.
      const QRgb c = picture.pixel(3, lamp.h / 2);
      const QColor want = rgbColour(lamp.colour);
      EXPECT_NEAR(qRed(c), want.red(), 48) << lamp.picture;
      EXPECT_NEAR(qGreen(c), want.green(), 48) << lamp.picture;
      EXPECT_NEAR(qBlue(c), want.blue(), 48) << lamp.picture;
    }
  }
}

TEST_F(PicturePack, TitleScenesAreDifferentTimesOfDay) {
  std::vector<double> skyBrightness;
  std::set<std::string> seen;
  for (int k = 1; k <= 6; ++k) {
    const std::string file = "image\\title\\title0" + std::to_string(k) + ".jpg";
    const QImage scene = load(file);
    ASSERT_FALSE(scene.isNull()) << file;
    seen.insert(readBytes(root() / fileName(file)));
    double sum = 0;
    for (int x = 400; x < 800; x += 4) sum += qGray(scene.pixel(x, 10));
    skyBrightness.push_back(sum / 100);
  }
  EXPECT_EQ(seen.size(), 6u);
  // The night's sky is the darkest; the three daytime skies are brighter than dusk's.
  EXPECT_EQ(std::min_element(skyBrightness.begin(), skyBrightness.end()) - skyBrightness.begin(), 5);
  for (int day = 0; day < 3; ++day) EXPECT_GT(skyBrightness[day], skyBrightness[4] + 40) << "scene " << day + 1;
}

// ---- Writing.

TEST(PictureWriting, SameBytesEveryRun) {
  needGuiApplication();
  test::TempDir a;
  test::TempDir b;
  writePictures(a.path(), testInputs());
  writePictures(b.path(), testInputs());
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(a.path())) {
    if (!entry.is_regular_file()) continue;
    const fs::path other = b.path() / fs::relative(entry.path(), a.path());
    ASSERT_TRUE(fs::exists(other)) << other;
    EXPECT_EQ(readBytes(entry.path()), readBytes(other)) << entry.path();
    ++files;
  }
  EXPECT_EQ(files, static_cast<int>(promisedPictures().size()));
}

TEST(PictureWriting, BmpReadsBackPixelForPixel) {
  // 3 x 2: rows of 9 bytes padded to 12.
  QImage picture(3, 2, QImage::Format_RGB32);
  const QRgb colours[6] = {0xFF102030, 0xFF405060, 0xFF708090, 0xFFA0B0C0, 0xFFD0E0F0, 0xFF010203};
  for (int i = 0; i < 6; ++i) picture.setPixel(i % 3, i / 3, colours[i]);
  const std::string bytes = bmpBytes(picture);
  EXPECT_EQ(bytes.size(), 54u + 2 * 12);
  const auto back = media::decodePicture(bytes);
  ASSERT_TRUE(back.has_value());
  for (int i = 0; i < 6; ++i) EXPECT_EQ(back->pixel(i % 3, i / 3), colours[i]) << i;
}

TEST(PictureWriting, JpegDecodesThroughTheLoader) {
  QImage picture(40, 24, QImage::Format_RGB32);
  picture.fill(QColor(0x30, 0x80, 0xC0));
  const auto back = media::decodePicture(jpegBytes(picture, 90));
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->size(), QSize(40, 24));
  EXPECT_NEAR(qBlue(back->pixel(20, 12)), 0xC0, 6);
}

TEST(PictureWriting, FolderNamesUseBackslashesAsSubFolders) {
  const PictureFolder folder("/pack");
  EXPECT_EQ(folder.pathOf("image\\track\\signal.bmp"), fs::path("/pack/image/track/signal.bmp"));
}

struct KeyingCase {
  const char* name;
  QRgb drawn;  // premultiplied ARGB
  QRgb want;
};
void PrintTo(const KeyingCase& testCase, std::ostream* out) { *out << testCase.name; }

class KeyedPicture : public testing::TestWithParam<KeyingCase> {};

TEST_P(KeyedPicture, HalfCoveredPixelsDecide) {
  QImage drawing(1, 1, QImage::Format_ARGB32_Premultiplied);
  drawing.setPixel(0, 0, GetParam().drawn);
  const QImage keyed = keyedPicture(drawing, QColor(0x00, 0x00, 0xFF));
  EXPECT_EQ(keyed.pixel(0, 0), GetParam().want);
}

INSTANTIATE_TEST_SUITE_P(Coverage, KeyedPicture,
                         testing::Values(KeyingCase{"empty_is_key", 0x00000000, kKeyColour},
                                         KeyingCase{"mostly_empty_is_key", qRgba(0x40, 0, 0, 0x7F), kKeyColour},
                                         KeyingCase{"opaque_stays", 0xFF112233, 0xFF112233},
                                         // Half covered red over blue: red plus half of the blue behind.
                                         KeyingCase{"half_blends_with_behind", qRgba(0x80, 0, 0, 0x80),
                                                    qRgb(0x80, 0, 0x7F)},
                                         KeyingCase{"drawn_key_colour_moves_off_it", 0xFFFF00FF, qRgb(0xFE, 0, 0xFE)}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vesk::demo
