// The route videos of the demo pack: the view from the cab of a train running the line at the recorded speed,
// drawn from the line's geometry (rails and sleepers in perspective, curves, gradients, platforms at the
// stations, tunnel mouths and dark tunnels, poles, level crossings, bridges), 800 x 450 at 15 pictures a second,
// MPEG-4 in AVI through libavcodec with a key frame every 15 pictures.
#pragma once

#include <QImage>

#include <filesystem>
#include <functional>

#include "demo_line/line_model.h"

namespace vesk::demo {

// Draws the view from the cab at `position` (metres along the direction of `line`, which is the line as seen in
// that direction) into `out` (800 x 450, Format_RGB32).
void renderView(const Line& line, double position, QImage& out);

// Renders and encodes the whole recording: picture n shows the view at positionAtFrame(recording, 2n).
// `progress` receives the fraction done (0..1) now and then. Returns false when the file cannot be written.
bool writeVideo(const std::filesystem::path& file, const Line& line, const Recording& recording,
                const std::function<void(double)>& progress = {});

}  // namespace vesk::demo
