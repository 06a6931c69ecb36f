// vesk-check's command line: the program folder and the files to check, and what is wrong with them when the
// checks cannot start (a folder that does not exist, a pack folder given without --data): one sentence saying
// what is wrong and what to type instead of a page of missing files.
#pragma once

#include <string>
#include <vector>

#include "vesk_check/pack_check.h"

namespace vesk::tools {

struct CheckArguments {
  bool help = false;
  CheckRequest request;
  std::string problem;  // wrong usage: what is wrong and what to type; empty when the checks can start
};

CheckArguments parseCheckArguments(const std::vector<std::string>& args);

}  // namespace vesk::tools
