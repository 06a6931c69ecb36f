#include "data/route_file.h"

#include <string>
#include <vector>

#include "core/csv_field.h"
#include "core/file_bytes.h"
#include "core/number_parse.h"
#include "core/path_resolver.h"
#include "core/rounding.h"
#include "core/sjis.h"
#include "data/data_error.h"
#include "data/key_file_reader.h"
#include "data/row_reader.h"
#include "media/picture_loader.h"

namespace vesk::data {
namespace {

namespace fs = std::filesystem;
using media::DrivePictures;
using media::ImageList;

constexpr std::string_view kPassLabel = "その他";
// The most pictures an animation, road traffic light or level crossing list takes.
constexpr int kPictureListCapacity = 1000;

// What the rules fill: the record, and the pictures made on the way (committed only when the whole file reads).
struct RouteLoad {
  RouteData& route;
  fs::path dir;
  const RouteContext& context;
  LoadOptions options;
  DrivePictures pictures;
};

using Rule = KeyRule<RouteLoad>;

std::string routeError(const KeyFileReader& r) {
  return std::string(kRouteFileError) + r.label() + ":" + core::sjisToUtf8(r.line());
}

std::optional<QImage> loadPicture(const RouteLoad& v, const std::string& file) {
  const auto path = core::resolveDataFile(v.dir, file);
  if (!path) return std::nullopt;
  return media::loadPicture(*path);
}

// Reads the rows of a list: each row is one line of comma-separated values.
template <class Row, std::size_t N, class ReadRow>
Rule listKey(std::string_view key, std::array<Row, N> RouteData::*table, int RouteData::*count, ReadRow readRow,
             char skipLead = 0) {
  return {key, 0, key, [=](KeyFileReader& r, RouteLoad& v) {
            auto& rows = v.route.*table;
            readListRows(
                r, static_cast<int>(N), v.route.*count, false,
                [&](int i) { readRow(r, rows[static_cast<std::size_t>(i)]); }, skipLead);
          }};
}

// Reads the rows of a list of records, one line of comma-separated values each, in the record's field order.
template <class Row, std::size_t N>
Rule recordListKey(std::string_view key, std::array<Row, N> RouteData::*table, int RouteData::*count,
                   char skipLead = 0) {
  return listKey(
      key, table, count, [](const KeyFileReader& r, Row& row) { readCommaRow(r, row); }, skipLead);
}

// A list of file names (a text-only list: it also stops at the end of the file).
template <std::size_t N>
Rule soundListKey(std::string_view key, std::array<std::string, N> RouteData::*table, int RouteData::*count) {
  return {key, 0, key, [=](KeyFileReader& r, RouteLoad& v) {
            readListRows(r, static_cast<int>(N), v.route.*count, true, [&](int i) {
              std::string& file = (v.route.*table)[static_cast<std::size_t>(i)];
              file = r.textLine();
              if (!file.empty()) r.note(FileReference::Kind::Sound, file, v.dir, {});
            });
          }};
}

// A list of picture files appended to a numbered image list (a second section appends more); a failure is a
// route error.
Rule pictureListKey(std::string_view key, ImageList DrivePictures::*list) {
  return {key, 0, key, [=](KeyFileReader& r, RouteLoad& v) {
            ImageList& images = v.pictures.*list;
            int rows = 0;
            readListRows(r, kPictureListCapacity, rows, true, [&](int) {
              const std::string file = r.textLine();
              r.note(FileReference::Kind::Picture, file, v.dir, routeError(r));
              if (!v.options.loadPictures) return;
              if (static_cast<int>(images.entries().size()) >= kPictureListCapacity) KeyFileReader::fail();
              const auto picture = loadPicture(v, file);
              if (!picture) KeyFileReader::fail();
              images.put(media::makeImageEntry(std::to_string(images.entries().size()), *picture, true,
                                               media::bottomLeftColour(*picture)));
            });
            if (list == &DrivePictures::animImages) v.route.animImageCount = static_cast<int>(images.entries().size());
          }};
}

// The eight sign pictures of the forward view: name, transparency, pattern, sprite and own failure message.
struct SignPicture {
  std::string_view imageName;
  std::string_view message;
};

constexpr SignPicture kSignPictures[8] = {
    {"img_unten_teimoku", "停目の生成エラー"},        {"img_unten_teimokuS", "停止線Sの生成エラー"},
    {"img_unten_teimokuM", "停止線Mの生成エラー"},    {"img_unten_teimokuE", "停止線Eの生成エラー"},
    {"img_unten_slope", "勾配標の生成エラー"},        {"img_unten_limit", "制限標の生成エラー"},
    {"img_unten_remain", "残り距離表示の生成エラー"}, {"img_unten_other", "その他標識の生成エラー"},
};

constexpr std::string_view kSignalPictureNames[4] = {"img_unten_signal", "img_unten_signal_S", "img_unten_signal_L",
                                                     "img_unten_signal_R"};
constexpr std::string_view kSignalPictureMessages[4] = {"信号機の生成エラー", "サブ信号機0の生成エラー",
                                                        "サブ信号機1の生成エラー", "サブ信号機2の生成エラー"};

[[noreturn]] void failWith(std::string_view message) { throw OwnMessageFailure{std::string(message)}; }

// Loads a sign or signal picture; its own message on any failure.
std::optional<QImage> loadOwnPicture(KeyFileReader& r, RouteLoad& v, const std::string& file,
                                     std::string_view message) {
  r.note(FileReference::Kind::Picture, file, v.dir, std::string(message));
  if (!v.options.loadPictures) return std::nullopt;
  auto picture = loadPicture(v, file);
  if (!picture) failWith(message);
  return picture;
}

void readSignImageList(KeyFileReader& r, RouteLoad& v) {
  const int w = v.context.strings.viewWidth;
  const int h = v.context.strings.viewHeight;
  for (int line = 0; line < 8; ++line) {
    const SignPicture& sign = kSignPictures[line];
    r.readLine();
    const std::string file = r.textField(1);
    const auto size = core::parseInt(core::csvField(r.line(), 2));
    if (!size) failWith(sign.message);
    const int n = *size;
    const auto picture = loadOwnPicture(r, v, file, sign.message);
    if (!picture) continue;
    media::Sprite sprite;
    sprite.picture = std::string(sign.imageName);
    sprite.z = 100;
    sprite.width = n;
    sprite.height = n;
    bool transparent = true;
    QRgb key = media::bottomLeftColour(*picture);
    int patternWidth = n;
    int patternHeight = n;
    switch (line) {
    case 0:
      sprite.x = w - n;
      break;
    case 1:
    case 2:
    case 3:  // stop position lines: the whole picture, stretched across the view
      transparent = false;
      patternWidth = 0;
      patternHeight = 0;
      sprite.width = w;
      sprite.rotating = true;
      break;
    case 4:
      sprite.x = static_cast<double>(core::even(w * 0.825));
      sprite.y = static_cast<double>(core::even(h * 0.55));
      break;
    case 5:
      sprite.x = static_cast<double>(core::even(w * 0.825));
      sprite.y = static_cast<double>(core::even(h * 0.35));
      break;
    case 6:  // the remaining-distance bar: black is its transparent colour
      key = qRgb(0, 0, 0);
      patternHeight = 2 * h;
      sprite.x = w - n;
      sprite.height = 2 * h;
      break;
    default:
      sprite.y = static_cast<double>(core::even(h * 0.4));
      break;
    }
    v.pictures.images.put(
        media::makeImageEntry(sprite.picture, *picture, transparent, key, patternWidth, patternHeight));
    v.pictures.sprites.put(std::move(sprite));
  }
}

void readSignalImageList(KeyFileReader& r, RouteLoad& v) {
  for (int line = 0; line < 4; ++line) {
    const std::string_view message = kSignalPictureMessages[line];
    r.readLine();
    // The first line also carries the offsets added to every signal position.
    const int first = line == 0 ? 3 : 1;
    const auto width = core::parseInt(core::csvField(r.line(), first));
    const auto height = core::parseInt(core::csvField(r.line(), first + 1));
    if (!width || !height) failWith(message);
    if (line == 0) {
      const auto x = core::parseInt(core::csvField(r.line(), 1));
      const auto y = core::parseInt(core::csvField(r.line(), 2));
      if (!x || !y) failWith(message);
      v.route.signalOffsetX = *x;
      v.route.signalOffsetY = *y;
    }
    const std::string file = r.textField(first + 2);
    const auto picture = loadOwnPicture(r, v, file, message);
    if (!picture) continue;
    media::Sprite sprite;
    sprite.picture = std::string(kSignalPictureNames[line]);
    sprite.z = line == 1 ? 101 : 100;
    sprite.width = *width;
    sprite.height = *height;
    v.pictures.images.put(
        media::makeImageEntry(sprite.picture, *picture, true, media::bottomLeftColour(*picture), *width, *height));
    v.pictures.sprites.put(std::move(sprite));
  }
}

// A "[Monitor]" block belongs to the vehicle file it names; another vehicle's block is skipped line by line.
void readMonitor(KeyFileReader& r, RouteLoad& v) {
  r.readLine();
  if (r.textLine() != v.context.vehicleFileName) return;
  PatternImage p;
  readLineRow(r, p, false);
  v.route.monitorImage = p;
  if (p.file.empty()) return;
  r.note(FileReference::Kind::Picture, p.file, v.dir, routeError(r));
  if (!v.options.loadPictures) return;
  const auto picture = loadPicture(v, p.file);
  if (!picture) KeyFileReader::fail();
  const media::ImageEntry& entry = v.pictures.images.put(media::makeImageEntry(
      "img_mon", *picture, true, media::bottomLeftColour(*picture), p.patternWidth, p.patternHeight));
  media::Sprite sprite;
  sprite.picture = "img_mon";
  sprite.x = p.x;
  sprite.y = p.y;
  sprite.z = 51;
  sprite.width = entry.cellWidth();
  sprite.height = entry.cellHeight();
  v.pictures.sprites.put(std::move(sprite));
}

std::vector<Rule> routeRules() {
  using R = RouteData;
  std::vector<Rule> rules = {
      {"[LineName]", 0, {}, [](KeyFileReader& r, RouteLoad& v) { v.route.lineName = r.readText(); }},
      {"[LineName2]", 0, {}, [](KeyFileReader& r, RouteLoad& v) { v.route.lineName2 = r.readText(); }},
      {"[StartPos]", 0, {}, [](KeyFileReader& r, RouteLoad& v) { v.route.startFrame = r.readInt(); }},
      {"[FrameRate]", 0, {}, [](KeyFileReader& r, RouteLoad& v) { v.route.frameRate = r.readInt(); }},
      {"[Staf]",
       0,
       {},
       [](KeyFileReader& r, RouteLoad& v) {
         for (std::string& file : v.route.stafImages) {
           file = r.readText();
           if (!file.empty()) r.note(FileReference::Kind::Picture, file, v.dir, file + "が見つかりません");
         }
       }},
      {"[Friction]", 0, {}, [](KeyFileReader& r, RouteLoad& v) { v.route.friction = Fixed::fromDouble(r.readReal()); }},
      {"[StafSwitch]", 0, "[StafSwitch]",
       [](KeyFileReader& r, RouteLoad& v) {
         v.route.stafSwitchStart = r.readInt();
         readListRows(r, kStafSwitchCapacity, v.route.stafSwitchCount, false,
                      [&](int i) { v.route.stafSwitches[static_cast<std::size_t>(i)] = r.intField(1); });
       }},
      listKey("[MovieStop]", &R::movieStops, &R::movieStopCount,
              [](const KeyFileReader& r, int& f) { f = r.intField(1); }),
      recordListKey("[MovieSwitch]", &R::movieSwitches, &R::movieSwitchCount),
      listKey("[Speed_Signal]", &R::signalSpeeds, &R::signalSpeedCount,
              [](const KeyFileReader& r, int& speed) { speed = r.intField(1); }),
      {"[DataName]",
       0,
       {},
       [](KeyFileReader& r, RouteLoad& v) {
         v.route.dataName = r.readText();
         const std::string video = v.context.strings.videoDir + v.route.dataName + ".avi";
         r.note(FileReference::Kind::Video, video, v.dir, video + "映像ファイルを開けません");
       }},
      {"[Perspective]",
       0,
       {},
       [](KeyFileReader& r, RouteLoad& v) {
         v.route.perspective = r.readReal();
         v.route.perspectiveBase = r.readInt();
       }},
      {"[Pre_Train]", 0, "[Pre_Train]",
       [](KeyFileReader& r, RouteLoad& v) {
         r.readLine();
         v.route.preTrainStart = r.intField(1);
         v.route.preTrainParam = r.intField(2);
         readListRows(r, kPreTrainCapacity, v.route.preTrainCount, false,
                      [&](int i) { readCommaRow(r, v.route.preTrains[static_cast<std::size_t>(i)]); });
       }},
      {"[OneMan]", 0, {}, [](KeyFileReader& r, RouteLoad& v) { v.route.oneMan = r.readInt(); }},
      soundListKey("[SoundData]", &R::soundDataFiles, &R::soundDataCount),
      {"[Monitor]", 0, {}, readMonitor},
      {"[Announce]", 0, "[Announce]",
       [](KeyFileReader& r, RouteLoad& v) {
         v.route.stopAnnounceSound = r.readInt();
         readListRows(r, kAnnounceCapacity - 1, v.route.announceCount, false,
                      [&](int i) { readCommaRow(r, v.route.announcements[static_cast<std::size_t>(i) + 1]); });
       }},
      {"[KankoSound1]", 0, "[KankoSound1]",
       [](KeyFileReader& r, RouteLoad& v) {
         for (std::string& file : v.route.calloutFiles1) {
           file = r.readText();
           if (!file.empty()) r.note(FileReference::Kind::Sound, file, v.dir, {});
         }
       }},
      {"[KankoSound2]", 0, "[KankoSound2]",
       [](KeyFileReader& r, RouteLoad& v) {
         int rows = 0;
         readListRows(r, kCallout2Capacity, rows, true, [&](int i) {
           std::string& file = v.route.calloutFiles2[static_cast<std::size_t>(i)];
           file = r.textLine();
           if (!file.empty()) r.note(FileReference::Kind::Sound, file, v.dir, {});
         });
         // The second set is numbered on from the 22 slots of the first.
         v.route.calloutCount2 = kCallout1Count + rows;
       }},
      recordListKey("[Sound]", &R::trackSounds, &R::trackSoundCount, ';'),
      recordListKey("[Sound2]", &R::trackSounds2, &R::trackSound2Count, ';'),
      recordListKey("[Doppler]", &R::dopplerSounds, &R::dopplerCount),
      recordListKey("[Tunnel]", &R::tunnels, &R::tunnelCount),
      recordListKey("[Atten]", &R::attenuations, &R::attenuationCount),
      {"[TunnelR]", 0, "[TunnelR]", [](KeyFileReader& r, RouteLoad& v) { v.route.tunnelResistance = r.readInt(); }},
      recordListKey("[Station]", &R::stations, &R::stationCount),
      listKey("[StopSound]", &R::stopSounds, &R::stopSoundCount,
              [](const KeyFileReader& r, int& sound) { sound = r.intField(1); }),
      recordListKey("[Signal]", &R::signals, &R::signalCount),
      recordListKey("[TrafficSignal]", &R::trafficSignals, &R::trafficSignalCount),
      recordListKey("[Slope]", &R::slopes, &R::slopeCount),
      recordListKey("[Sign]", &R::signs, &R::signCount),
      recordListKey("[Anim]", &R::anims, &R::animCount),
      recordListKey("[SignalKanko]", &R::signalCallouts, &R::signalCalloutCount),
      recordListKey("[StationKanko]", &R::stationCallouts, &R::stationCalloutCount),
      recordListKey("[SpeedLimit]", &R::speedLimits, &R::speedLimitCount),
      recordListKey("[SpeedCheck1]", &R::speedChecks1, &R::speedCheck1Count),
      recordListKey("[SpeedCheck2]", &R::speedChecks2, &R::speedCheck2Count),
      {"[SignImageList]", 0, "[SignImageList]", readSignImageList},
      {"[SignalImageList]", 0, "[SignalImageList]", readSignalImageList},
      soundListKey("[OtherKanko]", &R::otherCalloutFiles, &R::otherCalloutCount),
      soundListKey("[LimitKanko]", &R::limitCalloutFiles, &R::limitCalloutCount),
      pictureListKey("[AnimImageList]", &DrivePictures::animImages),
      pictureListKey("[TrafficSignalImageList]", &DrivePictures::trafficSignalImages),
      recordListKey("[SpeedUnit]", &R::speedUnits, &R::speedUnitCount),
      pictureListKey("[CrossImageList]", &DrivePictures::crossImages),
      recordListKey("[Cross]", &R::crossings, &R::crossingCount),
      recordListKey("[Time]", &R::timetable, &R::timetableCount),
      recordListKey("[Switch]", &R::switches, &R::switchCount),
  };
  return rules;
}

const std::vector<Rule>& rules() {
  static const std::vector<Rule> table = routeRules();
  return table;
}

void commit(DrivePictures& from, DrivePictures& to) {
  for (const media::ImageEntry& e : from.images.entries()) to.images.put(e);
  if (!from.animImages.entries().empty()) to.animImages = from.animImages;
  if (!from.trafficSignalImages.entries().empty()) to.trafficSignalImages = from.trafficSignalImages;
  if (!from.crossImages.entries().empty()) to.crossImages = from.crossImages;
  for (std::size_t i = 0; i < from.sprites.size(); ++i) to.sprites.put(from.sprites.at(i));
}

}  // namespace

std::unique_ptr<RouteData> readRouteFile(std::string_view bytes, const fs::path& programDir, std::string_view fileName,
                                         const RouteContext& context, DrivePictures& pictures,
                                         const LoadOptions& options) {
  auto route = std::make_unique<RouteData>();
  RouteLoad load{*route, programDir, context, options, {}};
  KeyFileReader reader(bytes);
  reader.noteReferences(options.references, std::string(fileName));
  try {
    walkKeyFile(reader, rules(), load, kPassLabel);
  } catch (const ReadFailure&) {
    throw DataError(routeError(reader), std::string(fileName), reader.lineNumber());
  } catch (const OwnMessageFailure& failure) {
    throw DataError(failure.message, std::string(fileName), reader.lineNumber());
  }
  commit(load.pictures, pictures);
  return route;
}

std::unique_ptr<RouteData> loadRouteFile(const fs::path& programDir, std::string_view routeFileName,
                                         const RouteContext& context, DrivePictures& pictures,
                                         const LoadOptions& options) {
  const auto path = core::resolveDataFile(programDir, routeFileName);
  const auto bytes = path ? core::readFileBytes(*path) : std::nullopt;
  if (!bytes) {
    throw DataError(std::string(kRouteFileError) + std::string(kPassLabel) + ":", std::string(routeFileName));
  }
  return readRouteFile(*bytes, programDir, routeFileName, context, pictures, options);
}

}  // namespace vesk::data
