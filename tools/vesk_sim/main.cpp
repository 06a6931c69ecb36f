// vesk-sim: the headless runner. Loads data files as the simulator does and prints what it finds as JSON.
#include <QCoreApplication>

#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "data/data_error.h"
#include "data/vehicle_file.h"
#include "present/image_list.h"
#include "present/sprite_engine.h"
#include "vesk_sim/json_writer.h"
#include "vesk_sim/vehicle_json.h"

namespace {

constexpr std::string_view kUsage = R"(usage: vesk-sim COMMAND [OPTIONS]

Commands:
  dump-vehicle --vehicle-dir DIR [--pretty] FILE
      Reads the vehicle definition file FILE in DIR (pictures it names are loaded from DIR) and prints the
      vehicle as one JSON object: the record's field names as keys, fixed-point values as exact decimals,
      tables as arrays of row objects (only the rows the file gave). In the per-notch sound tables element i
      belongs to notch i (element 0 of the 1-based ones is unused). The corrections made when a drive is set
      up are applied: an automatic air brake gets four positions; a notched brake needs at least three.
      --pretty prints one member a line.

  --help
      Prints this text.

A data error prints the simulator's own message on stderr (and where it was found on a second line) and exits
with status 2. Wrong usage exits with status 1.
)";

int usageError(std::string_view what) {
  std::cerr << "vesk-sim: " << what << "\n\n" << kUsage;
  return 1;
}

int reportDataError(const vesk::data::DataError& error) {
  std::cerr << error.message() << '\n';
  if (!error.where().empty()) std::cerr << error.where() << '\n';
  return 2;
}

int dumpVehicle(const std::vector<std::string>& args) {
  std::string vehicleDir;
  std::string file;
  bool pretty = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--vehicle-dir" && i + 1 < args.size()) {
      vehicleDir = args[++i];
    } else if (args[i] == "--pretty") {
      pretty = true;
    } else if (file.empty() && !args[i].starts_with("--")) {
      file = args[i];
    } else {
      return usageError("dump-vehicle: unexpected argument " + args[i]);
    }
  }
  if (file.empty()) return usageError("dump-vehicle: no vehicle file given");
  vesk::present::ImageList images;
  vesk::present::SpriteEngine sprites;
  try {
    vesk::data::VehicleSpec spec = vesk::data::loadVehicleFile(vehicleDir, file, images, sprites);
    vesk::data::applyPostLoadChecks(spec);
    vesk::tools::JsonWriter w(pretty);
    vesk::tools::writeVehicleJson(w, spec);
    std::cout << w.str() << '\n';
  } catch (const vesk::data::DataError& error) {
    return reportDataError(error);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Qt's image and text services need an application object, though nothing is shown.
  QCoreApplication app(argc, argv);
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return usageError("no command given");
  const std::string command = args.front();
  args.erase(args.begin());
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << kUsage;
    return 0;
  }
  if (command == "dump-vehicle") return dumpVehicle(args);
  return usageError("unknown command " + command);
}
