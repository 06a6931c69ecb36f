#include "demo_line/panel_layout.h"

#include <stdexcept>

namespace vesk::demo {
namespace {

std::string pic(const std::string& family, const std::string& name) { return "image\\" + family + "\\" + name; }

std::vector<Strip> notchStrips(const std::string& f, int powerNotches, const std::vector<std::string>& brakeCells) {
  std::vector<std::string> power = {"切"};
  for (int i = 1; i <= powerNotches; ++i) power.push_back("P" + std::to_string(i));
  return {{"[NotchImageP]", pic(f, "notch_p.bmp"), 430, 470, 44, 28, power},
          {"[NotchImageB]", pic(f, "notch_b.bmp"), 430, 502, 44, 28, brakeCells}};
}

std::vector<std::string> serviceCells(int service) {
  std::vector<std::string> cells = {"緩"};
  for (int i = 1; i <= service; ++i) cells.push_back("B" + std::to_string(i));
  cells.push_back("非常");
  return cells;
}

std::vector<Lamp> commonLamps(const std::string& f) {
  return {{"[Lamp_Door]", pic(f, "lamp_door.bmp"), 20, 462, 56, 24, "戸閉", 0xFFD040},
          {"[Lamp_EB]", pic(f, "lamp_eb.bmp"), 80, 462, 56, 24, "EB", 0xFF3030},
          {"[Lamp_Ats1]", pic(f, "lamp_ats1.bmp"), 140, 462, 56, 24, "ATS", 0xF0F0F0},
          {"[Lamp_Ats2]", pic(f, "lamp_ats2.bmp"), 200, 462, 56, 24, "ATS作動", 0xFF3030},
          {"[Lamp_Fwd]", pic(f, "lamp_fwd.bmp"), 20, 490, 56, 24, "前", 0x60FF60},
          {"[Lamp_Back]", pic(f, "lamp_back.bmp"), 80, 490, 56, 24, "後", 0x60FF60},
          {"[Lamp_Stop]", pic(f, "lamp_stop.bmp"), 140, 490, 56, 24, "停車", 0xFFA020}};
}

PanelLayout vk500() {
  const std::string f = "vk500";
  PanelLayout p;
  p.family = f;
  p.panel = pic(f, "panel.bmp");
  p.panel2 = pic(f, "panel_dark.bmp");
  p.colour = 0x3A4A5A;
  p.gauges = {{"[Needle_Speed]", pic(f, "needle_speed.bmp"), 170, 680, 110, -135, 2.25, 120, 10, "km/h", 0, 0},
              {"[Needle_BC]", pic(f, "needle_bc.bmp"), 400, 700, 70, -135, 0.45, 600, 100, "kPa", 0, 0},
              {"[Needle_MR]", pic(f, "needle_mr.bmp"), 560, 700, 70, -135, 0.27, 1000, 200, "kPa", 0, 0},
              {"[Needle_I]", pic(f, "needle_i.bmp"), 710, 700, 70, 0, 0.9, 150, 50, "A", 0, 0}};
  p.lamps = commonLamps(f);
  for (const Lamp& l :
       std::vector<Lamp>{{"[Lamp_Power]", pic(f, "lamp_power.bmp"), 200, 490, 56, 24, "力行", 0x60FF60},
                         {"[Lamp_Gen]", pic(f, "lamp_gen.bmp"), 260, 462, 56, 24, "回生", 0x60C0FF},
                         {"[Lamp_Air]", pic(f, "lamp_air.bmp"), 260, 490, 56, 24, "空制", 0xFFD040},
                         {"[Lamp_ATSP1]", pic(f, "lamp_atsp1.bmp"), 320, 462, 56, 24, "P接近", 0xFFA020},
                         {"[Lamp_ATSP2]", pic(f, "lamp_atsp2.bmp"), 320, 490, 56, 24, "Pブレーキ", 0xFF3030},
                         {"[Lamp_Const]", pic(f, "lamp_const.bmp"), 380, 540, 56, 24, "定速", 0x60C0FF}}) {
    p.lamps.push_back(l);
  }
  p.strips = notchStrips(f, 5, serviceCells(7));
  p.digiSpeed = pic(f, "digi_speed.bmp");
  p.digiX = 140;
  p.digiY = 770;
  p.clockX = 745;
  p.clockY = 470;
  return p;
}

PanelLayout vk700() {
  const std::string f = "vk700";
  PanelLayout p;
  p.family = f;
  p.panel = pic(f, "panel.bmp");
  p.panel2 = pic(f, "panel_dark.bmp");
  p.colour = 0x506048;
  p.gauges = {{"[Needle_Speed]", pic(f, "needle_speed.bmp"), 170, 680, 110, -135, 2.25, 120, 10, "km/h", 0, 0},
              {"[Needle_BC]", pic(f, "needle_bc.bmp"), 400, 660, 60, -135, 0.45, 600, 100, "kPa", 0, 0},
              {"[Needle_MR]", pic(f, "needle_mr.bmp"), 530, 660, 60, -135, 0.27, 1000, 200, "kPa", 0, 0},
              {"[Needle_ER]", pic(f, "needle_er.bmp"), 400, 790, 50, -135, 0.45, 600, 100, "kPa", 0, 0},
              {"[Needle_BP]", pic(f, "needle_bp.bmp"), 530, 790, 50, -135, 0.45, 600, 100, "kPa", 0, 0},
              {"[Needle_I]", pic(f, "needle_i.bmp"), 680, 660, 60, -135, 0.54, 500, 100, "A", 0, 1},
              {"[Needle_V]", pic(f, "needle_v.bmp"), 680, 790, 50, -135, 0.135, 2000, 500, "V", 0, 0}};
  p.lamps = commonLamps(f);
  p.lamps.push_back({"[Lamp_Fin]", pic(f, "lamp_fin.bmp"), 200, 490, 56, 24, "限流", 0xFFD040});
  p.strips = notchStrips(f, 4, {"緩め", "運転", "重なり", "常用", "非常"});
  p.digiSpeed = "";
  p.clockX = 745;
  p.clockY = 470;
  return p;
}

PanelLayout diesel(const std::string& f, bool manual) {
  PanelLayout p;
  p.family = f;
  p.panel = pic(f, "panel.bmp");
  p.panel2 = pic(f, "panel_dark.bmp");
  p.colour = manual ? 0x6A5A40 : 0x4A5A6A;
  p.gauges = {{"[Needle_Speed]", pic(f, "needle_speed.bmp"), 170, 680, 110, -135, 2.25, 120, 10, "km/h", 0, 0},
              {"[Needle_BC]", pic(f, "needle_bc.bmp"), 400, 700, 70, -135, 0.45, 600, 100, "kPa", 0, 0},
              {"[Needle_MR]", pic(f, "needle_mr.bmp"), 560, 700, 70, -135, 0.27, 1000, 200, "kPa", 0, 0}};
  p.lamps = commonLamps(f);
  p.lamps.push_back({"[Lamp_Power]", pic(f, "lamp_power.bmp"), 200, 490, 56, 24, "機関", 0x60FF60});
  p.strips = notchStrips(f, 5, manual ? serviceCells(5) : serviceCells(7));
  p.strips.push_back(
      {"[GearImageList]", pic(f, "gear.bmp"), 660, 770, 44, 28,
       manual ? std::vector<std::string>{"N", "変速", "直結"} : std::vector<std::string>{"N", "1", "2", "3"}});
  p.strips.push_back(
      {"[GearImageList2]", pic(f, "gear_lever.bmp"), 660, 810, 44, 28,
       manual ? std::vector<std::string>{"中立", "1速", "直結"} : std::vector<std::string>{"N", "1", "2", "3"}});
  p.digiSpeed = pic(f, "digi_speed.bmp");
  p.digiX = 140;
  p.digiY = 770;
  p.clockX = 745;
  p.clockY = 470;
  return p;
}

}  // namespace

const std::vector<PanelLayout>& panelLayouts() {
  static const std::vector<PanelLayout> layouts = {vk500(), vk700(), diesel("vk103", false), diesel("vk401", true)};
  return layouts;
}

const PanelLayout& panelLayout(const std::string& family) {
  for (const PanelLayout& p : panelLayouts()) {
    if (p.family == family) return p;
  }
  throw std::invalid_argument("no panel layout " + family);
}

}  // namespace vesk::demo
