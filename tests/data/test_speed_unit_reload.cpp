// Reading a route's "[SpeedUnit]" rows again: the first section's rows up to "#"; nothing for a file without the
// section, with a damaged row, an unended list, too many rows, or no file at all; the new table in place with its
// distances, the other positions as they were.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "data/speed_unit_reload.h"
#include "data/track_positions.h"
#include "support/temp_dir.h"

namespace vesk::data {
namespace {

struct ReloadCase {
  const char* name;
  std::string file;
  int rows;  // -1: nothing read
  double lastSpeedTo;
};
void PrintTo(const ReloadCase& c, std::ostream* out) { *out << c.name; }

std::string manyRows(int n) {
  std::string rows;
  for (int i = 0; i < n; ++i) rows += std::to_string(i * 10) + "," + std::to_string(i * 10 + 10) + ",30,30\r\n";
  return rows;
}

class SpeedUnitReload : public testing::TestWithParam<ReloadCase> {};

TEST_P(SpeedUnitReload, ReadsTheFirstSectionOrNothing) {
  const ReloadCase& c = GetParam();
  test::TempDir dir;
  const auto rows = rereadSpeedUnits(dir.write("line_test.dat", c.file));
  if (c.rows < 0) {
    EXPECT_FALSE(rows.has_value());
    return;
  }
  ASSERT_TRUE(rows.has_value());
  ASSERT_EQ(static_cast<int>(rows->size()), c.rows);
  if (c.rows > 0) {
    EXPECT_EQ(rows->back().speedTo, c.lastSpeedTo);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, SpeedUnitReload,
    testing::Values(ReloadCase{"twoRows",
                               "[Name]\r\nx\r\n[SpeedUnit]\r\n0,100,0,30\r\n100,250,30,45.5\r\n#\r\n[Station]\r\n", 2,
                               45.5},
                    ReloadCase{"theFirstSectionCounts",
                               "[SpeedUnit]\r\n0,10,1,2\r\n#\r\n[SpeedUnit]\r\n0,10,3,4\r\n0,20,4,5\r\n#\r\n", 1, 2},
                    ReloadCase{"anEmptySection", "[SpeedUnit]\r\n#\r\n", 0, 0},
                    ReloadCase{"noSection", "[Station]\r\na,0,1\r\n#\r\n", -1, 0},
                    ReloadCase{"aDamagedRow", "[SpeedUnit]\r\n0,100,0,30\r\n100,x,30,45\r\n#\r\n", -1, 0},
                    ReloadCase{"noEndOfList", "[SpeedUnit]\r\n0,100,0,30\r\n", -1, 0},
                    ReloadCase{"tooManyRows", "[SpeedUnit]\r\n" + manyRows(kSpeedUnitCapacity + 1) + "#\r\n", -1, 0},
                    ReloadCase{"asManyAsItHolds", "[SpeedUnit]\r\n" + manyRows(kSpeedUnitCapacity) + "#\r\n",
                               kSpeedUnitCapacity, 30}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SpeedUnitReloadFile, AMissingFileGivesNothing) {
  test::TempDir dir;
  EXPECT_FALSE(rereadSpeedUnits(dir.path() / "line_none.dat").has_value());
}

TEST(SpeedUnitReplace, TheNewTableComesWithItsDistancesAndTheStationsStay) {
  RouteData route;
  route.speedUnitCount = 2;
  route.speedUnits[0] = {0, 900, 60, 60, 0};
  route.speedUnits[1] = {900, 1800, 60, 60, 0};
  route.stationCount = 1;
  route.stations[0].frame = 450;
  computeTrackPositions(route);
  const auto station = route.stations[0].position;
  replaceSpeedUnits(route, {{0, 900, 30, 30, 0}});
  EXPECT_EQ(route.speedUnitCount, 1);
  EXPECT_EQ(route.speedUnits[0].speedFrom, 30);
  // 30 km/h for 900 frames at 30 a second: 30 s, 250 m.
  EXPECT_EQ(route.speedUnits[0].endDistance, 25000);
  EXPECT_EQ(route.stations[0].position, station);
}

}  // namespace
}  // namespace vesk::data
