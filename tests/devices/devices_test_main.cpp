// The device tests' entry: the serial port runs in Qt's event loop and the port dialog is a widget, so every test
// runs inside a QApplication (on the offscreen platform unless another is asked for).
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
