// The texts laid over the forward view (or shown in the window's labels in text mode), written by the tick.
#pragma once

#include <string>

namespace vesk::sim {

struct OverlayTexts {
  std::string NextStopText;
  std::string StationNoticeText;
  std::string OneManText;
  std::string ClockText;
  std::string RemainText;
  std::string SpeedCheckText;
  std::string LimitNoticeText;
  std::string SpeedText;
  std::string StopDistanceText;
  std::string MessageText;
  std::string LimitText;

  bool operator==(const OverlayTexts&) const = default;
};

// Each text by its name, for the headless runner's output.
template <class Texts, class Visit> void visitOverlayTexts(Texts& t, Visit&& visit) {
  visit("NextStopText", t.NextStopText);
  visit("StationNoticeText", t.StationNoticeText);
  visit("OneManText", t.OneManText);
  visit("ClockText", t.ClockText);
  visit("RemainText", t.RemainText);
  visit("SpeedCheckText", t.SpeedCheckText);
  visit("LimitNoticeText", t.LimitNoticeText);
  visit("SpeedText", t.SpeedText);
  visit("StopDistanceText", t.StopDistanceText);
  visit("MessageText", t.MessageText);
  visit("LimitText", t.LimitText);
}

}  // namespace vesk::sim
