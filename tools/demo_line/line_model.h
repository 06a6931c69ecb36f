// The demo line: one regional line of about 10 km, the single source of what its route files say and what its
// videos show. Positions are metres from the down direction's start; the up direction runs the other way, its
// positions measured from its own start (length - x).
#pragma once

#include <string>
#include <vector>

#include "data/route_data.h"

namespace vesk::demo {

struct Station {
  std::string name;  // Japanese, as the simulator shows it
  std::string kana;  // its reading, for the voiced announcements
  double at = 0;     // the stopping mark of the down direction
};

struct Span {
  double from = 0;
  double to = 0;
};

struct Gradient {
  double from = 0;
  double to = 0;
  double permil = 0;  // down direction, + rising
};

struct Curve {
  double from = 0;
  double to = 0;
  double curvature = 0;  // 1/m, + to the right in the down direction
};

struct SpeedLimit {
  double from = 0;
  double to = 0;
  int kmh = 0;
};

struct Line {
  double length = 0;
  std::vector<Station> stations;  // down order
  std::vector<Span> tunnels;
  std::vector<Span> bridges;
  std::vector<double> crossings;  // level crossings
  std::vector<Gradient> gradients;
  std::vector<Curve> curves;
  std::vector<SpeedLimit> limits;  // the permanent limits of the down direction (the up direction mirrors them)
  double lineSpeed = 0;            // km/h
  double platformBefore = 0;       // a platform reaches this far before its stopping mark
  double platformAfter = 0;        // and this far beyond it
};

const Line& demoLine();

// The line seen in one direction: positions and gradients mirrored for the up direction, stations in running
// order.
Line lineInDirection(bool down);

// The video of one direction, recorded at 15 pictures a second from a local train (slowing to 5 km/h at every
// stopping mark): "[SpeedUnit]" rows, frames counted 30 a second. Picture n shows frame position 2n.
struct Recording {
  bool down = true;
  double origin = 0;                     // where the recording starts (m along the direction), at frame 0
  std::vector<data::SpeedUnitRow> rows;  // with endDistance filled
  int lastFrame() const { return rows.empty() ? 0 : rows.back().frameTo; }
  int pictureCount() const { return lastFrame() / 2; }
};

Recording recordingOf(bool down);

// The camera's position (m along the direction) at a frame position, by the simulator's own conversion of the
// rows (origin + the rows' distance).
double positionAtFrame(const Recording& recording, int frame);
// The frame position at which the camera passes a position (the first frame at or beyond it).
int frameAt(const Recording& recording, double metres);

}  // namespace vesk::demo
