#include <gtest/gtest.h>

#include "data/cab_panel.h"
#include "data/data_error.h"
#include "sim/driver_info.h"
#include "support/drive_fixture.h"
#include "support/media_files.h"
#include "support/temp_dir.h"

namespace vesk::sim {
namespace {

using test::makeDrive;

// A folder with a 20 x 10 picture whose bottom-left pixel (the colour key) is blue.
struct PanelFolder {
  PanelFolder() {
    const QImage image =
        test::picture(20, 10, [](int x, int y) { return x == 0 && y == 9 ? qRgb(0, 0, 255) : qRgb(200, 0, 0); });
    for (const char* name : {"panel.bmp", "lamp.bmp", "needle.bmp", "gauge.bmp", "shade.bmp", "other.bmp"}) {
      dir.write(name, test::bmp24(image));
    }
  }
  test::TempDir dir;
};

data::VehicleSpec panelVehicle() {
  data::VehicleSpec v = test::testVehicle();
  v.panel2 = {"shade.bmp", 0, 0};
  v.lampEB = {"lamp.bmp", 10, 20};
  v.lampGen = {"lamp.bmp", 30, 40};
  v.lampAir = {"lamp.bmp", 50, 60};
  v.lampDoor = {"lamp.bmp", 1, 2};
  v.needleSpeed.file = "needle.bmp";
  v.needleSpeed.x = 100;
  v.needleSpeed.y = 200;
  v.needleBCL.file = "gauge.bmp";
  v.needleBCL.x = 5;
  v.needleBCL.y = 300;
  v.otherImages[0] = {"other.bmp", 7, 8};
  v.otherImages[1] = {"other.bmp", 9, 10};
  v.otherImageCount = 2;
  return v;
}

TEST(CabPanel, BuildsEachElementWithItsLayerAndFirstVisibility) {
  PanelFolder folder;
  media::ImageList images;
  media::SpriteEngine sprites;
  data::buildCabPanel(folder.dir.path(), "train_a.dat", panelVehicle(), images, sprites);

  // Without "[Panel]" there is no background; the other elements are all there.
  EXPECT_EQ(sprites.findByPicture("img_Panel"), nullptr);
  struct Expected {
    const char* picture;
    int z;
    bool visible;
    bool rotating;
    double x, y;
  };
  const Expected expected[] = {
      {"img_Panel2", 50, true, true, 0, 0},      {"img_Lamp_EB", 53, false, false, 10, 20},
      {"img_Lamp_Gen", 54, true, false, 30, 40}, {"img_Lamp_Air", 54, true, false, 50, 60},
      {"img_Lamp_Door", 49, true, false, 1, 2},  {"img_Needle_speed", 64, true, true, 100, 200},
      {"img_Needle_BC_L", 23, true, true, 5, 0},  // a linear gauge starts at the top
      {"img_other0", 60, false, false, 7, 8},    {"img_other1", 61, false, false, 9, 10},
  };
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.picture);
    const media::Sprite* s = sprites.findByPicture(e.picture);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->z, e.z);
    EXPECT_EQ(s->visible, e.visible);
    EXPECT_EQ(s->rotating, e.rotating);
    EXPECT_EQ(s->x, e.x);
    EXPECT_EQ(s->y, e.y);
    EXPECT_EQ(s->width, 20);
    EXPECT_EQ(s->height, 10);
  }
  EXPECT_EQ(sprites.findByPicture("img_Panel2")->alpha, 0);
  // Lamps drop their colour key; the linear gauges keep theirs.
  EXPECT_TRUE(images.find("img_Lamp_Gen")->transparent);
  EXPECT_FALSE(images.find("img_Needle_BC_L")->transparent);
  EXPECT_EQ(qAlpha(images.find("img_Lamp_Gen")->image.pixel(0, 9)), 0);
}

TEST(CabPanel, OneVehicleHasItsDoorLampOverTheMonitor) {
  PanelFolder folder;
  media::ImageList images;
  media::SpriteEngine sprites;
  data::buildCabPanel(folder.dir.path(), "train_VK401.dat", panelVehicle(), images, sprites);
  EXPECT_EQ(sprites.findByPicture("img_Lamp_Door")->z, 51);
}

TEST(CabPanel, AMissingPictureEndsTheDriveWithItsName) {
  PanelFolder folder;
  data::VehicleSpec v = panelVehicle();
  v.lampFin = {"gone.bmp", 0, 0};
  media::ImageList images;
  media::SpriteEngine sprites;
  try {
    data::buildCabPanel(folder.dir.path(), "train_a.dat", v, images, sprites);
    FAIL() << "no error";
  } catch (const data::DataError& e) {
    EXPECT_EQ(e.message(), "gone.bmpの生成エラー");
  }
}

TEST(CabPanel, ElementsListedForTheCheckerIncludeTheMultiPictureOnes) {
  data::VehicleSpec v = panelVehicle();
  v.digiSpeed = {10, 10, 8, 8, "digits.bmp"};
  const auto elements = data::panelElements(v, "train_a.dat");
  const auto digits = std::find_if(elements.begin(), elements.end(),
                                   [](const data::PanelElement& e) { return e.picture == "img_digi_speed"; });
  ASSERT_NE(digits, elements.end());
  EXPECT_EQ(digits->kind, data::PanelElement::Kind::MultiPicture);
  EXPECT_EQ(digits->patternWidth, 8);
}

media::Sprite sprite(const char* picture, bool visible) {
  media::Sprite s;
  s.picture = picture;
  s.visible = visible;
  return s;
}

struct LampCase {
  const char* name;
  std::function<void(test::DriveFixture&)> set;
  const char* lamp;
  bool lit;
};
void PrintTo(const LampCase& c, std::ostream* out) { *out << c.name; }

class PanelLampTest : public testing::TestWithParam<LampCase> {};

TEST_P(PanelLampTest, Lamp) {
  const LampCase& c = GetParam();
  data::VehicleSpec v = test::testVehicle();
  v.brakeNotches = 8;
  auto f = makeDrive(v);
  // Every lamp starts in the state opposite to the one expected.
  f->sprites.add(sprite(c.lamp, !c.lit));
  c.set(*f);
  panelLampStep(f->drive);
  EXPECT_EQ(f->sprites.findByPicture(c.lamp)->visible, c.lit);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PanelLampTest,
    testing::Values(
        LampCase{"PowerOn", [](test::DriveFixture& f) { f.drive.state.powerNotch = 1; }, "img_Lamp_Power", true},
        LampCase{"PowerOff", [](test::DriveFixture&) {}, "img_Lamp_Power", false},
        LampCase{"AirOnServiceNotch", [](test::DriveFixture& f) { f.drive.state.brakeNotch = -3; }, "img_Lamp_Air",
                 true},
        LampCase{"AirOffInEmergency", [](test::DriveFixture& f) { f.drive.state.brakeNotch = -8; }, "img_Lamp_Air",
                 false},
        LampCase{"ElectricBraking",
                 [](test::DriveFixture& f) {
                   f.drive.state.brakeNotch = -3;
                   f.drive.control.brakeHandle = -3;
                   f.drive.state.elecBrakeCurrent = 200;
                 },
                 "img_Lamp_Ele", true},
        LampCase{"RegenerationOnServiceNotch",
                 [](test::DriveFixture& f) {
                   f.drive.state.brakeNotch = -2;
                   f.drive.state.elecBrakeCurrent = 10;
                 },
                 "img_Lamp_Gen", true},
        LampCase{"RegenerationFromABrakingNotchRow",
                 [](test::DriveFixture& f) {
                   f.vehicle.notchRows[0].startAccel = -1;
                   f.vehicle.notchRowCount = 1;
                   f.drive.control.powerHandle = 1;
                   f.drive.state.powerNotch = 1;
                   f.drive.state.tractiveForce = core::Fixed::fromInt(-100);
                 },
                 "img_Lamp_Gen", true},
        LampCase{"ConstantSpeed", [](test::DriveFixture& f) { f.drive.control.constantSpeed = 1; }, "img_Lamp_const",
                 true},
        LampCase{"Notching", [](test::DriveFixture& f) { f.drive.state.notchingLamp = 1; }, "img_Lamp_fin", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PanelLamps, TractionLampsWaitForTheDoorsWithTheDoorInterlock) {
  data::VehicleSpec v = test::testVehicle();
  v.doorLock = 1;
  auto f = makeDrive(v);
  f->sprites.add(sprite("img_Lamp_Power", false));
  f->drive.state.powerNotch = 1;
  f->drive.state.doorsNotClosed = 1;
  panelLampStep(f->drive);
  EXPECT_FALSE(f->sprites.findByPicture("img_Lamp_Power")->visible);
  f->drive.state.doorsNotClosed = 0;
  panelLampStep(f->drive);
  EXPECT_TRUE(f->sprites.findByPicture("img_Lamp_Power")->visible);
}

TEST(Instruments, NeedlesAndGaugesFollowThePressures) {
  data::VehicleSpec v = test::testVehicle();
  v.mc = 0;
  v.needleBC = {"n.bmp", 0, 0, 0, 0, 10, 0.5};
  v.needleBCL = {"g.bmp", 0, 400, 0, 0, 0, 0.25};
  v.needleMR = {"n.bmp", 0, 0, 0, 0, 0, 0.2};
  auto f = makeDrive(v);
  for (const char* name : {"img_Needle_BC", "img_Needle_BC_L", "img_Needle_MR"}) f->sprites.add(sprite(name, true));
  f->drive.state.bcMotor = core::Fixed::fromInt(300);
  f->drive.state.bcTrailer = core::Fixed::fromInt(200);  // a panel without motor-car gauges shows the trailers
  f->drive.state.mr = core::Fixed::fromInt(800);
  f->drive.state.hornAir = core::Fixed::fromInt(-100);
  update_instruments(f->drive);
  EXPECT_EQ(f->sprites.findByPicture("img_Needle_BC")->angle, 78);      // (100 + 10) x 255/360 = 77.9
  EXPECT_EQ(f->sprites.findByPicture("img_Needle_BC_L")->y, 400 - 50);  // 0.25 x 200
  EXPECT_EQ(f->sprites.findByPicture("img_Needle_MR")->angle, 99);      // 0.2 x 700 = 140 -> 99.2
}

TEST(Instruments, DigitalSpeedShowsTheWholeSpeed) {
  auto f = makeDrive();
  f->sprites.add(sprite("img_digi_speed", false));
  f->drive.state.speed = -42.6;
  speedInstrumentStep(f->drive);
  EXPECT_TRUE(f->sprites.findByPicture("img_digi_speed")->visible);
  EXPECT_EQ(f->sprites.findByPicture("img_digi_speed")->pattern, 43);
}

TEST(Instruments, TunnelShadeIsWorkedOutButHiddenWithEffectsOff) {
  auto f = makeDrive();
  f->sprites.add(sprite("img_Panel2", true));
  f->drive.state.tunnelDepth = 120;
  f->drive.settings.Tunnel = 0;
  tunnelShadeStep(f->drive);
  EXPECT_TRUE(f->sprites.findByPicture("img_Panel2")->visible);
  EXPECT_EQ(f->sprites.findByPicture("img_Panel2")->alpha, 120);
  f->drive.settings.Tunnel = 1;
  tunnelShadeStep(f->drive);
  EXPECT_FALSE(f->sprites.findByPicture("img_Panel2")->visible);
  EXPECT_EQ(f->sprites.findByPicture("img_Panel2")->alpha, 120);
}

TEST(AnalogClock, NotDrawnWhenItsXIsZero) {
  data::VehicleSpec v = test::testVehicle();
  v.clock = {0, 40, 20};
  auto f = makeDrive(v);
  f->runTicks(20);
  EXPECT_TRUE(f->drive.clockFace.picture().isNull());
  v.clock = {40, 40, 20};
  auto g = makeDrive(v);
  g->runTicks(20);
  EXPECT_FALSE(g->drive.clockFace.picture().isNull());
}

struct NoticeCase {
  const char* name;
  std::function<void(TrainState&)> set;
  const char* notice;
  const char* limit;
};
void PrintTo(const NoticeCase& c, std::ostream* out) { *out << c.name; }

class LimitNoticeTest : public testing::TestWithParam<NoticeCase> {};

TEST_P(LimitNoticeTest, Texts) {
  auto f = makeDrive();
  f->strings.infoLabelCount = 8;
  for (int i = 0; i < 8; ++i) f->strings.infoLabels[static_cast<std::size_t>(i)] = "e" + std::to_string(i);
  f->drive.texts.LimitNoticeText = "old";
  f->drive.texts.LimitText = "old";
  GetParam().set(f->drive.state);
  limitNoticeStep(f->drive);
  EXPECT_EQ(f->drive.texts.LimitNoticeText, GetParam().notice);
  EXPECT_EQ(f->drive.texts.LimitText, GetParam().limit);
}

INSTANTIATE_TEST_SUITE_P(Cases, LimitNoticeTest,
                         testing::Values(NoticeCase{"NothingAhead", [](TrainState&) {}, "", ""},
                                         NoticeCase{"StopSignalPattern",
                                                    [](TrainState& s) {
                                                      s.atspTarget = 1;
                                                      s.speed = 30;
                                                      s.atspDistance = 12345;
                                                    },
                                                    "e2", ""},
                                         NoticeCase{"PatternApproach",
                                                    [](TrainState& s) {
                                                      s.atspTarget = 10;
                                                      s.atspP1 = 40;
                                                      s.speed = 30;
                                                      s.atspDistance = 12350;
                                                    },
                                                    "10km/h e3124m", ""},
                                         NoticeCase{"LimitAheadAndTheNext",
                                                    [](TrainState& s) {
                                                      s.upcomingLimitSpeeds = {45, 30, kNone};
                                                      s.upcomingLimitMetres = {320, 500, 0};
                                                      s.upcomingLimitWarned = {1, 1, 0};
                                                    },
                                                    "45km/h e4320m", "e530km/h e7)"},
                                         NoticeCase{"LimitNotYetWarned",
                                                    [](TrainState& s) {
                                                      s.upcomingLimitSpeeds = {45, kNone, kNone};
                                                      s.upcomingLimitMetres = {900, 0, 0};
                                                    },
                                                    "", ""},
                                         NoticeCase{"SpeedCheckAhead",
                                                    [](TrainState& s) {
                                                      s.upcomingCheckSpeeds = {25, kNone, kNone};
                                                      s.upcomingCheckMetres = {80, 0, 0};
                                                      s.upcomingCheckWarned = {1, 0, 0};
                                                    },
                                                    "25km/h 照査まで80m", ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WindowTexts, LabelsKeepTheirTextsOutsideTextModeAndTheSimpleCabFollowsTheHandles) {
  auto f = makeDrive();
  Drive& d = f->drive;
  d.settings.Moji = 1;
  d.texts.SpeedText = " 12.0 km/h";
  d.state.toStationText = "next";
  d.control.powerHandle = 3;
  windowTextStep(d);
  EXPECT_EQ(d.displays.labels[11], " 12.0 km/h");
  EXPECT_EQ(d.displays.labels[14], "next");
  EXPECT_TRUE(d.displays.subDispShown);
  EXPECT_TRUE(d.displays.simpleCab.KP[2]);
  EXPECT_FALSE(d.displays.simpleCab.KP[3]);
  EXPECT_FALSE(d.displays.simpleCab.KN);
  d.settings.Moji = 0;
  d.texts.SpeedText = " 30.0 km/h";
  d.control.powerHandle = 0;
  d.control.brakeHandle = -2;
  windowTextStep(d);
  EXPECT_EQ(d.displays.labels[11], " 12.0 km/h");
  EXPECT_FALSE(d.displays.subDispShown);
  EXPECT_TRUE(d.displays.simpleCab.KB[1]);
  EXPECT_FALSE(d.displays.simpleCab.KB[2]);
}

}  // namespace
}  // namespace vesk::sim
