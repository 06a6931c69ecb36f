// The round gauges of the cab panels: the dial face drawn on the panel picture and the needle picture that
// the simulator turns over it.
#pragma once

#include <QImage>
#include <QPainter>

#include "demo_line/panel_layout.h"

namespace vesk::demo {

// The radius of the white face inside the bezel of a gauge of radius g.r.
double gaugeFaceRadius(const Gauge& g);
// Degrees (0 = straight up, clockwise) at which the needle stands for `value`, as the simulator turns it.
double gaugeAngle(const Gauge& g, double value);
// The lowest figure of the dial: a current meter that swings both ways from straight up starts at -maximum.
double gaugeMinimum(const Gauge& g);

// Draws the dial of `g` centred on `centre` (panel picture coordinates).
void drawGaugeDial(QPainter& painter, const Gauge& g, QPointF centre);
// The needle: a square of 2 r, the pointer from the centre straight up, everything else the key colour.
QImage needlePicture(const Gauge& g);

}  // namespace vesk::demo
