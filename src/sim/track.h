// What the train feels of the line under it: the gradient averaged over its cars, and the tunnels.
#pragma once

namespace vesk::sim {

class Drive;

// Looks up the gradient at the head of the train and, every 20 m of travel (one car), takes a new sample:
// the train's gradient is the average of one sample per car.
void sampleGradient(Drive& drive);
// Recomputes inTunnel and tunnelDepth from the position; the tunnel resistance of the next tick uses them.
void updateTunnel(Drive& drive);

}  // namespace vesk::sim
