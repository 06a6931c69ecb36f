// The automatic driver on test lines: it serves every stop within a metre of the mark with every kind of brake
// handle and brake, works the doors of a one-man train, keeps the dead-man device quiet, answers the ATS bell by
// braking before it confirms, and keeps under the limits; the speeds allowed along the line as it plans them.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "sim/autopilot.h"
#include "sim/protection.h"
#include "sim/run_record.h"
#include "sim/stations.h"
#include "support/signal_route.h"
#include "support/station_line.h"

namespace vesk::sim {
namespace {

constexpr int kFramesPerKm = test::kFramesPerKm;

// A: the start; B: a stop after 2.5 km; C: the terminus 2.5 km further.
std::vector<test::StationSpec> line() {
  return {{"A", 0, 200, 30 * 60},
          {"B", 0, 200 + kFramesPerKm * 5 / 2, 30 * 300},
          {"C", 0, 200 + kFramesPerKm * 5, 30 * 600}};
}

// What the train is doing, for a failure's message.
std::string where(const Drive& d) {
  return "at " + std::to_string(d.state.position / 100) + " m, " + std::to_string(d.state.speed) + " km/h, clock " +
         std::to_string(d.state.clock) + ", doors " + std::to_string(d.state.doorOpenCommanded) +
         std::to_string(d.state.doorsNotClosed) + ", departures " + std::to_string(d.state.departureCount) +
         ", handles P" + std::to_string(d.control.powerHandle) + " B" + std::to_string(d.control.brakeHandle) + " R" +
         std::to_string(d.control.reverser) + ", notches P" + std::to_string(d.state.powerNotch) + " B" +
         std::to_string(d.state.brakeNotch) + ", forces T" + std::to_string(d.state.tractiveForce.toDouble()) + " B" +
         std::to_string(d.state.brakeForce.toDouble()) + " R" + std::to_string(d.state.resistForce.toDouble()) +
         ", cylinders " + std::to_string(d.state.bcTrailer.toDouble());
}

// The station test train with the brake and traction figures of a real train (the fixture's leaves them 0).
data::VehicleSpec drivable(data::VehicleSpec v = test::stationVehicle()) {
  v.brakeForceMode = 1;
  v.brakeDelay = 6;
  v.sapDelay = 3;
  v.elecBrakeDelay = 6;
  v.powerDelay = 3;
  v.brakeUpRate = 200;
  v.brakeDownRate = 250;
  v.sapUpRate = 300;
  v.sapDownRate = 300;
  v.sapPressure = 440;
  v.elecBrakeUpRate = 600;
  v.elecBrakeDownRate = 600;
  v.elecBrakeFadeSpeed = 5;
  v.bpReturnRate = 60;
  v.elbr = 50;
  v.mrHighPressure = 880;
  v.mrLowPressure = 780;
  v.elecBrakeType = 1;
  return v;
}

// Stands the train at `frame` as a drive starts: the brake in emergency, the reservoirs charged, the line live,
// the handles free.
void startAt(test::DriveFixture& f, int frame) {
  test::standAt(f, frame);
  Drive& d = f.drive;
  const data::VehicleSpec& v = d.vehicle;
  d.control.inputLocked = 0;
  d.control.reverser = 1;
  d.control.gear = 1;
  d.control.brakeHandle = -v.brakeNotches;
  d.state.brakeNotch = -v.brakeNotches;
  d.state.sapNotch = -v.brakeNotches;
  d.state.bcMotor = core::Fixed::fromInt(v.ebPressure);
  d.state.bcTrailer = core::Fixed::fromInt(v.ebPressure);
  d.state.mr = core::Fixed::fromInt(v.mrHighPressure > 0 ? v.mrHighPressure : 880);
  d.state.engineRunning = 1;
  d.state.lineVoltageTarget = core::Fixed::fromInt(1500);
  d.state.lineVoltage = core::Fixed::fromInt(1500);
}

// Drives until the run ends (at most `seconds`), the autopilot's keys applied as the runner applies input.
void drive(test::DriveFixture& f, Autopilot& autopilot, RunRecord& record, int seconds) {
  for (int tick = 0; tick < seconds * 10 && f.drive.state.runEnded == 0; ++tick) {
    f.runTicks(1);
    record.afterTick(f.drive);
    for (const InputEvent& e : autopilot.decide(f.drive)) applyInput(f.drive, e);
  }
}

// Drives a service from the station at `firstFrame` until its run ends (at most 900 s), recording the drive.
RunRecord driveTheService(test::DriveFixture& f, int firstFrame) {
  startAt(f, firstFrame);
  prepareStationsAtStart(f.drive, 0);
  Autopilot autopilot(f.drive);
  RunRecord record(f.drive);
  drive(f, autopilot, record, 900);
  return record;
}

void automaticAirBrake(data::VehicleSpec& v) {
  v.brakeType = 0;
  v.brakeNotches = 4;
  v.brakeForceMode = 0;
  v.maxPressure = 390;
  v.ebPressure = 440;
  v.brakeUpRate = 120;
  v.brakeDownRate = 140;
}

struct VehicleCase {
  const char* name;
  std::function<void(data::VehicleSpec&)> change;
};
void PrintTo(const VehicleCase& c, std::ostream* out) { *out << c.name; }

class AutopilotStops : public testing::TestWithParam<VehicleCase> {};

TEST_P(AutopilotStops, ServesEveryStopWithinAMetreWithoutEmergencyOrOverspeed) {
  data::VehicleSpec vehicle = drivable();
  GetParam().change(vehicle);
  auto f = test::stationDrive(line(), 0, vehicle);
  Drive& d = f->drive;
  const RunRecord record = driveTheService(*f, line()[0].frame);
  ASSERT_TRUE(record.runEnded()) << where(d);
  int stops = 0;
  for (const StationVisit& v : record.visits()) {
    if (v.start) continue;
    EXPECT_TRUE(v.stopped) << v.name;
    EXPECT_LE(std::fabs(v.stopErrorCm), 100) << v.name;
    ++stops;
  }
  EXPECT_EQ(stops, 2);
  EXPECT_EQ(record.emergencyBrakings(), 0);
  EXPECT_EQ(record.protectionInterventions(), 0);
  EXPECT_TRUE(record.overspeeds().empty()) << record.overspeeds().front().speed;
  // It left A and B once their doors had shut, and never before the timetable said.
  for (const StationVisit& v : record.visits()) {
    if (v.departure >= 0) {
      EXPECT_GE(v.departure, v.timetable) << v.name;
    }
  }
}

// Coming down a falling grade that levels out 150 m before the platform: the brake is planned on the gradient
// the whole train feels, so that what it set on the grade is not too strong on the level. The two-car train with
// the automatic brake, whose trailer only lets go with a full release, is the one this tests hardest.
class AutopilotGrades : public testing::TestWithParam<VehicleCase> {};

TEST_P(AutopilotGrades, ServesAStopAtTheFootOfAFallingGradeWithinAMetre) {
  data::VehicleSpec vehicle = drivable();
  vehicle.cars = 2;
  vehicle.motorCarMass = core::Fixed::fromInt(40);
  vehicle.trailerMass = core::Fixed::fromInt(34);
  vehicle.trainMass = core::Fixed::fromInt(74);
  GetParam().change(vehicle);
  data::RouteData route = test::stationLine(line());
  const int b = line()[1].frame;
  route.slopes[0] = {core::Fixed::fromInt(-25), b - kFramesPerKm, b - kFramesPerKm * 15 / 100};
  route.slopeCount = 1;
  auto f = test::stationDrive(std::move(route), vehicle);
  Drive& d = f->drive;
  const RunRecord record = driveTheService(*f, line()[0].frame);
  ASSERT_TRUE(record.runEnded()) << where(d);
  ASSERT_EQ(record.visits().size(), 3U);
  EXPECT_TRUE(record.visits()[1].stopped);
  EXPECT_LE(std::fabs(record.visits()[1].stopErrorCm), 100) << record.visits()[1].stopErrorCm;
  EXPECT_EQ(record.emergencyBrakings(), 0);
  EXPECT_TRUE(record.overspeeds().empty()) << record.overspeeds().front().speed;
}

INSTANTIATE_TEST_SUITE_P(Brakes, AutopilotGrades,
                         testing::Values(VehicleCase{"electro_pneumatic", [](data::VehicleSpec&) {}},
                                         VehicleCase{"automatic_air_brake", automaticAirBrake}),
                         [](const auto& info) { return std::string(info.param.name); });

// With a minute to spare between A and B, full power all the way would arrive far too early: the driver shuts
// off where coasting still brings the train in on time, before the departure at B and at C's time; an
// automatic brake is let go while the departure is announced, so that the train leaves on time.
class AutopilotTimetable : public testing::TestWithParam<VehicleCase> {};

TEST_P(AutopilotTimetable, ComesInOnTimeWhenTheTimetableLeavesTimeToSpare) {
  std::vector<test::StationSpec> stations = line();
  stations[1].departureTime = 30 * 330;
  stations[2].departureTime = 30 * 590;
  data::VehicleSpec vehicle = drivable();
  GetParam().change(vehicle);
  auto f = test::stationDrive(stations, 0, vehicle);
  Drive& d = f->drive;
  const RunRecord record = driveTheService(*f, stations[0].frame);
  ASSERT_TRUE(record.runEnded()) << where(d);
  ASSERT_EQ(record.visits().size(), 3U);
  const StationVisit& b = record.visits()[1];
  const StationVisit& c = record.visits()[2];
  EXPECT_LE(b.arrival, b.timetable - 30 * 15) << "time for the doors before the departure";
  EXPECT_GE(b.arrival, b.timetable - 30 * 30);
  EXPECT_GE(b.departure, b.timetable);
  EXPECT_LE(b.departure, b.timetable + 30 * 5) << b.departure - b.timetable;
  EXPECT_LE(std::abs(c.arrival - c.timetable), 30 * 30) << c.arrival - c.timetable;
  EXPECT_LE(std::fabs(b.stopErrorCm), 100);
  EXPECT_LE(std::fabs(c.stopErrorCm), 100);
}

INSTANTIATE_TEST_SUITE_P(Brakes, AutopilotTimetable,
                         testing::Values(VehicleCase{"electro_pneumatic", [](data::VehicleSpec&) {}},
                                         VehicleCase{"automatic_air_brake", automaticAirBrake}),
                         [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(Brakes, AutopilotStops,
                         testing::Values(VehicleCase{"electro_pneumatic", [](data::VehicleSpec&) {}},
                                         VehicleCase{"separate_handles",
                                                     [](data::VehicleSpec& v) { v.handleLayout = 1; }},
                                         VehicleCase{"hold_position", [](data::VehicleSpec& v) { v.holdMode = 1; }},
                                         VehicleCase{"notched_brake",
                                                     [](data::VehicleSpec& v) {
                                                       v.brakeType = 2;
                                                       v.brakeNotches = 6;
                                                       v.brakeForceMode = 0;
                                                     }},
                                         VehicleCase{"automatic_air_brake", automaticAirBrake}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Autopilot, OpensAndShutsTheDoorsOfAOneManTrain) {
  auto f = test::stationDrive(line(), 1, drivable());
  Drive& d = f->drive;
  const RunRecord record = driveTheService(*f, line()[0].frame);
  ASSERT_TRUE(record.runEnded()) << where(d);
  EXPECT_EQ(d.line.stations[1].arrived, 1) << "the doors were opened at B";
  EXPECT_EQ(d.line.stations[2].arrived, 1) << "and at the terminus";
  EXPECT_GE(d.state.departureCount, 2) << "and shut for each departure";
}

TEST(Autopilot, KeepsTheDeadManDeviceQuietOnALongRun) {
  data::VehicleSpec vehicle = drivable();
  vehicle.vigilanceDevice = 1;
  auto f = test::makeDrive(vehicle, test::levelRoute(10, 60));
  Drive& d = f->drive;
  startAt(*f, 100);
  Autopilot autopilot(d);
  RunRecord record(d);
  drive(*f, autopilot, record, 240);
  EXPECT_GT(d.state.speed, 50) << "it drove off and kept going: " << where(d);
  EXPECT_EQ(record.emergencyBrakings(), 0);
  EXPECT_EQ(d.state.emergencyLatched, 0);
}

TEST(Autopilot, AnswersTheAtsBellByBrakingThenConfirming) {
  for (const int brakeType : {1, 0}) {
    data::VehicleSpec vehicle = test::protectedVehicle(true);
    vehicle.brakeType = brakeType;
    vehicle.brakeNotches = brakeType == 0 ? 4 : 8;
    auto f = test::makeDrive(vehicle, test::levelRoute(10, 60));
    Drive& d = f->drive;
    d.control.inputLocked = 0;
    d.control.brakeHandle = 0;
    d.control.powerHandle = 2;
    d.state.speed = 50;
    d.state.atsAlarm = 1;
    Autopilot autopilot(d);
    std::string typed;
    for (const InputEvent& e : autopilot.decide(d)) {
      if (e.kind == InputEvent::Kind::Char) typed += e.character;
      applyInput(d, e);
    }
    ASSERT_FALSE(typed.empty());
    EXPECT_EQ(typed.back(), ' ') << typed;
    EXPECT_EQ(d.state.atsAlarm, 0) << "brake type " << brakeType << ": confirmed after " << typed;
    EXPECT_EQ(d.control.powerHandle, 0);
    EXPECT_LE(d.control.brakeHandle, brakeType == 0 ? -2 : -1);
  }
}

TEST(Autopilot, KeepsUnderTheSpeedLimitsAndSignalsOfASignalledLine) {
  data::VehicleSpec vehicle = drivable(test::protectedVehicle(false));
  vehicle.powerType = 1;
  vehicle.notchRows = test::stationVehicle().notchRows;
  vehicle.notchRowCount = 5;
  auto f = test::makeDrive(vehicle, test::signalledRoute(10, 60));
  Drive& d = f->drive;
  startAt(*f, 100);
  d.control.atsOn = 1;
  prepareProtection(d);
  Autopilot autopilot(d);
  RunRecord record(d);
  drive(*f, autopilot, record, 300);
  EXPECT_GT(d.state.position, 200000) << "it got going: " << where(d);
  EXPECT_TRUE(record.overspeeds().empty())
      << record.overspeeds().front().speed << " km/h where " << record.overspeeds().front().allowed << " allowed";
  EXPECT_EQ(record.emergencyBrakings(), 0);
}

// The speeds the line allows, as the driver plans with them.
TEST(LineAhead, LimitsHoldUntilTheWholeTrainIsPastAndASignalAtStopAllowsNothing) {
  auto f = test::makeDrive(test::protectedVehicle(false), test::signalledRoute(10, 60));
  Drive& d = f->drive;
  f->runTicks(1);  // the signals' aspects
  const LineAhead line(d);
  const data::SpeedLimitRow& limit = d.route.speedLimits[0];
  const double from = static_cast<double>(limit.position);
  EXPECT_EQ(line.allowedAt(d, from + 100).kmh, limit.limit);
  EXPECT_EQ(line.allowedAt(d, from + 100).source, SpeedSpan::Source::Limit);
  EXPECT_GT(line.allowedAt(d, from - 100).kmh, limit.limit) << "not before the limit";
  // A signal showing stop: nothing is allowed from a little before it.
  int signal = -1;
  for (std::size_t i = 0; i < line.signalPositions().size(); ++i) {
    if (line.signalPositions()[i] > 0) {
      signal = static_cast<int>(i);
      break;
    }
  }
  ASSERT_GE(signal, 0);
  const double at = line.signalPositions()[static_cast<std::size_t>(signal)];
  d.line.signals[static_cast<std::size_t>(signal)].aspect = 0;
  EXPECT_EQ(line.allowedAt(d, at - LineAhead::kSignalStandOffCm + 100).kmh, 0);
  EXPECT_GT(line.allowedAt(d, at - LineAhead::kSignalStandOffCm - 100).kmh, 0);
  EXPECT_EQ(line.allowedAt(d, at - 100).source, SpeedSpan::Source::Signal);
}

}  // namespace
}  // namespace vesk::sim
