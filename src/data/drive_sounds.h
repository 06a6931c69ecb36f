// The sounds of a drive, loaded in the order the channel numbers follow: the vehicle's running sounds, the
// route's environment sounds, the engine sounds; then the call-out channel and the announcement channel. The
// call-out waves stay unbound: the call-out queue binds them one at a time.
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "data/route_data.h"
#include "data/vehicle_spec.h"
#include "media/sound_bank.h"
#include "media/sound_layout.h"
#include "media/wave.h"

namespace vesk::data {

using media::SoundBank;
using media::SoundLayout;
using media::Wave;

inline constexpr int kCalloutSlots = kCallout1Count + kCallout2Capacity;

struct DriveSounds {
  SoundLayout layout;
  std::array<std::shared_ptr<const Wave>, kCalloutSlots> callouts{};  // by call-out slot
  std::vector<std::shared_ptr<const Wave>> otherCallouts;
  std::vector<std::shared_ptr<const Wave>> limitCallouts;
};

// Loads every sound list, binds the waves to their channels (an entry without a name leaves its channel unbound;
// a missing or invalid file leaves it silent), stops every bound channel, and stores each environment sound's
// length in whole seconds in the route. `progress` receives the loading texts.
DriveSounds loadDriveSounds(SoundBank& bank, const VehicleSpec& vehicle, const std::filesystem::path& vehicleDir,
                            RouteData& route, const std::filesystem::path& programDir,
                            const std::function<void(std::string_view)>& progress = {});

// The length of an environment sound in whole seconds, halves to even, from its real data chunk.
int soundLengthSeconds(const Wave& wave);

}  // namespace vesk::data
