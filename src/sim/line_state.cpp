#include "sim/line_state.h"

namespace vesk::sim {

void LineState::clearPerRunTables() {
  stations.fill({});
  // Every sound along the line plays again once the train comes to it again.
  trackSoundStarted.fill(0);
  switchSoundStarted.fill(0);
  announceDone.fill(0);
  speedChecksPassed.fill(0);
  crossingEntered.fill(0);
}

}  // namespace vesk::sim
