// The five vehicle files of the demo pack: an inverter EMU with the notch table, power modes, the
// electro-pneumatic brake and ATS-P; two resistor EMUs with motor-current notching, the automatic air brake and
// ATS-S; a diesel railcar with automatic gears; a diesel railcar with manual gears and the notched brake.
#include <sstream>
#include <string>
#include <vector>

#include "demo_line/pack_files.h"
#include "demo_line/pack_text.h"
#include "demo_line/panel_layout.h"
#include "demo_line/sound_catalog.h"

namespace vesk::demo {
namespace {

// A vehicle file being written: keys with their value lines.
class VehicleText {
 public:
  void comment(const std::string& text) { out_ << "; " << text << '\n'; }
  template <class... V> void key(const std::string& k, const V&... values) {
    out_ << k << '\n';
    ((out_ << values << '\n'), ...);
  }
  void list(const std::string& k, const std::vector<std::string>& rows) {
    out_ << k << '\n';
    for (const std::string& r : rows) out_ << r << '\n';
    out_ << "#\n";
  }
  void line(const std::string& text) { out_ << text << '\n'; }
  std::string str() const { return out_.str(); }

 private:
  std::ostringstream out_;
};

struct Brakes {
  int type = 1;       // "[BrakeType]"
  int positions = 8;  // "[Brake]" (emergency included)
  int force = 1;      // "[BrakeType2]"
  double decel = 4.2, elecDecel = 3.5, fullSpeed = 40;
  int up = 200, down = 250, ebPress = 480, maxPress = 440;
  int elecMax = 400;
};

void writeBrakes(VehicleText& t, const Brakes& b) {
  t.key("[BrakeType]", b.type);
  t.key("[BrakeType2]", b.force);
  t.key("[Brake]", b.positions);
  t.key("[BrakeRate]", b.decel, b.elecDecel, b.fullSpeed);
  t.key("[BrakeRate2]", "0.03");
  t.key("[BrakeDelay]", 6);
  t.key("[EBrakeDelay]", 6);
  t.key("[SAPDelay]", 3);
  t.key("[BrakeUp]", b.up);
  t.key("[BrakeDown]", b.down);
  t.key("[SAPUp]", 300);
  t.key("[SAPDown]", 300);
  t.key("[EBrakeUp]", 600);
  t.key("[EBrakeDown]", 600);
  t.key("[EBrakeCurr]", b.elecMax);
  t.key("[BPReturn]", 60);
  t.key("[MAXPress]", b.maxPress);
  t.key("[EBPress]", b.ebPress);
  t.key("[SAPPress]", b.maxPress);
  t.key("[HighAirPress]", 880);
  t.key("[LowAirPress]", 780);
  t.key("[ELBR]", 50);
  t.key("[Lose_elec]", 5);
}

// The sound keys: channels of the family's "[DriveSound]" list.
void writeSounds(VehicleText& t, const std::string& family, int brakePositions, int powerNotches) {
  const DriveChannels c;
  auto repeat = [](int channel, int n) {
    std::vector<int> v(static_cast<std::size_t>(n > 0 ? n : 0), channel);
    return v;
  };
  auto lines = [&](const std::string& key, const std::vector<int>& values) {
    t.line(key);
    for (int v : values) t.line(std::to_string(v));
  };
  lines("[Sound_BK]", repeat(c.brakeStep, brakePositions));
  lines("[Sound_BR]", repeat(c.brakeRelease, brakePositions));
  lines("[Sound_BA]", repeat(c.brakeApply, brakePositions + 1));
  lines("[Sound_PA]", repeat(c.powerApply, powerNotches));
  lines("[Sound_PR]", repeat(c.powerRelease, powerNotches));
  t.key("[Sound_EB]", c.emergency);
  t.key("[Sound_Apply]", c.apply, c.applyRelease);
  t.key("[Sound_Ats1]", c.atsBell);
  t.key("[Sound_Ats2]", c.atsChime);
  t.key("[Sound_Ats3]", c.atsConfirm);
  t.key("[Sound_Atc]", c.atc);
  t.key("[Sound_Horn]", c.horn);
  t.key("[Sound_Horn2]", c.horn2);
  t.key("[Sound_Horn3]", c.horn3);
  t.key("[Sound_Horn4]", 0, 0, 0, 0, 0, 0);
  t.key("[Sound_DoorOpen]", c.doorOpen);
  t.key("[Sound_DoorClose]", c.doorClose);
  t.key("[Sound_EBring]", c.ebRing);
  t.key("[Sound_squeak]", c.squeak);
  t.key("[CP_Start]", c.compressorStart);
  t.key("[CP_Cnt]", c.compressorRun);
  t.key("[CP_End]", c.compressorEnd);
  t.key("[Stop]", c.stopWarning);
  t.key("[Buzzer]", c.buzzer);
  t.key("[DepSign]", c.departureSignal);
  t.key("[ATS_Warn]", c.atsWarn);
  t.list("[SwitchSound]", {std::to_string(c.switchLow) + ",40,1", std::to_string(c.switchHigh) + ",999,1",
                           std::to_string(c.switchLow) + ",40,2", std::to_string(c.switchHigh) + ",999,2"});
  std::vector<std::string> files;
  for (const SoundSpec& s : driveSounds(family)) files.push_back(s.file);
  t.list("[DriveSound]", files);
}

// "[EngineSound1]" rows: file, mode, then s0, s1, s2, rate0, rate1, rate2, level0, level1, level2.
void writeEngineSounds1(VehicleText& t, const std::vector<std::pair<int, std::vector<double>>>& rows,
                        const std::vector<SoundSpec>& files) {
  t.line("[EngineSound1]");
  for (std::size_t i = 0; i < rows.size() && i < files.size(); ++i) {
    t.line(files[i].file);
    t.line(std::to_string(rows[i].first));
    for (double v : rows[i].second) {
      std::ostringstream s;
      s << v;
      t.line(s.str());
    }
  }
  t.line("#");
}

void writePanel(VehicleText& t, const PanelLayout& p) {
  t.key("[Clock]", p.clockX, p.clockY, p.clockR);
  t.key("[Panel]", p.panel, 0, 450);
  t.key("[Panel2]", p.panel2, 0, 450);
  for (const Lamp& l : p.lamps) t.key(l.key, l.picture, l.x, l.y);
  for (const Gauge& g : p.gauges) {
    std::ostringstream scale;
    scale << g.scale;
    if (g.key == "[Needle_Speed]") {
      t.key(g.key, g.needle, g.cx - g.r, g.cy - g.r, 0, 0, g.offset, scale.str(), g.lowScale);
    } else if (g.key == "[Needle_I]") {
      t.key(g.key, g.needle, g.cx - g.r, g.cy - g.r, 0, 0, g.offset, scale.str(), g.ammeterMode);
    } else {
      t.key(g.key, g.needle, g.cx - g.r, g.cy - g.r, 0, 0, g.offset, scale.str());
    }
  }
  for (const Strip& s : p.strips) t.key(s.key, s.x, s.y, s.cellW, s.cellH, s.picture);
  if (!p.digiSpeed.empty()) t.key("[Digi_Speed]", p.digiX, p.digiY, p.digiW, p.digiH, p.digiSpeed);
  t.list("[Others]", {});
}

std::string vk500() {
  VehicleText t;
  t.comment("VK500: a three-car inverter EMU. Notch table with two power modes, electro-pneumatic brake with");
  t.comment("electric brake blending, ATS-P.");
  t.key("[Handle]", 0);
  t.key("[Power]", 5);
  t.key("[NotchBack]", 1);
  t.key("[Hold]", 0);
  t.key("[Pull]", 0);
  t.key("[Const]", 0);
  t.key("[Back]", 1);
  t.key("[PowerDelay]", 3);
  t.key("[PowerJerk]", 0);
  t.key("[Engine_Type]", 1);
  t.key("[DoorLock]", 1);
  t.key("[Power_Type]", 1);
  t.key("[Brake_Type]", 1);
  t.key("[DoorType]", 0);
  t.key("[Mt]", "66.0");
  t.key("[Tt]", "0");
  t.key("[Tct]", "30.5");
  t.key("[Cars]", 3);
  t.key("[Tons]", "96.5");
  t.key("[EB]", 1);
  t.key("[MaxSpeed]", 110);
  t.key("[Mc]", 1);
  t.key("[ATS_Type]", 1);
  t.key("[ATS_Alert]", 0);
  t.key("[ATS_Time]", 5);
  t.key("[ATS_Cnt]", 0);
  writeBrakes(t, Brakes{});
  writeSounds(t, "vk500", 8, 5);
  // Notches 1-3: the normal mode; 4-5: a gentler mode for slippery rails.
  t.line("[Notch]");
  const char* rows[] = {"1.2\n1.2\n25\n50\n0.97\n0", "2.0\n2.0\n35\n65\n0.97\n0", "2.8\n2.8\n45\n80\n0.975\n0",
                        "1.0\n1.0\n30\n60\n0.97\n1", "1.6\n1.6\n40\n70\n0.97\n1"};
  for (const char* r : rows) t.line(r);
  t.line("#");
  t.list("[PowerMode]", {"P,通常", "P,勾配"});
  writeEngineSounds1(t,
                     {{0, {0, 40, 90, 0.35, 1.0, 1.7, 30, 100, 70}},
                      {0, {40, 80, 120, 0.7, 1.0, 1.4, 10, 100, 100}},
                      {1, {5, 50, 110, 0.4, 1.0, 1.9, 80, 100, 70}}},
                     engineSounds1("vk500"));
  writePanel(t, panelLayout("vk500"));
  return t.str();
}

std::string vk700(int cars) {
  VehicleText t;
  t.comment("VK700: a " + std::to_string(cars) + "-car resistor EMU. The motor current notches the resistors up,");
  t.comment("automatic air brake, ATS-S.");
  t.key("[Handle]", 0);
  t.key("[Power]", 4);
  t.key("[NotchBack]", 1);
  t.key("[Hold]", 0);
  t.key("[Pull]", 0);
  t.key("[Const]", 0);
  t.key("[Back]", 1);
  t.key("[PowerDelay]", 3);
  t.key("[Engine_Type]", 1);
  t.key("[DoorLock]", 1);
  t.key("[Power_Type]", 0);
  t.key("[Brake_Type]", 1);
  t.key("[Mt]", cars == 3 ? "80" : "40");
  t.key("[Tt]", "34");
  t.key("[Tct]", "0");
  t.key("[Cars]", cars);
  t.key("[Tons]", cars == 3 ? "114" : "74");
  t.key("[EB]", 1);
  t.key("[MaxSpeed]", 95);
  t.key("[Mc]", 0);
  t.key("[ATS_Type]", 0);
  t.key("[ATS_Alert]", 0);
  t.key("[ATS_Time]", 5);
  t.key("[ATS_Cnt]", 0);
  Brakes b;
  b.type = 0;
  b.positions = 4;
  b.force = 0;
  b.decel = 3.6;
  b.elecDecel = 0;
  b.up = 120;
  b.down = 140;
  b.ebPress = 440;
  b.maxPress = 390;
  b.elecMax = 0;
  writeBrakes(t, b);
  writeSounds(t, "vk700", b.positions, 4);
  // Each step is entered at about 360 A and falls to the 330 A limit at the next step's speed.
  t.line("[CurrentP]");
  t.line("330");
  t.line(cars == 3 ? "2.2" : "2.5");
  t.line("35");
  for (int i = 0; i < 14; ++i) {
    const int notch = i < 2 ? 1 : i < 7 ? 2 : i < 11 ? 3 : 4;
    const double v0 = 3.0 * i - 33;
    t.line(std::to_string(notch) + "," + std::to_string(330 * 36) + "," + std::to_string(static_cast<int>(v0)) + ",0");
  }
  t.line("#");
  writeEngineSounds1(t, {{0, {0, 40, 95, 0.4, 1.0, 1.8, 40, 100, 80}}, {2, {10, 50, 95, 0.5, 1.0, 1.6, 10, 40, 60}}},
                     engineSounds1("vk700"));
  writePanel(t, panelLayout("vk700"));
  return t.str();
}

std::string diesel(bool manual) {
  VehicleText t;
  const std::string family = manual ? "vk401" : "vk103";
  t.comment(manual ? "VK401: a diesel railcar with manual gears (w direct, x first, s neutral) and the notched brake."
                   : "VK103: a diesel railcar with automatic gears and the electro-pneumatic brake.");
  t.key("[Handle]", 0);
  t.key("[Power]", 5);
  t.key("[NotchBack]", 1);
  t.key("[Hold]", 0);
  t.key("[Pull]", 0);
  t.key("[Const]", 0);
  t.key("[Back]", 1);
  t.key("[PowerDelay]", 4);
  t.key("[PowerJerk]", 12);
  t.key("[Engine_Type]", 0);
  t.key("[DoorLock]", 1);
  t.key("[Mt]", "36");
  t.key("[Tt]", "0");
  t.key("[Tct]", "0");
  t.key("[Cars]", manual ? 1 : 2);
  t.key("[Tons]", manual ? "36" : "72");
  t.key("[EB]", 1);
  t.key("[MaxSpeed]", 95);
  t.key("[Mc]", 1);
  t.key("[ATS_Type]", 0);
  t.key("[ATS_Alert]", 0);
  t.key("[ATS_Time]", 5);
  t.key("[ATS_Cnt]", 1);
  Brakes b;
  if (manual) {
    b.type = 2;
    b.positions = 6;
    b.force = 0;
    b.decel = 3.8;
    b.elecDecel = 0;
    b.elecMax = 0;
  } else {
    b.force = 0;
    b.elecDecel = 0;
    b.elecMax = 0;
  }
  writeBrakes(t, b);
  writeSounds(t, family, b.positions, 5);
  t.key("[Gear_Type]", manual ? "MT" : "AT");
  // Engine speed (panel units: 30 idling) = base + speed x ratio, per gear.
  t.list("[EngineRate]", manual ? std::vector<std::string>{"0,0", "30,2.0", "25,0.75"}
                                : std::vector<std::string>{"0,0", "30,2.0", "30,1.1", "20,0.75"});
  // Gears: from, middle, to (km/h) and the whole train's force there (kgf) at full notch; row 0 is neutral.
  const double scale = manual ? 1.0 : 2.0;
  std::vector<std::string> gears = {"0", "0", "0", "0", "0", "0"};
  auto gear = [&](int a, int b2, int c, double f0, double f1, double f2) {
    for (const std::string& v : {std::to_string(a), std::to_string(b2), std::to_string(c), std::to_string(f0 * scale),
                                 std::to_string(f1 * scale), std::to_string(f2 * scale)}) {
      gears.push_back(v);
    }
  };
  if (manual) {
    gear(0, 18, 40, 5600, 4600, 2600);
    gear(15, 45, 95, 3000, 2200, 1100);
  } else {
    gear(0, 15, 32, 5600, 4800, 3000);
    gear(12, 32, 60, 3600, 2800, 1800);
    gear(35, 60, 95, 2200, 1700, 1000);
  }
  t.list("[Engine]", gears);
  const DriveChannels c;
  t.key("[EngineSound2]", c.idle, c.idle2, c.engineStart, c.engineStop);
  writeEngineSounds1(t, {{-1, {30, 60, 95, 0.7, 1.1, 1.6, 60, 90, 100}}}, engineSounds1(family));
  // "[EngineSound3]": file, kind, gear, then from, to (km/h), rate at from and to, level at from and to.
  t.line("[EngineSound3]");
  const auto whines = engineSounds3(family);
  const char* values[] = {"1\n1\n0\n40\n0.6\n1.5\n40\n90", "1\n2\n15\n95\n0.7\n1.6\n30\n80"};
  for (std::size_t i = 0; i < whines.size() && i < 2; ++i) {
    t.line(whines[i].file);
    t.line(values[i]);
  }
  t.line("#");
  writePanel(t, panelLayout(family));
  return t.str();
}

}  // namespace

bool writeVehicleFiles(const std::filesystem::path& root) {
  return writeDataFile(root, "train_VK500.dat", vk500()) && writeDataFile(root, "train_VK700_3Cars.dat", vk700(3)) &&
         writeDataFile(root, "train_VK700_2Cars.dat", vk700(2)) &&
         writeDataFile(root, "train_VK103.dat", diesel(false)) && writeDataFile(root, "train_VK401.dat", diesel(true));
}

}  // namespace vesk::demo
