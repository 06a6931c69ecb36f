#include "sim/horn_buzzer.h"

#include <algorithm>
#include <cstdint>

#include "sim/drive.h"

namespace vesk::sim {
namespace {

// A press of a key ('3', '4') lasts while the key stays down: a key found released ends the press.
bool pressHeld(std::uint8_t& pressed, bool keyStillHeld) {
  if (pressed != 0 && !keyStillHeld) pressed = 0;
  return pressed != 0;
}

class Horn {
 public:
  explicit Horn(Drive& drive)
      : drive_(drive), s_(drive.state), start_(drive.vehicle.soundHorn4[0]), a_(drive.vehicle.soundHorn4[1]),
        b_(drive.vehicle.soundHorn4[2]), end_(drive.vehicle.soundHorn4[3]), airUse_(drive.vehicle.hornAirFlow),
        // The next segment is due once more than the interval (in clock units) has passed since the last began.
        due_(static_cast<std::int64_t>(s_.clock) - s_.hornStart > drive.vehicle.soundHorn4[4]) {}

  // Start, then A and B in turn, each begun an interval after the one before so that they overlap. The air
  // drawn shows as a dip of the main reservoir needle (hornAir) on top of the reservoir's own drain.
  void blow() {
    if (!playing(start_) && !playing(a_) && !playing(b_)) {
      begin(start_);
    } else if ((playing(start_) || playing(b_)) && !playing(a_) && due_) {
      begin(a_);  // after the start, and after B
    } else if (playing(a_) && !playing(b_) && due_) {
      begin(b_);
    }
    if (s_.hornAir > -airUse_) s_.hornAir -= 0.5 * airUse_.toDouble();
    s_.mr -= 0.5;
    s_.mr = std::max(s_.mr, Fixed{});
    // The needle never shows less than an empty reservoir.
    s_.hornAir = std::max(s_.hornAir, -s_.mr);
    s_.hornAirRecovery = airUse_;
  }

  // The end segment follows what still plays, an interval after the last segment began; the needle's dip
  // recovers by a step that starts at the air use and falls by a fifth of it each tick (never below that fifth,
  // so that the dip always closes).
  void release() {
    for (const int segment : {start_, a_, b_}) {
      if (playing(segment) && due_ && !playing(end_)) drive_.sounds.play_once(end_);
    }
    if (s_.hornAir < Fixed{}) {
      s_.hornAir = std::min(s_.hornAir + std::max(s_.hornAirRecovery, Fixed{}), Fixed{});
      const Fixed fifth = Fixed::fromDouble(airUse_.toDouble() / 5);
      s_.hornAirRecovery = std::max(s_.hornAirRecovery - fifth, fifth);
    }
  }

 private:
  bool playing(int channel) const { return drive_.sounds.is_playing(channel); }
  void begin(int segment) {
    s_.hornStart = s_.clock;
    drive_.sounds.play_once(segment);
  }

  Drive& drive_;
  TrainState& s_;
  int start_;
  int a_;
  int b_;
  int end_;
  Fixed airUse_;
  bool due_;
};

}  // namespace

void hornBuzzerStep(Drive& drive) {
  ControlState& c = drive.control;
  const bool hornHeld = pressHeld(c.hornHeld, drive.hornKeyHeld) || drive.controllerHornHeld;
  // A train without the four-part horn ("[Sound_Horn4]" first value 0) sounds "[Sound_Horn]" from the key.
  if (drive.vehicle.soundHorn4[0] != 0) {
    Horn horn(drive);
    if (hornHeld) {
      horn.blow();
    } else {
      horn.release();
    }
  }

  const int buzzer = drive.vehicle.soundBuzzer;
  if (pressHeld(c.buzzerHeld, drive.buzzerKeyHeld) || drive.controllerBuzzerHeld) {
    if (!drive.sounds.is_playing(buzzer)) drive.sounds.play_loop(buzzer);
  } else if (drive.sounds.is_playing(buzzer)) {
    drive.sounds.stop(buzzer);
  }
}

}  // namespace vesk::sim
