// The frame loop's decisions: which video picture a frame position shows, asked for only when the position
// changes and never outside the video; nothing drawn while paused or held at the barrier; side videos opened when
// the drive names them; the closing fade, at once with visual effects off, and going on while paused.
#include <gtest/gtest.h>

#include "present/frame_loop.h"

namespace vesk::present {
namespace {

sim::DriveSnapshot at(std::int32_t frame, double speed = 0) {
  sim::DriveSnapshot shot;
  shot.frame = frame;
  shot.speed = speed;
  shot.lastFramePosition = 20000;
  return shot;
}

// A loop with the route video open, 10000 pictures long.
FrameLoop openLoop(std::optional<std::int32_t> movieStop = std::nullopt) {
  FrameLoop loop(movieStop);
  EXPECT_EQ(loop.videoToOpen(at(0)), std::string());
  loop.videoOpened(10000);
  return loop;
}

struct PictureCase {
  std::int32_t frame;
  std::int64_t picture;
};

class FramePicture : public testing::TestWithParam<PictureCase> {};

TEST_P(FramePicture, PositionsTwoNMinusOneAndTwoNShowPictureN) {
  FrameLoop loop = openLoop();
  const FramePlan plan = loop.plan(at(GetParam().frame), true);
  EXPECT_TRUE(plan.draw);
  EXPECT_EQ(plan.picture, GetParam().picture);
}

INSTANTIATE_TEST_SUITE_P(Positions, FramePicture,
                         testing::Values(PictureCase{0, 0}, PictureCase{1, 1}, PictureCase{5, 3}, PictureCase{6, 3},
                                         PictureCase{7, 4}, PictureCase{19998, 9999}));

TEST(FrameLoop, AStandingTrainAsksForItsPictureOnce) {
  FrameLoop loop = openLoop();
  EXPECT_EQ(loop.plan(at(100), true).picture, 50);
  // Not ready yet: asked again next cycle.
  EXPECT_EQ(loop.plan(at(100), true).picture, 50);
  loop.pictureShown();
  const FramePlan again = loop.plan(at(100), true);
  EXPECT_TRUE(again.draw);
  EXPECT_FALSE(again.picture.has_value());
  // After a pause or a jump the picture is drawn again.
  loop.invalidate();
  EXPECT_EQ(loop.plan(at(100), true).picture, 50);
}

TEST(FrameLoop, APositionOutsideTheVideoKeepsTheLastPicture) {
  FrameLoop loop = openLoop();
  sim::DriveSnapshot shot = at(20001);
  EXPECT_FALSE(loop.plan(shot, true).picture.has_value());
  shot.lastFramePosition = 30000;  // within the frame positions, but beyond the 10000 pictures
  EXPECT_FALSE(loop.plan(shot, true).picture.has_value());
  EXPECT_FALSE(loop.plan(at(-4), true).picture.has_value());
  FrameLoop closed(std::nullopt);
  closed.videoToOpen(at(0));
  closed.videoOpened(0);  // the video could not be opened
  EXPECT_FALSE(closed.plan(at(100), true).picture.has_value());
}

TEST(FrameLoop, ReadsAheadInTheDirectionOfTravel) {
  FrameLoop loop = openLoop();
  EXPECT_EQ(loop.plan(at(100, 30), true).direction, 1);
  EXPECT_EQ(loop.plan(at(90, -5), true).direction, -1);
}

TEST(FrameLoop, NothingIsDrawnWhilePaused) {
  FrameLoop loop = openLoop();
  const FramePlan plan = loop.plan(at(100), false);
  EXPECT_FALSE(plan.draw);
  EXPECT_FALSE(plan.picture.has_value());
}

struct BarrierCase {
  const char* name;
  std::int32_t frame;
  double speed;
  int reversed;
  bool held;
};

class Barrier : public testing::TestWithParam<BarrierCase> {};

TEST_P(Barrier, HoldsTheViewWhileTheTrainIsPutBack) {
  const BarrierCase& c = GetParam();
  FrameLoop loop = openLoop(1000);
  sim::DriveSnapshot shot = at(c.frame, c.speed);
  shot.reversed = c.reversed;
  EXPECT_EQ(loop.plan(shot, true).draw, !c.held);
}

INSTANTIATE_TEST_SUITE_P(Cases, Barrier,
                         testing::Values(BarrierCase{"ForwardsJustBeyond", 1001, 10, 0, true},
                                         BarrierCase{"ForwardsWithin500", 1499, 10, 0, true},
                                         BarrierCase{"ForwardsFarBeyond", 1500, 10, 0, false},
                                         BarrierCase{"AtTheBarrier", 1000, 10, 0, false},
                                         BarrierCase{"StandingBeyond", 1200, 0, 0, false},
                                         BarrierCase{"ReversedBackwardsBelow", 800, -5, 1, true},
                                         BarrierCase{"NotReversedBackwardsBelow", 800, -5, 0, false},
                                         BarrierCase{"ReversedForwardsBeyond", 1200, 5, 1, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FrameLoop, ARouteWithoutABarrierHoldsNothing) {
  FrameLoop loop = openLoop(std::nullopt);
  EXPECT_TRUE(loop.plan(at(1, 10), true).draw);
}

TEST(FrameLoop, SideVideosAreOpenedWhenTheDriveNamesThem) {
  FrameLoop loop = openLoop();
  sim::DriveSnapshot shot = at(1000);
  EXPECT_FALSE(loop.videoToOpen(shot).has_value());
  shot.sideVideo = "bridge";
  shot.videoMode = 2;
  shot.sideFrame = 7;
  EXPECT_EQ(loop.videoToOpen(shot), "bridge");
  EXPECT_FALSE(loop.videoToOpen(shot).has_value());
  loop.videoOpened(300);
  // The side frame chooses the picture, and the train's direction does not matter.
  shot.speed = -3;
  const FramePlan plan = loop.plan(shot, true);
  EXPECT_EQ(plan.picture, 4);
  EXPECT_EQ(plan.direction, 1);
  shot.sideVideo.clear();
  shot.videoMode = 0;
  EXPECT_EQ(loop.videoToOpen(shot), std::string());
}

TEST(FrameLoop, TheFadeDarkensOver26CyclesThenCloses) {
  FrameLoop loop = openLoop();
  loop.startFade();
  std::vector<int> levels;
  for (int cycle = 0; cycle < 40; ++cycle) {
    const FramePlan plan = loop.plan(at(100), true);
    levels.push_back(plan.fadeLevel);
    if (plan.closeWindow) break;
  }
  ASSERT_EQ(levels.size(), 26u);
  EXPECT_EQ(levels.front(), 1);
  EXPECT_EQ(levels[1], 11);
  EXPECT_EQ(levels.back(), 251);
  EXPECT_FALSE(loop.fading());
}

TEST(FrameLoop, WithVisualEffectsOffTheWindowClosesAtOnce) {
  FrameLoop loop = openLoop();
  loop.startFade();
  sim::DriveSnapshot shot = at(100);
  shot.settings.Tunnel = 1;
  const FramePlan plan = loop.plan(shot, true);
  EXPECT_EQ(plan.fadeLevel, 256);
  EXPECT_TRUE(plan.closeWindow);
}

TEST(FrameLoop, TheFadeGoesOnWhilePausedOrHeld) {
  FrameLoop loop = openLoop(1000);
  loop.startFade();
  const FramePlan paused = loop.plan(at(100), false);
  EXPECT_TRUE(paused.draw);
  EXPECT_EQ(paused.fadeLevel, 1);
  const FramePlan held = loop.plan(at(1100, 10), true);
  EXPECT_TRUE(held.draw);
  EXPECT_EQ(held.fadeLevel, 11);
}

}  // namespace
}  // namespace vesk::present
