#include "vesk_check/pack_check.h"

#include <QCoreApplication>

#include <algorithm>
#include <set>

#include "core/path_resolver.h"
#include "data/data_error.h"
#include "data/file_reference.h"
#include "data/route_file.h"
#include "data/string_file.h"
#include "data/track_positions.h"
#include "data/vehicle_file.h"
#include "media/drive_pictures.h"
#include "media/picture_loader.h"
#include "media/video_source.h"
#include "media/wave.h"
#include "vesk_check/protection_check.h"

namespace vesk::tools {
namespace {

namespace fs = std::filesystem;
using data::FileReference;

// Fixed files of the title screen.
const std::vector<std::string> kTitlePictures = {
    "image\\title\\line01.bmp",  "image\\title\\line02.bmp",  "image\\title\\line03.bmp",  "image\\title\\line04.bmp",
    "image\\title\\line05.bmp",  "image\\title\\line06.bmp",  "image\\title\\train01.bmp", "image\\title\\train02.bmp",
    "image\\title\\train03.bmp", "image\\title\\title01.jpg", "image\\title\\title02.jpg", "image\\title\\title03.jpg",
    "image\\title\\title04.jpg", "image\\title\\title05.jpg", "image\\title\\title06.jpg", "image\\title\\title2.jpg"};
const std::vector<std::string> kTitleSounds = {"sound\\28803.wav", "sound\\start.wav"};

class Checker {
 public:
  explicit Checker(fs::path programDir) : dir_(std::move(programDir)) {}

  void add(std::string file, int line, std::string message) {
    Finding f{std::move(file), line, std::move(message)};
    const std::string key = formatFinding(f);
    if (seen_.insert(key).second) findings_.push_back(std::move(f));
  }
  void add(const data::DataError& e, const std::string& file) { add(file, e.line(), e.message()); }

  // Checks one noted file: it must exist and decode as what it is.
  void check(const FileReference& ref) {
    const std::string key = ref.dataFile + "|" + std::to_string(ref.line) + "|" + ref.name;
    if (!checked_.insert(key).second) return;
    const auto path = core::resolveDataFile(ref.base, ref.name);
    std::string problem;
    if (!path) {
      problem = ref.name + " is missing";
    } else if (ref.kind == FileReference::Kind::Picture) {
      if (!media::loadPicture(*path)) problem = ref.name + " is not a readable BMP or JPEG picture";
    } else if (ref.kind == FileReference::Kind::Sound) {
      if (media::loadWave(*path)->empty()) problem = ref.name + " is not a readable WAVE file";
    } else {
      auto video = media::VideoSource::open(*path);
      QImage first;
      if (!video || video->frameCount() <= 0 || !video->readFrame(0, first)) {
        problem = ref.name + " cannot be opened or decoded as a video";
      }
    }
    if (problem.empty()) return;
    if (ref.failureMessage.empty()) {
      add(ref.dataFile, ref.line, problem + "; the simulator goes on without it (silent)");
    } else {
      add(ref.dataFile, ref.line, ref.failureMessage + " (" + problem + ")");
    }
  }

  void checkAll(const std::vector<FileReference>& references) {
    for (const FileReference& ref : references) check(ref);
  }

  bool exists(const std::string& name) const { return core::resolveDataFile(dir_, name).has_value(); }
  const fs::path& dir() const { return dir_; }
  std::vector<Finding> findings() const { return findings_; }

 private:
  fs::path dir_;
  std::vector<Finding> findings_;
  std::set<std::string> seen_;
  std::set<std::string> checked_;
};

void checkVehicleDelays(Checker& c, const std::string& file, const data::VehicleSpec& v) {
  const std::pair<const char*, int> delays[] = {{"[PowerDelay]", v.powerDelay},
                                                {"[BrakeDelay]", v.brakeDelay},
                                                {"[SAPDelay]", v.sapDelay},
                                                {"[EBrakeDelay]", v.elecBrakeDelay}};
  for (const auto& [key, value] : delays) {
    if (value < 1) {
      c.add(file, 0,
            std::string(key) + " is " + std::to_string(value) +
                ": a handle delay must be at least 1 (the simulator uses 1)");
    }
  }
  if (v.cars < 1 || v.cars > 30) c.add(file, 0, "[Cars] is " + std::to_string(v.cars) + ": a train has 1 to 30 cars");
  if (v.trainMass <= core::Fixed{}) c.add(file, 0, "[Tons] is not above 0: the train cannot move");
}

void checkVehicle(Checker& c, const std::string& file) {
  if (!c.exists(file)) {
    c.add(file, 0, std::string(data::kVehicleFileError) + "- 列車の基本設定 (the file is missing)");
    return;
  }
  std::vector<FileReference> references;
  media::DrivePictures pictures;
  try {
    data::VehicleSpec spec =
        data::loadVehicleFile(c.dir(), file, pictures.images, pictures.sprites, {&references, false});
    data::applyPostLoadChecks(spec);
    checkVehicleDelays(c, file, spec);
  } catch (const data::DataError& e) {
    c.add(e, file);
  }
  c.checkAll(references);
}

void checkRoute(Checker& c, const std::string& file, const data::UiStrings& strings,
                const std::vector<std::string>& vehicles) {
  if (!c.exists(file)) {
    c.add(file, 0, std::string(data::kRouteFileError) + "その他: (the file is missing)");
    return;
  }
  // "[Monitor]" blocks make the route depend on the vehicle: read it once with each.
  for (const std::string& vehicle : vehicles) {
    std::vector<FileReference> references;
    media::DrivePictures pictures;
    try {
      auto route = data::loadRouteFile(c.dir(), file, {strings, vehicle}, pictures, {&references, false});
      const int dropped = data::computeTrackPositions(*route);
      if (dropped > 0) {
        c.add(file, 0,
              std::to_string(dropped) + " ATS-P beacons do not fit the table of " +
                  std::to_string(data::kAtsBeaconCapacity) + " and are left out");
      }
      if (route->speedUnitCount == 0) c.add(file, 0, "no [SpeedUnit] rows: nothing on the line gets a position");
      for (const std::string& message : protectionFindings(*route)) c.add(file, 0, message);
    } catch (const data::DataError& e) {
      c.add(e, file);
    }
    c.checkAll(references);
  }
}

void checkTitleScreen(Checker& c) {
  for (const std::string& name : kTitlePictures) {
    c.check({FileReference::Kind::Picture, name, c.dir(), name, 0, {}});
  }
  for (const std::string& name : kTitleSounds) c.check({FileReference::Kind::Sound, name, c.dir(), name, 0, {}});
  for (const char* name : {"readme.html", "operation.dat"}) {
    if (!c.exists(name)) c.add(name, 0, "missing: the title screen's help and the help window need it");
  }
}

}  // namespace

const std::vector<std::string>& titleRouteFiles() {
  static const std::vector<std::string> files = {
      "line_down_local.dat", "line_down_local_A.dat", "line_down_rapid.dat", "line_down_rapid_A.dat",
      "line_down_tr.dat",    "line_down_tr_A.dat",    "line_up_local.dat",   "line_up_local_A.dat",
      "line_up_rapid.dat",   "line_up_rapid_A.dat",   "line_up_tr.dat",      "line_up_tr_A.dat"};
  return files;
}

const std::vector<std::string>& titleVehicleFiles() {
  static const std::vector<std::string> files = {"train_VK500.dat", "train_VK700_3Cars.dat", "train_VK700_2Cars.dat",
                                                 "train_VK103.dat", "train_VK401.dat"};
  return files;
}

std::vector<std::string> vehiclesOfRoute(const std::string& routeFile) {
  if (routeFile.rfind("line_d", 0) == 0) return {"train_VK500.dat", "train_VK700_3Cars.dat", "train_VK103.dat"};
  if (routeFile.rfind("line_u", 0) == 0) return {"train_VK500.dat", "train_VK700_2Cars.dat", "train_VK401.dat"};
  return {};
}

std::string formatFinding(const Finding& f) {
  return f.file + (f.line > 0 ? ":" + std::to_string(f.line) : "") + ": " + f.message;
}

std::vector<Finding> checkPack(const CheckRequest& request) {
  Checker c(request.programDir);
  data::UiStrings strings;
  if (!c.exists(std::string(data::kStringFileName))) {
    c.add(std::string(data::kStringFileName), 0,
          "実行ファイルが正しい場所に配置されていません (velmarix.dat is missing)");
  } else {
    try {
      strings = data::loadStringFile(request.programDir);
    } catch (const data::DataError& e) {
      c.add(e, std::string(data::kStringFileName));
    }
  }
  if (!data::loadControllerCodes(request.programDir)) {
    c.add(std::string(data::kControllerMapName), 0,
          "missing or unreadable: the simulator runs without controller codes");
  }

  std::vector<std::string> routes;
  std::vector<std::string> vehicles;
  const bool named = !request.files.empty();
  for (const std::string& f : named ? request.files : titleRouteFiles()) {
    if (!named || f.rfind("line_", 0) == 0) routes.push_back(f);
  }
  for (const std::string& f : named ? request.files : titleVehicleFiles()) {
    if (f.rfind("line_", 0) != 0) vehicles.push_back(f);
  }
  if (!named) checkTitleScreen(c);
  for (const std::string& v : vehicles) checkVehicle(c, v);
  for (const std::string& r : routes) {
    std::vector<std::string> with = vehiclesOfRoute(r);
    if (named || with.empty()) with = vehicles.empty() ? std::vector<std::string>{""} : vehicles;
    checkRoute(c, r, strings, with);
  }
  return c.findings();
}

}  // namespace vesk::tools
