#include "data/vehicle_file.h"

#include <string>
#include <vector>

#include "core/file_bytes.h"
#include "core/path_resolver.h"
#include "data/data_error.h"
#include "data/key_file_reader.h"
#include "data/row_reader.h"
#include "media/picture_loader.h"

namespace vesk::data {
namespace {

namespace fs = std::filesystem;
using media::ImageList;
using media::SpriteEngine;

constexpr std::string_view kPassLabel = "- 列車の基本設定";

// What the rules fill: the record, and the pictures made on the way (committed only when the whole file reads).
struct VehicleLoad {
  VehicleSpec spec;
  fs::path dir;
  LoadOptions options;
  ImageList images;
  SpriteEngine sprites;
};

using Rule = KeyRule<VehicleLoad>;

Rule intValue(std::string_view key, int VehicleSpec::*field) {
  return {key, 0, {}, [field](KeyFileReader& r, VehicleLoad& v) { v.spec.*field = r.readInt(); }};
}

Rule decValue(std::string_view key, Fixed VehicleSpec::*field) {
  return {key, 0, {}, [field](KeyFileReader& r, VehicleLoad& v) { v.spec.*field = r.readDec(); }};
}

// n one-int lines into elements first.. of an array; n is taken when the key is read.
template <std::size_t N>
Rule intLines(std::string_view key, std::array<int, N> VehicleSpec::*field, int first,
              int (*count)(const VehicleSpec&)) {
  return {key, 0, {}, [=](KeyFileReader& r, VehicleLoad& v) {
            const int last = first + count(v.spec);  // one past the last element read
            if (last > static_cast<int>(N)) KeyFileReader::fail();
            for (int i = first; i < last; ++i) (v.spec.*field)[static_cast<std::size_t>(i)] = r.readInt();
          }};
}

// The cab panel builds its pictures after both data files are read; a missing one ends the drive with the name.
void notePanelPicture(KeyFileReader& r, const VehicleLoad& v, const std::string& file) {
  if (!file.empty()) r.note(FileReference::Kind::Picture, file, v.dir, file + "の生成エラー");
}

void noteSound(KeyFileReader& r, const VehicleLoad& v, const std::string& file) {
  if (!file.empty()) r.note(FileReference::Kind::Sound, file, v.dir, {});
}

Rule panelImage(std::string_view key, PanelImage VehicleSpec::*field, std::string_view label = {}) {
  return {key, 0, label, [field](KeyFileReader& r, VehicleLoad& v) {
            r.readLine();
            notePanelPicture(r, v, r.textLine());
            readLineRow(r, v.spec.*field, true);
          }};
}

// A needle: the file, `ints` int lines (x, y, two unused values, the offset; a linear gauge has x and its base
// line only), `reals` real lines (the scales), and for the ammeter one more int (its mode).
Rule needle(std::string_view key, NeedleSpec VehicleSpec::*field, std::string_view label, int ints, int reals,
            bool modeLine = false) {
  return {key, 0, label, [=](KeyFileReader& r, VehicleLoad& v) {
            NeedleSpec& n = v.spec.*field;
            n.file = r.readText();
            notePanelPicture(r, v, n.file);
            int* intFields[] = {&n.x, &n.y, &n.value3, &n.value4, &n.offset};
            for (int i = 0; i < ints; ++i) *intFields[i] = r.readInt();
            double* realFields[] = {&n.scale, &n.scale2};
            for (int i = 0; i < reals; ++i) *realFields[i] = r.readReal();
            if (modeLine) n.ammeterMode = r.readInt();
          }};
}

// Loads the picture of a pattern image key into the panel's image list and creates its sprite.
void loadPatternPicture(KeyFileReader& r, VehicleLoad& v, const PatternImage& p, std::string_view imageName, int z) {
  if (p.file.empty()) return;
  r.note(FileReference::Kind::Picture, p.file, v.dir, std::string(kVehicleFileError) + r.label());
  if (!v.options.loadPictures) return;
  const auto path = core::resolveDataFile(v.dir, p.file);
  if (!path) KeyFileReader::fail();
  const auto picture = media::loadPicture(*path);
  if (!picture) KeyFileReader::fail();
  const media::ImageEntry& entry = v.images.put(media::makeImageEntry(
      std::string(imageName), *picture, true, media::bottomLeftColour(*picture), p.patternWidth, p.patternHeight));
  media::Sprite sprite;
  sprite.picture = std::string(imageName);
  sprite.x = p.x;
  sprite.y = p.y;
  sprite.z = z;
  sprite.width = entry.cellWidth();
  sprite.height = entry.cellHeight();
  v.sprites.put(std::move(sprite));
}

PatternImage readPatternImage(KeyFileReader& r) {
  PatternImage p;
  readLineRow(r, p, false);
  return p;
}

Rule pattern(std::string_view key, PatternImage VehicleSpec::*field, std::string_view imageName, int z) {
  return {key, 0, key, [=](KeyFileReader& r, VehicleLoad& v) {
            v.spec.*field = readPatternImage(r);
            loadPatternPicture(r, v, v.spec.*field, imageName, z);
          }};
}

void readNotchList(KeyFileReader& r, VehicleLoad& v) {
  VehicleSpec& s = v.spec;
  s.notchModeStart = {};
  int modeCounter = 0;
  readListRows(r, kNotchRowCapacity, s.notchRowCount, false, [&](int i) {
    NotchRow& row = s.notchRows[static_cast<std::size_t>(i)];
    readLineRow(r, row, true);
    // Rows come grouped by mode; each change of mode starts the next one.
    if (row.mode != modeCounter) {
      ++modeCounter;
      if (modeCounter >= kPowerModeStartCapacity) KeyFileReader::fail();
      s.notchModeStart[static_cast<std::size_t>(modeCounter)] = i;
    }
  });
  if (s.engineType == 0) throw OwnMessageFailure{std::string(kDieselWithNotchError)};
}

void readEngineList(KeyFileReader& r, VehicleLoad& v) {
  VehicleSpec& s = v.spec;
  readListRows(r, kGearCapacity, s.gearCount, false,
               [&](int i) { readLineRow(r, s.gears[static_cast<std::size_t>(i)], true); });
  if (s.engineType == 1) throw OwnMessageFailure{std::string(kElectricWithEngineError)};
}

std::vector<Rule> vehicleRules() {
  using S = VehicleSpec;
  std::vector<Rule> rules = {
      intValue("[Handle]", &S::handleLayout),
      intValue("[BrakeType]", &S::brakeType),
      intValue("[BrakeType2]", &S::brakeForceMode),
      {"[Brake]", 0, {}, [](KeyFileReader& r, VehicleLoad& v) {
         v.spec.brakeNotches = r.readInt();
         if (v.spec.brakeNotches > kMaxBrakeNotches) KeyFileReader::fail();
       }},
      {"[Power]", 0, {}, [](KeyFileReader& r, VehicleLoad& v) {
         v.spec.powerNotches = r.readInt();
         if (v.spec.powerNotches > kMaxPowerNotches) KeyFileReader::fail();
       }},
      intValue("[NotchBack]", &S::notchBack),
      intValue("[Hold]", &S::holdMode),
      intValue("[Pull]", &S::pullMode),
      intValue("[Const]", &S::constSpeedMode),
      intValue("[Back]", &S::backMode),
      {"[BrakeRate]", 0, {}, [](KeyFileReader& r, VehicleLoad& v) {
         for (Fixed& rate : v.spec.brakeRate) rate = r.readDec();
       }},
      {"[BrakeRate2]", 0, {}, [](KeyFileReader& r, VehicleLoad& v) { v.spec.brakeRate2 = r.readDec().toDouble(); }},
      intValue("[PowerDelay]", &S::powerDelay),
      intValue("[BrakeDelay]", &S::brakeDelay),
      intValue("[EBrakeDelay]", &S::elecBrakeDelay),
      intValue("[PowerJerk]", &S::powerJerk),
      intValue("[SAPDelay]", &S::sapDelay),
      intValue("[BrakeUp]", &S::brakeUpRate),
      intValue("[BrakeDown]", &S::brakeDownRate),
      intValue("[SAPUp]", &S::sapUpRate),
      intValue("[SAPDown]", &S::sapDownRate),
      intValue("[EBrakeUp]", &S::elecBrakeUpRate),
      intValue("[EBrakeDown]", &S::elecBrakeDownRate),
      intValue("[EBrakeCurr]", &S::elecBrakeMaxCurrent),
      intValue("[BPReturn]", &S::bpReturnRate),
      intValue("[MAXPress]", &S::maxPressure),
      intValue("[EBPress]", &S::ebPressure),
      intValue("[SAPPress]", &S::sapPressure),
      intValue("[HighAirPress]", &S::mrHighPressure),
      intValue("[LowAirPress]", &S::mrLowPressure),
      intValue("[Engine_Type]", &S::engineType),
      intValue("[DoorLock]", &S::doorLock),
      intValue("[Power_Type]", &S::powerType),
      intValue("[Brake_Type]", &S::elecBrakeType),
      intValue("[DoorType]", &S::doorType),
      decValue("[Mt]", &S::motorCarMass),
      decValue("[Tt]", &S::trailerMass),
      decValue("[Tct]", &S::controlTrailerMass),
      intValue("[Cars]", &S::cars),
      decValue("[Tons]", &S::trainMass),
      intValue("[EB]", &S::vigilanceDevice),
      intValue("[MaxSpeed]", &S::maxSpeed),
      intValue("[Lose_elec]", &S::elecBrakeFadeSpeed),
      intValue("[ELBR]", &S::elbr),
      intValue("[Mc]", &S::mc),
      intValue("[ATS_Type]", &S::atsType),
      intValue("[ATS_Alert]", &S::atsAlertMode),
      intValue("[ATS_Time]", &S::atsTime),
      intValue("[ATS_Cnt]", &S::atsChimeMode),
      // The per-notch sound lists read as many lines as there are notches when the key is read.
      intLines("[Sound_BK]", &S::soundBrakeStep, 1, [](const S& s) { return s.brakeNotches; }),
      intLines("[Sound_BR]", &S::soundBrakeRelease, 1, [](const S& s) { return s.brakeNotches; }),
      intLines("[Sound_BA]", &S::soundBrakeApply, 0, [](const S& s) { return s.brakeNotches + 1; }),
      intLines("[Sound_PA]", &S::soundPowerApply, 1, [](const S& s) { return s.powerNotches; }),
      intLines("[Sound_PR]", &S::soundPowerRelease, 1, [](const S& s) { return s.powerNotches; }),
      intValue("[Sound_EB]", &S::soundEmergency),
      {"[Sound_Apply]", 0, {}, [](KeyFileReader& r, VehicleLoad& v) {
         v.spec.soundApply = r.readInt();
         v.spec.soundApplyRelease = r.readInt();
       }},
      intValue("[Sound_Ats1]", &S::soundAts1),
      intValue("[Sound_Ats2]", &S::soundAts2),
      intValue("[Sound_Ats3]", &S::soundAts3),
      intValue("[Sound_Atc]", &S::soundAtc),
      intValue("[Sound_Horn]", &S::soundHorn),
      intValue("[Sound_Horn2]", &S::soundHorn2),
      intValue("[Sound_Horn3]", &S::soundHorn3),
      {"[Sound_Horn4]", 0, {}, [](KeyFileReader& r, VehicleLoad& v) {
         for (int& channel : v.spec.soundHorn4) channel = r.readInt();
         v.spec.hornAirFlow = r.readDec();
       }},
      intValue("[Sound_DoorOpen]", &S::soundDoorOpen),
      intValue("[Sound_DoorClose]", &S::soundDoorClose),
      intValue("[Sound_EBring]", &S::soundEbRing),
      intValue("[Sound_squeak]", &S::soundSqueak),
      intValue("[CP_Start]", &S::soundCompressorStart),
      intValue("[CP_Cnt]", &S::soundCompressorRun),
      intValue("[CP_End]", &S::soundCompressorEnd),
      intValue("[Stop]", &S::soundStop),
      intValue("[Buzzer]", &S::soundBuzzer),
      intValue("[DepSign]", &S::soundDepartureSignal),
      intValue("[ATS_Warn]", &S::soundAtsWarn),
      {"[SwitchSound]", 0, {}, [](KeyFileReader& r, VehicleLoad& v) {
         readListRows(r, kSwitchSoundCapacity, v.spec.switchSoundCount, false,
                      [&](int i) { readCommaRow(r, v.spec.switchSounds[static_cast<std::size_t>(i)]); });
       }},
      // Compared over 13 bytes: the key must stand alone on its line.
      {"[EngineRate]", 13, {}, [](KeyFileReader& r, VehicleLoad& v) {
         readListRows(r, kEngineRateCapacity, v.spec.engineRateCount, false,
                      [&](int i) { readCommaRow(r, v.spec.engineRates[static_cast<std::size_t>(i)]); });
       }},
      {"[Gear_Type]", 0, {}, [](KeyFileReader& r, VehicleLoad& v) {
         r.readLine();
         if (r.line() == "AT") v.spec.gearType = 0;
         if (r.line() == "MT") v.spec.gearType = 1;
       }},
      {"[Notch]", 0, "[Notch]", readNotchList},
      {"[CurrentP]", 0, "[CurrentP]", [](KeyFileReader& r, VehicleLoad& v) {
         v.spec.currentPLimit = r.readInt();
         v.spec.currentPAccel = r.readReal();
         v.spec.currentPSpeed = r.readReal();
         readListRows(r, kCurrentPCapacity, v.spec.currentPCount, false,
                      [&](int i) { readCommaRow(r, v.spec.currentPRows[static_cast<std::size_t>(i)]); });
       }},
      {"[BrakeCurr]", 0, "[BrakeCurr]", [](KeyFileReader& r, VehicleLoad& v) {
         readListRows(r, kBrakeCurrentCapacity, v.spec.brakeCurrentCount, false,
                      [&](int i) { v.spec.brakeCurrent[static_cast<std::size_t>(i)] = r.intField(1); });
       }},
      {"[CurrentB]", 0, "[CurrentB]", [](KeyFileReader& r, VehicleLoad& v) {
         readListRows(r, kCurrentBCapacity, v.spec.currentBCount, false,
                      [&](int i) { readCommaRow(r, v.spec.currentBRows[static_cast<std::size_t>(i)]); });
       }},
      {"[Engine]", 0, "[Engine]", readEngineList},
      {"[PowerMode]", 0, "[PowerMode]", [](KeyFileReader& r, VehicleLoad& v) {
         readListRows(r, kPowerModeCapacity, v.spec.powerModeCount, true,
                      [&](int i) { readCommaRow(r, v.spec.powerModes[static_cast<std::size_t>(i)]); });
       }},
      {"[EngineSound1]", 0, "[EngineSound1]", [](KeyFileReader& r, VehicleLoad& v) {
         readListRows(r, kEngineSoundCapacity, v.spec.engineSound1Count, false, [&](int i) {
           noteSound(r, v, r.textLine());
           readLineRow(r, v.spec.engineSounds1[static_cast<std::size_t>(i)], true);
         });
       }},
      {"[EngineSound2]", 0, "[EngineSound2]", [](KeyFileReader& r, VehicleLoad& v) {
         for (int& value : v.spec.engineSound2) value = r.readInt();
       }},
      {"[EngineSound3]", 0, "[EngineSound3]", [](KeyFileReader& r, VehicleLoad& v) {
         readListRows(r, kEngineSoundCapacity, v.spec.engineSound3Count, false, [&](int i) {
           noteSound(r, v, r.textLine());
           readLineRow(r, v.spec.engineSounds3[static_cast<std::size_t>(i)], true);
         });
       }},
      {"[DriveSound]", 0, "[DriveSound]", [](KeyFileReader& r, VehicleLoad& v) {
         readListRows(r, kDriveSoundCapacity, v.spec.driveSoundCount, true,
                      [&](int i) {
                        v.spec.driveSoundFiles[static_cast<std::size_t>(i)] = r.textLine();
                        noteSound(r, v, r.textLine());
                      });
       }},
      {"[Clock]", 0, "- アナログ時計", [](KeyFileReader& r, VehicleLoad& v) { readLineRow(r, v.spec.clock, false); }},
      panelImage("[Panel]", &S::panel, "- 運転台パネル"),
      panelImage("[Panel2]", &S::panel2),
      panelImage("[Lamp_Door]", &S::lampDoor, "- 運転台パネル2"),
      panelImage("[Lamp_Power]", &S::lampPower),
      panelImage("[Lamp_EB]", &S::lampEB),
      panelImage("[Lamp_Gen]", &S::lampGen),
      panelImage("[Lamp_Air]", &S::lampAir),
      panelImage("[Lamp_Fin]", &S::lampFin),
      panelImage("[Lamp_Ele]", &S::lampEle),
      panelImage("[Lamp_Ats1]", &S::lampAts1),
      panelImage("[Lamp_Ats2]", &S::lampAts2),
      panelImage("[Lamp_ATSP1]", &S::lampATSP1),
      panelImage("[Lamp_ATSP2]", &S::lampATSP2),
      panelImage("[Lamp_G]", &S::lampG, "- 運転台パネル3"),
      panelImage("[Lamp_YG]", &S::lampYG),
      panelImage("[Lamp_Y]", &S::lampY),
      panelImage("[Lamp_YY]", &S::lampYY),
      panelImage("[Lamp_R]", &S::lampR),
      panelImage("[Lamp_Fwd]", &S::lampFwd),
      panelImage("[Lamp_Back]", &S::lampBack),
      panelImage("[Lamp_Const]", &S::lampConst),
      panelImage("[Lamp_Stop]", &S::lampStop),
      needle("[Needle_Speed]", &S::needleSpeed, "- 速度計", 5, 2),
      needle("[Needle_BC]", &S::needleBC, "- BC圧力計", 5, 1),
      needle("[Needle_BC_L]", &S::needleBCL, "- BC圧力計（リニア）", 2, 1),
      needle("[Needle_SAP]", &S::needleSAP, "- SAP圧力計", 5, 1),
      needle("[Needle_ER]", &S::needleER, "- ER圧力計", 5, 1),
      needle("[Needle_BP]", &S::needleBP, "- BP圧力計", 5, 1),
      needle("[Needle_MR]", &S::needleMR, "- MR圧力計", 5, 1),
      needle("[Needle_MR_L]", &S::needleMRL, "- MR圧力計（リニア）", 2, 1),
      needle("[Needle_V]", &S::needleV, "- 電圧計", 5, 1),
      needle("[Needle_I]", &S::needleI, "- 電流計", 5, 1, true),
      {"[Lamp_signal]", 0, "[Lamp_signal]", [](KeyFileReader& r, VehicleLoad& v) {
         v.spec.lampSignal = readPatternImage(r);
         loadPatternPicture(r, v, v.spec.lampSignal, "img_cabsignal", 30);
         readListRows(r, kCabSignalSpeedCapacity, v.spec.cabSignalSpeedCount, false,
                      [&](int i) { v.spec.cabSignalSpeeds[static_cast<std::size_t>(i)] = r.intField(1); });
       }},
      pattern("[NotchImageP]", &S::notchImageP, "img_lamp_p", 31),
      pattern("[NotchImageB]", &S::notchImageB, "img_lamp_b", 32),
      pattern("[NotchImageP2]", &S::notchImageP2, "img_lamp_p2", 36),
      pattern("[NotchImageB2]", &S::notchImageB2, "img_lamp_b2", 34),
      pattern("[GearImageList]", &S::gearImageList, "img_lamp_gear", 35),
      pattern("[GearImageList2]", &S::gearImageList2, "img_gearlever", 32),
      pattern("[Digi_Speed]", &S::digiSpeed, "img_digi_speed", 37),
      {"[Others]", 0, "[Others]", [](KeyFileReader& r, VehicleLoad& v) {
         readListRows(r, kOtherImageCapacity, v.spec.otherImageCount, false, [&](int i) {
           notePanelPicture(r, v, r.textLine());
           readLineRow(r, v.spec.otherImages[static_cast<std::size_t>(i)], true);
         });
       }},
  };
  return rules;
}

const std::vector<Rule>& rules() {
  static const std::vector<Rule> table = vehicleRules();
  return table;
}

}  // namespace

VehicleSpec readVehicleFile(std::string_view bytes, const fs::path& vehicleDir, std::string_view fileName,
                            ImageList& panelImages, SpriteEngine& panelSprites, const LoadOptions& options) {
  VehicleLoad load;
  load.dir = vehicleDir;
  load.options = options;
  KeyFileReader reader(bytes);
  reader.noteReferences(options.references, std::string(fileName));
  try {
    walkKeyFile(reader, rules(), load, kPassLabel);
  } catch (const ReadFailure&) {
    throw DataError(std::string(kVehicleFileError) + reader.label(), std::string(fileName), reader.lineNumber());
  } catch (const OwnMessageFailure& failure) {
    throw DataError(failure.message, std::string(fileName), reader.lineNumber());
  }
  for (const media::ImageEntry& entry : load.images.entries()) panelImages.put(entry);
  for (std::size_t i = 0; i < load.sprites.size(); ++i) panelSprites.put(load.sprites.at(i));
  return std::move(load.spec);
}

VehicleSpec loadVehicleFile(const fs::path& vehicleDir, std::string_view vehicleFileName, ImageList& panelImages,
                            SpriteEngine& panelSprites, const LoadOptions& options) {
  const auto path = core::resolveDataFile(vehicleDir, vehicleFileName);
  const auto bytes = path ? core::readFileBytes(*path) : std::nullopt;
  if (!bytes) {
    throw DataError(std::string(kVehicleFileError) + std::string(kPassLabel), std::string(vehicleFileName));
  }
  return readVehicleFile(*bytes, vehicleDir, vehicleFileName, panelImages, panelSprites, options);
}

void applyPostLoadChecks(VehicleSpec& spec) {
  if (spec.brakeType == 0) spec.brakeNotches = 4;
  if (spec.brakeType != 0 && spec.brakeNotches < 3) throw DataError(std::string(kTooFewBrakeNotchesError));
}

}  // namespace vesk::data
