#include "vesk_sim/commands.h"
#include "vesk_sim/drive_summary.h"

#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>

#include "core/number_parse.h"
#include "data/data_error.h"
#include "data/string_file.h"
#include "data/vehicle_file.h"
#include "media/video_source.h"
#include "media/virtual_sound_bank.h"
#include "sim/drive_runner.h"
#include "sim/drive_setup.h"
#include "sim/state_fields.h"
#include "vesk_sim/json_writer.h"
#include "vesk_sim/options.h"
#include "vesk_sim/route_json.h"
#include "vesk_sim/script.h"
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

class FieldSetter {
 public:
  FieldSetter(const std::string& name, const std::string& text) : name_(name), text_(text) {}
  template <class T> void operator()(std::string_view name, T& field) {
    if (name != name_) return;
    found_ = true;
    ok_ = assign(field);
  }
  bool found() const { return found_; }
  bool ok() const { return ok_; }

 private:
  bool assign(std::int32_t& f) { return store(core::parseInt(text_), f); }
  bool assign(std::uint8_t& f) {
    const auto v = core::parseInt(text_);
    if (!v || *v < 0 || *v > 255) return false;
    f = static_cast<std::uint8_t>(*v);
    return true;
  }
  bool assign(double& f) { return store(core::parseReal(text_), f); }
  bool assign(core::Fixed& f) { return store(core::parseDec(text_), f); }
  bool assign(std::string& f) {
    f = text_;
    return true;
  }
  template <std::size_t N> bool assign(std::array<std::int32_t, N>&) { return false; }
  template <class V, class F> static bool store(const std::optional<V>& v, F& f) {
    if (!v) return false;
    f = *v;
    return true;
  }
  const std::string& name_;
  const std::string& text_;
  bool found_ = false;
  bool ok_ = false;
};

sim::Key keyByName(const std::string& name) {
  // The script reader has checked the name.
  return sim::keyFromName(name).value_or(sim::Key::Enter);
}

// A script event as the drive's input.
sim::InputEvent inputOf(const ScriptEvent& e) {
  switch (e.kind) {
  case ScriptEvent::Kind::Set:
    return sim::InputEvent::call([e](sim::Drive& drive) {
      FieldSetter setter(e.subject, e.value);
      sim::visitTrainStateFields(drive.state, setter);
      sim::visitControlStateFields(drive.control, setter);
      if (!setter.found()) throw ScriptError(e.line, "no field " + e.subject);
      if (!setter.ok()) throw ScriptError(e.line, e.value + " does not fit " + e.subject);
    });
  case ScriptEvent::Kind::Hold:
    return sim::InputEvent::hold(e.subject[0], e.value == "on");
  case ScriptEvent::Kind::Char:
    return sim::InputEvent::typed(e.subject[0]);
  case ScriptEvent::Kind::Key:
    return sim::InputEvent::keyDown(keyByName(e.subject), e.shift);
  case ScriptEvent::Kind::KeyUp:
    return sim::InputEvent::keyUp(keyByName(e.subject));
  }
  return {};
}

void reportDataError(const data::DataError& error) {
  std::cerr << error.message() << '\n';
  if (!error.where().empty()) std::cerr << error.where() << '\n';
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
    reportDataError(error);
    return 2;
  }
  return 0;
}

int dumpRoute(const std::vector<std::string>& args) {
  const Options o = parseOptions(args, {"--program-dir", "--vehicle-dir", "--vehicle"}, {"--pretty"});
  if (o.positional.size() != 1) throw UsageError("dump-route takes one route file");
  media::VirtualSoundBank bank([] { return std::int64_t{0}; });
  try {
    const auto loaded = sim::loadDrive(driveChoice(o, o.positional[0]), bank, headlessServices());
    JsonWriter w(o.flags.count("--pretty") != 0);
    writeRouteJson(w, *loaded->route);
    std::cout << w.str() << '\n';
  } catch (const data::DataError& error) {
    reportDataError(error);
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
    reportDataError(error);
    return 2;
  }
  return 0;
}

int runDrive(const std::vector<std::string>& args) {
  const Options o = parseOptions(args,
                                 {"--program-dir", "--vehicle-dir", "--vehicle", "--route", "--start-station",
                                  "--script", "--ms", "--settings", "--every", "--seed"},
                                 {"--summary"});
  const bool summarise = o.flags.count("--summary") != 0;
  const std::int64_t every = o.has("--every") ? parseNumberOption("--every", o.value("--every")) : (summarise ? 0 : 1);
  if (!o.positional.empty()) throw UsageError("run takes options only");
  const std::int64_t durationMs = parseNumberOption("--ms", o.value("--ms"));
  std::vector<ScriptEvent> events;
  if (o.has("--script")) {
    std::ifstream in(o.value("--script"), std::ios::binary);
    if (!in) throw UsageError("cannot read the script " + o.value("--script"));
    std::stringstream text;
    text << in.rdbuf();
    events = parseScript(text.str());
  }
  // The bank's clock is the drive's virtual time, which the runner keeps once the drive is loaded.
  std::optional<sim::DriveRunner> runner;
  media::VirtualSoundBank bank([&runner] { return runner ? runner->now() : std::int64_t{0}; });
  bank.setRecording(false);
  std::unique_ptr<sim::LoadedDrive> loaded;
  try {
    loaded = sim::loadDrive(driveChoice(o, o.value("--route")), bank, headlessServices(),
                            parseSettings(o.valueOr("--settings", "")));
  } catch (const data::DataError& error) {
    reportDataError(error);
    return 2;
  }
  sim::Drive& drive = *loaded->drive;
  // The door-chance roll draws from a seeded source: the same seed gives the same drive.
  const std::int64_t seed = o.has("--seed") ? parseNumberOption("--seed", o.value("--seed")) : 0;
  if (seed < 0 || seed > 0xFFFFFFFFLL) throw UsageError("--seed takes a number from 0 to 4294967295");
  drive.seedRandom(static_cast<std::uint32_t>(seed));
  DriveSummary summary(*loaded, o.value("--route"), o.value("--vehicle"));
  runner.emplace(drive);
  const auto printLine = [&] { std::cout << stateLine(drive, runner->now(), runner->ticks()) << '\n'; };
  runner->setAfterTick([&] {
    summary.afterTick(drive);
    if (every > 0 && runner->ticks() % every == 0) printLine();
  });
  for (const ScriptEvent& e : events) {
    if (e.timeMs <= durationMs) runner->input().push(inputOf(e), e.timeMs);
  }
  runner->runUntil(durationMs);
  // The last tick's line always comes, when lines were asked for.
  if (every > 1 && runner->ticks() % every != 0) printLine();
  if (summarise) std::cout << summary.text(runner->now());
  return 0;
}

}  // namespace vesk::tools
