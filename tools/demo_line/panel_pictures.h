// The cab panel pictures of one train family: the panel, its tunnel overlay, the needles, the lit lamps, the
// notch and gear strips and the digital speedometer.
#pragma once

#include <QImage>

#include <string>

#include "demo_line/panel_layout.h"

namespace vesk::demo {

class PictureFolder;

// The panel picture sits at this y of the 800 x 850 drawing area that the layout's numbers are given in.
inline constexpr int kPanelTop = 450;
inline constexpr int kPanelWidth = 800;
inline constexpr int kPanelHeight = 400;
inline constexpr int kDigitalCellsPerRow = 20;
inline constexpr int kDigitalCells = 200;

QImage panelPicture(const PanelLayout& layout);
// The panel as it looks in a tunnel: much darker; its bottom-left pixel is the key colour.
QImage darkPanelPicture(const QImage& panel);
QImage lampPicture(const Lamp& lamp);
QImage stripPicture(const Strip& strip);
// 200 cells of digiW x digiH, 20 to a row: cell k reads k.
QImage digitalSpeedPicture(const PanelLayout& layout);

// Writes every picture of the family.
void writePanelPictures(const PictureFolder& folder, const PanelLayout& layout);

}  // namespace vesk::demo
