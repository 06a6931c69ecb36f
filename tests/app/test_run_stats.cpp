// The window's figures: every frame shown on time counts towards the frame rate, and only the frames composed
// anew towards the drawing times.
#include <gtest/gtest.h>

#include "app/run_stats.h"

namespace vesk::app {
namespace {

TEST(RunStats, FramesKeptOnScreenCountAsShownButNotAsDrawn) {
  RunStats stats;
  stats.firstFrame(0);
  for (const double drawMs : {4.0, 0.0, 8.0, 0.0, 6.0}) {
    stats.frameShown();
    if (drawMs > 0) stats.frameDrawn(drawMs);
  }
  const RunFigures figures = stats.finish(100, sim::TimingReport{});
  EXPECT_EQ(figures.frames, 5);
  EXPECT_EQ(figures.drawnFrames, 3);
  EXPECT_NEAR(figures.drawP50Ms, 6.0, 1e-6);  // the kept frames' zero times do not pull it down
  const std::string json = RunStats::json(figures);
  EXPECT_NE(json.find("\"frames\":5,\"drawnFrames\":3,"), std::string::npos) << json;
}

}  // namespace
}  // namespace vesk::app
