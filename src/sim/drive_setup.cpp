#include "sim/drive_setup.h"

#include <stdexcept>

#include "core/path_resolver.h"
#include "core/rounding.h"
#include "data/cab_panel.h"
#include "data/data_error.h"
#include "data/route_file.h"
#include "data/track_positions.h"
#include "data/vehicle_file.h"
#include "sim/protection.h"
#include "sim/stations.h"

namespace vesk::sim {
namespace {

void tell(const std::function<void(std::string_view)>& f, std::string_view text) {
  if (f) f(text);
}

// The state a drive starts in: standing with the brake in emergency at the start station (its doors open when
// it is a stop), the clock from its departure time; the handles locked until the drive is started.
void prepareInitialState(Drive& drive, const DriveChoice& choice, const data::RouteData& route) {
  TrainState& s = drive.state;
  sim::ControlState& c = drive.control;
  const data::VehicleSpec& v = drive.vehicle;
  c.inputLocked = 1;
  c.reverser = 1;
  c.powerHandle = 0;
  c.brakeHandle = -v.brakeNotches;
  c.gear = 1;
  c.atsOn = drive.settings.ATS == 1 ? 0 : 1;
  s.brakeNotch = -v.brakeNotches;
  s.sapNotch = -v.brakeNotches;
  // The cylinders start at the emergency pressure, the main reservoir charged, the engine running.
  s.bcMotor = core::Fixed::fromInt(v.ebPressure);
  s.bcTrailer = core::Fixed::fromInt(v.ebPressure);
  s.mr = core::Fixed::fromInt(v.mrHighPressure);
  s.engineRunning = 1;
  s.engagedGear = 0;
  s.lineVoltageTarget = core::Fixed::fromInt(1500);
  s.lineVoltage = core::Fixed::fromInt(1500);
  s.frame =
      choice.startStation < 0 ? route.startFrame : route.stations[static_cast<std::size_t>(choice.startStation)].frame;
  s.position = static_cast<double>(data::framePosition(route, s.frame).value_or(0));
  s.speedUnitRow = -1;
  prepareStationsAtStart(drive, choice.startStation);
  drive.masconupdate();
}

}  // namespace

std::optional<std::filesystem::path> routeVideoPath(const std::filesystem::path& programDir,
                                                    const data::UiStrings& strings, const data::RouteData& route) {
  return core::resolveDataFile(programDir, strings.videoDir + route.dataName + ".avi");
}

std::unique_ptr<LoadedDrive> loadDrive(const DriveChoice& choice, media::SoundBank& sounds,
                                       const LoadServices& services, const Settings& settings) {
  auto loaded = std::make_unique<LoadedDrive>();

  tell(services.progress, "設定ファイルを読み込んでいます");
  if (auto codes = data::loadControllerCodes(choice.programDir)) {
    loaded->controllerCodes = *codes;
  } else {
    tell(services.notice, "mascon.dat を読めません。コントローラなしで運転します。");
  }
  loaded->strings = data::loadStringFile(choice.programDir);

  const std::filesystem::path vehicleDir = choice.vehicleDir.empty() ? choice.programDir : choice.vehicleDir;
  loaded->vehicle =
      data::loadVehicleFile(vehicleDir, choice.vehicleFileName, loaded->pictures.images, loaded->pictures.sprites);
  loaded->route = data::loadRouteFile(choice.programDir, choice.routeFileName,
                                      {loaded->strings, choice.vehicleFileName}, loaded->pictures);
  data::RouteData& route = *loaded->route;
  if (choice.startStation < -1 || choice.startStation >= route.stationCount) {
    throw std::invalid_argument("no such start station");
  }

  tell(services.progress, "運転台を描画しています");
  data::buildCabPanel(vehicleDir, choice.vehicleFileName, loaded->vehicle, loaded->pictures.images,
                      loaded->pictures.sprites);
  loaded->staf = data::loadStafPictures(choice.programDir, route);

  std::int64_t videoPictures = 0;
  const auto video = routeVideoPath(choice.programDir, loaded->strings, route);
  const auto count = video && services.videoFrameCount ? services.videoFrameCount(*video) : std::nullopt;
  if (count) {
    loaded->videoPath = *video;
    videoPictures = *count;
  } else {
    tell(services.notice, loaded->strings.videoDir + route.dataName + ".avi" + "映像ファイルを開けません");
  }

  loaded->sounds =
      data::loadDriveSounds(sounds, loaded->vehicle, vehicleDir, route, choice.programDir, services.progress);

  tell(services.progress, "環境をセットアップしています");
  data::computeTrackPositions(route);
  data::applyPostLoadChecks(loaded->vehicle);
  loaded->drive = std::make_unique<Drive>(loaded->vehicle, route, loaded->strings, sounds, loaded->pictures);
  Drive& drive = *loaded->drive;
  drive.settings = settings;
  drive.controllerCodes = loaded->controllerCodes;
  drive.soundLayout = loaded->sounds.layout;
  drive.callOutWaves.CallOutSounds = loaded->sounds.callouts;
  drive.callOutWaves.OtherCallOutSounds = loaded->sounds.otherCallouts;
  drive.callOutWaves.LimitCallOutSounds = loaded->sounds.limitCallouts;
  drive.lastFramePosition =
      core::saturate32(videoPictures * static_cast<std::int64_t>(loaded->strings.videoFrameFactor));
  prepareInitialState(drive, choice, route);
  prepareProtection(drive);
  // Messages that name a sound play a file of the program folder.
  drive.messageWaves = [programDir = choice.programDir](const std::string& file) {
    const auto path = core::resolveDataFile(programDir, file);
    return path ? media::loadWave(*path, file) : media::loadWave(programDir / file, file);
  };
  // Started at once: the drive runs when the window first shows.
  drive.control.inputLocked = 0;
  return loaded;
}

}  // namespace vesk::sim
