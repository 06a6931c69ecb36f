// The tick's part of the brakes: the electric brake current, the compressor and the brake sounds.
#include <algorithm>
#include <cmath>

#include "core/rounding.h"
#include "sim/brake.h"
#include "sim/drive.h"
#include "sim/traction.h"

namespace vesk::sim {
namespace {

double perStep(const Drive& drive) {
  return drive.strings.fastStepsPerSecond > 0 ? drive.strings.fastStepsPerSecond : 30;
}

// Hundredths of a decibel for an amplitude gain, halves to even; silence for a gain of 0 or less.
int gainToVolume(double gain) {
  if (!(gain > 0)) return media::SoundBank::kSilent;
  return core::saturate32(std::max<std::int64_t>(core::even(2000 * std::log10(gain)), media::SoundBank::kSilent));
}

void playOnce(Drive& drive, int channel) {
  drive.sounds.stop(channel);
  drive.sounds.play_once(channel);
}

void loopWhenSilent(Drive& drive, int channel) {
  if (!drive.sounds.is_playing(channel)) drive.sounds.play_loop(channel);
}

}  // namespace

void electricBrakeStep(Drive& drive) {
  TrainState& s = drive.state;
  const data::VehicleSpec& v = drive.vehicle;
  const int positions = v.brakeNotches;
  const int e = s.elecBrakeNotch;
  const double n = perStep(drive);
  const bool service = e > -positions && e < 0;
  if (v.elecBrakeType == 1) {
    if (v.brakeForceMode < 1) return;
    const double fall = v.elecBrakeDownRate / n * 3;
    if (service && positions > 1) {
      const double target = static_cast<double>(v.elecBrakeMaxCurrent) / (positions - 1) * -e;
      if (target > s.elecBrakeCurrent + 50 && s.speed >= v.elecBrakeFadeSpeed) {
        s.elecBrakeCurrent += v.elecBrakeUpRate / n * 3;
      } else if (target < s.elecBrakeCurrent || s.speed < v.elecBrakeFadeSpeed) {
        s.elecBrakeCurrent -= fall;
      }
    } else if (e == 0 || e == -positions) {
      s.elecBrakeCurrent -= fall;
    }
    s.elecBrakeCurrent = std::max(s.elecBrakeCurrent, 0.0);
    return;
  }
  // The current table: the step climbs while the notch's limit current is above the current.
  const double speed = std::fabs(s.speed);
  if (doorsAllowTraction(drive) && e < 0) {
    if (s.speed >= v.elecBrakeFadeSpeed || s.elecBrakeStep > 0) {
      const int limitIndex = -e;
      const int limit =
          limitIndex < data::kBrakeCurrentCapacity ? v.brakeCurrent[static_cast<std::size_t>(limitIndex)] : 0;
      for (int i = 0; i < v.currentBCount; ++i) {
        const data::CurrentBRow& at =
            v.currentBRows[static_cast<std::size_t>(std::clamp(s.elecBrakeStep, 0, data::kCurrentBCapacity - 1))];
        if (at.slope != 0) s.elecBrakeCurrent = (speed - at.speedOffset) / at.slope;
        if (limit == 0) {
          s.elecBrakeStep = 0;
          s.elecBrakeCurrent = 0;
        } else if (s.elecBrakeStep < i && limit > s.elecBrakeCurrent) {
          s.elecBrakeStep += 1;
        }
      }
    } else if (s.elecBrakeStep == 0) {
      s.elecBrakeCurrent = 0;
    }
  }
  if (e == 0) s.elecBrakeStep = 0;
  if (e == 0 || s.elecBrakeCurrent < 100) s.elecBrakeCurrent = 0;
  if (s.elecBrakeStep > 0) s.resistorStep = 0;
  s.elecBrakeCurrent = std::max(s.elecBrakeCurrent, 0.0);
}

void compressorStep(Drive& drive) {
  TrainState& s = drive.state;
  const data::VehicleSpec& v = drive.vehicle;
  if (s.mr < static_cast<double>(v.mrLowPressure) && s.compressorOn == 0) {
    playOnce(drive, v.soundCompressorStart);
    drive.sounds.stop(v.soundCompressorRun);
    drive.sounds.play_loop(v.soundCompressorRun);
    s.compressorOn = 1;
  } else if (s.compressorOn != 0 && s.mr >= static_cast<double>(v.mrHighPressure)) {
    drive.sounds.play_once(v.soundCompressorEnd);
    drive.sounds.stop(v.soundCompressorRun);
    s.compressorOn = 0;
  }
  if (s.compressorOn != 0) s.mr += v.engineType == 0 ? s.engineRpm / 100 * 0.4 : 0.3;
}

void brakeSoundStep(Drive& drive) {
  TrainState& s = drive.state;
  const data::VehicleSpec& v = drive.vehicle;
  const sim::ControlState& c = drive.control;
  const int positions = v.brakeNotches;
  const bool forced = s.emergencyLatched != 0 || s.atsBrakeLatched != 0;
  const int handle = c.brakeHandle;

  if (v.brakeType >= 1 && !forced) {
    const int stepEntry = -s.brakeNotch - 1;
    if (s.brakeStepSoundArmed != 0 && s.brakeNotch != -1 && handle == 0 && s.bcTrailer > Fixed{} && stepEntry >= 1 &&
        stepEntry <= data::kMaxBrakeNotches) {
      playOnce(drive, v.soundBrakeStep[static_cast<std::size_t>(stepEntry)]);
      s.brakeStepSoundArmed = 0;
    }
    const int releaseEntry = -handle;
    if (s.brakeReleaseSoundArmed != 0 && s.brakeNotch < handle && positions != 0 &&
        v.ebPressure * static_cast<double>(handle) / -positions < (s.bcTrailer - Fixed::fromInt(10)).toDouble() &&
        releaseEntry >= 1 && releaseEntry <= data::kMaxBrakeNotches) {
      playOnce(drive, v.soundBrakeRelease[static_cast<std::size_t>(releaseEntry)]);
      s.brakeReleaseSoundArmed = 0;
    }
    if (s.brakeNotch >= handle) {
      s.brakeStepSoundArmed = 1;
      s.brakeReleaseSoundArmed = 1;
    }
  }

  const bool emergency = s.emergencyLatched != 0 || handle == -positions;
  const bool emergencySounds =
      v.brakeType == 2 ? emergency && s.bcTrailer < static_cast<double>(v.ebPressure) : emergency && s.bp > 0;
  if (emergencySounds && s.emergencySoundArmed != 0) {
    playOnce(drive, v.soundEmergency);
    s.emergencySoundArmed = 0;
  }
  if (!emergency) s.emergencySoundArmed = 1;

  if (v.brakeType == 0) {
    // The brake valve's exhaust while applying, and the feed while recharging the pipe.
    if (s.brakeNotch == -3 && s.bp > 0) {
      loopWhenSilent(drive, v.soundApply);
      drive.sounds.set_volume(v.soundApply, s.bp >= 100 ? 0 : gainToVolume(s.bp / 100));
    } else {
      drive.sounds.stop(v.soundApply);
    }
    const double mr = s.mr.toDouble();
    if (s.bp + 10 >= mr || s.brakeNotch < -1 || s.bp >= 490) {
      drive.sounds.stop(v.soundApplyRelease);
    } else {
      loopWhenSilent(drive, v.soundApplyRelease);
      int volume = gainToVolume((mr - s.bp) / 100);
      if (s.bp > 440)
        volume = gainToVolume((490 - s.bp) / 100);
      else if (s.bp <= mr - 50)
        volume = 0;
      drive.sounds.set_volume(v.soundApplyRelease, volume);
    }
  }

  // Brake shoes squeal while the air brake alone stops a moving train.
  const double speed = std::fabs(s.speed);
  if (s.bcTrailer > Fixed{} && speed > 1 && s.elecBrakeCurrent == 0) {
    const double fade = v.elecBrakeFadeSpeed != 0 ? v.elecBrakeFadeSpeed : 1;
    s.squeakVolume = core::saturate32(core::even(-500.0 * 500.0 * speed / fade / s.bcTrailer.toDouble()));
    s.squeakVolume = std::max(s.squeakVolume, media::SoundBank::kSilent);
    loopWhenSilent(drive, v.soundSqueak);
    drive.sounds.set_volume(v.soundSqueak, s.squeakVolume);
  } else {
    if (s.bcTrailer == Fixed{} && s.squeakVolume >= -5999) s.squeakVolume -= 100;
    if (speed < 1 && s.squeakVolume >= -5999) s.squeakVolume -= 1000;
    drive.sounds.set_volume(v.soundSqueak, s.squeakVolume);
    if (s.squeakVolume < -5000) drive.sounds.stop(v.soundSqueak);
  }
}

}  // namespace vesk::sim
