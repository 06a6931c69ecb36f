#include "sim/side_video.h"

#include <cstdint>

#include "core/rounding.h"
#include "sim/drive.h"

namespace vesk::sim {
namespace {

// A side video played during a stop; rows of the other kinds follow the position.
constexpr int kStopVideo = 2;
// How far past its length (in side frames) a position-following video still hands back to the route video.
constexpr int kReturnReach = 60;

void openSideVideo(TrainState& s, int row, const data::MovieSwitchRow& r) {
  s.sideVideoRow = row;
  s.sideLength = r.length;
  s.sideStepCount = 0;
}

void openRouteVideo(TrainState& s) {
  s.sideVideoRow = -1;
  s.sideFrame = 0;
  s.sideStepCount = 0;
}

// A stop video: once the train stands in the row's range after the row's time, it is put at the stop of the
// row's station and the video plays; when it has played to its length the route video comes back.
void stopVideo(Drive& drive, int row, const data::MovieSwitchRow& r) {
  TrainState& s = drive.state;
  std::uint8_t& done = drive.line.movieSwitchDone[static_cast<std::size_t>(row)];
  if (s.videoMode == 0 && done == 0) {
    if (r.target >= 0 && r.target < drive.route.stationCount) {
      const data::StationRow& station = drive.route.stations[static_cast<std::size_t>(r.target)];
      s.frame = station.frame;
      s.position = static_cast<double>(station.position);
    }
    s.videoMode = 1;
    s.sideFrame = 0;
    openSideVideo(s, row, r);
  } else if (s.videoMode == 1 && s.sideVideoRow == row && s.sideFrame >= s.sideLength) {
    openRouteVideo(s);
    s.videoMode = 0;
    done = 1;
  }
}

}  // namespace

void switchVideo(Drive& drive) {
  TrainState& s = drive.state;
  const data::RouteData& route = drive.route;
  for (int row = 0; row < route.movieSwitchCount && row < data::kMovieSwitchCapacity; ++row) {
    const data::MovieSwitchRow& r = route.movieSwitches[static_cast<std::size_t>(row)];
    std::uint8_t& done = drive.line.movieSwitchDone[static_cast<std::size_t>(row)];
    const bool inRange = r.frameFrom <= s.frame && s.frame <= r.frameTo;
    if (r.kind == kStopVideo && core::nearest(s.speed) == 0 && inRange && s.clock > r.startTime) {
      stopVideo(drive, row, r);
    } else if (!inRange || r.kind == kStopVideo) {
      // Past the stretch: the route video resumes at the row's return frame. Only the row whose video plays
      // hands back, so that one row's length never ends another row's video.
      const std::int64_t length = s.sideLength;
      if (s.videoMode == 2 && s.sideVideoRow == row && s.sideFrame >= length && s.sideFrame <= length + kReturnReach &&
          s.frame < r.target) {
        s.videoMode = 9;
        openRouteVideo(s);
        s.frame = r.target;
        done = 1;
        s.videoMode = 0;
      }
    } else if (s.videoMode == 0 && done == 0) {
      // Entering the stretch: the side video takes over, its frame following the position.
      s.videoMode = 9;
      s.sideFirstFrame = r.frameFrom;
      s.sideFrame = core::saturate32(std::int64_t{s.frame} - r.frameFrom);
      openSideVideo(s, row, r);
      s.videoMode = 2;
    }
  }
}

void advanceSideFrame(Drive& drive) {
  TrainState& s = drive.state;
  if (s.videoMode == 1) {
    // One side frame every (steps a second / "[FrameRate]") control steps, counted exactly for rates that do not
    // divide the steps; a rate of 0 (or above the steps) gives one a step.
    const int steps = drive.strings.fastStepsPerSecond > 0 ? drive.strings.fastStepsPerSecond : 1;
    const int rate = drive.route.frameRate > 0 && drive.route.frameRate <= steps ? drive.route.frameRate : steps;
    s.sideStepCount += rate;
    if (s.sideStepCount >= steps) {
      s.sideStepCount -= steps;
      s.sideFrame = core::saturate32(std::int64_t{s.sideFrame} + 1);
    }
  } else if (s.videoMode == 2) {
    s.sideFrame = core::saturate32(std::int64_t{s.frame} - s.sideFirstFrame);
  }
}

}  // namespace vesk::sim
