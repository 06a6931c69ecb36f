// vesk-demo-line: writes the demo line's complete program folder (data files, pictures, sounds and the two route
// videos) from code. The same code writes the same bytes every time.
#include <QGuiApplication>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "demo_line/line_model.h"
#include "demo_line/pack_files.h"
#include "demo_line/pictures.h"
#include "demo_line/sound_synth.h"
#include "demo_line/video.h"

namespace {

namespace fs = std::filesystem;
using vesk::demo::Line;

constexpr const char* kUsage = R"(usage: vesk-demo-line [--no-video] OUTPUT-FOLDER

Writes the demo line's whole program folder into OUTPUT-FOLDER (made when it does not exist): the data files,
pictures, sounds and the two route videos. The same bytes every time.

  --no-video   leave the two route videos out (they take most of the time)
  --help, -h   print this text

Exit status: 0 written, 1 wrong usage or a folder that cannot be written.
)";

struct CommandLine {
  fs::path root;
  bool video = true;
  bool help = false;
  std::string problem;  // wrong usage; empty when the folder can be written
};

CommandLine parseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  std::vector<std::string> folders;
  bool optionsEnded = false;
  for (const std::string& arg : args) {
    if (!optionsEnded && (arg == "--help" || arg == "-h")) {
      line.help = true;
      return line;
    }
    if (!optionsEnded && arg == "--no-video") {
      line.video = false;
    } else if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && arg.size() > 1 && arg.front() == '-') {
      line.problem = "unknown option " + arg;
      return line;
    } else {
      folders.push_back(arg);
    }
  }
  if (folders.empty()) {
    line.problem = "no output folder given";
  } else if (folders.size() > 1) {
    line.problem = "one output folder only, not " + std::to_string(folders.size()) + " (" + folders[0] + ", " +
                   folders[1] + (folders.size() > 2 ? ", ..." : "") + ")";
  } else if (folders[0].empty()) {
    line.problem = "the output folder's name is empty";
  } else {
    line.root = folders[0];
  }
  return line;
}

// Makes the folder and tries a file in it, so that a folder that cannot be written is one plain message before
// anything is written.
std::string unwritable(const fs::path& root) {
  std::error_code ec;
  if (fs::exists(root, ec) && !fs::is_directory(root, ec)) return root.string() + " is a file, not a folder";
  fs::create_directories(root, ec);
  if (ec) return "cannot make the folder " + root.string() + ": " + ec.message();
  const fs::path probe = root / ".vesk-demo-line-write-test";
  {
    std::ofstream out(probe, std::ios::binary);
    if (!out) return "cannot write into the folder " + root.string() + ": " + std::strerror(errno);
  }
  fs::remove(probe, ec);
  return {};
}

vesk::demo::PictureInputs pictureInputs() {
  vesk::demo::PictureInputs in;
  for (bool down : {true, false}) {
    const Line l = vesk::demo::lineInDirection(down);
    for (const vesk::demo::Gradient& g : l.gradients) (down ? in.slopesDown : in.slopesUp).push_back(g.permil);
  }
  for (const vesk::demo::Station& s : vesk::demo::demoLine().stations) in.stations.push_back(s.name);
  for (const vesk::demo::SpeedLimit& s : vesk::demo::demoLine().limits) in.limits.push_back(s.kmh);
  return in;
}

double seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Runs one part of the writing; a file system failure (a full disk, a folder made read-only meanwhile) fails the
// part with its reason instead of ending the program.
bool attempt(const std::function<bool()>& part, const std::function<void(const std::string&)>& say) {
  try {
    return part();
  } catch (const fs::filesystem_error& e) {
    say(std::string("cannot write: ") + e.what());
    return false;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const CommandLine line = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (line.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (!line.problem.empty()) {
    std::fprintf(stderr, "vesk-demo-line: %s\n\n%s", line.problem.c_str(), kUsage);
    return 1;
  }
  const fs::path& root = line.root;
  if (const std::string problem = unwritable(root); !problem.empty()) {
    std::fprintf(stderr, "vesk-demo-line: %s\n", problem.c_str());
    return 1;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const auto start = std::chrono::steady_clock::now();

  std::mutex printing;
  auto say = [&](const std::string& text) {
    std::lock_guard<std::mutex> lock(printing);
    std::printf("[%5.1f s] %s\n", seconds(start), text.c_str());
    std::fflush(stdout);
  };

  // The videos take longest: one thread a direction, started first.
  std::atomic<bool> videosOk = true;
  std::vector<std::thread> threads;
  if (line.video) {
    for (bool down : {true, false}) {
      threads.emplace_back([&, down] {
        const std::string name = down ? "down" : "up";
        const auto recording = vesk::demo::recordingOf(down);
        int lastTenth = -1;
        const bool ok = attempt(
            [&] {
              return vesk::demo::writeVideo(root / "movie" / (name + ".avi"), vesk::demo::lineInDirection(down),
                                            recording, [&](double done) {
                                              const int tenth = static_cast<int>(done * 10);
                                              if (tenth != lastTenth) {
                                                lastTenth = tenth;
                                                say("video " + name + " " + std::to_string(tenth * 10) + " %");
                                              }
                                            });
            },
            say);
        if (!ok) videosOk = false;
        say("video " + name + (ok ? " written" : " FAILED"));
      });
    }
  }
  bool ok = attempt(
      [&] {
        return vesk::demo::writeStringFiles(root) && vesk::demo::writeVehicleFiles(root) &&
               vesk::demo::writeRouteFiles(root);
      },
      say);
  say(ok ? "data files written" : "data files FAILED");
  const bool picturesOk = attempt(
      [&] {
        vesk::demo::writePictures(root, pictureInputs());
        return true;
      },
      say);
  say(picturesOk ? "pictures written" : "pictures FAILED");
  const bool soundsOk = attempt([&] { return vesk::demo::writeSounds(root); }, say);
  say(soundsOk ? "sounds written" : "sounds FAILED");
  for (std::thread& t : threads) t.join();
  ok = ok && picturesOk && soundsOk && videosOk;
  say(ok ? "demo line written to " + root.string() : "demo line FAILED");
  return ok ? 0 : 1;
}
