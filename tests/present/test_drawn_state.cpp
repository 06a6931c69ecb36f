// What a drawn frame depends on: a snapshot that differs only in what the drawing area does not show draws the
// same frame (the window keeps the picture on screen), and any difference the area shows draws anew.
#include <gtest/gtest.h>

#include <functional>

#include "present/drawn_state.h"
#include "present/view_geometry.h"

namespace vesk::present {
namespace {

struct ChangeCase {
  const char* name;
  std::function<void(sim::DriveSnapshot&)> change;
  bool drawsAnew;
};
void PrintTo(const ChangeCase& c, std::ostream* out) { *out << c.name; }

sim::DriveSnapshot running() {
  sim::DriveSnapshot shot;
  media::Sprite needle;
  needle.picture = "img_Needle_speed";
  needle.rotating = true;
  needle.angle = 40;
  shot.sprites = {needle};
  shot.texts.SpeedText = "45km/h";
  shot.position = 123456;
  shot.clock = 30 * 3600 * 10;
  shot.timeMs = 10000;
  shot.speed = 45;
  return shot;
}

class DrawnStateTest : public testing::TestWithParam<ChangeCase> {};

TEST_P(DrawnStateTest, DrawsAnewExactlyWhenTheAreaWouldChange) {
  const ViewGeometry view{.monitor = MonitorKind::Inverter};
  const sim::DriveSnapshot before = running();
  sim::DriveSnapshot after = before;
  GetParam().change(after);
  EXPECT_EQ(drawnState(before, view) != drawnState(after, view), GetParam().drawsAnew);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, DrawnStateTest,
    testing::Values(
        ChangeCase{"nothing", [](sim::DriveSnapshot&) {}, false},
        ChangeCase{"virtual_time_only", [](sim::DriveSnapshot& s) { s.timeMs += 33; }, false},
        ChangeCase{"speed_below_the_texts", [](sim::DriveSnapshot& s) { s.speed += 0.01; }, false},
        ChangeCase{"text_mode_labels", [](sim::DriveSnapshot& s) { s.displays.labels[3] = "x"; }, false},
        ChangeCase{"position_within_the_same_hundred_metres", [](sim::DriveSnapshot& s) { s.position += 500; }, false},
        ChangeCase{"position_to_the_next_hundred_metres", [](sim::DriveSnapshot& s) { s.position += 10000; }, true},
        ChangeCase{"needle_angle", [](sim::DriveSnapshot& s) { s.sprites[0].angle += 1; }, true},
        ChangeCase{"sprite_pattern", [](sim::DriveSnapshot& s) { s.sprites[0].pattern = 2; }, true},
        ChangeCase{"sprite_hidden", [](sim::DriveSnapshot& s) { s.sprites[0].visible = false; }, true},
        ChangeCase{"sprite_added", [](sim::DriveSnapshot& s) { s.sprites.emplace_back(); }, true},
        ChangeCase{"overlay_text", [](sim::DriveSnapshot& s) { s.texts.SpeedText = "46km/h"; }, true},
        ChangeCase{"handle_text", [](sim::DriveSnapshot& s) { s.handleTexts.brakeText = "B1"; }, true},
        ChangeCase{"text_mode_switched", [](sim::DriveSnapshot& s) { s.settings.Moji = 1; }, true},
        ChangeCase{"information_hidden", [](sim::DriveSnapshot& s) { s.settings.Information = 1; }, true},
        ChangeCase{"view_moved", [](sim::DriveSnapshot& s) { s.viewSurfaceTop = -50; }, true},
        ChangeCase{"monitor_clock_second", [](sim::DriveSnapshot& s) { s.clock += 30; }, true},
        ChangeCase{"clock_face", [](sim::DriveSnapshot& s) { s.clockFace = QImage(50, 50, QImage::Format_RGB32); },
                   true}),
    [](const testing::TestParamInfo<ChangeCase>& info) { return std::string(info.param.name); });

// Without a monitor its texts are not drawn, so the clock alone changes nothing.
TEST(DrawnState, WithoutAMonitorTheClockDrawsNothing) {
  const ViewGeometry view{};
  const sim::DriveSnapshot before = running();
  sim::DriveSnapshot after = before;
  after.clock += 30;
  after.position += 10000;
  EXPECT_EQ(drawnState(before, view), drawnState(after, view));
}

}  // namespace
}  // namespace vesk::present
