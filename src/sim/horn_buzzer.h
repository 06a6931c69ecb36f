// The horn and the buzzer of the tick: polled every tick, they sound while their key or a controller's input is
// held.
#pragma once

namespace vesk::sim {

class Drive;

// The four-part horn ("[Sound_Horn4]": start, segment A, segment B, end, interval, air use) and the "[Buzzer]".
// A press of '3' or '4' (ControlState::hornHeld, buzzerHeld) lasts while its key stays down
// (Drive::hornKeyHeld, buzzerKeyHeld); the tick that finds the key released ends it. A controller's inputs
// (Drive::controllerHornHeld, controllerBuzzerHeld) act while they are set.
void hornBuzzerStep(Drive& drive);

}  // namespace vesk::sim
