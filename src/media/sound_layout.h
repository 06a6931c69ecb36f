// How many channels each sound list fills, which fixes the channel numbers of the sound bank: running sounds,
// then environment sounds, then engine sounds 1 and 3, then the call-out and announcement channels.
#pragma once

namespace vesk::media {

struct SoundLayout {
  int driveSoundCount = 0;    // D
  int soundDataCount = 0;     // S
  int engineSound1Count = 0;  // E1
  int engineSound3Count = 0;  // E3
  // The second-set call-out counter: 22 + the "[KankoSound2]" entries when that section exists, else 0.
  int calloutCounter = 0;

  int calloutChannel() const { return driveSoundCount + soundDataCount + engineSound1Count + engineSound3Count + 1; }
  int announcementChannel() const { return calloutChannel() + 1; }
};

}  // namespace vesk::media
