#include "vesk_check/pack_check.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "advice/data_advice.h"
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
#include "sim/drive_setup.h"
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

bool isAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char ch) { return static_cast<unsigned char>(ch) < 0x80; });
}

std::string relativeName(const fs::path& path, const fs::path& base) {
  return path.lexically_relative(base.empty() ? fs::path(".") : base).generic_string();
}

class Checker {
 public:
  explicit Checker(fs::path programDir) : dir_(std::move(programDir)) {}

  void add(std::string file, int line, std::string message) {
    Finding f{std::move(file), line, std::move(message)};
    const std::string key = formatFinding(f);
    if (seen_.insert(key).second) findings_.push_back(std::move(f));
  }
  // The simulator's message with what it means here, in plain words.
  void add(const data::DataError& e, const std::string& file) {
    std::string explanation = explainDataError(e, dir_);
    // A UTF-8 file has been said once already.
    if (explanation == kUtf8Advice && utf8Files_.count(file) != 0) explanation.clear();
    add(file, e.line(), explanation.empty() ? e.message() : e.message() + " (" + explanation + ")");
  }

  // Before a file of the program folder is read: its name's twins, and for a Shift-JIS data file its encoding.
  // Returns whether it exists.
  bool noteDataFile(const std::string& file, bool shiftJis = true) {
    const auto found = core::resolveDataFileNoting(dir_, file);
    warnOfTwins(file, 0, file, dir_, found);
    if (!found.file) return false;
    if (shiftJis && isUtf8DataFile(dir_, file) && utf8Files_.insert(file).second) {
      add(file, 0, std::string(kUtf8Advice));
    }
    return true;
  }

  // Checks one noted file: it must exist and decode as what it is.
  void check(const FileReference& ref) {
    const std::string key = ref.dataFile + "|" + std::to_string(ref.line) + "|" + ref.name;
    if (!checked_.insert(key).second) return;
    // Names in a UTF-8 file are read garbled: the one warning about the file covers them.
    if (utf8Files_.count(ref.dataFile) != 0 && !isAscii(ref.name)) return;
    const auto found = core::resolveDataFileNoting(ref.base, ref.name);
    warnOfTwins(ref.dataFile, ref.line, ref.name, ref.base, found);
    const auto& path = found.file;
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

  const fs::path& dir() const { return dir_; }
  std::vector<Finding> findings() const { return findings_; }

 private:
  // Names that differ only in letter case can both exist here, not on Windows: say which one is used.
  void warnOfTwins(const std::string& dataFile, int line, const std::string& name, const fs::path& base,
                   const core::ResolvedFile& found) {
    if (!found.file || found.passedOver.empty()) return;
    const std::string taken = relativeName(*found.file, base);
    std::string all = taken;
    for (const fs::path& other : found.passedOver) all += " and " + relativeName(other, base);
    const bool itself = line == 0 && name == dataFile;  // the data file's own name
    add(dataFile, line,
        (itself ? all + " differ" : name + " names " + all + ", which differ") + " only in letter case: " + taken +
            " is used");
  }

  fs::path dir_;
  std::vector<Finding> findings_;
  std::set<std::string> seen_;
  std::set<std::string> checked_;
  std::set<std::string> utf8Files_;
};

void checkVehicleValues(Checker& c, const std::string& file, const data::VehicleSpec& v) {
  for (const std::string& warning : vehicleWarnings(v)) c.add(file, 0, warning);
}

void checkVehicle(Checker& c, const std::string& file) {
  c.noteDataFile(file);
  std::vector<FileReference> references;
  media::DrivePictures pictures;
  try {
    data::VehicleSpec spec =
        data::loadVehicleFile(c.dir(), file, pictures.images, pictures.sprites, {&references, false});
    data::applyPostLoadChecks(spec);
    checkVehicleValues(c, file, spec);
  } catch (const data::DataError& e) {
    c.add(e, file);
  }
  c.checkAll(references);
}

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// The "[SpeedUnit]" rows must not run past the video's last picture, which ends every drive (a video whose
// writing was interrupted is shorter than its route).
void checkVideoLength(Checker& c, const std::string& file, const data::UiStrings& strings,
                      const data::RouteData& route) {
  if (route.speedUnitCount == 0 || strings.videoFrameFactor <= 0) return;
  const auto video = sim::routeVideoPath(c.dir(), strings, route);
  const auto pictures = video ? media::videoFrameCount(*video) : std::nullopt;
  if (!pictures) return;  // reported with the video itself
  int lastFrame = 0;
  for (int i = 0; i < route.speedUnitCount; ++i) {
    lastFrame = std::max(lastFrame, route.speedUnits[static_cast<std::size_t>(i)].frameTo);
  }
  const std::int64_t videoEnd = *pictures * strings.videoFrameFactor;
  if (lastFrame <= videoEnd) return;
  c.add(file, 0,
        "the [SpeedUnit] rows run to frame " + std::to_string(lastFrame) + ", but the video " + strings.videoDir +
            route.dataName + ".avi ends at frame " + std::to_string(videoEnd) + " (" + std::to_string(*pictures) +
            " pictures x the [Disp] frame factor " + std::to_string(strings.videoFrameFactor) +
            "): the line cannot be driven beyond it (was the video's writing interrupted?)");
}

void checkPositions(Checker& c, const std::string& file, data::RouteData& route) {
  const int dropped = data::computeTrackPositions(route);
  if (dropped > 0) {
    c.add(file, 0,
          std::to_string(dropped) + " ATS-P beacons do not fit the table of " +
              std::to_string(data::kAtsBeaconCapacity) + " and are left out");
  }
  if (route.speedUnitCount == 0) c.add(file, 0, "no [SpeedUnit] rows: nothing on the line gets a position");
  if (const auto row = data::firstSaturatingSpeedUnitRow(route)) {
    const data::SpeedUnitRow& u = route.speedUnits[static_cast<std::size_t>(*row)];
    c.add(file, 0,
          "[SpeedUnit] row " + std::to_string(*row + 1) + " (" + std::to_string(u.frameFrom) + "," +
              std::to_string(u.frameTo) + "," + number(u.speedFrom) + "," + number(u.speedTo) +
              ") carries the positions along the line beyond what can be held: no line is that long, and the "
              "positions from this row on stop at the limit");
  }
}

void checkRoute(Checker& c, const std::string& file, const data::UiStrings& strings,
                const std::vector<std::string>& vehicles) {
  if (!c.noteDataFile(file)) {
    c.add(data::DataError(std::string(data::kRouteFileError) + "その他:", file), file);
    return;
  }
  // "[Monitor]" blocks make the route depend on the vehicle: read it once with each.
  bool first = true;
  for (const std::string& vehicle : vehicles) {
    std::vector<FileReference> references;
    media::DrivePictures pictures;
    try {
      auto route = data::loadRouteFile(c.dir(), file, {strings, vehicle}, pictures, {&references, false});
      checkPositions(c, file, *route);
      if (first) checkVideoLength(c, file, strings, *route);
      first = false;
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
  // readme.html is a web page in whatever encoding it declares; the help text is Shift-JIS.
  for (const auto& [name, shiftJis] : {std::pair{"readme.html", false}, std::pair{"operation.dat", true}}) {
    if (!c.noteDataFile(name, shiftJis)) c.add(name, 0, "missing: the title screen's help and the help window need it");
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
  if (!isRouteFileName(routeFile) || routeFile.size() < 6) return {};
  const char direction = static_cast<char>(std::tolower(static_cast<unsigned char>(routeFile[5])));
  if (direction == 'd') return {"train_VK500.dat", "train_VK700_3Cars.dat", "train_VK103.dat"};
  if (direction == 'u') return {"train_VK500.dat", "train_VK700_2Cars.dat", "train_VK401.dat"};
  return {};
}

std::string formatFinding(const Finding& f) {
  return f.file + (f.line > 0 ? ":" + std::to_string(f.line) : "") + ": " + f.message;
}

std::vector<Finding> checkPack(const CheckRequest& request) {
  Checker c(request.programDir);
  data::UiStrings strings;
  if (!c.noteDataFile(std::string(data::kStringFileName))) {
    c.add(std::string(data::kStringFileName), 0,
          "実行ファイルが正しい場所に配置されていません (velmarix.dat is missing)");
  } else {
    try {
      strings = data::loadStringFile(request.programDir);
    } catch (const data::DataError& e) {
      c.add(e, std::string(data::kStringFileName));
    }
  }
  c.noteDataFile(std::string(data::kControllerMapName));
  if (!data::loadControllerCodes(request.programDir)) {
    c.add(std::string(data::kControllerMapName), 0,
          "missing or unreadable: the simulator runs without controller codes");
  }

  std::vector<std::string> routes;
  std::vector<std::string> vehicles;
  const bool named = !request.files.empty();
  for (const std::string& f : named ? request.files : titleRouteFiles()) {
    if (!named || isRouteFileName(f)) routes.push_back(f);
  }
  for (const std::string& f : named ? request.files : titleVehicleFiles()) {
    if (!isRouteFileName(f)) vehicles.push_back(f);
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
