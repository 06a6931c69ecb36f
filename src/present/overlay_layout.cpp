#include "present/overlay_layout.h"

#include "core/rounding.h"

namespace vesk::present {
namespace {

int scaled(double factor, int size) { return static_cast<int>(core::even(factor * size)); }

}  // namespace

int shadowOffset(const ViewGeometry& view) { return scaled(0.002, view.width); }

std::vector<PlacedText> layoutOverlayTexts(const sim::OverlayTexts& texts, const sim::HandleTexts& handles,
                                           const ViewGeometry& view, int moji, int information,
                                           const TextWidth& width) {
  const int w = view.width;
  const int h = view.height;
  std::vector<PlacedText> out;
  const auto place = [&](const std::string& text, int fontSize, double fx, double fy) {
    if (!text.empty()) out.push_back({text, fontSize, scaled(fx, w), scaled(fy, h)});
  };

  if (information == 0 && !texts.MessageText.empty()) {
    const int size = scaled(0.015, w);
    const int textWidth = width ? width(texts.MessageText, size) : 0;
    out.push_back({texts.MessageText, size, scaled(0.5, w) - static_cast<int>(core::even(textWidth / 2.0)),
                   scaled(moji == 0 ? 0.05 : 0.9, h)});
  }
  if (moji != 0) return out;

  const int size = scaled(0.017, w);
  place(texts.SpeedText, scaled(0.02, w), 0.8, 0.84);
  place(handles.reverserText, size, 0.8, 0.92);
  place(handles.powerText, size, 0.87, 0.92);
  place(handles.brakeText, size, 0.92, 0.92);
  place(handles.gearText, size, 0.72, 0.92);
  place(texts.LimitNoticeText, size, 0.7, 0.78);
  place(texts.LimitText, size, 0.7, 0.72);
  // The remaining-distance and crossing texts stack upwards from the station notice's line.
  int y = scaled(0.8, h);
  for (const std::string* text : {&texts.RemainText, &texts.SpeedCheckText}) {
    if (text->empty()) continue;
    y -= scaled(0.06, h);
    out.push_back({*text, size, scaled(0.01, w), y});
  }
  place(texts.StationNoticeText, size, 0.01, 0.8);
  place(texts.NextStopText, size, 0.01, 0.86);
  place(texts.ClockText, size, 0.01, 0.92);
  place(texts.OneManText, size, 0.15, 0.92);
  return out;
}

}  // namespace vesk::present
