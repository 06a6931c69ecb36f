// vesk-demo-line: writes the demo line's complete program folder (data files, pictures, sounds and the two route
// videos) from code. The same code writes the same bytes every time.
#include <QGuiApplication>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>

#include "demo_line/line_model.h"
#include "demo_line/pack_files.h"
#include "demo_line/pictures.h"
#include "demo_line/sound_synth.h"
#include "demo_line/video.h"

namespace {

namespace fs = std::filesystem;
using vesk::demo::Line;

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

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::string(argv[1]) == "--help") {
    std::fprintf(stderr, "usage: vesk-demo-line OUTPUT-FOLDER [--no-video]\n");
    return argc < 2 ? 1 : 0;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const fs::path root = argv[1];
  const bool video = !(argc > 2 && std::string(argv[2]) == "--no-video");
  std::error_code ec;
  fs::create_directories(root, ec);
  const auto start = std::chrono::steady_clock::now();

  std::mutex printing;
  auto say = [&](const std::string& text) {
    std::lock_guard<std::mutex> lock(printing);
    std::printf("[%5.1f s] %s\n", seconds(start), text.c_str());
    std::fflush(stdout);
  };

  // The videos take longest: one thread a direction, started first.
  bool videosOk = true;
  std::vector<std::thread> threads;
  if (video) {
    for (bool down : {true, false}) {
      threads.emplace_back([&, down] {
        const std::string name = down ? "down" : "up";
        const auto recording = vesk::demo::recordingOf(down);
        int lastTenth = -1;
        const bool ok = vesk::demo::writeVideo(root / "movie" / (name + ".avi"), vesk::demo::lineInDirection(down),
                                               recording, [&](double done) {
                                                 const int tenth = static_cast<int>(done * 10);
                                                 if (tenth != lastTenth) {
                                                   lastTenth = tenth;
                                                   say("video " + name + " " + std::to_string(tenth * 10) + " %");
                                                 }
                                               });
        if (!ok) videosOk = false;
        say("video " + name + (ok ? " written" : " FAILED"));
      });
    }
  }
  bool ok =
      vesk::demo::writeStringFiles(root) && vesk::demo::writeVehicleFiles(root) && vesk::demo::writeRouteFiles(root);
  say(ok ? "data files written" : "data files FAILED");
  vesk::demo::writePictures(root, pictureInputs());
  say("pictures written");
  ok = vesk::demo::writeSounds(root) && ok;
  say(ok ? "sounds written" : "sounds FAILED");
  for (std::thread& t : threads) t.join();
  ok = ok && videosOk;
  say(ok ? "demo line written to " + root.string() : "demo line FAILED");
  return ok ? 0 : 1;
}
