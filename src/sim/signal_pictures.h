// The numbering of the signal pictures: a picture index (1-40) for each head type (0-9) and aspect. The route
// artwork and the ATS logic share these numbers.
#pragma once

namespace vesk::sim {

// The picture of a signal of `headType` showing `aspect` (aspects above 5 look like 5); 0 (nothing) for a head
// type outside the table. `maxSpeed` is the train's "[MaxSpeed]": from 131 km/h types 7 and 8 show their
// high-speed clear picture.
int signalPicture(int headType, int aspect, int maxSpeed);
// The pictures of a signal at stop: 1, 4, 7, 10, 13, 17, 21, 26, 30 and 35.
bool isStopPicture(int picture);
// The block count a signal of `headType` carries back when it stands `count` blocks behind a stop signal: it
// shows that many steps of clear as far as its lamps can.
int cappedBlockCount(int headType, int count);

}  // namespace vesk::sim
