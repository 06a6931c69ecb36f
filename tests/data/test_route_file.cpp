#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "data/data_error.h"
#include "data/route_file.h"
#include "data/track_positions.h"
#include "support/media_files.h"
#include "support/temp_dir.h"
#include "support/test_pack.h"

namespace vesk::data {
namespace {

using test::crlf;
using test::sjis;

const std::string kRouteError = "路線ファイルに誤りがあります。";

class RouteFileTest : public testing::Test {
 protected:
  RouteFileTest() {
    strings.viewWidth = 800;
    strings.viewHeight = 450;
    const QImage pic = test::picture(96, 48, [](int x, int) { return x == 0 ? qRgb(0, 0, 255) : qRgb(200, 0, 0); });
    for (const char* name : {"image/sign.bmp", "image/monitor.bmp", "image/anim.bmp", "image/cross.bmp"}) {
      dir.write(name, test::bmp24(pic));
    }
    dir.write("image/tall.bmp", test::bmp24(test::picture(20, 900, [](int, int) { return qRgb(0, 0, 0); })));
  }

  // Reads the text; returns the error message, or empty on success.
  std::string read(const std::string& text, const std::string& vehicle = "train_a.dat") {
    pictures = media::DrivePictures{};
    try {
      route = readRouteFile(sjis(crlf(text)), dir.path(), "line_test.dat", {strings, vehicle}, pictures, options);
    } catch (const DataError& e) {
      route.reset();
      return e.message();
    }
    return {};
  }

  test::TempDir dir;
  UiStrings strings;
  LoadOptions options;
  media::DrivePictures pictures;
  std::unique_ptr<RouteData> route;
};

struct ReadingCase {
  const char* name;
  std::string text;
  std::function<void(const RouteData&)> check;
};
void PrintTo(const ReadingCase& testCase, std::ostream* out) { *out << testCase.name; }

class RouteReadingTest : public RouteFileTest, public testing::WithParamInterface<ReadingCase> {};

TEST_P(RouteReadingTest, Reads) {
  ASSERT_EQ(read(GetParam().text), "");
  GetParam().check(*route);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, RouteReadingTest,
    testing::Values(
        ReadingCase{"header",
                    "[LineName]\n東線 下り\n[LineName2]\n快速\n[StartPos]\n120\n[FrameRate]\n15\n"
                    "[Friction]\n0.123456\n[DataName]\ndown\n[Perspective]\n12.5\n120\n[OneMan]\n1\n[TunnelR]\n7\n",
                    [](const RouteData& r) {
                      EXPECT_EQ(r.lineName, "東線 下り");
                      EXPECT_EQ(r.lineName2, "快速");
                      EXPECT_EQ(r.startFrame, 120);
                      EXPECT_EQ(r.frameRate, 15);
                      EXPECT_EQ(r.friction.raw(), 1235);
                      EXPECT_EQ(r.dataName, "down");
                      EXPECT_DOUBLE_EQ(r.perspective, 12.5);
                      EXPECT_EQ(r.perspectiveBase, 120);
                      EXPECT_EQ(r.oneMan, 1);
                      EXPECT_EQ(r.tunnelResistance, 7);
                    }},
        ReadingCase{"station_row", "[Station]\n大宮,2,300,1500,1,2,3,25200,60,1,1,12,13,14,40\n#\n",
                    [](const RouteData& r) {
                      ASSERT_EQ(r.stationCount, 1);
                      const StationRow& s = r.stations[0];
                      EXPECT_EQ(s.name, "大宮");
                      EXPECT_EQ(s.kind, 2);
                      EXPECT_EQ(s.frame, 300);
                      EXPECT_EQ(s.platformHalfLength, 1500);
                      EXPECT_EQ(s.departureTime, 25200);
                      EXPECT_EQ(s.doorSide, 1);
                      EXPECT_EQ(s.values12to14, (std::array<int, 3>{12, 13, 14}));
                      EXPECT_EQ(s.doorSoundChance, 40);
                    }},
        ReadingCase{"signal_row", "[Signal]\n1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22\n#\n",
                    [](const RouteData& r) {
                      ASSERT_EQ(r.signalCount, 1);
                      EXPECT_EQ(r.signals[0].controlKind, 1);
                      EXPECT_EQ(r.signals[0].atsPoint2, 8);
                      EXPECT_EQ(r.signals[0].sub0Y, 21);
                      EXPECT_EQ(r.signals[0].value22, 22);
                    }},
        ReadingCase{"pre_train", "[Pre_Train]\n100,5\n0,60,25200\n1,70,26000\n#\n",
                    [](const RouteData& r) {
                      EXPECT_EQ(r.preTrainStart, 100);
                      EXPECT_EQ(r.preTrainParam, 5);
                      ASSERT_EQ(r.preTrainCount, 2);
                      EXPECT_EQ(r.preTrains[1].departureClock, 26000);
                    }},
        ReadingCase{"staf_switch", "[StafSwitch]\n3\n10\n20\n#\n",
                    [](const RouteData& r) {
                      EXPECT_EQ(r.stafSwitchStart, 3);
                      EXPECT_EQ(r.stafSwitchCount, 2);
                      EXPECT_EQ(r.stafSwitches[1], 20);
                    }},
        ReadingCase{"movie_switch", "[MovieSwitch]\n2,100,200,side_a,300,0,4,25000,9\n#\n",
                    [](const RouteData& r) {
                      ASSERT_EQ(r.movieSwitchCount, 1);
                      EXPECT_EQ(r.movieSwitches[0].videoName, "side_a");
                      EXPECT_EQ(r.movieSwitches[0].length, 300);
                      EXPECT_EQ(r.movieSwitches[0].value9, 9);
                    }},
        ReadingCase{"sound_skips_comment_rows",
                    "[Sound]\n;sound,from,to\n1,100,200,60,0,1,1,0\n;\n2,300,400,60,1,0,0,1\n#\n",
                    [](const RouteData& r) {
                      ASSERT_EQ(r.trackSoundCount, 2);
                      EXPECT_EQ(r.trackSounds[0].sound, 1);
                      EXPECT_EQ(r.trackSounds[1].frameFrom, 300);
                      EXPECT_EQ(r.trackSounds[1].triggerKind, 1);
                    }},
        ReadingCase{"sound2_skips_comment_rows", "[Sound2]\n;x\n4,1,3\n#\n",
                    [](const RouteData& r) {
                      ASSERT_EQ(r.trackSound2Count, 1);
                      EXPECT_EQ(r.trackSounds2[0].toStation, 3);
                    }},
        ReadingCase{"kanko_sound2_numbers_from_22", "[KankoSound2]\na.wav\nb.wav\nc.wav\n#\n",
                    [](const RouteData& r) {
                      EXPECT_EQ(r.calloutCount2, 25);
                      EXPECT_EQ(r.calloutFiles2[0], "a.wav");
                      EXPECT_EQ(r.calloutFiles2[2], "c.wav");
                    }},
        ReadingCase{"kanko_sound1_is_exactly_22_lines",
                    "[KankoSound1]\n0\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n13\n14\n15\n16\n17\n18\n19\n20\n21\n"
                    "[OneMan]\n1\n",
                    [](const RouteData& r) {
                      EXPECT_EQ(r.calloutFiles1[21], "21");
                      EXPECT_EQ(r.oneMan, 1);
                      EXPECT_EQ(r.calloutCount2, 0);
                    }},
        ReadingCase{"announce_rows_from_index_1", "[Announce]\n7\n1,0,2,300\n2,1,3,150\n#\n",
                    [](const RouteData& r) {
                      EXPECT_EQ(r.stopAnnounceSound, 7);
                      EXPECT_EQ(r.announceCount, 2);
                      EXPECT_EQ(r.announcements[1].distance, 300);
                      EXPECT_EQ(r.announcements[2].side, 1);
                    }},
        ReadingCase{"track_tables",
                    "[Slope]\n-12.5,100,200\n#\n[SpeedLimit]\n45,1,1,2000,2300,2\n#\n[SpeedCheck1]\n25,2,500,3\n#\n"
                    "[SpeedCheck2]\n45,2,600,700\n#\n[Tunnel]\n10,20,180\n#\n[Time]\n1,2,3\n#\n[Switch]\n500,1\n#\n"
                    "[MovieStop]\n2950\n#\n[Speed_Signal]\n0\n25\n#\n",
                    [](const RouteData& r) {
                      EXPECT_EQ(r.slopes[0].gradient.raw(), -125000);
                      EXPECT_EQ(r.speedLimits[0].releaseImage, 2);
                      EXPECT_EQ(r.speedChecks1[0].signalLink, 3);
                      EXPECT_EQ(r.speedChecks2[0].frameTo, 700);
                      EXPECT_EQ(r.tunnels[0].overlayLevel, 180);
                      EXPECT_EQ(r.timetable[0].checkTime, 3);
                      EXPECT_EQ(r.switches[0].kind, 1);
                      EXPECT_EQ(r.movieStopCount, 1);
                      EXPECT_EQ(r.signalSpeedCount, 2);
                    }},
        ReadingCase{"track_side_tables",
                    "[Doppler]\n3,500,5000,0,0\n#\n[Atten]\n1,2,3,80\n#\n[StopSound]\n4\n5\n#\n"
                    "[Sign]\n2,10,20,5\n#\n[Anim]\n1,2,3,4\n#\n[SignalKanko]\n0,1,2\n#\n[StationKanko]\n1,2,1001\n#\n"
                    "[OtherKanko]\no.wav\n#\n[LimitKanko]\nl1.wav\nl2.wav\n#\n[Cross]\n1,2,300,400,0\n#\n",
                    [](const RouteData& r) {
                      EXPECT_EQ(r.dopplerSounds[0].range, 5000);
                      EXPECT_EQ(r.attenuations[0].level, 80);
                      EXPECT_EQ(r.stopSoundCount, 2);
                      EXPECT_EQ(r.signs[0].switchTime, 5);
                      EXPECT_EQ(r.anims[0].firstPicture, 4);
                      EXPECT_EQ(r.signalCallouts[0].callout, 2);
                      EXPECT_EQ(r.stationCallouts[0].callout, 1001);
                      EXPECT_EQ(r.otherCalloutCount, 1);
                      EXPECT_EQ(r.limitCalloutFiles[1], "l2.wav");
                      EXPECT_EQ(r.crossings[0].frameOff, 400);
                    }},
        ReadingCase{"traffic_signal_26_values",
                    "[TrafficSignal]\n1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26\n#\n",
                    [](const RouteData& r) {
                      const TrafficSignalRow& t = r.trafficSignals[0];
                      EXPECT_EQ(t.showTo, 3);
                      EXPECT_EQ(t.phases[0].picture, 4);
                      EXPECT_EQ(t.phases[5].stopFlag, 21);
                      EXPECT_EQ(t.frameB, 22);
                      EXPECT_EQ(t.value26, 26);
                    }},
        ReadingCase{"monitor_of_another_vehicle_is_skipped", "[Monitor]\ntrain_b.dat\n1\n2\n3\n4\nimage\\monitor.bmp\n",
                    [](const RouteData& r) { EXPECT_EQ(r.monitorImage.file, ""); }},
        ReadingCase{"text_list_without_end", "[SoundData]\na.wav\nb.wav",
                    [](const RouteData& r) { EXPECT_EQ(r.soundDataCount, 2); }}),
    [](const auto& info) { return std::string(info.param.name); });

struct FailureCase {
  const char* name;
  std::string text;
  std::string message;
};
void PrintTo(const FailureCase& testCase, std::ostream* out) { *out << testCase.name; }

class RouteFailureTest : public RouteFileTest, public testing::WithParamInterface<FailureCase> {};

TEST_P(RouteFailureTest, Refuses) { EXPECT_EQ(read(GetParam().text), GetParam().message); }

INSTANTIATE_TEST_SUITE_P(
    Messages, RouteFailureTest,
    testing::Values(
        FailureCase{"station_row_of_14_fields", "[Station]\n大宮,0,300,1500,1,2,3,25200,60,1,1,12,13,14\n#\n",
                    kRouteError + "[Station]:大宮,0,300,1500,1,2,3,25200,60,1,1,12,13,14"},
        FailureCase{"pass_label", "[StartPos]\nabc\n", kRouteError + "その他:abc"},
        FailureCase{"label_left_by_the_key_before", "[DataName]\nx\n[Perspective]\nfar\n1\n",
                    kRouteError + "[Speed_Signal]:far"},
        FailureCase{"tunnel_r_label", "[TunnelR]\n\n", kRouteError + "[TunnelR]:"},
        FailureCase{"numeric_list_without_end", "[Slope]\n1,2,3\n", kRouteError + "[Slope]:"},
        FailureCase{"too_many_signal_speeds", "[Speed_Signal]\n0\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n#\n",
                    kRouteError + "[Speed_Signal]:11"},
        FailureCase{"sign_picture_missing", "[SignImageList]\nimage\\none.bmp,32\n", "停目の生成エラー"},
        FailureCase{"sign_size_not_a_number",
                    "[SignImageList]\nimage\\sign.bmp,32\nimage\\sign.bmp,4\nimage\\sign.bmp,4\nimage\\sign.bmp,4\n"
                    "image\\sign.bmp\n",
                    "勾配標の生成エラー"},
        FailureCase{"sub_signal_0_missing", "[SignalImageList]\n0,0,24,48,image\\sign.bmp\n16,16,image\\none.bmp\n",
                    "サブ信号機0の生成エラー"},
        FailureCase{"signal_offset_not_a_number", "[SignalImageList]\nx,0,24,48,image\\sign.bmp\n",
                    "信号機の生成エラー"},
        FailureCase{"anim_picture_missing", "[AnimImageList]\nimage\\none.bmp\n#\n",
                    kRouteError + "[AnimImageList]:image\\none.bmp"},
        FailureCase{"monitor_picture_missing", "[SoundData]\n#\n[Monitor]\ntrain_a.dat\n1\n2\n3\n4\nimage\\none.bmp\n",
                    kRouteError + "[SoundData]:image\\none.bmp"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RouteFileTest, MonitorBlockOfThisVehicleLoadsItsPicture) {
  ASSERT_EQ(
      read("[Monitor]\ntrain_b.dat\n9\n9\n9\n9\nx.bmp\n[Monitor]\ntrain_a.dat\n10\n20\n48\n24\nimage\\monitor.bmp\n"),
      "");
  EXPECT_EQ(route->monitorImage.x, 10);
  EXPECT_EQ(route->monitorImage.file, "image\\monitor.bmp");
  const media::Sprite* monitor = pictures.sprites.findByPicture("img_mon");
  ASSERT_NE(monitor, nullptr);
  EXPECT_EQ(monitor->z, 51);
  EXPECT_EQ(monitor->width, 48);
  EXPECT_EQ(monitor->height, 24);
  EXPECT_EQ(pictures.images.find("img_mon")->patternCount(), 4);
}

TEST_F(RouteFileTest, SignPicturesAndTheirSprites) {
  ASSERT_EQ(read("[SignImageList]\nimage\\sign.bmp,48\nimage\\sign.bmp,4\nimage\\sign.bmp,4\nimage\\sign.bmp,4\n"
                 "image\\sign.bmp,48\nimage\\sign.bmp,48\nimage\\tall.bmp,20\nimage\\sign.bmp,48\n"
                 "[SignalImageList]\n10,-20,24,48,image\\sign.bmp\n16,16,image\\sign.bmp\n16,16,image\\sign.bmp\n"
                 "16,16,image\\sign.bmp\n"),
            "");
  const auto& sprites = pictures.sprites;
  const media::Sprite* target = sprites.findByPicture("img_unten_teimoku");
  ASSERT_NE(target, nullptr);
  EXPECT_EQ(target->x, 800 - 48);
  EXPECT_EQ(target->width, 48);
  EXPECT_EQ(target->z, 100);
  const media::Sprite* line = sprites.findByPicture("img_unten_teimokuM");
  EXPECT_EQ(line->width, 800);
  EXPECT_EQ(line->height, 4);
  EXPECT_TRUE(line->rotating);
  EXPECT_FALSE(pictures.images.find("img_unten_teimokuM")->transparent);
  // 0.825 x 800 = 660; 0.55 x 450 = 247.5 -> 248 (halves to even); 0.35 x 450 = 157.5 -> 158; 0.4 x 450 = 180.
  EXPECT_EQ(sprites.findByPicture("img_unten_slope")->x, 660);
  EXPECT_EQ(sprites.findByPicture("img_unten_slope")->y, 248);
  EXPECT_EQ(sprites.findByPicture("img_unten_limit")->y, 158);
  EXPECT_EQ(sprites.findByPicture("img_unten_other")->y, 180);
  const media::Sprite* remain = sprites.findByPicture("img_unten_remain");
  EXPECT_EQ(remain->height, 900);
  EXPECT_EQ(remain->x, 780);
  const media::ImageEntry* remainPicture = pictures.images.find("img_unten_remain");
  EXPECT_EQ(remainPicture->transparentColour & 0xFFFFFF, 0u);
  EXPECT_EQ(remainPicture->patternHeight, 900);
  EXPECT_EQ(route->signalOffsetX, 10);
  EXPECT_EQ(route->signalOffsetY, -20);
  EXPECT_EQ(sprites.findByPicture("img_unten_signal_S")->z, 101);
  EXPECT_EQ(sprites.findByPicture("img_unten_signal")->width, 24);
  EXPECT_EQ(pictures.images.find("img_unten_signal")->patternCount(), 4);
}

TEST_F(RouteFileTest, NumberedPictureLists) {
  ASSERT_EQ(read("[AnimImageList]\nimage\\anim.bmp\nimage\\sign.bmp\n#\n[CrossImageList]\nimage\\cross.bmp\n#\n"
                 "[AnimImageList]\nimage\\monitor.bmp\n#\n"),
            "");
  // A second section appends to the list.
  EXPECT_EQ(route->animImageCount, 3);
  EXPECT_EQ(pictures.animImages.entries().size(), 3u);
  EXPECT_EQ(pictures.crossImages.entries().size(), 1u);
  EXPECT_EQ(pictures.crossImages.entries()[0].image.width(), 96);
}

TEST_F(RouteFileTest, NotesEveryFileItNames) {
  std::vector<FileReference> references;
  options.references = &references;
  options.loadPictures = false;
  std::string signs;
  for (int i = 0; i < 8; ++i) signs += "image\\none.bmp,32\n";
  ASSERT_EQ(read("[Staf]\na.bmp\n\nc.bmp\n[SoundData]\ns.wav\n#\n[SignImageList]\n" + signs), "");
  // Without loading pictures the missing sign pictures are only noted.
  ASSERT_EQ(references.size(), 11u);
  EXPECT_EQ(references[10].failureMessage, "その他標識の生成エラー");
  EXPECT_EQ(references[0].name, "a.bmp");
  EXPECT_EQ(references[0].failureMessage, "a.bmpが見つかりません");
  EXPECT_EQ(references[0].line, 2);
  EXPECT_EQ(references[2].kind, FileReference::Kind::Sound);
  EXPECT_EQ(references[3].failureMessage, "停目の生成エラー");
  EXPECT_EQ(references[3].line, 9);
}

TEST_F(RouteFileTest, MissingFile) {
  media::DrivePictures p;
  try {
    loadRouteFile(dir.path(), "line_none.dat", {strings, "t.dat"}, p);
    FAIL();
  } catch (const DataError& e) {
    EXPECT_EQ(e.message(), kRouteError + "その他:");
  }
}

// Frames 0-300 at 36 km/h, 300-600 from 36 to 72 km/h.
const char* kTwoRows = "[SpeedUnit]\n0,300,36,36\n300,600,36,72\n#\n";

TEST_F(RouteFileTest, PositionsOfTheExampleLine) {
  ASSERT_EQ(read(std::string(kTwoRows) + "[Station]\nA,0,150,1500,0,0,0,0,0,1,0,0,0,0,0\n"
                                         "B,0,300,1500,0,0,0,0,0,1,0,0,0,0,0\nC,1,450,1500,0,0,0,0,0,1,0,0,0,0,0\n"
                                         "D,0,600,1500,0,0,0,0,0,0,0,0,0,0,0\n#\n"),
            "");
  EXPECT_EQ(computeTrackPositions(*route), 0);
  EXPECT_EQ(route->stations[0].position, 5000);
  EXPECT_EQ(route->stations[1].position, 10000);
  EXPECT_EQ(route->stations[2].position, 16250);
  EXPECT_EQ(route->stations[3].position, 25000);
  EXPECT_EQ(route->stations[2].platformStart, 14750);
  EXPECT_EQ(route->stations[2].platformEnd, 17750);
  // Station A gives one beacon 20 m beyond it; B, on the row boundary, gives two; the pass C and D (no beacon)
  // give none.
  ASSERT_EQ(route->atsBeaconCount, 3);
  EXPECT_EQ(route->atsBeacons[0].position, 7000);
  EXPECT_EQ(route->atsBeacons[1].position, 12000);
  EXPECT_EQ(route->atsBeacons[2].position, 12000);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(route->atsBeacons[static_cast<std::size_t>(i)].kind, 3);
    EXPECT_EQ(route->atsBeacons[static_cast<std::size_t>(i)].speed, 10);
  }
  EXPECT_EQ(route->atsBeacons[1].stationIndex, 1);
}

TEST_F(RouteFileTest, SignalBeforeLimitAtOneFrame) {
  ASSERT_EQ(read(std::string(kTwoRows) + "[SpeedLimit]\n45,1,1,150,200,0\n#\n"
                                         "[Signal]\n0,0,0,1,100,200,140,150,0,0,0,0,0,0,0,0,0,0,0,0,0,0\n#\n"),
            "");
  computeTrackPositions(*route);
  ASSERT_EQ(route->atsBeaconCount, 2);
  EXPECT_EQ(route->atsBeacons[0].kind, 2);
  EXPECT_EQ(route->atsBeacons[0].signalIndex, 0);
  EXPECT_EQ(route->atsBeacons[1].kind, 1);
  EXPECT_EQ(route->atsBeacons[1].speed, 45);
  EXPECT_EQ(route->atsBeacons[0].position, route->atsBeacons[1].position);
  EXPECT_EQ(route->speedLimits[0].position, 5000);
}

TEST_F(RouteFileTest, BeaconsSortByPositionKeepingEqualOnesInOrder) {
  ASSERT_EQ(read(std::string(kTwoRows) + "[SpeedLimit]\n45,1,1,100,200,0\n#\n"
                                         "[Signal]\n0,0,0,1,100,200,140,450,0,0,0,0,0,0,0,0,0,0,0,0,0,0\n#\n"
                                         "[Station]\nA,0,0,1500,0,0,0,0,0,1,0,0,0,0,0\n#\n"),
            "");
  computeTrackPositions(*route);
  ASSERT_EQ(route->atsBeaconCount, 3);
  EXPECT_EQ(route->atsBeacons[0].kind, 3);  // station at 0 + 2000
  EXPECT_EQ(route->atsBeacons[1].kind, 1);  // limit at frame 100
  EXPECT_EQ(route->atsBeacons[2].kind, 2);  // signal at frame 450
  EXPECT_EQ(route->atsBeacons[1].position, 3333);
}

TEST_F(RouteFileTest, NoSpeedUnitsLeavesPositionsAtZero) {
  ASSERT_EQ(read("[Station]\nA,0,150,1500,0,0,0,0,0,1,0,0,0,0,0\n#\n[Tunnel]\n10,20,100\n#\n"), "");
  computeTrackPositions(*route);
  EXPECT_EQ(route->stations[0].position, 0);
  EXPECT_EQ(route->tunnels[0].positionTo, 0);
  EXPECT_EQ(route->atsBeaconCount, 0);
}

TEST_F(RouteFileTest, PlatformAroundTheStoppingMark) {
  // 36 km/h for 1500 frames: 1500 x 72 / 2.16 = 50000 cm.
  ASSERT_EQ(read("[SpeedUnit]\n0,3000,36,36\n#\n[Station]\nA,0,1500,1500,0,0,0,0,0,0,0,0,0,0,0\n#\n"), "");
  computeTrackPositions(*route);
  EXPECT_EQ(route->stations[0].position, 50000);
  EXPECT_EQ(route->stations[0].platformStart, 48500);
  EXPECT_EQ(route->stations[0].platformEnd, 51500);
}

TEST_F(RouteFileTest, TooManyBeaconsAreCountedNotWritten) {
  std::string signals = "[Signal]\n";
  for (int i = 0; i < 600; ++i) signals += "0,0,0,1,0,0,0,100,0,0,0,0,0,0,0,0,0,0,0,0,0,0\n";
  // 501 signal rows at most: the 502nd is a file error; 300 rows at two rows each overflow the beacons instead.
  std::string rows = "[SpeedUnit]\n0,300,36,36\n300,600,36,72\n#\n[Signal]\n";
  for (int i = 0; i < 300; ++i) rows += "0,0,0,1,0,0,0,300,0,0,0,0,0,0,0,0,0,0,0,0,0,0\n";
  ASSERT_EQ(read(rows + "#\n"), "");
  EXPECT_EQ(computeTrackPositions(*route), 99);
  EXPECT_EQ(route->atsBeaconCount, kAtsBeaconCapacity);
  EXPECT_EQ(read(signals + "#\n"), kRouteError + "[Signal]:0,0,0,1,0,0,0,100,0,0,0,0,0,0,0,0,0,0,0,0,0,0");
}

TEST(RoutePack, TheTestPackLoads) {
  test::TempDir dir;
  test::writePack(dir);
  UiStrings strings;
  strings.viewWidth = 800;
  strings.viewHeight = 450;
  media::DrivePictures pictures;
  const auto route = loadRouteFile(dir.path(), test::kPackRoute, {strings, test::kPackVehicle}, pictures);
  EXPECT_EQ(route->stationCount, 3);
  EXPECT_EQ(route->calloutCount2, 23);
  EXPECT_EQ(pictures.animImages.entries().size(), 2u);
}

}  // namespace
}  // namespace vesk::data
