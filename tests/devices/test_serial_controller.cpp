// The serial train controller over a real terminal: a socat pseudo-terminal pair stands in for the cable.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <thread>
#include <vector>

#include "devices/event_loop.h"
#include "devices/serial_controller.h"
#include "devices/socat_pair.h"
#include "support/temp_dir.h"

namespace vesk::devices {
namespace {

using test::spinFor;
using test::spinUntil;

class SerialControllerTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pair.ready()) << pair.error().toStdString();
    controller.setLineHandler([this](std::string line) { lines.push_back(std::move(line)); });
    controller.setNoticeHandler([this](const SerialController::Notice& n) { notices.push_back(n); });
    SerialSettings s = controller.settings();
    s.portName = pair.controllerSide();
    controller.setSettings(s);
    ASSERT_TRUE(controller.open()) << (notices.empty() ? "" : notices.back().text.toStdString());
  }

  bool linesArrived(std::size_t n) {
    return spinUntil([&] { return lines.size() >= n; });
  }

  test::SocatPair pair;
  SerialController controller;
  std::vector<std::string> lines;
  std::vector<SerialController::Notice> notices;
};

TEST_F(SerialControllerTest, OpeningAndClosingAreAnnounced) {
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].kind, SerialController::Notice::Kind::Opened);
  EXPECT_EQ(notices[0].text, "Connect to controller.");
  controller.toggle();
  EXPECT_FALSE(controller.isOpen());
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_EQ(notices[1].text, "Disconnect from controller.");
  controller.toggle();
  EXPECT_TRUE(controller.isOpen());
}

TEST_F(SerialControllerTest, LineSplitAcrossReadsIsOneLine) {
  ASSERT_TRUE(pair.write("P1 "));
  ASSERT_TRUE(spinUntil([&] { return controller.pendingLength() == 3; }));
  ASSERT_TRUE(pair.write("  \r"));
  ASSERT_TRUE(linesArrived(1));
  EXPECT_EQ(lines, std::vector<std::string>{"P1   "});
}

TEST_F(SerialControllerTest, SeveralLinesInOneRead) {
  ASSERT_TRUE(pair.write("P1   \rB2   \rN    \r"));
  ASSERT_TRUE(linesArrived(3));
  EXPECT_EQ(lines, (std::vector<std::string>{"P1   ", "B2   ", "N    "}));
}

TEST_F(SerialControllerTest, LineWithoutItsCarriageReturnWaitsForIt) {
  ASSERT_TRUE(pair.write("B5   "));
  ASSERT_TRUE(spinUntil([&] { return controller.pendingLength() == 5; }));
  spinFor(100);
  EXPECT_TRUE(lines.empty());
  ASSERT_TRUE(pair.write("\r"));
  ASSERT_TRUE(linesArrived(1));
  EXPECT_EQ(lines, std::vector<std::string>{"B5   "});
}

TEST_F(SerialControllerTest, MegabyteOfNoiseThenAGoodLine) {
  std::string noise(1 << 20, '\0');
  std::mt19937 random(7);
  for (char& c : noise) c = static_cast<char>(random() & 0xFF);
  // Lines of noise end at the carriage returns in it; the last one ends at the first return sent after it.
  std::thread writer([&] { EXPECT_TRUE(pair.write(noise + "\rP5   \r")); });
  std::size_t longestPending = 0;
  const bool arrived = spinUntil(
      [&] {
        longestPending = std::max(longestPending, controller.pendingLength());
        return !lines.empty() && lines.back() == "P5   ";
      },
      20000);
  writer.join();
  ASSERT_TRUE(arrived);
  EXPECT_LE(longestPending, sim::SerialLineAssembler::kMaxLineLength);
  for (const std::string& line : lines) EXPECT_LE(line.size(), sim::SerialLineAssembler::kMaxLineLength);
  EXPECT_TRUE(controller.isOpen());
}

TEST(SerialControllerOpen, MissingPortIsReportedAndNotRetried) {
  test::TempDir dir;
  SerialController controller;
  std::vector<SerialController::Notice> notices;
  controller.setNoticeHandler([&](const SerialController::Notice& n) { notices.push_back(n); });
  SerialSettings s = controller.settings();
  s.portName = QString::fromStdString((dir.path() / "no-such-port").string());
  controller.setSettings(s);
  EXPECT_FALSE(controller.open());
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].kind, SerialController::Notice::Kind::OpenFailed);
  EXPECT_TRUE(notices[0].text.contains(QStringLiteral("no-such-port")));
  EXPECT_FALSE(controller.isRetrying());
}

// The controller pulled out while driving: the port is reported lost and tried again; once the same device is
// back the lines flow again without the driver doing anything.
TEST(SerialControllerLoss, LostPortIsRetriedUntilItIsBack) {
  test::TempDir dir;
  const QString link = QString::fromStdString((dir.path() / "controller").string());
  auto pair = std::make_unique<test::SocatPair>(link);
  ASSERT_TRUE(pair->ready()) << pair->error().toStdString();
  SerialController controller;
  std::vector<std::string> lines;
  std::vector<SerialController::Notice> notices;
  controller.setLineHandler([&](std::string line) { lines.push_back(std::move(line)); });
  controller.setNoticeHandler([&](const SerialController::Notice& n) { notices.push_back(n); });
  SerialSettings s = controller.settings();
  s.portName = link;
  controller.setSettings(s);
  ASSERT_TRUE(controller.open());
  ASSERT_TRUE(pair->write("P1   \rP2"));
  ASSERT_TRUE(spinUntil([&] { return lines.size() == 1; }));

  pair.reset();
  ASSERT_TRUE(spinUntil([&] { return controller.isRetrying(); }));
  EXPECT_FALSE(controller.isOpen());
  EXPECT_EQ(notices.back().kind, SerialController::Notice::Kind::Lost);
  EXPECT_EQ(controller.pendingLength(), 0u);  // the cut-off "P2" is not a command

  pair = std::make_unique<test::SocatPair>(link);
  ASSERT_TRUE(pair->ready()) << pair->error().toStdString();
  ASSERT_TRUE(spinUntil([&] { return controller.isOpen(); }, 5000));
  EXPECT_EQ(notices.back().kind, SerialController::Notice::Kind::Reconnected);
  EXPECT_EQ(notices.back().text, "Connect to controller.");
  ASSERT_TRUE(pair->write("B3   \r"));
  ASSERT_TRUE(spinUntil([&] { return lines.size() == 2; }));
  EXPECT_EQ(lines, (std::vector<std::string>{"P1   ", "B3   "}));
}

TEST(SerialControllerLoss, ClosingStopsTheRetries) {
  test::TempDir dir;
  const QString link = QString::fromStdString((dir.path() / "controller").string());
  auto pair = std::make_unique<test::SocatPair>(link);
  ASSERT_TRUE(pair->ready()) << pair->error().toStdString();
  SerialController controller;
  SerialSettings s = controller.settings();
  s.portName = link;
  controller.setSettings(s);
  ASSERT_TRUE(controller.open());
  pair.reset();
  ASSERT_TRUE(spinUntil([&] { return controller.isRetrying(); }));
  controller.toggle();
  EXPECT_FALSE(controller.isRetrying());
  EXPECT_FALSE(controller.isOpen());
}

}  // namespace
}  // namespace vesk::devices
