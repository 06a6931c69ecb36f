// Where the information texts stand on the forward view: each text's place and font size from the view's size,
// the text mode and the explanations setting. Pure arithmetic, so that it can be checked without drawing.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "present/view_geometry.h"
#include "sim/overlay_texts.h"
#include "sim/train_state.h"

namespace vesk::present {

struct PlacedText {
  std::string text;
  int fontSize = 0;  // points
  int x = 0;         // top-left of the text, view pixels
  int y = 0;
};

// The width in pixels of a text at a font size (the renderer measures with the font it draws with).
using TextWidth = std::function<int(const std::string& text, int fontSize)>;

// The texts to draw, in drawing order. `moji`: text mode (the window's labels show the rest); `information`:
// explanations hidden. The message is centred on its own width, measured before it is drawn.
std::vector<PlacedText> layoutOverlayTexts(const sim::OverlayTexts& texts, const sim::HandleTexts& handles,
                                           const ViewGeometry& view, int moji, int information, const TextWidth& width);

// The offset of a text's shadow, right and down.
int shadowOffset(const ViewGeometry& view);

}  // namespace vesk::present
