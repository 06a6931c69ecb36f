#include "sim/line_state.h"

namespace vesk::sim {

void LineState::clearPerRunTables() { stations.fill({}); }

}  // namespace vesk::sim
