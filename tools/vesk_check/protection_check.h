// The route checks of the signals and the train protection: rows that name a signal, a station or a speed the
// line does not have. The simulator drives on through each (with the reading named in the message); the
// validator tells the route's author.
#pragma once

#include <string>
#include <vector>

#include "data/route_data.h"

namespace vesk::tools {

// One message per row at fault, naming the section and the row (counted from 1).
std::vector<std::string> protectionFindings(const data::RouteData& route);

}  // namespace vesk::tools
