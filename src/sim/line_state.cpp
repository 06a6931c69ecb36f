#include "sim/line_state.h"

namespace vesk::sim {

void LineState::clearPerRunTables() {
  stations.fill({});
  speedChecksPassed.fill(0);
}

}  // namespace vesk::sim
