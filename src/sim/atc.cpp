// ATC: the cab signal gives the permitted speed (pictures 22 to 29 stand for the "[Speed_Signal]" speeds); above
// it the service brake is latched (at picture 22, the stop signal, the emergency brake) until the train is below
// it again. The emergency latch stays until the driver resets it.
#include <algorithm>

#include "sim/drive.h"
#include "sim/protection.h"

namespace vesk::sim {

void atcStep(Drive& drive) {
  if (drive.vehicle.atsType != 2) return;
  TrainState& s = drive.state;
  const int picture = s.shownSignalImage;
  // A picture whose speed the route does not give checks nothing.
  const std::optional<int> permitted = picture >= 22 && picture <= 29 ? signalSpeed(drive, picture - 22) : std::nullopt;
  const bool overSpeed = permitted && s.speed > *permitted - 0.4;
  if (overSpeed && s.atcLatched == 0) {
    if (picture == 22) {
      s.emergencyLatched = 1;
    } else {
      s.atsBrakeLatched = 1;
    }
    setAllDelayFlags(drive);
    drive.masconupdate();
    s.atcLatched = 1;
  } else if (!overSpeed && s.atcLatched != 0) {
    s.atsBrakeLatched = 0;
    setAllDelayFlags(drive);
    drive.masconupdate();
    s.atcLatched = 0;
  }
}

}  // namespace vesk::sim
