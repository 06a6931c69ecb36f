// What the line asks of the train's speed, as a driver knows it from the route and sees it from the cab: the
// permanent speed limits (held until the whole train is past their end), the timetable's section speeds, the
// signals' aspects, the ATS speed checks and the vehicle's own top speed. The automatic driver plans from it and
// the run record checks the drive against it.
#pragma once

#include <vector>

namespace vesk::sim {

class Drive;

// A stretch of line (positions in cm) with the highest speed allowed on it (km/h).
struct SpeedSpan {
  double from = 0;
  double to = 0;
  double kmh = 0;
  enum class Source { Limit, Section, Signal, SpeedCheck, TopSpeed } source = Source::Limit;
};

class LineAhead {
 public:
  // Positions of the route's rows, worked out once.
  explicit LineAhead(const Drive& drive);

  // Every span that overlaps [from, to] now: the fixed ones, and the signals' as their aspects stand now (from a
  // signal to the next one; a signal at stop allows nothing from a little before it).
  std::vector<SpeedSpan> spans(const Drive& drive, double from, double to) const;
  // The highest speed allowed at `position` now, and the kind of rule that gives it.
  SpeedSpan allowedAt(const Drive& drive, double position) const;

  // The spans that do not change during a drive: the limits, the section speeds, the top speed.
  const std::vector<SpeedSpan>& fixedSpans() const { return fixed_; }
  // The gradient (per mil, + rising) at a position, from the route's "[Slope]" rows; 0 outside them.
  double gradientAt(double position) const;
  // The gradient the whole train feels with its head at `position`: one sample a car, averaged.
  double trainGradientAt(double position) const;
  // Where the signals stand (cm), in route order; -1 for entries that are not signals.
  const std::vector<double>& signalPositions() const { return signalPositions_; }
  // The whole train's length: the limits hold until its tail is past.
  double trainLengthCm() const { return trainLengthCm_; }

  // How far before a signal at stop a train is to stand.
  static constexpr double kSignalStandOffCm = 3000;

 private:
  std::vector<SpeedSpan> fixed_;  // limits, section speeds, the top speed
  std::vector<double> signalPositions_;
  struct Check {
    double position;
    double kmh;
    int signalLink;
  };
  std::vector<Check> checks_;
  std::vector<SpeedSpan> gradients_;  // kmh holds the gradient
  double trainLengthCm_ = 0;
};

}  // namespace vesk::sim
