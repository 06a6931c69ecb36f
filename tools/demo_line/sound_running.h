// The wheels on the track: the looped running sound of each speed band and the clatter over a set of points.
#pragma once

#include "demo_line/sound_dsp.h"

namespace vesk::demo {

// The running sound of band `band` (10 band .. 10 band + 9 km/h): a rumble that grows louder and brighter with
// the band, and at every rail joint (25 m rails, passed at the band's middle speed) a "ta-tan" from the front bogie's
// two axles and a softer one from the rear bogie. Band 0 is a faint creaking. `light` is a single railcar rather than
// an electric train.
dsp::Sound runningSound(int band, bool light);

// Wheels over a set of points: a few heavy clacks at low speed, or a quick rattle at speed.
dsp::Sound pointsSound(bool fast, bool light);

}  // namespace vesk::demo
