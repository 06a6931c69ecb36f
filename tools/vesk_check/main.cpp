// vesk-check: the data validator for route and vehicle authors.
#include <QCoreApplication>

#include <iostream>
#include <string>
#include <vector>

#include "vesk_check/pack_check.h"

namespace {

constexpr const char* kUsage = R"(usage: vesk-check [--data DIR] [FILE...]

Checks a vesk program folder (DIR, default: the current folder): velmarix.dat, mascon.dat, the title screen's
pictures and sounds, and every route and vehicle file the title screen offers, or only the FILEs named (route
files start with "line_", all others are read as vehicle files). Every picture, sound and video they name must
exist (letter case does not matter) and decode. Each problem is printed as FILE:LINE: MESSAGE, with the message
the simulator would show where it shows one.

Exit status: 0 no problems, 1 problems found, 2 wrong usage.
)";

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  vesk::tools::CheckRequest request;
  request.programDir = ".";
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if (arg == "--data" && i + 1 < argc) {
      request.programDir = argv[++i];
    } else if (arg.rfind("--", 0) == 0) {
      std::cerr << "vesk-check: unknown option " << arg << "\n\n" << kUsage;
      return 2;
    } else {
      request.files.push_back(arg);
    }
  }
  const auto findings = vesk::tools::checkPack(request);
  for (const auto& f : findings) std::cout << vesk::tools::formatFinding(f) << '\n';
  if (findings.empty()) {
    std::cout << "vesk-check: no problems found\n";
    return 0;
  }
  std::cout << "vesk-check: " << findings.size() << (findings.size() == 1 ? " problem" : " problems") << " found\n";
  return 1;
}
