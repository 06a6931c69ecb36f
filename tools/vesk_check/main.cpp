// vesk-check: the data validator for route and vehicle authors.
#include <QCoreApplication>

#include <iostream>
#include <string>
#include <vector>

#include "vesk_check/check_arguments.h"
#include "vesk_check/pack_check.h"

namespace {

constexpr const char* kUsage = R"(usage: vesk-check [--data DIR] [FILE...]

Checks a vesk program folder (DIR, default: the current folder): velmarix.dat, mascon.dat, the title screen's
pictures and sounds, and every route and vehicle file the title screen offers, or only the FILEs named (route
files are line_*.dat, in any letter case; all others are read as vehicle files). Every picture, sound and video
they name must exist (letter case does not matter) and decode. Each problem is printed as FILE:LINE: MESSAGE,
with the message the simulator would show where it shows one.

Exit status: 0 no problems, 1 problems found, 2 wrong usage.
)";

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const auto arguments = vesk::tools::parseCheckArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (arguments.help) {
    std::cout << kUsage;
    return 0;
  }
  if (!arguments.problem.empty()) {
    std::cerr << "vesk-check: " << arguments.problem << '\n';
    return 2;
  }
  const auto findings = vesk::tools::checkPack(arguments.request);
  for (const auto& f : findings) std::cout << vesk::tools::formatFinding(f) << '\n';
  if (findings.empty()) {
    std::cout << "vesk-check: no problems found\n";
    return 0;
  }
  std::cout << "vesk-check: " << findings.size() << (findings.size() == 1 ? " problem" : " problems") << " found\n";
  return 1;
}
