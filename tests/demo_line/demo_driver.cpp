#include "demo_line/demo_driver.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "data/track_positions.h"
#include "media/video_source.h"
#include "media/virtual_sound_bank.h"
#include "sim/drive_runner.h"
#include "sim/drive_setup.h"

namespace vesk::demo {
namespace {

enum class Phase { Standing, Running, Braking };

// In the keys the driver types, Enter (the call-out key).
constexpr char kEnter = '\r';

constexpr double kLineSpeed = 85;        // km/h, below the line's 90
constexpr double kLimitMargin = 3;       // km/h under a speed limit
constexpr double kPlanBrake = 2.0;       // km/h/s: slowing for a limit ahead
constexpr double kStopBrake = 2.3;       // km/h/s: the braking that starts a stop
constexpr double kTrainLengthCm = 7000;  // a limit holds until the whole train is past its end
constexpr int kFullPower = 3;            // the last notch of the first power mode
constexpr int kHoldBrake = -5;           // standing
constexpr int kDeepestService = -7;

// The speed the driver aims at here: the line speed, and under every speed limit the train is in or must slow
// down for.
double targetSpeed(const sim::Drive& d) {
  const data::RouteData& r = d.route;
  const double x = d.state.position;
  double target = kLineSpeed;
  for (int i = 0; i < r.speedLimitCount; ++i) {
    const data::SpeedLimitRow& row = r.speedLimits[static_cast<std::size_t>(i)];
    const double limit = row.limit - kLimitMargin;
    const double from = static_cast<double>(row.position);
    const double to = static_cast<double>(data::framePosition(r, row.endFrame).value_or(row.position)) + kTrainLengthCm;
    if (x >= from - 2000 && x <= to) {
      target = std::min(target, limit);
    } else if (x < from) {
      const double metres = std::max((from - x) / 100 - 20, 0.0);
      target = std::min(target, std::sqrt(limit * limit + 7.2 * kPlanBrake * metres));
    }
  }
  return target;
}

class Driver {
 public:
  std::string decide(const sim::Drive& d) {
    const sim::TrainState& s = d.state;
    const double v = s.speed;
    const double deceleration = (lastSpeed_ - v) / 0.1;
    lastSpeed_ = v;
    std::string keys;
    if (s.runEnded != 0) return keys;
    callOut(d, keys);
    switch (phase_) {
    case Phase::Standing:
      stand(d, keys);
      break;
    case Phase::Running:
      run(d, keys);
      break;
    case Phase::Braking:
      brake(d, deceleration, keys);
      break;
    }
    return keys;
  }

 private:
  // A new item along the line (another item, a time check, a speed limit, a level crossing) gets its call-out.
  void callOut(const sim::Drive& d, std::string& keys) {
    const sim::TrainState& s = d.state;
    const std::array<int, 5> item = {s.pendingOther, s.pendingLimit, s.limitWarnPending, s.limitEndPending,
                                     s.crossingQueue[0]};
    if (item == lastItem_) return;
    lastItem_ = item;
    const bool pending =
        s.pendingOther != sim::kNone || s.limitWarnPending != 0 || s.limitEndPending != 0 || s.crossingQueue[0] != -1;
    if (pending && s.speed > 1) keys += kEnter;
  }

  void stand(const sim::Drive& d, std::string& keys) {
    const sim::TrainState& s = d.state;
    const sim::ControlState& c = d.control;
    const data::RouteData& r = d.route;
    if (c.brakeHandle > kHoldBrake) keys += '2';
    const int at = s.currentStation;
    const data::StationRow& row = r.stations[static_cast<std::size_t>(at)];
    const sim::StationState& flags = d.line.stations[static_cast<std::size_t>(at)];
    const bool shut = s.doorOpenCommanded == 0 && s.doorsNotClosed == 0;
    if (r.oneMan >= 1 && flags.inPlatform == 1 && row.kind == 0) {
      // The driver works the doors: open on arriving, close after the departure time.
      if (shut && flags.arrived == 0 && !opened_) {
        keys += 'd';
        opened_ = true;
      } else if (s.doorOpenCommanded == 1 && flags.departureAnnounced == 1 && s.clock > row.departureTime) {
        keys += 'd';
      }
    }
    if (shut && s.departureCount > departures_ && at + 1 < r.stationCount) {
      departures_ = s.departureCount;
      opened_ = false;
      keys += "5";
      keys += std::string(kFullPower, '8');
      phase_ = Phase::Running;
    }
  }

  void run(const sim::Drive& d, std::string& keys) {
    const sim::TrainState& s = d.state;
    const sim::ControlState& c = d.control;
    const double v = s.speed;
    const double metres = s.distanceToStop / 100;
    const double needed = metres > 0 && v > 0 ? v * v / (7.2 * metres) : 0;
    if (needed >= kStopBrake || (metres < 40 && v > 1)) {
      keys += "5222";
      phase_ = Phase::Braking;
      return;
    }
    const double target = targetSpeed(d);
    if (v > target + 2) {
      keys += c.powerHandle > 0 ? "5" : c.brakeHandle > -3 ? "2" : "";
    } else if (v > target - 2) {
      if (c.powerHandle > 0 || c.brakeHandle < 0) keys += '5';
    } else if (v < target - 6) {
      if (c.brakeHandle < 0) {
        keys += '5';
      } else if (c.powerHandle < kFullPower) {
        keys += '8';
      }
    }
  }

  void brake(const sim::Drive& d, double deceleration, std::string& keys) {
    const sim::TrainState& s = d.state;
    const sim::ControlState& c = d.control;
    const double v = s.speed;
    if (v <= 0) {
      phase_ = Phase::Standing;
      return;
    }
    const double metres = s.distanceToStop / 100;
    const double needed = metres > 0.5 ? v * v / (7.2 * metres) : 5;
    if (deceleration < needed - 0.1 && c.brakeHandle > kDeepestService) {
      keys += '2';
    } else if (deceleration > needed + 0.3 && c.brakeHandle < -1) {
      keys += '8';
    }
  }

  Phase phase_ = Phase::Standing;
  int departures_ = 0;
  bool opened_ = false;
  double lastSpeed_ = 0;
  std::array<int, 5> lastItem_{};
};

}  // namespace

RecordedDrive recordDrive(const DriveRequest& request) {
  RecordedDrive recorded;
  std::optional<sim::DriveRunner> runner;
  media::VirtualSoundBank bank([&runner] { return runner ? runner->now() : std::int64_t{0}; });
  bank.setRecording(false);
  sim::LoadServices services;
  services.videoFrameCount = media::videoFrameCount;
  const auto loaded = sim::loadDrive({request.pack, request.pack, request.vehicle, request.route}, bank, services);
  sim::Drive& drive = *loaded->drive;
  runner.emplace(drive);
  Driver driver;
  for (std::int64_t t = sim::Scheduler::kTickMs; t <= request.ms; t += sim::Scheduler::kTickMs) {
    runner->runUntil(t);
    if (drive.state.runEnded != 0) {
      recorded.endedAtMs = t;
      break;
    }
    for (const char key : driver.decide(drive)) {
      if (key == kEnter) {
        runner->input().push(sim::InputEvent::keyDown(sim::Key::Enter, false), t + 1);
        recorded.script.push_back(std::to_string(t + 1) + " key Enter");
      } else {
        runner->input().push(sim::InputEvent::typed(key), t + 1);
        recorded.script.push_back(std::to_string(t + 1) + " char " + key);
      }
    }
  }
  return recorded;
}

}  // namespace vesk::demo
