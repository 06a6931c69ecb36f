#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "data/data_error.h"
#include "data/vehicle_file.h"
#include "support/media_files.h"
#include "support/temp_dir.h"

namespace vesk::data {
namespace {

using test::crlf;
using test::sjis;

// A vehicle file read from UTF-8 text written as Shift-JIS with CRLF lines, in a folder holding two pictures.
class VehicleFileTest : public testing::Test {
 protected:
  VehicleFileTest() {
    // 3 patterns of 10 x 8; magenta (the bottom-left pixel) is transparent.
    strip = test::picture(30, 8,
                          [](int x, int y) { return y == 7 || x % 10 == 9 ? qRgb(255, 0, 255) : qRgb(x * 8, 0, 0); });
    dir.write("image/Strip.bmp", test::bmp24(strip));
    dir.write("image/strip.jpg", test::jpeg(strip));
  }

  // Reads the text; returns the error message, or empty on success.
  std::string read(const std::string& text, bool postLoad = false) { return readBytes(sjis(crlf(text)), postLoad); }

  std::string readBytes(const std::string& bytes, bool postLoad = false) {
    images.clear();
    sprites.clear();
    spec = std::make_unique<VehicleSpec>();
    try {
      *spec = readVehicleFile(bytes, dir.path(), "train_test.dat", images, sprites);
      if (postLoad) applyPostLoadChecks(*spec);
    } catch (const DataError& e) {
      errorLine = e.line();
      return e.message();
    }
    return {};
  }

  test::TempDir dir;
  QImage strip;
  std::unique_ptr<VehicleSpec> spec;
  media::ImageList images;
  media::SpriteEngine sprites;
  int errorLine = 0;
};

const std::string kFileError = "車両ファイルに誤りがあります";

TEST_F(VehicleFileTest, ReadsEveryValueKind) {
  ASSERT_EQ(read("[Handle]\n1\n[BrakeRate]\n4.2\n3.5\n40\n[BrakeRate2]\n0.123456\n[Mt]\n66.5\n[Cars]\n3\n"
                 "[Sound_Horn4]\n1\n2\n3\n4\n5\n0.25\n[Gear_Type]\nMT\n[DriveSound]\nsound\\走行音.wav\n#\n"),
            "");
  EXPECT_EQ(spec->handleLayout, 1);
  EXPECT_EQ(spec->brakeRate[0].raw(), 42000);
  EXPECT_EQ(spec->brakeRate[2].raw(), 400000);
  // A dec rounded to four decimals, then held as a float.
  EXPECT_DOUBLE_EQ(spec->brakeRate2, 0.1235);
  EXPECT_EQ(spec->motorCarMass.raw(), 665000);
  EXPECT_EQ(spec->cars, 3);
  EXPECT_EQ(spec->soundHorn4, (std::array<int, 5>{1, 2, 3, 4, 5}));
  EXPECT_EQ(spec->hornAirFlow.raw(), 2500);
  EXPECT_EQ(spec->gearType, 1);
  ASSERT_EQ(spec->driveSoundCount, 1);
  EXPECT_EQ(spec->driveSoundFiles[0], "sound\\走行音.wav");
}

struct ReadingCase {
  const char* name;
  const char* text;
  std::function<void(const VehicleSpec&)> check;
};
void PrintTo(const ReadingCase& testCase, std::ostream* out) { *out << testCase.name; }

class VehicleReadingTest : public VehicleFileTest, public testing::WithParamInterface<ReadingCase> {};

TEST_P(VehicleReadingTest, Reads) {
  ASSERT_EQ(read(GetParam().text), "");
  GetParam().check(*spec);
}

INSTANTIATE_TEST_SUITE_P(
    Quirks, VehicleReadingTest,
    testing::Values(ReadingCase{"key_followed_by_comment", "[Power] 5 notches\n5\n",
                                [](const VehicleSpec& s) { EXPECT_EQ(s.powerNotches, 5); }},
                    ReadingCase{"engine_rate_alone", "[EngineRate]\n500,1.5\n600,2.5\n#\n",
                                [](const VehicleSpec& s) {
                                  ASSERT_EQ(s.engineRateCount, 2);
                                  EXPECT_EQ(s.engineRates[1].baseRpm, 600);
                                  EXPECT_DOUBLE_EQ(s.engineRates[1].ratio, 2.5);
                                }},
                    ReadingCase{"engine_rate_with_trailing_space_is_not_a_key", "[EngineRate] \n500,1.5\n#\n",
                                [](const VehicleSpec& s) { EXPECT_EQ(s.engineRateCount, 0); }},
                    ReadingCase{"sound_list_before_its_count_reads_nothing", "[Sound_BK]\n[Brake]\n3\n",
                                [](const VehicleSpec& s) {
                                  EXPECT_EQ(s.brakeNotches, 3);
                                  EXPECT_EQ(s.soundBrakeStep[1], 0);
                                }},
                    ReadingCase{"sound_lists_follow_the_notch_counts",
                                "[Brake]\n2\n[Power]\n1\n[Sound_BK]\n11\n12\n[Sound_BA]\n20\n21\n22\n[Sound_PR]\n31\n",
                                [](const VehicleSpec& s) {
                                  EXPECT_EQ(s.soundBrakeStep[1], 11);
                                  EXPECT_EQ(s.soundBrakeStep[2], 12);
                                  EXPECT_EQ(s.soundBrakeApply[0], 20);
                                  EXPECT_EQ(s.soundBrakeApply[2], 22);
                                  EXPECT_EQ(s.soundPowerRelease[1], 31);
                                }},
                    ReadingCase{"gear_type_lower_case_leaves_zero", "[Gear_Type]\nat\n",
                                [](const VehicleSpec& s) { EXPECT_EQ(s.gearType, 0); }},
                    ReadingCase{"gear_type_at_after_mt", "[Gear_Type]\nMT\n[Gear_Type]\nAT\n",
                                [](const VehicleSpec& s) { EXPECT_EQ(s.gearType, 0); }},
                    ReadingCase{"notch_modes_start",
                                "[Engine_Type]\n1\n[Notch]\n"
                                "1\n1\n10\n20\n0.9\n0\n1\n1\n10\n20\n0.9\n0\n1\n1\n10\n20\n0.9\n0\n"
                                "1\n1\n10\n20\n0.9\n1\n1\n1\n10\n20\n0.9\n1\n2\n2.5\n30\n60\n0.97\n2\n#\n",
                                [](const VehicleSpec& s) {
                                  EXPECT_EQ(s.notchRowCount, 6);
                                  EXPECT_EQ(s.notchModeStart[0], 0);
                                  EXPECT_EQ(s.notchModeStart[1], 3);
                                  EXPECT_EQ(s.notchModeStart[2], 5);
                                  EXPECT_DOUBLE_EQ(s.notchRows[5].accelAtV1, 2.5);
                                  EXPECT_EQ(s.notchRows[5].decayStartSpeed, 60);
                                }},
                    ReadingCase{"power_mode_without_comma", "[PowerMode]\n力行\n#\n",
                                [](const VehicleSpec& s) {
                                  ASSERT_EQ(s.powerModeCount, 1);
                                  EXPECT_EQ(s.powerModes[0].notchLabel, "力行");
                                  EXPECT_EQ(s.powerModes[0].modeName, "Error");
                                }},
                    ReadingCase{"text_list_without_end_stops_at_end_of_file", "[DriveSound]\na.wav\nb.wav",
                                [](const VehicleSpec& s) {
                                  EXPECT_EQ(s.driveSoundCount, 2);
                                  EXPECT_EQ(s.driveSoundFiles[1], "b.wav");
                                }},
                    ReadingCase{"repeated_key_replaces", "[Cars]\n3\n[Cars]\n5\n",
                                [](const VehicleSpec& s) { EXPECT_EQ(s.cars, 5); }},
                    ReadingCase{"repeated_table_refills_from_row_zero",
                                "[DriveSound]\na\nb\nc\n#\n[DriveSound]\nz\n#\n",
                                [](const VehicleSpec& s) {
                                  EXPECT_EQ(s.driveSoundCount, 1);
                                  EXPECT_EQ(s.driveSoundFiles[0], "z");
                                }},
                    // A value line is compared with the keys below its own key in the same walk...
                    ReadingCase{"value_line_matches_a_later_key", "[Gear_Type]\n[DriveSound]\nx.wav\n#\n",
                                [](const VehicleSpec& s) {
                                  EXPECT_EQ(s.gearType, 0);
                                  EXPECT_EQ(s.driveSoundCount, 1);
                                }},
                    // ...but never with the keys above it: the next pass starts with the next unread line.
                    ReadingCase{"value_line_never_matches_an_earlier_key", "[Gear_Type]\n[Cars]\n7\n",
                                [](const VehicleSpec& s) { EXPECT_EQ(s.cars, 0); }},
                    ReadingCase{"keys_in_any_order", "[Panel]\npanel.bmp\n1\n2\n[Handle]\n1\n",
                                [](const VehicleSpec& s) {
                                  EXPECT_EQ(s.handleLayout, 1);
                                  EXPECT_EQ(s.panel.file, "panel.bmp");
                                  EXPECT_EQ(s.panel.y, 2);
                                }},
                    ReadingCase{"needles_fill_their_values",
                                "[Needle_Speed]\nn.bmp\n1\n2\n3\n4\n-135\n2.25\n1.5\n"
                                "[Needle_MR_L]\nm.bmp\n10\n300\n0.5\n[Needle_I]\ni.bmp\n1\n2\n3\n4\n5\n0.5\n2\n",
                                [](const VehicleSpec& s) {
                                  EXPECT_EQ(s.needleSpeed.offset, -135);
                                  EXPECT_DOUBLE_EQ(s.needleSpeed.scale2, 1.5);
                                  EXPECT_EQ(s.needleMRL.y, 300);
                                  EXPECT_DOUBLE_EQ(s.needleMRL.scale, 0.5);
                                  EXPECT_EQ(s.needleI.ammeterMode, 2);
                                }},
                    ReadingCase{"current_tables",
                                "[CurrentP]\n400\n3.0\n40.5\n1,1000,2.5,0\n2,2000,5,0\n#\n"
                                "[BrakeCurr]\n0\n300\n#\n[CurrentB]\n0.1,3,0\n#\n",
                                [](const VehicleSpec& s) {
                                  EXPECT_EQ(s.currentPLimit, 400);
                                  EXPECT_DOUBLE_EQ(s.currentPSpeed, 40.5);
                                  ASSERT_EQ(s.currentPCount, 2);
                                  EXPECT_DOUBLE_EQ(s.currentPRows[1].currentFactor, 2000);
                                  EXPECT_EQ(s.brakeCurrentCount, 2);
                                  EXPECT_EQ(s.brakeCurrent[1], 300);
                                  EXPECT_EQ(s.currentBCount, 1);
                                }},
                    ReadingCase{"engine_sounds",
                                "[EngineSound1]\ne1.wav\n2\n1\n2\n3\n4\n5\n6\n7\n8\n9\n#\n"
                                "[EngineSound2]\n1\n2\n3\n4\n[EngineSound3]\ne3.wav\n1\n2\n1\n2\n3\n4\n5\n6.5\n#\n",
                                [](const VehicleSpec& s) {
                                  ASSERT_EQ(s.engineSound1Count, 1);
                                  EXPECT_EQ(s.engineSounds1[0].channelParam, 2);
                                  EXPECT_DOUBLE_EQ(s.engineSounds1[0].p[8], 9);
                                  EXPECT_EQ(s.engineSound2[3], 4);
                                  EXPECT_EQ(s.engineSounds3[0].q2, 2);
                                  EXPECT_DOUBLE_EQ(s.engineSounds3[0].r[5], 6.5);
                                }},
                    ReadingCase{"electric_train_with_notches_loads",
                                "[Engine_Type]\n1\n[Notch]\n1\n1\n10\n20\n0.9\n0\n#\n",
                                [](const VehicleSpec& s) { EXPECT_EQ(s.notchRowCount, 1); }},
                    ReadingCase{"diesel_with_gears_loads", "[Engine_Type]\n0\n[Engine]\n0\n10\n20\n100\n90\n80\n#\n",
                                [](const VehicleSpec& s) {
                                  EXPECT_EQ(s.gearCount, 1);
                                  EXPECT_DOUBLE_EQ(s.gears[0].forceTo, 80);
                                }}),
    [](const auto& info) { return std::string(info.param.name); });

struct FailureCase {
  const char* name;
  const char* text;
  std::string message;
};
void PrintTo(const FailureCase& testCase, std::ostream* out) { *out << testCase.name; }

class VehicleFailureTest : public VehicleFileTest, public testing::WithParamInterface<FailureCase> {};

TEST_P(VehicleFailureTest, Refuses) { EXPECT_EQ(read(GetParam().text, true), GetParam().message); }

INSTANTIATE_TEST_SUITE_P(
    Messages, VehicleFailureTest,
    testing::Values(
        FailureCase{"bad_int_at_pass_start", "[Handle]\nx\n", kFileError + "- 列車の基本設定"},
        FailureCase{"empty_line_where_a_number_is_due", "[Cars]\n\n", kFileError + "- 列車の基本設定"},
        FailureCase{"number_missing_at_end_of_file", "[Cars]", kFileError + "- 列車の基本設定"},
        FailureCase{"exponent_refused", "[Tons]\n1e2\n", kFileError + "- 列車の基本設定"},
        FailureCase{"missing_comma_field", "[SwitchSound]\n1,2\n#\n", kFileError + "- 列車の基本設定"},
        FailureCase{"numeric_list_without_end", "[SwitchSound]\n1,2,3\n", kFileError + "- 列車の基本設定"},
        FailureCase{"notch_label", "[Engine_Type]\n1\n[Notch]\n1\nx\n", kFileError + "[Notch]"},
        FailureCase{"hash_only_ends_a_row_on_its_first_line", "[Engine_Type]\n1\n[Notch]\n1\n#\n",
                    kFileError + "[Notch]"},
        FailureCase{"current_p_label", "[CurrentP]\n400\n3\n40\n1,2\n#\n", kFileError + "[CurrentP]"},
        FailureCase{"brake_curr_label", "[BrakeCurr]\nA\n#\n", kFileError + "[BrakeCurr]"},
        FailureCase{"engine_sound1_label", "[EngineSound1]\ne.wav\n1\nx\n", kFileError + "[EngineSound1]"},
        FailureCase{"engine_sound2_label", "[EngineSound2]\n1\n", kFileError + "[EngineSound2]"},
        FailureCase{"clock_label", "[Clock]\n1\nx\n", kFileError + "- アナログ時計"},
        FailureCase{"panel2_has_the_panel_label", "[Panel2]\np.bmp\nx\n", kFileError + "- 運転台パネル"},
        FailureCase{"lamp_power_label", "[Lamp_Power]\nl.bmp\n1\n", kFileError + "- 運転台パネル2"},
        FailureCase{"lamp_yy_label", "[Lamp_YY]\nl.bmp\n1\nz\n", kFileError + "- 運転台パネル3"},
        FailureCase{"needle_bc_linear_label", "[Needle_BC_L]\nn.bmp\n1\n2\nq\n", kFileError + "- BC圧力計（リニア）"},
        FailureCase{"ammeter_label", "[Needle_I]\nn.bmp\n1\n2\n3\n4\n5\n0.5\n", kFileError + "- 電流計"},
        FailureCase{"cab_signal_label", "[Lamp_signal]\n1\n2\n3\n4\n\n10\nx\n#\n", kFileError + "[Lamp_signal]"},
        FailureCase{"others_label", "[Others]\no.bmp\n1\n", kFileError + "[Others]"},
        FailureCase{"missing_pattern_picture", "[NotchImageP]\n1\n2\n10\n8\nimage\\none.bmp\n",
                    kFileError + "[NotchImageP]"},
        FailureCase{"too_many_brake_positions", "[Brake]\n11\n", kFileError + "- 列車の基本設定"},
        FailureCase{"too_many_power_notches", "[Power]\n12\n", kFileError + "- 列車の基本設定"},
        FailureCase{"too_many_notch_rows",
                    "[Engine_Type]\n1\n[Notch]\n"
                    "1\n1\n1\n1\n1\n0\n1\n1\n1\n1\n1\n0\n1\n1\n1\n1\n1\n0\n1\n1\n1\n1\n1\n0\n"
                    "1\n1\n1\n1\n1\n0\n1\n1\n1\n1\n1\n0\n1\n1\n1\n1\n1\n0\n1\n1\n1\n1\n1\n0\n"
                    "1\n1\n1\n1\n1\n0\n1\n1\n1\n1\n1\n0\n1\n1\n1\n1\n1\n0\n1\n1\n1\n1\n1\n0\n#\n",
                    kFileError + "[Notch]"},
        FailureCase{"too_many_brake_current_rows", "[BrakeCurr]\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n#\n",
                    kFileError + "[BrakeCurr]"},
        FailureCase{"diesel_with_notches", "[Engine_Type]\n0\n[Notch]\n1\n1\n10\n20\n0.9\n0\n#\n",
                    "動力が気動車なのにNotch指定があります"},
        FailureCase{"no_engine_type_is_a_diesel", "[Notch]\n1\n1\n10\n20\n0.9\n0\n#\n",
                    "動力が気動車なのにNotch指定があります"},
        FailureCase{"electric_with_gears", "[Engine_Type]\n1\n[Engine]\n0\n10\n20\n100\n90\n80\n#\n",
                    "動力が電車なのにEngine指定があります"},
        FailureCase{"notched_brake_with_two_positions", "[BrakeType]\n1\n[Brake]\n2\n",
                    "ブレーキの段数を3段以上に設定してください"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(VehicleFileTest, AnyLineBreakEndsALine) {
  ASSERT_EQ(readBytes("[Cars]\r7\n[Handle]\r\n1"), "");
  EXPECT_EQ(spec->cars, 7);
  EXPECT_EQ(spec->handleLayout, 1);
}

TEST_F(VehicleFileTest, ErrorNamesTheLineRead) {
  EXPECT_EQ(read("; comment\n[Handle]\n1\n[Cars]\nthree\n"), kFileError + "- 列車の基本設定");
  EXPECT_EQ(errorLine, 5);
}

TEST_F(VehicleFileTest, AutomaticAirBrakeAlwaysHasFourPositions) {
  ASSERT_EQ(read("[BrakeType]\n0\n[Brake]\n8\n", true), "");
  EXPECT_EQ(spec->brakeNotches, 4);
  ASSERT_EQ(read("[BrakeType]\n0\n[Brake]\n2\n", true), "");
  EXPECT_EQ(spec->brakeNotches, 4);
}

TEST_F(VehicleFileTest, PatternImagesBecomePanelSprites) {
  ASSERT_EQ(read("[NotchImageP]\n100\n200\n10\n8\nIMAGE\\strip.BMP\n[GearImageList2]\n5\n6\n0\n0\nimage\\strip.jpg\n"),
            "");
  const media::ImageEntry* entry = images.find("IMG_LAMP_P");
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->patternCount(), 3);
  EXPECT_TRUE(entry->transparent);
  EXPECT_EQ(entry->transparentColour & 0xFFFFFF, 0xFF00FFu);
  // The colour key became alpha: the separator column is transparent, a pattern pixel is not.
  EXPECT_EQ(qAlpha(entry->image.pixel(9, 0)), 0);
  EXPECT_EQ(qAlpha(entry->image.pixel(3, 0)), 255);
  const media::Sprite* notch = sprites.findByPicture("img_lamp_p");
  ASSERT_NE(notch, nullptr);
  EXPECT_EQ(notch->x, 100);
  EXPECT_EQ(notch->y, 200);
  EXPECT_EQ(notch->z, 31);
  EXPECT_EQ(notch->width, 10);
  EXPECT_EQ(notch->height, 8);
  EXPECT_TRUE(notch->visible);
  // A pattern size of 0 makes the sprite as large as the picture.
  const media::Sprite* lever = sprites.findByPicture("img_gearlever");
  ASSERT_NE(lever, nullptr);
  EXPECT_EQ(lever->z, 32);
  EXPECT_EQ(lever->width, 30);
  EXPECT_EQ(lever->height, 8);
}

TEST_F(VehicleFileTest, PictureNamesDecodeBeforeTheirSeparatorsAreRead) {
  // "表" ends in the byte 0x5C, the ASCII backslash; the name must still find "image/表.bmp".
  dir.write("image/表.bmp", test::bmp24(strip));
  ASSERT_EQ(read("[NotchImageB]\n0\n0\n10\n8\nimage\\表.bmp\n"), "");
  EXPECT_NE(sprites.findByPicture("img_lamp_b"), nullptr);
}

TEST_F(VehicleFileTest, EmptyPictureLineStoresNumbersOnly) {
  ASSERT_EQ(read("[Digi_Speed]\n1\n2\n3\n4\n\n"), "");
  EXPECT_EQ(spec->digiSpeed.patternHeight, 4);
  EXPECT_EQ(images.entries().size(), 0u);
  EXPECT_EQ(sprites.size(), 0u);
}

TEST_F(VehicleFileTest, CabSignalPictureAndSpeeds) {
  ASSERT_EQ(read("[Lamp_signal]\n1\n2\n10\n8\nimage\\strip.bmp\n0\n45\n75\n#\n"), "");
  EXPECT_EQ(spec->cabSignalSpeedCount, 3);
  EXPECT_EQ(spec->cabSignalSpeeds[2], 75);
  ASSERT_NE(sprites.findByPicture("img_cabsignal"), nullptr);
  EXPECT_EQ(sprites.findByPicture("img_cabsignal")->z, 30);
}

TEST_F(VehicleFileTest, FailedFileKeepsNoPictures) {
  EXPECT_NE(read("[NotchImageP]\n1\n2\n10\n8\nimage\\strip.bmp\n[Cars]\nx\n"), "");
  EXPECT_EQ(images.entries().size(), 0u);
  EXPECT_EQ(sprites.size(), 0u);
}

TEST_F(VehicleFileTest, MissingFileGivesTheFileError) {
  media::ImageList list;
  media::SpriteEngine engine;
  try {
    loadVehicleFile(dir.path(), "train_none.dat", list, engine);
    FAIL() << "a missing file must not load";
  } catch (const DataError& e) {
    EXPECT_EQ(e.message(), kFileError + "- 列車の基本設定");
    EXPECT_EQ(e.file(), "train_none.dat");
  }
}

TEST_F(VehicleFileTest, FindsTheFileIgnoringCase) {
  dir.write("TRAIN_X.DAT", sjis("[Cars]\r\n4\r\n"));
  media::ImageList list;
  media::SpriteEngine engine;
  EXPECT_EQ(loadVehicleFile(dir.path(), "train_x.dat", list, engine).cars, 4);
}

}  // namespace
}  // namespace vesk::data
