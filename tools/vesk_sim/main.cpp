// vesk-sim: the headless runner. Loads data files as the simulator does, prints what it finds as JSON, and runs
// drives on virtual time.
#include <QCoreApplication>
#include <QGuiApplication>

#include <algorithm>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sim/keys.h"
#include "sim/script.h"
#include "vesk_sim/commands.h"
#include "vesk_sim/options.h"
#include "vesk_sim/run_checks.h"

namespace {

constexpr std::string_view kUsageHead = R"(usage: vesk-sim COMMAND [OPTIONS]

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
      [--every T] [--summary] [--seed S] [--realtime [--audio]] [--save FILE --save-at T]
      [--restore FILE [--restore-at T]] [--autopilot] [--plot FILE.svg [--plot-against autopilot|SCRIPT]]
      Loads the drive as the simulator does, starts it at virtual time 0 (at the route's start, or at station
      K, numbered from 0) and runs it for N milliseconds (N >= 0), printing one JSON line after every tick:
      t_ms, tick, every TrainState and ControlState field by name, the handle texts, the overlay texts, the
      station flags, calloutQueue (the call-outs waiting, head first), lamps (the lit panel lamps), uiEvents
      (window commands such as BackClick) and soundOps (every sound-bank request since the previous line, in
      order, whether or not the channel holds a wave: ["bind", ch, "file" or null], ["play_once", ch],
      ["play_loop", ch], ["stop", ch], ["set_volume", ch, hundredths of a dB], ["set_rate", ch, factor]; the
      first line includes the binds of loading). --seed S seeds the random draws (the door chance of one-man
      trains; default 0): the same seed repeats the drive. --realtime runs the drive at the pace of the wall
      clock instead of as fast as possible; with --audio its sounds play on the sound device (OpenAL), so that
      a line can be listened to. --every T (T >= 1) prints every T-th tick's line and the last one; --summary
      prints a readable summary of the drive instead (with --every, as well): where the train stopped and how
      far from the stopping mark, and the speed at which it passed the stations it did not stop at. Route
      files are line_*.dat, vehicle files train_*.dat; a route file that is not a route is refused.
      --autopilot lets the automatic driver drive (after the script's events, if any) until the run ends
      (--ms is then optional); with --summary it reports each station (arrival and departure against the
      timetable, the stopping error in cm), the overspeeds, the latest departure and earliest arrival, the
      wall time, and ends with the line
        autopilot: S stops, worst stop error E cm, latest arrival L s, protection interventions P,
        emergency brakings B
      --plot FILE.svg writes the run curve: speed over distance with the limits, signals, stations and
      stopping errors, and the notches under it; --plot-against drives the service once more (by the
      automatic driver, or by the script SCRIPT) and draws that drive over this one.
      The script holds one event per line ("#" starts a comment):
        T char C | T key NAME [shift] | T keyup NAME | T hold 3|4 on|off | T set FIELD VALUE
      with T in milliseconds; events at one time apply in file order before the routines due then.
      --save FILE --save-at T writes the drive's saved state at T ms to FILE as the Save menu stores it (the
      state line, then the title); --restore FILE restores the state line on FILE's first line at T ms (default
      0), as the Save menu's restore does. A state that cannot be restored (damaged, saved on another route file,
      outside the line) prints its message and exits with status 2 before the drive runs.
)";

constexpr std::string_view kUsageTail = R"(
  --help
      Prints this text.

A data error prints the simulator's own message on stderr, and on a second line where it was found and what it
means (as vesk-check says it), and exits with status 2. A message the simulator shows and goes on after (the
video, the controller map) goes to stderr, and so do warnings about values the simulator accepts but that leave
a train that cannot be driven (as vesk-check gives them). Wrong usage exits with status 1.
)";

// The usage text, with the key names of scripts from the simulator's own key table.
std::string usage() {
  std::string keys = "      NAME is one of:";
  for (const auto& [key, name] : vesk::sim::kKeyNames) keys += " " + std::string(name);
  return std::string(kUsageHead) + keys + "\n" + std::string(kUsageTail);
}

int usageError(std::string_view what) {
  std::cerr << "vesk-sim: " << what << "\n\n" << usage();
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  // Qt's image and text services need an application object, though nothing is shown; drawing a run curve
  // needs fonts, which come with a GUI application (on the offscreen platform unless one is chosen).
  const bool plots = std::find(args.begin(), args.end(), "--plot") != args.end();
  if (plots && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  std::unique_ptr<QCoreApplication> app =
      plots ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
  if (args.empty()) return usageError("no command given");
  const std::string command = args.front();
  args.erase(args.begin());
  try {
    if (command == "--help" || command == "-h" || command == "help") {
      std::cout << usage();
      return 0;
    }
    if (command == "dump-vehicle") return vesk::tools::dumpVehicle(args);
    if (command == "dump-route") return vesk::tools::dumpRoute(args);
    if (command == "dump-strings") return vesk::tools::dumpStrings(args);
    if (command == "run") return vesk::tools::runDrive(args);
  } catch (const vesk::tools::UsageError& e) {
    return usageError(e.what());
  } catch (const vesk::tools::DriveChoiceError& e) {
    std::cerr << "vesk-sim: " << e.what() << '\n';
    return 1;
  } catch (const vesk::sim::ScriptError& e) {
    std::cerr << "vesk-sim: " << e.what() << '\n';
    return 1;
  } catch (const std::invalid_argument& e) {
    return usageError(e.what());
  }
  return usageError("unknown command " + command);
}
