// The settings kept between drives: the defaults of a first run, one missing preference resetting all five, the
// calibration read up to its first gap, a damaged or unwritable store leaving the drive its defaults, and what a
// closing window writes.
#include <gtest/gtest.h>

#include <QFile>

#include <filesystem>

#include "app/settings_store.h"
#include "support/temp_dir.h"

namespace vesk::app {
namespace {

struct Preferences {
  int Kanko, Information, ATS, Tunnel, Moji;
};

Preferences preferencesOf(const sim::Settings& s) { return {s.Kanko, s.Information, s.ATS, s.Tunnel, s.Moji}; }

bool operator==(const Preferences& a, const Preferences& b) {
  return a.Kanko == b.Kanko && a.Information == b.Information && a.ATS == b.ATS && a.Tunnel == b.Tunnel &&
         a.Moji == b.Moji;
}

void PrintTo(const Preferences& p, std::ostream* out) {
  *out << "{" << p.Kanko << "," << p.Information << "," << p.ATS << "," << p.Tunnel << "," << p.Moji << "}";
}

struct LoadCase {
  const char* name;
  const char* vesk;  // the file's text; nullptr: no file
  Preferences want;
};

class SettingsLoad : public testing::TestWithParam<LoadCase> {};

TEST_P(SettingsLoad, ReadsThePreferences) {
  const LoadCase& c = GetParam();
  test::TempDir dir;
  if (c.vesk != nullptr) dir.write("vesk.ini", c.vesk);
  EXPECT_EQ(preferencesOf(SettingsStore(dir.path()).load()), c.want);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsLoad,
    testing::Values(
        // A first run: explanations hidden, the rest off.
        LoadCase{"FirstRun", nullptr, {0, 1, 0, 0, 0}},
        LoadCase{"AllStored", "[General]\nKanko=1\nInformation=0\nATS=1\nTunnel=1\nMoji=1\n", {1, 0, 1, 1, 1}},
        // "Kanko" and "Information" without "ATS": all five back to their defaults, the stored Kanko too.
        LoadCase{"MissingAts", "[General]\nKanko=1\nInformation=0\n", {0, 1, 0, 0, 0}},
        LoadCase{"LastMissing", "[General]\nKanko=1\nInformation=0\nATS=1\nTunnel=1\n", {0, 1, 0, 0, 0}},
        LoadCase{"NotANumber", "[General]\nKanko=1\nInformation=0\nATS=yes\nTunnel=1\nMoji=1\n", {0, 1, 0, 0, 0}},
        LoadCase{"BeyondThirtyTwoBits",
                 "[General]\nKanko=1\nInformation=0\nATS=0\nTunnel=1\nMoji=99999999999\n",
                 {0, 1, 0, 0, 0}},
        LoadCase{"Garbage", "\x01\xff\xfe[[[\n=\n\x00\x00Kanko\n", {0, 1, 0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsStore, TheCalibrationIsReadUpToItsFirstGap) {
  test::TempDir dir;
  dir.write("dgcontroller.ini", "[General]\nP0=10\nP1=20\nP2=30\nP4=50\nB0=7\nEB=99\n");
  const sim::Settings s = SettingsStore(dir.path()).load();
  EXPECT_EQ(s.P[0], 10);
  EXPECT_EQ(s.P[2], 30);
  // P3 is missing: reading stops there, and the later values keep 0.
  EXPECT_EQ(s.P[3], 0);
  EXPECT_EQ(s.P[4], 0);
  EXPECT_EQ(s.B[0], 0);
  EXPECT_EQ(s.EB, 0);
}

TEST(SettingsStore, AFullCalibrationIsRead) {
  test::TempDir dir;
  std::string text = "[General]\n";
  for (int i = 0; i < 6; ++i) text += "P" + std::to_string(i) + "=" + std::to_string(100 + i) + "\n";
  for (int i = 0; i < 9; ++i) text += "B" + std::to_string(i) + "=" + std::to_string(200 + i) + "\n";
  text += "EB=300\n";
  dir.write("dgcontroller.ini", text);
  const sim::Settings s = SettingsStore(dir.path()).load();
  EXPECT_EQ(s.P[5], 105);
  EXPECT_EQ(s.B[8], 208);
  EXPECT_EQ(s.EB, 300);
}

TEST(SettingsStore, WhatTheWindowWritesIsReadNextTime) {
  test::TempDir dir;
  const SettingsStore store(dir.path());
  sim::Settings s;
  s.Kanko = 1;
  s.Information = 0;
  s.Tunnel = 1;
  s.Moji = 1;
  s.P[0] = 42;  // the calibration is never written
  ASSERT_TRUE(store.store(s));
  const sim::Settings back = store.load();
  EXPECT_EQ(preferencesOf(back), (Preferences{1, 0, 0, 1, 1}));
  EXPECT_EQ(back.P[0], 0);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "dgcontroller.ini"));
}

TEST(SettingsStore, WritingKeepsTheOtherValuesOfTheStore) {
  test::TempDir dir;
  dir.write("vesk.ini", "[General]\nSave1Title=morning run\n");
  ASSERT_TRUE(SettingsStore(dir.path()).store(sim::Settings{}));
  QSettings raw(QString::fromStdString((dir.path() / "vesk.ini").string()), QSettings::IniFormat);
  EXPECT_EQ(raw.value("Save1Title").toString(), QStringLiteral("morning run"));
  EXPECT_EQ(raw.value("Kanko").toInt(), 0);
}

TEST(SettingsStore, AnUnwritableStoreIsLeftAndTheDriveGoesOn) {
  test::TempDir dir;
  // The store's file is a folder: it can neither be read nor written.
  std::filesystem::create_directories(dir.path() / "vesk.ini");
  const SettingsStore store(dir.path());
  const sim::Settings loaded = store.load();
  EXPECT_EQ(loaded.Tunnel, 0);
  EXPECT_EQ(loaded.Kanko, 0);
  EXPECT_FALSE(store.store(loaded));
}

}  // namespace
}  // namespace vesk::app
