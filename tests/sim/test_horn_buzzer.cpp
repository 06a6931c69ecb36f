#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/horn_buzzer.h"
#include "support/drive_fixture.h"

namespace vesk::sim {
namespace {

using core::Fixed;

constexpr int kStart = 10;
constexpr int kSegmentA = 11;
constexpr int kSegmentB = 12;
constexpr int kEnd = 13;
constexpr int kBuzzer = 14;

// A wave of `ms` milliseconds (1000 samples a second).
std::shared_ptr<const media::Wave> waveOf(int ms) {
  auto w = std::make_shared<media::Wave>();
  w->sampleRate = 1000;
  w->channels = 1;
  w->frames = ms;
  return w;
}

// The four-part horn: start, A, B, end, the next segment due 6 clock units (0.2 s) after the last began; 2 kPa
// of air.
data::VehicleSpec hornTrain(bool fourPartHorn = true) {
  data::VehicleSpec v = test::testVehicle();
  v.soundHorn4 = {fourPartHorn ? kStart : 0, kSegmentA, kSegmentB, kEnd, 6};
  v.hornAirFlow = Fixed::fromInt(2);
  v.soundBuzzer = kBuzzer;
  return v;
}

std::unique_ptr<test::DriveFixture> hornDrive(bool fourPartHorn = true) {
  auto f = test::makeDrive(hornTrain(fourPartHorn));
  f->sounds.bind_wave(kStart, waveOf(550));
  f->sounds.bind_wave(kSegmentA, waveOf(550));
  f->sounds.bind_wave(kSegmentB, waveOf(550));
  f->sounds.bind_wave(kEnd, waveOf(350));
  f->sounds.bind_wave(kBuzzer, waveOf(1000));
  f->drive.state.mr = Fixed::fromInt(800);
  f->sounds.clearOperations();
  return f;
}

enum class Input { Char3, Char4, HornKey, BuzzerKey, ControllerHorn, ControllerBuzzer };

struct InputEvent {
  int ms;
  Input input;
  bool on = true;
};

void apply(Drive& drive, const InputEvent& e) {
  switch (e.input) {
  case Input::Char3:
    drive.AsciiDown('3');
    break;
  case Input::Char4:
    drive.AsciiDown('4');
    break;
  case Input::HornKey:
    drive.hornKeyHeld = e.on;
    break;
  case Input::BuzzerKey:
    drive.buzzerKeyHeld = e.on;
    break;
  case Input::ControllerHorn:
    drive.controllerHornHeld = e.on;
    break;
  case Input::ControllerBuzzer:
    drive.controllerBuzzerHeld = e.on;
    break;
  }
}

// Applies each event before the routines due at its time, then runs on to `endMs`.
void runDrive(test::DriveFixture& f, const std::vector<InputEvent>& events, int endMs) {
  for (const InputEvent& e : events) {
    f.scheduler.runBefore(e.ms, f.drive);
    apply(f.drive, e);
  }
  f.scheduler.runUntil(endMs, f.drive);
}

// "ms operation channel" for every play and stop of the horn and buzzer channels.
std::vector<std::string> hornAndBuzzerOps(const media::VirtualSoundBank& bank) {
  std::vector<std::string> out;
  for (const media::SoundOperation& op : bank.operations()) {
    if (op.channel < kStart || op.channel > kBuzzer) continue;
    const char* kind = op.kind == media::SoundOperation::Kind::PlayOnce   ? "play_once"
                       : op.kind == media::SoundOperation::Kind::PlayLoop ? "play_loop"
                       : op.kind == media::SoundOperation::Kind::Stop     ? "stop"
                                                                          : nullptr;
    if (kind != nullptr) out.push_back(std::to_string(op.timeMs) + " " + kind + " " + std::to_string(op.channel));
  }
  return out;
}

struct SoundCase {
  const char* name;
  std::vector<InputEvent> events;
  int endMs;
  std::vector<std::string> played;
  bool fourPartHorn = true;
};
void PrintTo(const SoundCase& testCase, std::ostream* out) { *out << testCase.name; }

class HornBuzzerSoundTest : public testing::TestWithParam<SoundCase> {};

TEST_P(HornBuzzerSoundTest, PlaysTheSegments) {
  const SoundCase& c = GetParam();
  auto f = hornDrive(c.fourPartHorn);
  runDrive(*f, c.events, c.endMs);
  EXPECT_EQ(hornAndBuzzerOps(f->sounds), c.played);
  // Nothing is left held once every key and input is up.
  EXPECT_EQ(f->drive.control.hornHeld, 0);
  EXPECT_EQ(f->drive.control.buzzerHeld, 0);
}

// Ticks at every 100 ms; the clock counts control steps (every 33 ms): at 100 ms it is 3, at 400 ms 12.
INSTANTIATE_TEST_SUITE_P(
    Inputs, HornBuzzerSoundTest,
    testing::Values(
        // Start at the first tick; A once more than 6 clock units have passed (400 ms, clock 12), then B, A, B
        // each 9 units later; released at 1500 ms, the end follows B once the interval has passed.
        SoundCase{"held_through_both_segments",
                  {{0, Input::HornKey}, {0, Input::Char3}, {1500, Input::HornKey, false}},
                  2500,
                  {"100 play_once 10", "400 play_once 11", "700 play_once 12", "1000 play_once 11", "1300 play_once 12",
                   "1600 play_once 13"}},
        // Released while the start plays: the end waits for the interval.
        SoundCase{"released_during_the_start",
                  {{0, Input::HornKey}, {0, Input::Char3}, {250, Input::HornKey, false}},
                  1500,
                  {"100 play_once 10", "400 play_once 13"}},
        // A key already up when the tick polls sounds nothing, and holding it later without a new press neither.
        SoundCase{"tap_released_before_the_tick", {{0, Input::Char3}, {500, Input::HornKey}}, 1000, {}},
        SoundCase{"held_key_without_a_press", {{0, Input::HornKey}}, 1000, {}},
        SoundCase{"controller_horn",
                  {{0, Input::ControllerHorn}, {250, Input::ControllerHorn, false}},
                  1500,
                  {"100 play_once 10", "400 play_once 13"}},
        // Without the four-part horn the key sounds "[Sound_Horn]" itself; the tick plays nothing.
        SoundCase{"controller_without_four_part_horn",
                  {{0, Input::ControllerHorn}, {250, Input::ControllerHorn, false}},
                  1500,
                  {},
                  false},
        SoundCase{"buzzer_held",
                  {{0, Input::BuzzerKey}, {0, Input::Char4}, {350, Input::BuzzerKey, false}},
                  1000,
                  {"100 play_loop 14", "400 stop 14"}},
        // The buzzer no longer stays on after a press whose key is up.
        SoundCase{"buzzer_tap", {{0, Input::Char4}}, 1000, {}},
        SoundCase{"controller_buzzer",
                  {{0, Input::ControllerBuzzer}, {250, Input::ControllerBuzzer, false}},
                  1000,
                  {"100 play_loop 14", "300 stop 14"}},
        // Held past the wave's length the looped buzzer keeps playing without being started again.
        SoundCase{"buzzer_held_long",
                  {{0, Input::BuzzerKey}, {0, Input::Char4}, {2550, Input::BuzzerKey, false}},
                  3000,
                  {"100 play_loop 14", "2600 stop 14"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HornAir, DipsTheNeedleAndDrainsTheReservoirWhileHeld) {
  auto horn = hornDrive();
  auto quiet = hornDrive();
  runDrive(*horn, {{0, Input::HornKey}, {0, Input::Char3}}, 100);
  EXPECT_EQ(horn->drive.state.hornAir, Fixed::fromInt(-1));
  runDrive(*horn, {}, 1000);
  runDrive(*quiet, {}, 1000);
  // Half the air use a tick, down to the air use.
  EXPECT_EQ(horn->drive.state.hornAir, Fixed::fromInt(-2));
  // 0.5 kPa a tick from the main reservoir, ten ticks.
  EXPECT_EQ(quiet->drive.state.mr - horn->drive.state.mr, Fixed::fromInt(5));
  EXPECT_EQ(horn->drive.state.hornStart, 30);  // the segment begun at 1000 ms
}

TEST(HornAir, DipRecoversAfterRelease) {
  auto f = hornDrive();
  runDrive(*f, {{0, Input::HornKey}, {0, Input::Char3}}, 900);
  EXPECT_EQ(f->drive.state.hornAir, Fixed::fromInt(-2));
  const Fixed mr = f->drive.state.mr;
  runDrive(*f, {{1000, Input::HornKey, false}}, 1000);
  EXPECT_EQ(f->drive.state.hornAir, Fixed{});
  // The reservoir itself is not given back.
  EXPECT_LT(f->drive.state.mr, mr);
}

TEST(HornAir, NeedleNeverShowsLessThanAnEmptyReservoir) {
  auto f = hornDrive();
  f->drive.state.mr = Fixed::fromDouble(1.2);
  runDrive(*f, {{0, Input::HornKey}, {0, Input::Char3}}, 300);
  EXPECT_EQ(f->drive.state.mr, Fixed{});
  EXPECT_EQ(f->drive.state.hornAir, Fixed{});
  EXPECT_GE(f->drive.state.hornAir, -f->drive.state.mr);
}

TEST(HornAir, ZeroAirUseLeavesTheNeedleAlone) {
  data::VehicleSpec v = hornTrain();
  v.hornAirFlow = Fixed{};
  auto f = test::makeDrive(v);
  f->drive.state.mr = Fixed::fromInt(800);
  runDrive(*f, {{0, Input::HornKey}, {0, Input::Char3}, {500, Input::HornKey, false}}, 1000);
  EXPECT_EQ(f->drive.state.hornAir, Fixed{});
}

}  // namespace
}  // namespace vesk::sim
