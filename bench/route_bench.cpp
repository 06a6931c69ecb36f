// Route loading: a route file whose every table is full (501 stations, signals, slopes, sounds ..., 1000 call-out
// files and crossings), with its sign and signal pictures, read and turned into track positions.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "core/sjis.h"
#include "data/route_file.h"
#include "data/track_positions.h"
#include "support/media_files.h"
#include "support/temp_dir.h"

namespace {

std::string rows(const std::string& key, int n, const std::function<std::string(int)>& row) {
  std::string text = key + "\r\n";
  for (int i = 0; i < n; ++i) text += row(i) + "\r\n";
  return text + "#\r\n";
}

std::string fullRoute() {
  const auto s = [](int i) { return std::to_string(i); };
  std::string t = "[LineName]\r\n試験線\r\n[StartPos]\r\n10\r\n[Friction]\r\n0.3\r\n[DataName]\r\nfull\r\n";
  t += rows("[SpeedUnit]", 501, [&](int i) { return s(i * 300) + "," + s(i * 300 + 300) + ",60,70"; });
  t += rows("[Station]", 501,
            [&](int i) { return "駅" + s(i) + ",0," + s(i * 300 + 150) + ",2000,0,1,0,25200,60,1,0,0,0,0,50"; });
  t += rows("[Signal]", 501, [&](int i) {
    return "0,0,1,2," + s(i * 300) + "," + s(i * 300 + 200) + "," + s(i * 300 + 100) + "," + s(i * 300 + 120) +
           ",0,0,0,400,100,0,0,0,0,0,0,0,0,0";
  });
  t += rows("[Speed_Signal]", 11, [&](int i) { return s(i * 10); });
  t += rows("[Slope]", 501, [&](int i) { return s(i % 25) + ".5," + s(i * 300) + "," + s(i * 300 + 250); });
  t += rows("[SpeedLimit]", 501, [&](int i) { return "45,1,1," + s(i * 300 + 30) + "," + s(i * 300 + 60) + ",0"; });
  t += rows("[SpeedCheck1]", 501, [&](int i) { return "25,2," + s(i * 300 + 40) + ",0"; });
  t += rows("[SpeedCheck2]", 501, [&](int i) { return "25,2," + s(i * 300 + 40) + "," + s(i * 300 + 80); });
  t += rows("[Tunnel]", 501, [&](int i) { return s(i * 300 + 10) + "," + s(i * 300 + 90) + ",200"; });
  t += rows("[Time]", 100, [&](int i) { return s(i * 300) + "," + s(i * 300 + 100) + ",25000"; });
  t += rows("[Switch]", 501, [&](int i) { return s(i * 300 + 5) + ",1"; });
  t += rows("[MovieStop]", 100, [&](int i) { return s(150000 + i); });
  t += rows("[Pre_Train]", 999, [&](int i) { return i == 0 ? std::string("100,5") : s(i % 501) + ",60,25200"; });
  t += rows("[SoundData]", 100, [&](int i) { return "sound\\s" + s(i) + ".wav"; });
  t += rows("[Announce]", 498, [&](int i) { return i == 0 ? std::string("1") : "1,0," + s(i) + ",300"; });
  t += rows("[KankoSound2]", 479, [&](int i) { return "sound\\k" + s(i) + ".wav"; });
  t += rows("[Sound]", 501, [&](int i) { return "1," + s(i * 300) + "," + s(i * 300 + 200) + ",60,1,1,1,0"; });
  t += rows("[Sound2]", 501, [&](int) { return std::string("1,0,3"); });
  t += rows("[Doppler]", 500, [&](int i) { return "2," + s(i * 300 + 70) + ",5000,0,0"; });
  t += rows("[Atten]", 501, [&](int i) { return s(i * 300) + "," + s(i * 300 + 90) + ",0,80"; });
  t += rows("[StopSound]", 501, [&](int i) { return s(i % 100); });
  t += rows("[TrafficSignal]", 501, [&](int i) {
    return s(i * 300) + ",1,2,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21," + s(i * 300 + 50) + ",23,24,25,26";
  });
  t += rows("[Sign]", 501, [&](int i) { return "2," + s(i * 300) + "," + s(i * 300 + 30) + ",5"; });
  t += rows("[Anim]", 501, [&](int i) { return s(i * 300) + "," + s(i * 300 + 30) + ",3,1"; });
  t += rows("[SignalKanko]", 501, [&](int i) { return s(i) + ",1,2"; });
  t += rows("[StationKanko]", 501, [&](int i) { return s(i) + ",1,3"; });
  t += rows("[OtherKanko]", 1000, [&](int i) { return "sound\\o" + s(i) + ".wav"; });
  t += rows("[LimitKanko]", 1000, [&](int i) { return "sound\\l" + s(i) + ".wav"; });
  t += rows("[Cross]", 1000, [&](int i) { return "1,2," + s(i * 150) + "," + s(i * 150 + 40) + ",0"; });
  t += "[SignImageList]\r\nsign.bmp,32\r\nline.bmp,4\r\nline.bmp,4\r\nline.bmp,4\r\nsign.bmp,32\r\nsign.bmp,32\r\n"
       "remain.bmp,16\r\nsign.bmp,32\r\n";
  t += "[SignalImageList]\r\n0,0,24,48,signal.bmp\r\n16,16,sub.bmp\r\n16,16,sub.bmp\r\n16,16,sub.bmp\r\n";
  t += rows("[AnimImageList]", 14, [&](int) { return std::string("anim.bmp"); });
  t += rows("[CrossImageList]", 4, [&](int) { return std::string("anim.bmp"); });
  return vesk::core::utf8ToSjis(t);
}

}  // namespace

int main() {
  vesk::test::TempDir dir;
  const auto pic = [](int w, int h) {
    return vesk::test::bmp24(vesk::test::picture(w, h, [](int x, int) { return qRgb(x % 256, 0, 0); }));
  };
  dir.write("sign.bmp", pic(1280, 32));
  dir.write("line.bmp", pic(800, 4));
  dir.write("remain.bmp", pic(64, 900));
  dir.write("signal.bmp", pic(960, 48));
  dir.write("sub.bmp", pic(320, 16));
  dir.write("anim.bmp", pic(100, 75));
  const std::string bytes = fullRoute();
  vesk::data::UiStrings strings;
  strings.viewWidth = 800;
  strings.viewHeight = 450;

  std::vector<double> ms;
  int stations = 0, crossings = 0, beacons = 0;
  for (int run = 0; run < 7; ++run) {
    vesk::media::DrivePictures pictures;
    const auto start = std::chrono::steady_clock::now();
    auto route = vesk::data::readRouteFile(bytes, dir.path(), "line_full.dat", {strings, "train.dat"}, pictures);
    vesk::data::computeTrackPositions(*route);
    stations = route->stationCount;
    crossings = route->crossingCount;
    beacons = route->atsBeaconCount;
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(ms.begin(), ms.end());
  std::printf(
      "route file with every table full (%zu KB), read and positioned: %.1f ms (median of 7; min %.1f, max %.1f)\n",
      bytes.size() / 1024, ms[3], ms.front(), ms.back());
  std::printf("  (%d stations, %d crossings, %d ATS-P beacons)\n", stations, crossings, beacons);
  return 0;
}
