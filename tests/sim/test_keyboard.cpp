#include <gtest/gtest.h>

#include "support/drive_fixture.h"

namespace vesk::sim {
namespace {

using sim::Key;
using test::makeDrive;

// A notch-table train with power modes (notches 1-3 mode 0 "P", 4-5 mode 1 "S"), 8 brake positions, combined
// master controller, and the interface strings the texts use.
std::unique_ptr<test::DriveFixture> train(int handleLayout = 0, int holdMode = 0, int brakeType = 1) {
  data::VehicleSpec v = test::testVehicle();
  v.handleLayout = handleLayout;
  v.holdMode = holdMode;
  v.brakeType = brakeType;
  v.brakeNotches = brakeType == 0 ? 4 : 8;
  v.powerNotches = 5;
  for (int i = 0; i < 5; ++i) v.notchRows[static_cast<std::size_t>(i)].mode = i < 3 ? 0 : 1;
  v.notchRowCount = 5;
  v.notchModeStart[1] = 3;
  v.powerModeCount = 2;
  v.powerModes[0] = {"P", "通常"};
  v.powerModes[1] = {"S", "勾配"};
  for (int i = 1; i <= 5; ++i) v.soundPowerApply[static_cast<std::size_t>(i)] = 10 + i;
  for (int i = 0; i <= 8; ++i) v.soundBrakeApply[static_cast<std::size_t>(i)] = 20 + i;
  auto f = makeDrive(v);
  data::UiStrings& t = f->strings;
  t.forwardText = "前";
  t.neutralText = "切";
  t.reverseText = "後";
  t.neutText = "緩め";
  t.neut2Text = "切";
  t.ebText = "非常";
  t.hold2Text = "抑速";
  t.applyText = "重なり";
  t.holdText = "ユルメ保ち";
  t.maintainText = "保ち";
  t.removeText = "緩解";
  t.constText = "定速";
  t.doorsTexts = {"閉", "開"};
  return f;
}

void type(Drive& d, const std::string& keys) {
  for (char c : keys) d.AsciiDown(c);
}

struct SequenceCase {
  const char* name;
  int holdMode;
  const char* keys;
  int brakeHandle;
  int powerHandle;
  int holdPosition;
  const char* brakeText;
};
void PrintTo(const SequenceCase& testCase, std::ostream* out) { *out << testCase.name; }

class HandleSequenceTest : public testing::TestWithParam<SequenceCase> {};

TEST_P(HandleSequenceTest, Handles) {
  auto f = train(0, GetParam().holdMode);
  type(f->drive, GetParam().keys);
  EXPECT_EQ(f->drive.control.brakeHandle, GetParam().brakeHandle);
  EXPECT_EQ(f->drive.control.powerHandle, GetParam().powerHandle);
  EXPECT_EQ(f->drive.control.holdPosition, GetParam().holdPosition);
  EXPECT_EQ(f->drive.handleTexts.brakeText, GetParam().brakeText);
}

INSTANTIATE_TEST_SUITE_P(Keys, HandleSequenceTest,
                         testing::Values(SequenceCase{"hold_position", 1, "2", 0, 0, 1, "抑速"},
                                         SequenceCase{"hold_then_b1", 1, "22", -1, 0, 0, "B1"},
                                         SequenceCase{"back_to_hold", 1, "228", 0, 0, 1, "抑速"},
                                         SequenceCase{"released", 1, "2288", 0, 0, 0, "緩め"},
                                         SequenceCase{"then_notch_1", 1, "22888", 0, 1, 0, "緩め"},
                                         SequenceCase{"one_8_from_b2_only_releases", 0, "228", -1, 0, 0, "B1"},
                                         SequenceCase{"stepping_stops_at_last_service", 0, "2222222222", -7, 0, 0,
                                                      "B7"},
                                         SequenceCase{"zero_is_emergency", 0, "8880", -8, 0, 0, "非常"},
                                         SequenceCase{"q_is_emergency", 0, "88q", -8, 0, 0, "非常"},
                                         SequenceCase{"five_releases_everything", 0, "2225", 0, 0, 0, "緩め"},
                                         SequenceCase{"two_while_powering_lowers_power", 0, "8882", 0, 2, 0, "緩め"},
                                         SequenceCase{"a_steps_brake_and_lowers_power", 0, "88a", 0, 1, 0, "緩め"},
                                         SequenceCase{"upper_case_ignored", 0, "Q", 0, 0, 0, "緩め"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Keyboard, PowerModesStepWithinTheMode) {
  auto f = train();
  Drive& d = f->drive;
  type(d, "8888");
  EXPECT_EQ(d.control.powerHandle, 3);  // mode 0 has three notches
  EXPECT_EQ(d.handleTexts.powerText, "P3");
  type(d, "9");
  EXPECT_EQ(d.control.powerMode, 0) << "the mode changes only with the power off";
  type(d, "5");
  type(d, "9");
  EXPECT_EQ(d.control.powerMode, 1);
  EXPECT_EQ(d.handleTexts.gearText, "勾配");
  type(d, "8");
  EXPECT_EQ(d.control.powerHandle, 4);  // the first notch of mode 1
  EXPECT_EQ(d.handleTexts.powerText, "S1");
  type(d, "8");
  EXPECT_EQ(d.handleTexts.powerText, "S2");
  type(d, "22");
  EXPECT_EQ(d.control.powerHandle, 0);  // from the mode's first notch straight to off
  type(d, "9");
  EXPECT_EQ(d.control.powerMode, 0);  // wraps
}

TEST(Keyboard, ScrollLockSwapsTwoAndEightAndTheWheel) {
  auto f = train();
  Drive& d = f->drive;
  d.keydowns(Key::ScrollLock, false);
  type(d, "2");
  EXPECT_EQ(d.control.powerHandle, 1);
  type(d, "88");
  EXPECT_EQ(d.control.powerHandle, 0);
  EXPECT_EQ(d.control.brakeHandle, -1);
  d.WheelD();  // '8', exchanged for '2': powers up... but the brake is applied, so it releases
  EXPECT_EQ(d.control.brakeHandle, -2);
}

TEST(Keyboard, WheelUpReachesEmergencyOnlyFromTheLastServiceNotch) {
  auto f = train();
  Drive& d = f->drive;
  d.WheelU();
  EXPECT_EQ(d.control.brakeHandle, -1);
  type(d, "222222");
  EXPECT_EQ(d.control.brakeHandle, -7);
  d.WheelU();
  EXPECT_EQ(d.control.brakeHandle, -8);
  d.WheelD();
  EXPECT_EQ(d.control.brakeHandle, -7);
}

TEST(Keyboard, SeparateHandles) {
  auto f = train(1);
  Drive& d = f->drive;
  type(d, ".");
  EXPECT_EQ(d.control.brakeHandle, -1);
  EXPECT_EQ(d.control.brakeChangePending, 1);
  EXPECT_EQ(d.control.powerChangePending, 0);
  type(d, "z");  // the separate power handle ignores the brake
  EXPECT_EQ(d.control.powerHandle, 1);
  EXPECT_EQ(d.control.powerChangePending, 1);
  type(d, "/");
  EXPECT_EQ(d.control.brakeHandle, -8);
  EXPECT_EQ(d.control.powerHandle, 1);  // "/" leaves the power handle
  type(d, ",");
  EXPECT_EQ(d.control.brakeHandle, -7);
}

TEST(Keyboard, ReverserOnlyAtAStandstillAndNotWhileLocked) {
  auto f = train();
  Drive& d = f->drive;
  type(d, "b");
  EXPECT_EQ(d.control.reverser, -1);
  EXPECT_EQ(d.handleTexts.reverserText, "後");
  d.state.speed = 1.5;
  type(d, "f");
  EXPECT_EQ(d.control.reverser, -1);
  d.state.speed = 0;
  d.control.inputLocked = 1;
  d.control.idleTicks = 300;
  type(d, "f");
  EXPECT_EQ(d.control.reverser, -1);
  EXPECT_EQ(d.control.idleTicks, 0) << "every character is a sign of life";
}

TEST(Keyboard, HandleSoundsCompareTheHandleWithTheNotchInEffect) {
  auto f = train();
  Drive& d = f->drive;
  // Give every channel a wave, so that playing is observable.
  auto wave = std::make_shared<media::Wave>();
  wave->sampleRate = 22050;
  wave->channels = 1;
  wave->frames = 22050;
  for (int ch = 0; ch < 40; ++ch) f->sounds.bind_wave(ch, wave);
  f->sounds.clearOperations();
  type(d, "8");  // raised to notch 1 with notch 0 in effect: "[Sound_PA]" entry 1
  ASSERT_FALSE(f->sounds.operations().empty());
  EXPECT_TRUE(f->sounds.is_playing(11));
  type(d, "5");
  f->sounds.clearOperations();
  type(d, "2");  // applied from released: "[Sound_BA]" entry 1, the value for position 0
  EXPECT_TRUE(f->sounds.is_playing(20));
}

TEST(Keyboard, AutomaticBrakeTexts) {
  auto f = train(0, 0, 0);
  Drive& d = f->drive;
  const char* texts[] = {"緩め", "保ち", "ユルメ保ち", "重なり"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(d.handleTexts.brakeText, i == 0 ? "" : texts[i]) << i;
    type(d, "2");
  }
  EXPECT_EQ(d.control.brakeHandle, -3);
  type(d, "0");
  EXPECT_EQ(d.handleTexts.brakeText, "非常");
}

TEST(Keyboard, ConstantSpeedAtFullPower) {
  auto f = train();
  Drive& d = f->drive;
  f->vehicle.constSpeedMode = 1;
  f->vehicle.powerNotches = 3;
  type(d, "888");
  d.state.powerNotch = 3;
  d.state.brakeNotch = 0;
  d.state.speed = 40;
  type(d, "t");
  EXPECT_EQ(d.control.constantSpeed, 1);
  EXPECT_EQ(d.handleTexts.powerText, "定速");
  type(d, "2");  // a handle moved away from the notch in effect
  EXPECT_EQ(d.control.constantSpeed, 0);
}

TEST(Keyboard, AtsResetOnlyStandingInEmergency) {
  auto f = train();
  Drive& d = f->drive;
  d.state.emergencyLatched = 1;
  d.state.atsAlarm = 1;
  type(d, "r");
  EXPECT_EQ(d.state.emergencyLatched, 1);
  type(d, "0r");
  EXPECT_EQ(d.state.emergencyLatched, 0);
  EXPECT_EQ(d.state.atsAlarm, 0);
  EXPECT_EQ(d.state.atsConfirmed, 1);
}

TEST(Keyboard, OneManDoorsOpenOnlyStanding) {
  auto f = train();
  Drive& d = f->drive;
  f->route.oneMan = 1;
  d.state.speed = 3;
  type(d, "d");
  EXPECT_EQ(d.state.doorOpenCommanded, 0);
  d.state.speed = 0;
  type(d, "7");
  EXPECT_EQ(d.state.doorOpenCommanded, 1);
  EXPECT_EQ(d.state.doorsNotClosed, 1);
  d.state.speed = 3;  // closing works at any speed
  type(d, "d");
  EXPECT_EQ(d.state.doorOpenCommanded, 0);
  EXPECT_EQ(d.state.doorsNotClosed, 1) << "until the close sound has ended";
}

TEST(Keyboard, FunctionKeys) {
  auto f = train();
  Drive& d = f->drive;
  d.keydowns(Key::F1, true);
  EXPECT_EQ(d.control.autoRun, 1);
  d.keydowns(Key::F1, false);
  EXPECT_EQ(d.control.autoRun, 0);
  d.keydowns(Key::F12, true);
  EXPECT_EQ(d.state.speed, 10);
  d.keydowns(Key::F12, false);
  EXPECT_EQ(d.state.speed, 10) << "without Shift the debugging keys do nothing";
  d.keydowns(Key::F10, true);
  EXPECT_EQ(d.state.clock, 900);
  d.keydowns(Key::F2, false);
  EXPECT_EQ(d.control.engineSwitch, 1);
  d.keyups(Key::F2);
  EXPECT_EQ(d.control.engineSwitch, 0);
  d.keydowns(Key::PageDown, false);
  EXPECT_EQ(d.doorText, "開");
  d.keydowns(Key::F3, false);
  EXPECT_TRUE(d.valueDisplayShown);
}

TEST(Keyboard, BackspaceTakesTheTrainPastTheBarrier) {
  auto f = train();
  Drive& d = f->drive;
  f->route.movieStops[0] = 5000;
  f->route.movieStopCount = 1;
  d.state.frame = 4700;
  d.keydowns(Key::Backspace, false);
  EXPECT_EQ(d.state.frame, 4700) << "too far before the barrier";
  d.state.frame = 4900;
  d.keydowns(Key::Backspace, false);
  EXPECT_EQ(d.state.frame, 5002);
  EXPECT_EQ(d.state.reversed, 1);
}

}  // namespace
}  // namespace vesk::sim
