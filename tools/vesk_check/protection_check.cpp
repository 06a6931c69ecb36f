#include "vesk_check/protection_check.h"

#include <algorithm>

#include "sim/signal_pictures.h"

namespace vesk::tools {
namespace {

std::string row(const char* section, int index) { return std::string(section) + " row " + std::to_string(index + 1); }

class Findings {
 public:
  explicit Findings(const data::RouteData& r)
      : r_(r), signals_(std::min(r.signalCount, data::kSignalCapacity)),
        stations_(std::min(r.stationCount, data::kStationCapacity)),
        speeds_(std::min(r.signalSpeedCount, data::kSignalSpeedCapacity)) {}

  std::vector<std::string> all() {
    speedList();
    signalRows();
    speedChecks();
    limitBeacons();
    precedingTrain();
    return std::move(out_);
  }

 private:
  void add(std::string message) { out_.push_back(std::move(message)); }

  void speedList() {
    if (speeds_ == 0 && signals_ > 0) add("[Speed_Signal] has no speeds: every signal shows stop");
    if (speeds_ > 0 && speeds_ < 5 && signals_ > 0) {
      add("[Speed_Signal] has " + std::to_string(speeds_) +
          " speeds: ATS-P takes the line's pattern from the fifth (the last is used)");
    }
  }

  void signalRows() {
    const int top = std::max(speeds_ - 1, 0);
    for (int i = 0; i < signals_; ++i) {
      const data::SignalRow& s = r_.signals[static_cast<std::size_t>(i)];
      if (s.headType < -1 || s.headType > 9) {
        add(row("[Signal]", i) + ": head type " + std::to_string(s.headType) +
            " is not one of 0-9 (-1 and 0: no signal): it shows no picture");
      }
      if (s.controlKind >= 1 && s.controlKind <= 3 && (s.fixedAspect < 0 || s.fixedAspect > top)) {
        add(row("[Signal]", i) + ": fixed aspect " + std::to_string(s.fixedAspect) + " is outside 0-" +
            std::to_string(top) + " (the [Speed_Signal] list): the nearest is shown");
      }
      if (s.controlKind == 3 && (s.stationIndex < 0 || s.stationIndex >= stations_)) {
        add(row("[Signal]", i) + ": waits for the departure of station " + std::to_string(s.stationIndex) +
            ", which the line does not have: the signal works automatically");
      }
      // ATS-S reads the picture of the signal in view at its points.
      const int points[2] = {s.atsPoint1, s.atsPoint2};
      for (int k = 0; k < 2; ++k) {
        const int point = points[k];
        if (s.headType >= 1 && s.headType <= 9 && point != 0 && (point < s.visibleFrom || point >= s.visibleTo)) {
          add(row("[Signal]", i) + ": ATS point " + std::to_string(k + 1) + " (frame " + std::to_string(point) +
              ") is outside the frames the signal is in view (" + std::to_string(s.visibleFrom) + "-" +
              std::to_string(s.visibleTo) + "): ATS-S reads no picture of it there");
        }
      }
      // ATC reads the speed of pictures 22-29 from the list.
      if (s.headType == 6 || s.headType == 7) {
        for (int aspect = 0; aspect <= top; ++aspect) {
          const int picture = sim::signalPicture(s.headType, aspect, 0);
          if (picture >= 22 && picture <= 29 && picture - 22 >= speeds_) {
            add(row("[Signal]", i) + ": picture " + std::to_string(picture) + " needs [Speed_Signal] entry " +
                std::to_string(picture - 22 + 1) + " for ATC, which the list does not have: ATC checks nothing there");
            break;
          }
        }
      }
    }
  }

  void speedChecks() {
    for (int i = 0; i < std::min(r_.speedCheck1Count, data::kSpeedCheckCapacity); ++i) {
      const int link = r_.speedChecks1[static_cast<std::size_t>(i)].signalLink;
      if (link > 0 && link >= signals_) {
        add(row("[SpeedCheck1]", i) + ": links signal " + std::to_string(link) +
            ", which the line does not have: the check never applies");
      }
    }
  }

  void limitBeacons() {
    for (int i = 0; i < std::min(r_.speedLimitCount, data::kSpeedLimitCapacity); ++i) {
      const int kind = r_.speedLimits[static_cast<std::size_t>(i)].beaconKind;
      if (kind == 2) {
        add(row("[SpeedLimit]", i) + ": ATS-P beacon kind 2 is a signal's beacon, but a limit names no signal" +
            (signals_ > 0 ? std::string(": ATS-P reads the first signal") : std::string(": ATS-P ignores it")));
      } else if (kind == 3) {
        add(row("[SpeedLimit]", i) + ": ATS-P beacon kind 3 is a station's beacon, but a limit names no station" +
            (stations_ > 0 ? std::string(": ATS-P reads the first station") : std::string(": ATS-P ignores it")));
      } else if (kind < 0 || kind > 3) {
        add(row("[SpeedLimit]", i) + ": ATS-P beacon kind " + std::to_string(kind) +
            " is not 1 (limit), 2 (signal) or 3 (station): ATS-P ignores it");
      }
    }
  }

  void precedingTrain() {
    const int rows = std::min(r_.preTrainCount, data::kPreTrainCapacity);
    if (rows == 0) {
      if (r_.preTrainStart != 0 || r_.preTrainParam != 0)
        add("[Pre_Train] has no rows: the line has no preceding train");
      return;
    }
    if (r_.preTrainParam <= r_.preTrainStart) {
      add("[Pre_Train] ends at frame " + std::to_string(r_.preTrainParam) + ", not after its start at frame " +
          std::to_string(r_.preTrainStart) + ": the preceding train leaves the line at once");
    }
    for (int i = 0; i < rows; ++i) {
      const int station = r_.preTrains[static_cast<std::size_t>(i)].station;
      if (station < 0 || station >= stations_) {
        add(row("[Pre_Train]", i) + ": station " + std::to_string(station) +
            " is not on the line: the row is not used");
      }
    }
  }

  const data::RouteData& r_;
  int signals_;
  int stations_;
  int speeds_;
  std::vector<std::string> out_;
};

}  // namespace

std::vector<std::string> protectionFindings(const data::RouteData& route) { return Findings(route).all(); }

}  // namespace vesk::tools
