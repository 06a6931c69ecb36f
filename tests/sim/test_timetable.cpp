#include <gtest/gtest.h>

#include "support/station_line.h"

namespace vesk::sim {
namespace {

struct ClockCase {
  const char* name;
  std::int32_t clock;
  const char* text;
};
void PrintTo(const ClockCase& c, std::ostream* out) { *out << c.name; }

class ClockText : public testing::TestWithParam<ClockCase> {};

TEST_P(ClockText, HoursMinutesSeconds) {
  auto f = test::makeDrive();
  f->drive.timecalc(GetParam().clock);
  EXPECT_EQ(f->drive.state.clockText, GetParam().text);
  EXPECT_EQ(f->drive.texts.ClockText, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Clocks, ClockText,
                         testing::Values(ClockCase{"midnight", 0, "00:00:00"},
                                         ClockCase{"last_step_of_a_second", 29, "00:00:00"},
                                         ClockCase{"one_second", 30, "00:00:01"},
                                         ClockCase{"one_hour", 108000, "01:00:00"},
                                         ClockCase{"a_step_before_an_hour", 107999, "00:59:59"},
                                         ClockCase{"afternoon", 30 * (14 * 3600 + 5 * 60 + 9), "14:05:09"},
                                         ClockCase{"set_back_before_midnight", -30, "23:59:59"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ClockText, ChangesOncePerSimulatedSecond) {
  auto f = test::makeDrive();
  f->drive.state.clock = 30 * 3600 + 10;
  f->runTicks(1);
  int changes = 0;
  std::string last = f->drive.state.clockText;
  for (int tick = 0; tick < 100; ++tick) {  // 10 simulated seconds
    f->runTicks(1);
    if (f->drive.state.clockText != last) ++changes;
    last = f->drive.state.clockText;
  }
  EXPECT_EQ(changes, 10);
  EXPECT_EQ(last, "01:00:10");  // 1 tick and 10 seconds after 01:00:00.33
}

// The analog clock: a 50 x 50 face with three black hands from (25, 25).
TEST(ClockFace, HandsPointAtTheTime) {
  data::VehicleSpec v = test::testVehicle();
  v.clock = {745, 470, 20};
  auto f = test::makeDrive(v);
  f->drive.timecalc(30 * 3 * 3600);  // 03:00:00: the hour hand (12 px) at three, minute and second hands at twelve
  const QImage face = f->drive.clockFace.picture();  // a snapshot's copy
  ASSERT_EQ(face.size(), QSize(50, 50));
  const QRgb black = qRgb(0, 0, 0);
  EXPECT_EQ(face.pixel(36, 25), black);
  EXPECT_EQ(face.pixel(31, 25), black);
  EXPECT_NE(face.pixel(38, 25), black) << "the hour hand is 0.6 of the radius";
  EXPECT_EQ(face.pixel(25, 6), black);
  EXPECT_EQ(face.pixel(25, 15), black);
  EXPECT_NE(face.pixel(25, 40), black);
  EXPECT_EQ(face.pixel(2, 2), qRgb(240, 240, 240));
  // At 00:00:15 the second hand points at three, full length.
  f->drive.timecalc(30 * 15);
  EXPECT_EQ(face.pixel(44, 25), qRgb(240, 240, 240)) << "a copy taken before keeps its picture";
  EXPECT_EQ(f->drive.clockFace.picture().pixel(44, 25), black);
  EXPECT_EQ(f->drive.snapshot().clockFace.pixel(44, 25), black);
}

TEST(ClockFace, NotDrawnWithoutAClockOnThePanel) {
  data::VehicleSpec v = test::testVehicle();
  v.clock = {0, 470, 20};
  auto f = test::makeDrive(v);
  f->drive.timecalc(30 * 60);
  EXPECT_TRUE(f->drive.clockFace.picture().isNull());
  EXPECT_TRUE(f->drive.snapshot().clockFace.isNull());
  EXPECT_EQ(f->drive.state.clockText, "00:01:00");
}

}  // namespace
}  // namespace vesk::sim
