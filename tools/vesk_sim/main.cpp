// vesk-sim: the headless runner. Loads data files as the simulator does, prints what it finds as JSON, and runs
// drives on virtual time.
#include <QCoreApplication>

#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "vesk_sim/commands.h"
#include "vesk_sim/options.h"
#include "vesk_sim/script.h"

namespace {

constexpr std::string_view kUsage = R"(usage: vesk-sim COMMAND [OPTIONS]

Commands:
  dump-vehicle --vehicle-dir DIR [--pretty] FILE
      Reads the vehicle definition file FILE in DIR (pictures it names are loaded from DIR) and prints the
      vehicle as one JSON object: the record's field names as keys, fixed-point values as exact decimals,
      tables as arrays of row objects (only the rows the file gave). In the per-notch sound tables element i
      belongs to notch i (element 0 of the 1-based ones is unused). The corrections made when a drive is set
      up are applied: an automatic air brake gets four positions; a notched brake needs at least three.

  dump-route --program-dir DIR --vehicle-dir VDIR --vehicle FILE [--pretty] ROUTE
      Loads the drive as the simulator does and prints the route file ROUTE as JSON, with the positions
      derived from the "[SpeedUnit]" rows, the ATS-P beacons (atsBeacons) and the lengths of the "[SoundData]"
      sounds. The vehicle matters to "[Monitor]" blocks.

  dump-strings --program-dir DIR [--pretty]
      Prints the interface string file velmarix.dat of DIR as JSON.

  run --program-dir DIR --vehicle-dir VDIR --vehicle FILE --route ROUTE --ms N
      [--start-station K] [--script SCRIPT] [--settings Kanko=0,Information=1,ATS=0,Tunnel=0,Moji=0]
      [--every T] [--summary] [--seed S]
      Loads the drive as the simulator does, starts it at virtual time 0 and runs it for N milliseconds,
      printing one JSON line after every tick: t_ms, tick, every TrainState and ControlState field by name,
      the handle texts, the overlay texts, the station flags, calloutQueue (the call-outs waiting, head
      first), lamps (the lit panel lamps) and uiEvents (window commands such as BackClick). --seed S seeds
      the random draws (the door chance of one-man trains; default 0): the same seed repeats the drive. --every T prints every T-th tick's line and the
      last one; --summary prints a readable summary of the drive instead (with --every, as well). The script holds one event per line ("#" starts a comment):
        T char C | T key NAME [shift] | T keyup NAME | T hold 3|4 on|off | T set FIELD VALUE
      with T in milliseconds; events at one time apply in file order before the routines due then.

  --help
      Prints this text.

A data error prints the simulator's own message on stderr (and where it was found on a second line) and exits
with status 2. A message the simulator shows and goes on after (the video, the controller map) goes to stderr.
Wrong usage exits with status 1.
)";

int usageError(std::string_view what) {
  std::cerr << "vesk-sim: " << what << "\n\n" << kUsage;
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  // Qt's image and text services need an application object, though nothing is shown.
  QCoreApplication app(argc, argv);
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return usageError("no command given");
  const std::string command = args.front();
  args.erase(args.begin());
  try {
    if (command == "--help" || command == "-h" || command == "help") {
      std::cout << kUsage;
      return 0;
    }
    if (command == "dump-vehicle") return vesk::tools::dumpVehicle(args);
    if (command == "dump-route") return vesk::tools::dumpRoute(args);
    if (command == "dump-strings") return vesk::tools::dumpStrings(args);
    if (command == "run") return vesk::tools::runDrive(args);
  } catch (const vesk::tools::UsageError& e) {
    return usageError(e.what());
  } catch (const vesk::tools::ScriptError& e) {
    std::cerr << "vesk-sim: " << e.what() << '\n';
    return 1;
  } catch (const std::invalid_argument& e) {
    return usageError(e.what());
  }
  return usageError("unknown command " + command);
}
