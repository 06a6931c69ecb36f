#include "support/test_pack.h"

#include "support/media_files.h"

namespace vesk::test {

std::string packStringFile() {
  return "[Disp]\n30,2\n600\n800\n450\n400\n[Path]\nmovie\\\n[Forward]\n前\n[Neutral]\n切\n[Reverse]\n後\n"
         "[Stop]\n停車\n[Pass]\n通過\n[Stop2]\n運転停車\n[Neut]\n緩め\n[Neut2]\n切\n[Apply]\n重なり\n[Maintain]\n保ち\n"
         "[Remove]\n緩解\n[Hold]\n抑速\n[Hold2]\n抑速\n[EB]\n非常\n[Const]\n定速\n[Cars]\n両編成\n[TC]\n信号待ち\n"
         "[Stops]\n停車駅\n通過駅\n[Doors]\nドア閉\nドア開\n[Gears]\n中立\n1速\n直結\n[InfoLabel]"
         "\n回送\nドアを開けてください\n#\n"
         "[Start]\n開始\n[Move]\n移動\n[Display]\n表示\n[Control]\nコントローラ\n[Save]\n保存\n";
}

std::string packVehicleFile() {
  return "[Handle]\n0\n[BrakeType]\n1\n[BrakeType2]\n1\n[Brake]\n8\n[Power]\n4\n[BrakeRate]\n4.2\n3.5\n40\n"
         "[BrakeRate2]\n0.03\n[PowerDelay]\n3\n[BrakeDelay]\n6\n[EBrakeDelay]\n6\n[SAPDelay]\n3\n[EBPress]\n480\n"
         "[MAXPress]\n440\n[Engine_Type]\n1\n[Power_Type]\n1\n[Mt]\n60\n[Tt]\n0\n[Tct]\n40\n[Cars]\n3\n[Tons]\n100\n"
         "[MaxSpeed]\n110\n[ATS_Type]\n1\n"
         "[Notch]\n2\n2\n30\n60\n0.97\n0\n2.5\n2.5\n40\n70\n0.97\n0\n2.8\n2.8\n50\n80\n0.97\n0\n3\n3\n60\n90\n0."
         "97\n0\n#\n"
         "[PowerMode]\nP,通常\n#\n"
         "[DriveSound]\nsound\\run0.wav\n\nsound\\run2.wav\n#\n"
         "[NotchImageP]\n560\n520\n10\n8\nimage\\notch.bmp\n";
}

std::string packRouteFile() {
  return "[LineName]\nテスト線\n[LineName2]\n各駅停車\n[StartPos]\n30\n[FrameRate]\n15\n"
         "[Staf]\nimage\\staf1.bmp\nimage\\staf2.bmp\nimage\\staf3.bmp\n[Friction]\n0.3\n"
         "[MovieStop]\n2950\n#\n[Speed_Signal]\n0\n25\n45\n75\n110\n#\n[DataName]\ntest\n[Perspective]\n12.5\n120\n"
         "[OneMan]\n0\n[SoundData]\nsound\\env0.wav\nsound\\env1.wav\n#\n"
         "[KankoSound1]\n" +
         [] {
           std::string lines;
           for (int i = 0; i < 22; ++i) lines += "sound\\call" + std::to_string(i % 2) + ".wav\n";
           return lines;
         }() +
         "[KankoSound2]\nsound\\call0.wav\n#\n"
         "[Tunnel]\n600,900,200\n#\n[TunnelR]\n5\n"
         "[Station]\n始発,0,30,2000,0,1,0,25200,60,1,0,0,0,0,50\n中間,0,1500,2000,0,1,0,25800,60,1,0,0,0,0,50\n"
         "終点,0,2900,2000,0,1,0,26400,60,1,0,0,0,0,50\n#\n"
         "[Signal]\n0,0,1,2,1000,1200,1100,1150,0,0,0,400,100,0,0,0,0,0,0,0,0,0\n#\n"
         "[Slope]\n10,200,500\n-5,700,1000\n#\n[SpeedLimit]\n45,1,1,2000,2300,0\n#\n"
         "[SignImageList]\nimage\\teimoku.bmp,32\nimage\\line.bmp,4\nimage\\line.bmp,4\nimage\\line.bmp,4\n"
         "image\\slope.bmp,32\nimage\\limit.bmp,32\nimage\\remain.bmp,16\nimage\\other.bmp,32\n"
         "[SignalImageList]\n10,-20,24,48,image\\signal.bmp\n16,16,image\\sub.bmp\n16,16,image\\sub.bmp\n"
         "16,16,image\\sub.bmp\n"
         "[AnimImageList]\nimage\\anim.bmp\nimage\\anim.bmp\n#\n"
         "[SpeedUnit]\n0,1500,60,60\n1500,3000,60,60\n#\n";
}

void writeText(const TempDir& dir, const std::string& name, const std::string& utf8) {
  dir.write(name, sjis(crlf(utf8)));
}

void writePack(const TempDir& dir) {
  writeText(dir, "velmarix.dat", packStringFile());
  dir.write("mascon.dat", "P1   \r\nP2   \r\n#\r\n");
  writeText(dir, kPackVehicle, packVehicleFile());
  writeText(dir, kPackRoute, packRouteFile());
  const auto solid = [](int w, int h) {
    return bmp24(picture(w, h, [](int x, int y) { return (x + y) % 2 == 0 ? qRgb(255, 0, 255) : qRgb(20, 200, 20); }));
  };
  dir.write("image/notch.bmp", solid(50, 8));
  for (const char* name : {"staf1", "staf2", "staf3", "teimoku", "slope", "limit", "other"}) {
    dir.write(std::string("image/") + name + ".bmp", solid(64, 32));
  }
  dir.write("image/line.bmp", solid(800, 4));
  dir.write("image/remain.bmp", solid(16, 900));
  dir.write("image/signal.bmp", solid(240, 48));
  dir.write("image/sub.bmp", solid(64, 16));
  dir.write("image/anim.bmp", solid(100, 75));
  dir.write("sound/run0.wav", wave(22050, 22050));
  dir.write("sound/run2.wav", wave(22050, 11025));
  dir.write("sound/env0.wav", wave(11025, 11025 * 5 / 2));                   // 2.5 s: 2 by halves to even
  dir.write("sound/env1.wav", waveWithChunkBeforeData(8000, 8000 * 7 / 2));  // 3.5 s: 4
  dir.write("sound/call0.wav", wave(22050, 2205));
  dir.write("sound/call1.wav", wave(22050, 4410));
}

}  // namespace vesk::test
