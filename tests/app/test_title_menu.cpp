// The title screen's choices: the route file of each line picture with and without the variant key, the trains
// each line offers, the vehicle file of each train plate on a down and an up line, the menu's reveal tick by tick.
#include <gtest/gtest.h>

#include "app/title_menu.h"

namespace vesk::app {
namespace {

struct LineCase {
  int line;
  const char* route;
  const char* variantRoute;
  std::array<bool, kTrainCount> trains;
};

class TitleLines : public testing::TestWithParam<LineCase> {};

TEST_P(TitleLines, GiveTheirRouteAndTrains) {
  const LineCase& c = GetParam();
  EXPECT_EQ(routeForLine(c.line, false), c.route);
  EXPECT_EQ(routeForLine(c.line, true), c.variantRoute);
  EXPECT_EQ(trainsForLine(c.line, false), c.trains);
  // The variant key offers every train.
  EXPECT_EQ(trainsForLine(c.line, true), (std::array<bool, kTrainCount>{true, true, true}));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TitleLines,
    testing::Values(LineCase{0, "line_down_local.dat", "line_down_local_A.dat", {true, false, false}},
                    LineCase{1, "line_down_rapid.dat", "line_down_rapid_A.dat", {false, true, false}},
                    LineCase{2, "line_down_tr.dat", "line_down_tr_A.dat", {false, false, true}},
                    LineCase{3, "line_up_local.dat", "line_up_local_A.dat", {true, false, false}},
                    LineCase{4, "line_up_rapid.dat", "line_up_rapid_A.dat", {false, true, false}},
                    LineCase{5, "line_up_tr.dat", "line_up_tr_A.dat", {false, false, true}}),
    [](const auto& info) { return "Line" + std::to_string(info.param.line + 1); });

TEST(TitleLines, OutsideTheMenuGiveNothing) {
  EXPECT_EQ(routeForLine(-1, false), "");
  EXPECT_EQ(routeForLine(6, true), "");
  EXPECT_EQ(trainsForLine(6, true), (std::array<bool, kTrainCount>{}));
}

struct TrainCase {
  int train;
  const char* route;
  const char* vehicle;
};

class TitleTrains : public testing::TestWithParam<TrainCase> {};

TEST_P(TitleTrains, LoadTheVehicleOfTheLinesDirection) {
  EXPECT_EQ(vehicleForTrain(GetParam().train, GetParam().route), GetParam().vehicle);
}

INSTANTIATE_TEST_SUITE_P(Trains, TitleTrains,
                         testing::Values(TrainCase{0, "line_down_local.dat", "train_VK500.dat"},
                                         TrainCase{0, "line_up_tr_A.dat", "train_VK500.dat"},
                                         TrainCase{1, "line_down_rapid_A.dat", "train_VK700_3Cars.dat"},
                                         TrainCase{1, "line_up_rapid.dat", "train_VK700_2Cars.dat"},
                                         TrainCase{2, "line_down_tr.dat", "train_VK103.dat"},
                                         TrainCase{2, "line_up_local_A.dat", "train_VK401.dat"},
                                         TrainCase{3, "line_down_tr.dat", ""}),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(MenuReveal, ShowsOneItemATickAndThenStops) {
  // ticks: map, lines 1..6, HELP, back, finished
  struct Row {
    int ticks;
    bool map;
    int lines;
    bool help;
    bool back;
    bool finished;
  };
  const Row rows[] = {{0, false, 0, false, false, false}, {1, true, 0, false, false, false},
                      {2, true, 0, false, false, false},  {3, true, 1, false, false, false},
                      {5, true, 3, false, false, false},  {8, true, 6, false, false, false},
                      {10, true, 6, false, false, false}, {11, true, 6, true, false, false},
                      {12, true, 6, true, true, true},    {40, true, 6, true, true, true}};
  for (const Row& row : rows) {
    const MenuReveal r = menuRevealAfter(row.ticks);
    SCOPED_TRACE(row.ticks);
    EXPECT_EQ(r.map, row.map);
    for (int k = 0; k < kLineCount; ++k) EXPECT_EQ(r.lines[static_cast<std::size_t>(k)], k < row.lines) << k;
    EXPECT_EQ(r.help, row.help);
    EXPECT_EQ(r.back, row.back);
    EXPECT_EQ(r.finished, row.finished);
  }
}

}  // namespace
}  // namespace vesk::app
