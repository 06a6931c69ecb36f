// DriveSnapshot: everything a frame of the driving window draws, copied out of the running drive in one short
// lock so that the renderer works on its own copy while the simulation goes on.
#pragma once

#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

#include "media/sprite_engine.h"
#include "sim/aux_window_data.h"
#include "sim/driver_displays.h"
#include "sim/overlay_texts.h"
#include "sim/settings.h"
#include "sim/train_state.h"

namespace vesk::sim {

struct DriveSnapshot {
  std::int64_t timeMs = 0;             // virtual time of the drive
  std::vector<media::Sprite> sprites;  // in drawing order, lower Z first
  OverlayTexts texts;
  HandleTexts handleTexts;
  std::int32_t frame = 0;
  std::int32_t videoMode = 0;
  std::int32_t clock = 0;
  double speed = 0;
  double position = 0;  // cm
  Settings settings;
  int viewSurfaceTop = 0;   // the forward view moved up by the driver (0, -50, ... -150)
  QImage clockFace;         // the analog clock's 50 x 50 picture; null when the panel has no clock
  DriverDisplays displays;  // the text mode's labels, the simple cab's lamps, the value display
  // The value display window's title: the serial controller's last command line.
  std::string valueDisplayTitle;

  // The forward view's video: the side video's name ("[MovieSwitch]") while one plays, else empty (the route
  // video), the side video's frame counter, and what the frame loop's barrier hold and video end look at.
  std::string sideVideo;
  std::int32_t sideFrame = 0;
  std::int32_t lastFramePosition = 0;
  std::int32_t reversed = 0;

  // What the simple cab and the value display show.
  AuxWindowData auxWindows;
};

}  // namespace vesk::sim
