#include "vesk_sim/commands.h"
#include "vesk_sim/autopilot_report.h"
#include "vesk_sim/data_report.h"
#include "vesk_sim/drive_summary.h"
#include "vesk_sim/run_checks.h"
#include "vesk_sim/run_plot.h"

#include <chrono>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>

#include "core/number_parse.h"
#include "data/data_error.h"
#include "data/string_file.h"
#include "data/vehicle_file.h"
#include "media/openal_sound_bank.h"
#include "media/recording_sound_bank.h"
#include "media/video_source.h"
#include "media/virtual_sound_bank.h"
#include "sim/autopilot.h"
#include "sim/drive_runner.h"
#include "sim/drive_setup.h"
#include "sim/realtime_runner.h"
#include "sim/run_record.h"
#include "sim/saved_state.h"
#include "sim/script.h"
#include "vesk_sim/json_writer.h"
#include "vesk_sim/options.h"
#include "vesk_sim/route_json.h"
#include "vesk_sim/state_json.h"
#include "vesk_sim/vehicle_json.h"

namespace vesk::tools {
namespace {

sim::LoadServices headlessServices() {
  sim::LoadServices services;
  services.notice = [](std::string_view message) { std::cerr << message << '\n'; };
  services.videoFrameCount = media::videoFrameCount;
  return services;
}

sim::DriveChoice driveChoice(const Options& o, const std::string& route) {
  sim::DriveChoice choice;
  choice.programDir = o.value("--program-dir");
  choice.vehicleDir = o.valueOr("--vehicle-dir", "");
  choice.vehicleFileName = o.value("--vehicle");
  choice.routeFileName = route;
  if (o.has("--start-station")) {
    choice.startStation = static_cast<int>(parseNumberOption("--start-station", o.value("--start-station")));
  }
  return choice;
}

// "Kanko=1,ATS=1": the preferences (and controller calibration) a drive starts with.
sim::Settings parseSettings(const std::string& text) {
  sim::Settings s;
  std::istringstream in(text);
  std::string item;
  while (std::getline(in, item, ',')) {
    const auto eq = item.find('=');
    if (eq == std::string::npos) throw UsageError("--settings takes name=value pairs, not " + item);
    const std::string name = item.substr(0, eq);
    const int value = static_cast<int>(parseNumberOption(name, item.substr(eq + 1)));
    if (name == "Kanko")
      s.Kanko = value;
    else if (name == "Information")
      s.Information = value;
    else if (name == "ATS")
      s.ATS = value;
    else if (name == "Tunnel")
      s.Tunnel = value;
    else if (name == "Moji")
      s.Moji = value;
    else
      throw UsageError("unknown setting " + name);
  }
  return s;
}

// The sound bank a run plays on, chosen here and nowhere else: with --audio the sound device through OpenAL
// (a drive at the wall clock's pace, to be listened to); otherwise the virtual bank, which answers from the
// drive's virtual time (`now`) how long each sound plays.
std::unique_ptr<media::SoundBank> chooseSoundBank(const Options& options, std::function<std::int64_t()> now) {
  if (options.flags.count("--audio") != 0) {
    if (options.flags.count("--realtime") == 0) throw UsageError("--audio plays the drive aloud: add --realtime");
    return std::make_unique<media::OpenAlSoundBank>();
  }
  auto bank = std::make_unique<media::VirtualSoundBank>(std::move(now));
  bank->setRecording(false);
  return bank;
}

}  // namespace

int dumpVehicle(const std::vector<std::string>& args) {
  const Options o = parseOptions(args, {"--vehicle-dir"}, {"--pretty"});
  if (o.positional.size() != 1) throw UsageError("dump-vehicle takes one vehicle file");
  media::ImageList images;
  media::SpriteEngine sprites;
  try {
    data::VehicleSpec spec = data::loadVehicleFile(o.valueOr("--vehicle-dir", ""), o.positional[0], images, sprites);
    data::applyPostLoadChecks(spec);
    JsonWriter w(o.flags.count("--pretty") != 0);
    writeVehicleJson(w, spec);
    std::cout << w.str() << '\n';
  } catch (const data::DataError& error) {
    reportDataError(std::cerr, error, o.valueOr("--vehicle-dir", ""));
    return 2;
  }
  return 0;
}

int dumpRoute(const std::vector<std::string>& args) {
  const Options o = parseOptions(args, {"--program-dir", "--vehicle-dir", "--vehicle"}, {"--pretty"});
  if (o.positional.size() != 1) throw UsageError("dump-route takes one route file");
  media::VirtualSoundBank bank([] { return std::int64_t{0}; });
  const sim::DriveChoice choice = driveChoice(o, o.positional[0]);
  try {
    const auto loaded = sim::loadDrive(choice, bank, headlessServices());
    JsonWriter w(o.flags.count("--pretty") != 0);
    writeRouteJson(w, *loaded->route);
    std::cout << w.str() << '\n';
  } catch (const data::DataError& error) {
    reportDataError(std::cerr, error, folderOfError(error, choice));
    return 2;
  }
  return 0;
}

int dumpStrings(const std::vector<std::string>& args) {
  const Options o = parseOptions(args, {"--program-dir"}, {"--pretty"});
  if (!o.positional.empty()) throw UsageError("dump-strings takes no file");
  try {
    const data::UiStrings strings = data::loadStringFile(o.value("--program-dir"));
    JsonWriter w(o.flags.count("--pretty") != 0);
    writeStringsJson(w, strings);
    std::cout << w.str() << '\n';
  } catch (const data::DataError& error) {
    reportDataError(std::cerr, error, o.value("--program-dir"));
    return 2;
  }
  return 0;
}

namespace {

// --restore FILE [--restore-at T]: the saved state on the first line of FILE (as the Save menu stores it), checked
// before the drive runs and restored at T. --save FILE --save-at T: the state line and the title written to FILE
// at T. A state that cannot be restored prints its message and ends with status 2.
std::optional<int> scheduleSavedStates(const Options& o, sim::DriveRunner& runner, const std::string& route) {
  if (o.has("--restore")) {
    std::ifstream in(o.value("--restore"), std::ios::binary);
    if (!in) throw UsageError("cannot read the saved state " + o.value("--restore"));
    std::string line;
    std::getline(in, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const sim::CheckedState checked = sim::checkSavedState(runner.drive(), route, line);
    if (const auto* refusal = std::get_if<sim::RestoreRefusal>(&checked)) {
      std::cerr << refusal->message << '\n';
      if (!refusal->detail.empty()) std::cerr << o.value("--restore") << ": " << refusal->detail << '\n';
      return 2;
    }
    const std::int64_t at = parseNumberOption("--restore-at", o.valueOr("--restore-at", "0"));
    if (at < 0) throw UsageError("--restore-at takes a time from 0 ms");
    runner.input().push(sim::InputEvent::call([state = std::get<sim::SavedState>(checked)](sim::Drive& d) {
                          sim::restoreState(d, state);
                        }),
                        at);
  }
  if (o.has("--save") != o.has("--save-at")) throw UsageError("--save and --save-at go together");
  if (o.has("--save")) {
    const std::int64_t at = parseNumberOption("--save-at", o.value("--save-at"));
    if (at < 0) throw UsageError("--save-at takes a time from 0 ms");
    runner.input().push(sim::InputEvent::call([file = o.value("--save"), route](sim::Drive& d) {
                          const sim::SavedSlot slot = sim::saveSlot(d, route);
                          std::ofstream out(file, std::ios::binary);
                          out << slot.line << '\n' << slot.title << '\n';
                          if (!out) std::cerr << "cannot write the saved state " << file << '\n';
                        }),
                        at);
  }
  return std::nullopt;
}

}  // namespace

int runDrive(const std::vector<std::string>& args) {
  const Options o = parseOptions(args,
                                 {"--program-dir", "--vehicle-dir", "--vehicle", "--route", "--start-station",
                                  "--script", "--ms", "--settings", "--every", "--seed", "--save", "--save-at",
                                  "--restore", "--restore-at", "--plot", "--plot-against"},
                                 {"--summary", "--realtime", "--audio", "--autopilot"});
  const bool autopilotOn = o.flags.count("--autopilot") != 0;
  const bool summarise = o.flags.count("--summary") != 0;
  if (!o.positional.empty()) throw UsageError("run takes options only");
  const RunNumbers numbers = checkRunNumbers(o, summarise);
  const std::int64_t every = numbers.every;
  const std::int64_t durationMs = numbers.durationMs;
  std::vector<sim::ScriptEvent> events;
  if (o.has("--script")) {
    std::ifstream in(o.value("--script"), std::ios::binary);
    if (!in) throw UsageError("cannot read the script " + o.value("--script"));
    std::stringstream text;
    text << in.rdbuf();
    events = sim::parseScript(text.str());
  }
  // The bank's clock is the drive's virtual time, which the runner keeps once the drive is loaded. Every request
  // to the bank is listed for the trace.
  std::optional<sim::DriveRunner> runner;
  const auto bank = chooseSoundBank(o, [&runner] { return runner ? runner->now() : std::int64_t{0}; });
  media::RecordingSoundBank recorder(*bank);
  recorder.setRecording(every > 0);
  const sim::DriveChoice choice = driveChoice(o, o.value("--route"));
  checkDriveChoice(choice);
  std::unique_ptr<sim::LoadedDrive> loaded;
  try {
    loaded = sim::loadDrive(choice, recorder, headlessServices(), parseSettings(o.valueOr("--settings", "")));
  } catch (const data::DataError& error) {
    reportDataError(std::cerr, error, folderOfError(error, choice));
    return 2;
  }
  warnAboutData(std::cerr, *loaded, choice);
  sim::Drive& drive = *loaded->drive;
  // The door-chance roll draws from a seeded source: the same seed gives the same drive.
  const std::int64_t seed = o.has("--seed") ? parseNumberOption("--seed", o.value("--seed")) : 0;
  if (seed < 0 || seed > 0xFFFFFFFFLL) throw UsageError("--seed takes a number from 0 to 4294967295");
  drive.seedRandom(static_cast<std::uint32_t>(seed));
  DriveSummary summary(*loaded, o.value("--route"), o.value("--vehicle"));
  runner.emplace(drive);
  // The automatic driver presses its keys a millisecond after the tick it saw; the record follows the drive.
  std::optional<sim::Autopilot> autopilot;
  if (autopilotOn) autopilot.emplace(drive);
  sim::RunRecord record(drive);
  const auto printLine = [&] { std::cout << stateLine(drive, runner->now(), runner->ticks()) << '\n'; };
  runner->setAfterTick([&] {
    summary.afterTick(drive);
    record.afterTick(drive);
    if (every > 0 && runner->ticks() % every == 0) printLine();
    if (autopilot) sim::pressAutopilotKeys(*autopilot, *runner);
  });
  const auto started = std::chrono::steady_clock::now();
  for (const sim::ScriptEvent& e : events) {
    if (e.timeMs <= durationMs) runner->input().push(sim::scriptInput(e), e.timeMs);
  }
  if (const std::optional<int> refused = scheduleSavedStates(o, *runner, choice.routeFileName)) return *refused;
  if (o.flags.count("--realtime") != 0) {
    // At the pace of the clock on the wall, on the simulation thread the simulator's window uses.
    sim::RealTimeRunner paced(*runner);
    paced.setEndTime(durationMs);
    paced.start();
    paced.waitUntilEnded();
    paced.stop();
  } else if (autopilot) {
    // The automatic driver's drive ends with the run.
    runner->runUntil(durationMs, [&] { return record.runEnded(); });
  } else {
    runner->runUntil(durationMs);
  }
  const double wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  // The last tick's line always comes, when lines were asked for.
  if (every > 1 && runner->ticks() % every != 0) printLine();
  if (summarise) std::cout << summary.text(runner->now());
  if (autopilot && summarise) {
    std::cout << autopilotReport(record, static_cast<double>(runner->now()) / 1000, wallSeconds);
  }
  if (o.has("--plot")) {
    const std::string title = o.value("--route") + " / " + o.value("--vehicle");
    std::vector<PlottedDrive> drives = {{autopilotOn ? "automatic driver" : "this drive", &record}};
    std::unique_ptr<sim::RunRecord> other;
    if (o.has("--plot-against")) {
      const std::string against = o.value("--plot-against");
      other = recordAnotherDrive(choice, parseSettings(o.valueOr("--settings", "")), static_cast<std::uint32_t>(seed),
                                 against, durationMs);
      drives.push_back({against == "autopilot" ? "automatic driver" : against, other.get()});
    }
    writeRunCurve(o.value("--plot"), title, drives);
  }
  return 0;
}

}  // namespace vesk::tools
