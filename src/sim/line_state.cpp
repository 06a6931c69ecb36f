#include "sim/line_state.h"

namespace vesk::sim {

void LineState::clearPerRunTables() {
  stations.fill({});
  crossingEntered.fill(0);
}

}  // namespace vesk::sim
