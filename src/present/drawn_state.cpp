#include "present/drawn_state.h"

#include <QDate>

#include <algorithm>
#include <array>
#include <cstdio>

#include "present/view_geometry.h"

namespace vesk::present {
namespace {

// The monitor's clock: the hours as a plain number, then two-digit minutes and seconds.
QString monitorClock(std::int32_t clock) {
  const int seconds = std::max(clock, 0) / 30;
  std::array<char, 32> text{};
  std::snprintf(text.data(), text.size(), "%d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
  return QString::fromLatin1(text.data());
}

}  // namespace

DrawnState drawnState(const sim::DriveSnapshot& shot, const ViewGeometry& view) {
  DrawnState state;
  state.sprites = shot.sprites;
  state.texts = shot.texts;
  state.handleTexts = shot.handleTexts;
  state.moji = shot.settings.Moji;
  state.information = shot.settings.Information;
  state.viewSurfaceTop = shot.viewSurfaceTop;
  if (view.monitor != MonitorKind::None) {
    std::array<char, 32> post{};
    std::snprintf(post.data(), post.size(), "%2.1f", kilometrePost(shot.position, view.kilometresFromUpLine));
    state.kilometrePost = QString::fromLatin1(post.data());
    state.monitorDate = QDate::currentDate().toString(QStringLiteral(" M  d"));
    state.monitorClock = monitorClock(shot.clock);
  }
  state.clockFace = shot.clockFace;
  return state;
}

}  // namespace vesk::present
