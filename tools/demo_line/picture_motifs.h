// Drawn elements that several pictures share: the line's route map and a train seen from the side.
#pragma once

#include <QColor>
#include <QPainter>
#include <QString>

#include <string>
#include <vector>

namespace vesk::demo {

// A station on a route map: `at` runs from 0 (first station) to 1 (last), `km` is its distance from the start
// of the line (negative when unknown).
struct RouteStop {
  QString name;
  double at = 0;
  double km = -1;
};

// The stations by name in down order, placed as on the demo line when the names are its stations, else evenly.
std::vector<RouteStop> routeStops(const std::vector<std::string>& names);

struct RouteMapStyle {
  QColor line;
  QColor text;
  QColor passed;     // stations before the highlighted one
  QColor highlight;  // the highlighted station's mark and name
  double nameSize = 13;
  bool showKm = false;
};

// A horizontal route map across `area`: the line, a mark per station and its name below. Stations before
// `highlight` are shown as passed; highlight < 0 shows every station plain.
void drawRouteStrip(QPainter& painter, const QRectF& area, const std::vector<RouteStop>& stops, int highlight,
                    const RouteMapStyle& style);

// The look of a train family from the side.
struct TrainLook {
  QColor body;
  QColor stripe;
  QColor front;
  bool pantograph = true;
};
TrainLook suburbanLook();  // VK500: stainless, blue band
TrainLook regionalLook();  // VK700: cream, green band
TrainLook dieselLook();    // VK100/400: cream, red band

// Draws `cars` cars of length `carLength`, the leading end to the right, standing on the rail at `railY` from
// x = left; the windows dark.
void drawTrain(QPainter& painter, double left, double railY, double carLength, int cars, const TrainLook& look);
// A train's front end seen head on, filling `box`: the cab windows, the band and the lamps.
void drawTrainFront(QPainter& painter, const QRectF& box, const TrainLook& look);
// The same train's lights after dark: lit windows and the headlight's glow.
void drawTrainLights(QPainter& painter, double left, double railY, double carLength, int cars);

}  // namespace vesk::demo
