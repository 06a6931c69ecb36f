// Autopilot: an automatic driver. After every tick it looks at what a driver sees from the cab (the speed, the
// signals and the protection's bells and lamps, the limits ahead, the distance to the stopping mark, the
// timetable clock) and answers with the keys a driver would press: the reverser, the power and brake handles,
// the gears and the engine of a diesel, the doors of a one-man train, the ATS confirmation and Enter for the
// call-outs. It never changes the drive's state itself: its keys go through the input queue like the keyboard's.
// It plans from the vehicle's own traction and brake figures, and brakes in steps as a driver does.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "data/vehicle_spec.h"
#include "sim/input_event.h"
#include "sim/line_ahead.h"
#include "sim/train_state.h"

namespace vesk::sim {

class Drive;
class DriveRunner;

class Autopilot {
 public:
  explicit Autopilot(const Drive& drive);

  // The keys to press after this tick, in order.
  std::vector<InputEvent> decide(const Drive& drive);

  // The deceleration (km/h/s) it plans its stops with, from the vehicle's service brake.
  double stopDeceleration() const { return stopDecel_; }
  const LineAhead& line() const { return line_; }

 private:
  enum class Phase { Standing, Running, Stopping };

  // The key that does one thing with the handles, for this vehicle's handle layout.
  char powerUpKey() const;
  char powerDownKey() const;
  char brakeStepKey() const;
  char brakeReleaseKey() const;

  void callOut(const Drive& drive);
  // Emergency braking and the ATS bell; true when they took this tick's keys.
  bool protection(const Drive& drive);
  void engine(const Drive& drive);
  void stand(const Drive& drive);
  void run(const Drive& drive);
  void stop(const Drive& drive);
  void gears(const Drive& drive);
  // Moves the brake handle towards the deceleration wanted, a step at a time once the last step has told.
  void brakeFor(const Drive& drive, double wanted);
  void automaticBrakeStop(const Drive& drive, double metres);
  void notchedBrakeStop(const Drive& drive, double metres);
  // Metres from `speed` at `position` to a stand with the cylinders at `pressure`, the other forces giving
  // `rest` km/h/s and the gradients ahead theirs.
  double stoppingDistance(double speed, double pressure, double rest, double position) const;
  // The cylinder pressure that brings the train to a stand in `metres`.
  double pressureToStop(const TrainState& s, double metres) const;
  // km/h/s a gradient takes off the speed (negative on a falling one).
  static double gradeDecel(double permil);
  // The cylinders' pressure over the braked cars, weighted by their mass.
  double effectivePressure(const TrainState& s) const;
  // The motor cars' share of the braked mass.
  double motorShare() const;
  // Measures rest_: what the forces other than the cylinders and the gradient give now (resistance, the
  // electric brake), km/h/s.
  void updateRest(const TrainState& s);
  void powerTo(const Drive& drive, int notch);
  // The speed to keep here: under every limit the train is in, and on the braking curve of every one ahead.
  double targetSpeed(const Drive& drive) const;
  // True when the train, coasting from here, still reaches the next stop by the time the timetable leaves it
  // (looked at again every second).
  bool aheadOfTime(const Drive& drive);
  // When the train should stand at the next stop (clock units): early enough at a stop with doors for the
  // arrival and departure announcements to fit before the departure time; at the last stop, its time.
  double arrivalGoal(const Drive& drive) const;
  // Seconds to the next stop `metres` ahead if the train coasts from here, held under the limits it meets and
  // braking into the stop on the planned deceleration; kNone when coasting would leave it crawling.
  double coastingSeconds(const Drive& drive, double metres) const;
  int topNotch(const Drive& drive) const;
  int serviceNotches() const;
  // The deceleration (km/h/s) the cylinders give at `pressure` kPa at `speed`: the brake rate for the pressure
  // against the emergency pressure, on the braked share of the train's mass, with the shoes' friction there.
  double airDecel(double pressure, double speed) const;
  void press(char c) { keys_.push_back(InputEvent::typed(c)); }

  const data::VehicleSpec& vehicle_;
  LineAhead line_;
  double brakedShare_ = 1;
  double serviceDecel_ = 3;  // km/h/s at full service
  double stopDecel_ = 2;     // planned for stops
  double limitDecel_ = 1.8;  // planned for slowing to a limit
  double brakeLag_ = 0.5;    // s from a brake step to its force
  int settleTicks_ = 5;      // ticks to wait after a brake step before judging it

  Phase phase_ = Phase::Standing;
  std::vector<InputEvent> keys_;
  int departures_ = 0;
  bool doorsOpened_ = false;
  bool engineKeyHeld_ = false;
  double lastSpeed_ = 0;
  double decel_ = 0;  // measured, smoothed, km/h/s
  double rest_ = 0;   // updateRest(), smoothed
  int brakeWait_ = 0;
  int timetableWait_ = 0;  // ticks until aheadOfTime() looks again
  bool ahead_ = false;
  std::array<int, 5> lastItem_{};
};

// Queues the keys the driver presses after the tick just run, a millisecond after it, as a keyboard's arrive.
void pressAutopilotKeys(Autopilot& autopilot, DriveRunner& runner);

}  // namespace vesk::sim
