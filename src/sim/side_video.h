// Side videos: short videos of the "[MovieSwitch]" rows shown instead of the route video, either while the train
// stands at a station (played by time, video mode 1) or along a stretch of the line (following the position,
// video mode 2). The tick decides when one starts and ends; the window opens the video the drive names.
#pragma once

namespace vesk::sim {

class Drive;

// The tick's section: for each "[MovieSwitch]" row in turn, starts its side video or returns to the route video.
void switchVideo(Drive& drive);
// The control step's part: the side frame advances by time in video mode 1 and follows the frame in mode 2.
void advanceSideFrame(Drive& drive);

}  // namespace vesk::sim
