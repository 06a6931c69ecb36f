// Driver information: what the tick turns the train's state into for the driver to read. The texts on the
// forward view, the advice message and its sounds, the needles, gauges, lamps and digital speed of the cab
// panel, the text mode's labels, the simple cab's notch lamps and the value display. Nothing here acts on the
// train. Each section lives in its own file; the control step and the tick call them in the order below.
#pragma once

#include <optional>
#include <string>

#include "data/vehicle_spec.h"

namespace vesk::sim {

class Drive;

// Tick, in this order.
// The speed needle and the digital speed.
void speedInstrumentStep(Drive& drive);
// SpeedText and StopDistanceText.
void speedTextStep(Drive& drive);
// The power, electric, air, regeneration, constant-speed and notching lamps.
void panelLampStep(Drive& drive);
// LimitNoticeText and LimitText from the ATS-P pattern and the speed limits and checks ahead.
void limitNoticeStep(Drive& drive);
// The tunnel shade over the panel.
void tunnelShadeStep(Drive& drive);
// The text mode's labels and the simple cab's notch lamps.
void windowTextStep(Drive& drive);
// The value display's readouts (while it is shown).
void valueDisplayStep(Drive& drive);
// The advice message: built every tick, acting only when it changes.
void driverMessageStep(Drive& drive);

// Control step (where the window's frames would do it, so that a headless drive shows the same): the pressure
// needles, the voltmeter, the ammeter and the linear gauges.
void update_instruments(Drive& drive);

// The parts, for tests.
// "%5.0f m" beyond 10 m, "%5.1f m" beyond 5 m, else "%5.2f m", of a distance in cm (negative past the mark).
std::string stopDistanceText(double distanceToStop);
// A needle's sprite angle from degrees: 255/360 of a step a degree, to the nearest step, within 0 .. 255.
int needleAngle(double degrees);
// The speed needle's angle at `speed`, or none where it keeps its last angle (160 km/h and more, and between
// -1 and 0 km/h).
std::optional<int> speedNeedleAngle(double speed, const data::NeedleSpec& needle);
// One step of the ammeter's damped swing from the current shown towards the target.
int ammeterFollow(int shown, int target);
// The ammeter needle's angle for the current shown, by its mode.
int ammeterAngle(int shown, int reverser, const data::NeedleSpec& needle);
// The advice message of the state (with its "0", "1" or "2" prefix), empty when there is none.
std::string buildAdviceMessage(const Drive& drive);
// Acts on a message that differs from the last one: shows its text, or plays its sound file on the announcement
// channel once ("1") or looped ("2"); an empty message clears MessageText.
void showAdviceMessage(Drive& drive, const std::string& message);

}  // namespace vesk::sim
