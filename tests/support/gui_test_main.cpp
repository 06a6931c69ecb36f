// The test program's entry: fonts and pictures need a QGuiApplication, so every test runs inside one (on the
// offscreen platform unless another is asked for).
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // No sound card is needed: OpenAL Soft mixes into nothing unless another output is asked for.
  setenv("ALSOFT_DRIVERS", "null", 0);
  testing::InitGoogleTest(&argc, argv);
  QGuiApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
