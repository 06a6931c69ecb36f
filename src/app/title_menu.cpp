#include "app/title_menu.h"

namespace vesk::app {
namespace {

struct LineEntry {
  const char* route;
  const char* variantRoute;
  int train;  // the train plate the line offers without the variant key
};

constexpr std::array<LineEntry, kLineCount> kLines = {{
    {"line_down_local.dat", "line_down_local_A.dat", 0},
    {"line_down_rapid.dat", "line_down_rapid_A.dat", 1},
    {"line_down_tr.dat", "line_down_tr_A.dat", 2},
    {"line_up_local.dat", "line_up_local_A.dat", 0},
    {"line_up_rapid.dat", "line_up_rapid_A.dat", 1},
    {"line_up_tr.dat", "line_up_tr_A.dat", 2},
}};

struct TrainEntry {
  const char* down;
  const char* up;
};

constexpr std::array<TrainEntry, kTrainCount> kTrains = {{
    {"train_VK500.dat", "train_VK500.dat"},
    {"train_VK700_3Cars.dat", "train_VK700_2Cars.dat"},
    {"train_VK103.dat", "train_VK401.dat"},
}};

bool validLine(int line) { return line >= 0 && line < kLineCount; }

}  // namespace

std::string routeForLine(int line, bool variantKey) {
  if (!validLine(line)) return {};
  const LineEntry& e = kLines[static_cast<std::size_t>(line)];
  return variantKey ? e.variantRoute : e.route;
}

std::array<bool, kTrainCount> trainsForLine(int line, bool variantKey) {
  std::array<bool, kTrainCount> offered{};
  if (!validLine(line)) return offered;
  for (int k = 0; k < kTrainCount; ++k) {
    offered[static_cast<std::size_t>(k)] = variantKey || k == kLines[static_cast<std::size_t>(line)].train;
  }
  return offered;
}

std::string vehicleForTrain(int train, const std::string& routeFileName) {
  if (train < 0 || train >= kTrainCount) return {};
  const TrainEntry& e = kTrains[static_cast<std::size_t>(train)];
  // Decided by the first six characters, as route files of the down line all begin "line_d".
  return routeFileName.compare(0, 6, "line_d") == 0 ? e.down : e.up;
}

MenuReveal menuRevealAfter(int menuTicks) {
  MenuReveal r;
  r.map = menuTicks > 0;
  for (int k = 0; k < kLineCount; ++k) r.lines[static_cast<std::size_t>(k)] = menuTicks > 2 + k;
  r.help = menuTicks > 10;
  r.back = menuTicks > 11;
  r.finished = menuTicks > 11;
  return r;
}

}  // namespace vesk::app
