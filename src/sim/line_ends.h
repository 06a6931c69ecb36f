// Where the line ends for the train: the end of the route video, the "[MovieStop]" barrier, and the roll-back
// protection that brakes a train running backwards against its reverser.
#pragma once

namespace vesk::sim {

class Drive;

void lineEndBarriers(Drive& drive);
void rollBackProtection(Drive& drive);

}  // namespace vesk::sim
