// The aspect of every lineside signal, worked out anew each tick from where the preceding train is: the signal
// behind it shows stop, and each signal further back one step more, as far as its head type can show. Signals
// worked by hand (fixed aspects) override that. Each signal's picture follows from its head type and aspect.
#include <algorithm>

#include "sim/drive.h"
#include "sim/protection.h"
#include "sim/signal_pictures.h"

namespace vesk::sim {
namespace {

constexpr int kPictures[10][6] = {{1, 2, 2, 2, 3, 3},       {4, 4, 4, 5, 6, 6},       {7, 7, 8, 8, 9, 9},
                                  {10, 10, 11, 11, 12, 12}, {13, 13, 14, 15, 16, 16}, {17, 18, 19, 19, 20, 20},
                                  {21, 22, 23, 24, 25, 25}, {26, 26, 27, 27, 28, 28}, {30, 30, 31, 32, 33, 33},
                                  {35, 36, 37, 38, 39, 40}};

bool isSignalType(int headType) { return headType != 0 && headType != -1; }

// The aspect the fixed working of a signal imposes now, if any.
std::optional<int> fixedAspect(const Drive& drive, const data::SignalRow& row, int top) {
  const int fixed = std::clamp(row.fixedAspect, 0, top);
  if (drive.state.videoMode == 1) return fixed;
  switch (row.controlKind) {
  case 1:
    if (drive.state.clock < row.timeLimit) return fixed;
    return std::nullopt;
  case 2:
    return fixed;
  case 3: {
    // A station that is not on the line has no departure to wait for: the signal works automatically.
    const int station = row.stationIndex;
    if (station < 0 || station >= std::min(drive.route.stationCount, data::kStationCapacity)) return std::nullopt;
    if (drive.line.stations[static_cast<std::size_t>(station)].departureAnnounced == 0) return fixed;
    return std::nullopt;
  }
  default:
    return std::nullopt;
  }
}

}  // namespace

int signalPicture(int headType, int aspect, int maxSpeed) {
  if (headType < 0 || headType > 9) return 0;
  const int column = std::clamp(aspect, 0, 5);
  const int picture = kPictures[headType][column];
  // Fast lines show the high-speed clear aspect.
  if (column == 5 && maxSpeed >= 131 && (headType == 7 || headType == 8)) return picture + 1;
  return picture;
}

bool isStopPicture(int picture) {
  switch (picture) {
  case 1:
  case 4:
  case 7:
  case 10:
  case 13:
  case 17:
  case 21:
  case 26:
  case 30:
  case 35:
    return true;
  default:
    return false;
  }
}

int cappedBlockCount(int headType, int count) {
  switch (headType) {
  case 1:
    return std::min(count, 2);
  case 2:
    return count < 3 ? 2 : 4;
  case 3:
    return count < 3 ? 2 : count == 3 ? 3 : 4;
  case 4:
    return count >= 3 ? 4 : count;
  case 5:
    return count >= 4 ? 4 : count;
  default:
    return count;
  }
}

void updateSignalAspects(Drive& drive) {
  const data::RouteData& r = drive.route;
  LineState& line = drive.line;
  const std::int32_t ahead = drive.state.precedingFrame;
  const int n = std::min(r.signalCount, data::kSignalCapacity);
  const int top = highestAspect(drive);
  auto row = [&](int i) -> const data::SignalRow& { return r.signals[static_cast<std::size_t>(i)]; };
  auto aspect = [&](int i) -> std::int32_t& { return line.signals[static_cast<std::size_t>(i)].aspect; };

  for (int i = 0; i < n; ++i) aspect(i) = top;

  // The signal the preceding train has passed last (the signal stands at the end of its visible range).
  // The first and the last signal count as well: a train between the first two signals stands behind the
  // first, one beyond the last signal behind the last.
  int j = -1;
  if (ahead != 0) {
    for (int o = n - 1; o >= 1; --o) {
      if (row(o - 1).visibleTo < ahead && ahead <= row(o).visibleTo) {
        j = o - 1;
        break;
      }
    }
    if (j < 0 && n > 0 && row(n - 1).visibleTo < ahead) j = n - 1;
  }
  while (j >= 0 && !isSignalType(row(j).headType)) --j;
  if (j >= 0) {
    aspect(j) = 0;
    int count = 0;
    for (int k = j - 1; k >= 0 && count < top; --k) {
      if (isSignalType(row(k).headType)) {
        count = cappedBlockCount(row(k).headType, count + 1);
        aspect(k) = std::min(count, top);
      } else {
        aspect(k) = aspect(k + 1);
      }
    }
  }

  const std::int32_t frame = drive.state.frame;
  for (int i = 0; i < n; ++i) {
    const data::SignalRow& s = row(i);
    SignalState& state = line.signals[static_cast<std::size_t>(i)];
    if (s.controlKind != 0 || drive.state.videoMode == 1) {
      if (const auto fixed = fixedAspect(drive, s, top)) state.aspect = *fixed;
    }
    if (s.visibleFrom <= frame && frame < s.visibleTo) {
      state.image = signalPicture(s.headType, state.aspect, drive.vehicle.maxSpeed);
    } else {
      state.image = state.aspect != 0 ? 12 : 0;
    }
  }
}

}  // namespace vesk::sim
