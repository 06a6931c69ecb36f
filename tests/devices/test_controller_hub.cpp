// The controllers reaching a drive through ControllerHub: SDL2's virtual joystick for the three joystick layouts
// (pulled out and plugged back in while driving), and a serial controller over a socat terminal pair.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/controller_hub.h"
#include "devices/event_loop.h"
#include "devices/socat_pair.h"
#include "devices/virtual_joystick.h"
#include "sim/drive_runner.h"
#include "support/drive_fixture.h"

namespace vesk::devices {
namespace {

using Kind = ControllerHub::Notice::Kind;

// A drive run by its runner, the hub feeding its queue, and every notice the hub gave.
struct HubFixture {
  HubFixture() {
    hub.setNoticeHandler([this](const ControllerHub::Notice& n) { notices.push_back(n); });
    hub.setDebugTitleHandler([this](const QString& t) { title = t; });
  }
  void attach(const sim::Settings& calibration = {}) { hub.attachDrive(runner.input(), calibration); }
  // Applies the queued input at the next instant of the drive.
  void run() { runner.runUntil(runner.now() + 1); }
  sim::ControlState& control() { return drive->drive.control; }
  bool noticed(Kind kind) const {
    for (const ControllerHub::Notice& n : notices) {
      if (n.kind == kind) return true;
    }
    return false;
  }

  std::unique_ptr<test::DriveFixture> drive = test::makeDrive();  // five notches, "[Brake]" 8
  sim::DriveRunner runner{drive->drive};
  ControllerHub hub;
  std::vector<ControllerHub::Notice> notices;
  QString title;
};

// The hub reads the first game controller: the virtual one, unless a real one is plugged into this machine.
#define EXPECT_VIRTUAL_JOYSTICK_READ(hub, joystick)                                                                    \
  do {                                                                                                                 \
    ASSERT_TRUE((joystick).attached()) << SDL_GetError();                                                              \
    ASSERT_TRUE((hub).joystickConnected());                                                                            \
    if ((hub).joystickName() != test::kVirtualJoystickName) GTEST_SKIP() << "a game controller is plugged in";         \
  } while (false)

struct JoystickCase {
  const char* name;
  int layout;
  int x;
  int y;
  std::vector<int> buttons;
  int power;
  int brake;
  int reverser;
  bool horn;
};
void PrintTo(const JoystickCase& c, std::ostream* out) { *out << c.name; }

class JoystickLayoutsOnADevice : public testing::TestWithParam<JoystickCase> {};

// Calibration: power positions 0..5 read 1000 .. 6000 (X + button code A + Y); brake positions 0..8 read
// 0 .. 8 and emergency 15 (button code B).
sim::Settings calibration() {
  sim::Settings s;
  for (int i = 0; i < 6; ++i) s.P[static_cast<std::size_t>(i)] = 1000 * (i + 1);
  for (int i = 0; i < 9; ++i) s.B[static_cast<std::size_t>(i)] = i;
  s.EB = 15;
  return s;
}

TEST_P(JoystickLayoutsOnADevice, Handles) {
  const JoystickCase& c = GetParam();
  HubFixture f;
  f.attach(calibration());
  f.control().brakeHandle = -8;
  f.hub.setControllerType(c.layout);
  test::VirtualJoystick joystick;
  f.hub.pollJoystick();
  EXPECT_VIRTUAL_JOYSTICK_READ(f.hub, joystick);
  joystick.set(c.x, c.y, c.buttons);
  f.hub.pollJoystick();
  f.run();
  EXPECT_EQ(f.control().powerHandle, c.power);
  EXPECT_EQ(f.control().brakeHandle, c.brake);
  EXPECT_EQ(f.control().reverser, c.reverser);
  EXPECT_EQ(f.drive->drive.controllerHornHeld, c.horn);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, JoystickLayoutsOnADevice,
    testing::Values(JoystickCase{"analoguePower3", 1, 0, -15000, {}, 3, 0, 1, false},
                    JoystickCase{"analogueBrake4", 1, 7000, 100, {}, 0, -4, 1, false},
                    JoystickCase{"analogueEmergency", 1, 32767, 0, {}, 0, -8, 1, false},
                    JoystickCase{"calibratedPower2Brake5", 2, 2500, 500, {4, 6}, 2, -5, 1, false},
                    JoystickCase{"calibratedEmergency", 2, 900, 100, {4, 5, 6, 7}, 0, -8, 1, false},
                    JoystickCase{"buttonCodesPower5Backward", 3, 0, 32767, {6, 7, 8, 9}, 5, -8, -1, false},
                    JoystickCase{"buttonCodesHornButtonSpoilsTheCode", 3, 0, -32768, {0, 7}, 0, -8, 1, true},
                    JoystickCase{"buttonCodesBrake3", 3, 0, 0, {7, 8, 9}, 0, -3, 0, false}),
    [](const testing::TestParamInfo<JoystickCase>& info) { return std::string(info.param.name); });

TEST(JoystickWhileDriving, PulledOutKeepsTheHandlesAndPluggedBackInWorks) {
  HubFixture f;
  f.attach();
  f.hub.setControllerType(sim::kAnalogueJoystick);
  auto joystick = std::make_unique<test::VirtualJoystick>();
  f.hub.pollJoystick();
  EXPECT_VIRTUAL_JOYSTICK_READ(f.hub, *joystick);
  EXPECT_TRUE(f.noticed(Kind::JoystickAttached));
  joystick->set(0, -25000);
  f.hub.pollJoystick();
  f.run();
  EXPECT_EQ(f.control().powerHandle, 4);

  joystick.reset();
  f.hub.pollJoystick();
  f.run();
  EXPECT_FALSE(f.hub.joystickConnected());
  ASSERT_FALSE(f.notices.empty());
  EXPECT_EQ(f.notices.back().kind, Kind::JoystickRemoved);
  EXPECT_TRUE(f.notices.back().text.contains(QStringLiteral("ハンドルはそのまま")));
  for (int i = 0; i < 3; ++i) f.hub.pollJoystick();
  f.run();
  EXPECT_EQ(f.control().powerHandle, 4);
  EXPECT_EQ(f.control().brakeHandle, 0);

  joystick = std::make_unique<test::VirtualJoystick>();
  f.hub.pollJoystick();
  EXPECT_VIRTUAL_JOYSTICK_READ(f.hub, *joystick);
  joystick->set(9000, -4000);
  f.hub.pollJoystick();
  f.run();
  EXPECT_EQ(f.control().powerHandle, 1);
  EXPECT_EQ(f.control().brakeHandle, -5);
}

TEST(JoystickWhileDriving, PulledOutWithTheHornHeldLetsItGo) {
  HubFixture f;
  f.attach();
  f.hub.setControllerType(sim::kButtonCodeJoystick);
  auto joystick = std::make_unique<test::VirtualJoystick>();
  f.hub.pollJoystick();
  EXPECT_VIRTUAL_JOYSTICK_READ(f.hub, *joystick);
  joystick->set(0, 0, {0});
  f.hub.pollJoystick();
  f.run();
  EXPECT_TRUE(f.drive->drive.controllerHornHeld);
  joystick.reset();
  f.hub.pollJoystick();
  f.run();
  EXPECT_FALSE(f.drive->drive.controllerHornHeld);
}

TEST(JoystickWhileDriving, SerialOnlyDoesNotReadTheJoystick) {
  HubFixture f;
  f.attach();
  test::VirtualJoystick joystick;
  f.hub.pollJoystick();
  EXPECT_FALSE(f.hub.joystickConnected());
  EXPECT_TRUE(f.runner.input().empty());
}

TEST(JoystickWhileDriving, DebugTitleShowsTheAxes) {
  HubFixture f;
  f.attach();
  f.hub.setControllerType(sim::kAnalogueJoystick);
  f.hub.setDebug(true);
  test::VirtualJoystick joystick;
  f.hub.pollJoystick();
  EXPECT_VIRTUAL_JOYSTICK_READ(f.hub, joystick);
  joystick.set(1234, -567);
  f.hub.pollJoystick();
  EXPECT_EQ(f.title, QStringLiteral("X:1234 Y:-567"));
}

TEST(JoystickWhileDriving, PollTimerReadsTheDeviceWhileRunning) {
  HubFixture f;
  f.attach();
  f.hub.setControllerType(sim::kAnalogueJoystick);
  test::VirtualJoystick joystick;
  f.hub.pollJoystick();
  EXPECT_VIRTUAL_JOYSTICK_READ(f.hub, joystick);
  joystick.set(0, -25000);
  f.hub.setJoystickPolling(true);
  ASSERT_TRUE(test::spinUntil([&] { return !f.runner.input().empty(); }, 2000));
  f.hub.setJoystickPolling(false);
  f.run();
  EXPECT_EQ(f.control().powerHandle, 4);
}

TEST(SerialThroughTheHub, CommandLinesMoveTheHandles) {
  test::SocatPair pair;
  ASSERT_TRUE(pair.ready()) << pair.error().toStdString();
  HubFixture f;
  data::ControllerCodes& codes = f.drive->drive.controllerCodes;
  for (const char* code : {"P1   ", "P2   ", "P3   ", "P4   ", "P5   ", "P6   ", "N    ", "B1   ", "B2   ", "B3   "}) {
    codes.codes[static_cast<std::size_t>(codes.count++)] = code;
  }
  f.attach();
  SerialSettings s = f.hub.serial().settings();
  s.portName = pair.controllerSide();
  f.hub.serial().setSettings(s);
  f.hub.toggleSerial();
  ASSERT_TRUE(f.hub.serialOpen());
  EXPECT_TRUE(f.noticed(Kind::SerialOpened));
  ASSERT_TRUE(pair.write("P3   \rB"));
  ASSERT_TRUE(test::spinUntil([&] { return !f.runner.input().empty(); }));
  f.run();
  EXPECT_EQ(f.control().powerHandle, 3);
  ASSERT_TRUE(pair.write("2   \r"));
  ASSERT_TRUE(test::spinUntil([&] { return !f.runner.input().empty(); }));
  f.run();
  EXPECT_EQ(f.control().powerHandle, 0);
  EXPECT_EQ(f.control().brakeHandle, -2);
  EXPECT_EQ(f.drive->drive.valueDisplayTitle, "B2   ");

  f.hub.detachDrive();
  EXPECT_FALSE(f.hub.serialOpen());
  EXPECT_EQ(f.notices.back().kind, Kind::SerialClosed);
}

}  // namespace
}  // namespace vesk::devices
