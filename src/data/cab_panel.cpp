#include "data/cab_panel.h"

#include "core/path_resolver.h"
#include "data/data_error.h"
#include "media/picture_loader.h"

namespace vesk::data {
namespace {

using Kind = PanelElement::Kind;

class ElementList {
 public:
  explicit ElementList(std::vector<PanelElement>& out) : out_(out) {}

  void plain(const PanelImage& image, std::string_view section, std::string_view picture, int z, bool visible,
             bool transparent = true) {
    if (image.file.empty()) return;
    out_.push_back({std::string(picture), std::string(section), image.file, Kind::Plain, image.x, image.y, z,
                    transparent, visible});
  }
  void needle(const NeedleSpec& n, std::string_view section, std::string_view picture, int z) {
    if (n.file.empty()) return;
    out_.push_back({std::string(picture), std::string(section), n.file, Kind::Rotating, n.x, n.y, z, true, true});
  }
  void gauge(const NeedleSpec& n, std::string_view section, std::string_view picture, int z) {
    if (n.file.empty()) return;
    out_.push_back({std::string(picture), std::string(section), n.file, Kind::LinearGauge, n.x, n.y, z, false, true});
  }
  void pattern(const PatternImage& p, std::string_view section, std::string_view picture, int z) {
    if (p.file.empty()) return;
    out_.push_back({std::string(picture), std::string(section), p.file, Kind::MultiPicture, p.x, p.y, z, true, true,
                    p.patternWidth, p.patternHeight});
  }

 private:
  std::vector<PanelElement>& out_;
};

}  // namespace

std::vector<PanelElement> panelElements(const VehicleSpec& v, std::string_view vehicleFileName) {
  std::vector<PanelElement> out;
  ElementList list(out);
  list.pattern(v.lampSignal, "[Lamp_signal]", "img_cabsignal", 30);
  list.pattern(v.notchImageP, "[NotchImageP]", "img_lamp_p", 31);
  list.pattern(v.notchImageB, "[NotchImageB]", "img_lamp_b", 32);
  list.pattern(v.gearImageList2, "[GearImageList2]", "img_gearlever", 32);
  list.pattern(v.notchImageB2, "[NotchImageB2]", "img_lamp_b2", 34);
  list.pattern(v.gearImageList, "[GearImageList]", "img_lamp_gear", 35);
  list.pattern(v.notchImageP2, "[NotchImageP2]", "img_lamp_p2", 36);
  list.pattern(v.digiSpeed, "[Digi_Speed]", "img_digi_speed", 37);

  list.plain(v.panel, "[Panel]", "img_Panel", 0, true, false);
  if (!v.panel2.file.empty()) {
    // The tunnel shade: a rotating sprite for its alpha, clear until the train is in a tunnel.
    out.push_back({"img_Panel2", "[Panel2]", v.panel2.file, Kind::Rotating, v.panel2.x, v.panel2.y, 50, true, true});
  }
  // One vehicle's door lamp lies over its monitor.
  list.plain(v.lampDoor, "[Lamp_Door]", "img_Lamp_Door", vehicleFileName == "train_VK401.dat" ? 51 : 49, true);
  list.plain(v.lampPower, "[Lamp_Power]", "img_Lamp_Power", 52, true);
  list.plain(v.lampEB, "[Lamp_EB]", "img_Lamp_EB", 53, false);
  list.plain(v.lampGen, "[Lamp_Gen]", "img_Lamp_Gen", 54, true);
  list.plain(v.lampAir, "[Lamp_Air]", "img_Lamp_Air", 54, true);
  list.plain(v.lampFin, "[Lamp_Fin]", "img_Lamp_fin", 55, true);
  list.plain(v.lampEle, "[Lamp_Ele]", "img_Lamp_Ele", 26, true);
  list.plain(v.lampAts1, "[Lamp_Ats1]", "img_Lamp_Ats1", 57, false);
  list.plain(v.lampAts2, "[Lamp_Ats2]", "img_Lamp_Ats2", 58, false);
  list.plain(v.lampATSP1, "[Lamp_ATSP1]", "img_Lamp_Atsp1", 59, false);
  list.plain(v.lampATSP2, "[Lamp_ATSP2]", "img_Lamp_Atsp2", 60, false);
  list.plain(v.lampFwd, "[Lamp_Fwd]", "img_Lamp_Fwd", 11, true);
  list.plain(v.lampBack, "[Lamp_Back]", "img_Lamp_Bck", 12, false);
  list.plain(v.lampStop, "[Lamp_Stop]", "img_Lamp_stopalert", 63, false);
  list.needle(v.needleSpeed, "[Needle_Speed]", "img_Needle_speed", 64);
  list.needle(v.needleER, "[Needle_ER]", "img_Needle_ER", 66);
  list.needle(v.needleBP, "[Needle_BP]", "img_Needle_BP", 68);
  list.needle(v.needleMR, "[Needle_MR]", "img_Needle_MR", 65);
  list.needle(v.needleSAP, "[Needle_SAP]", "img_Needle_SAP", 69);
  list.needle(v.needleBC, "[Needle_BC]", "img_Needle_BC", 67);
  list.needle(v.needleV, "[Needle_V]", "img_Needle_V", 70);
  list.needle(v.needleI, "[Needle_I]", "img_Needle_I", 71);
  list.plain(v.lampConst, "[Lamp_Const]", "img_Lamp_const", 72, false);
  list.gauge(v.needleBCL, "[Needle_BC_L]", "img_Needle_BC_L", 23);
  list.gauge(v.needleMRL, "[Needle_MR_L]", "img_Needle_MR_L", 24);
  for (int i = 0; i < v.otherImageCount && i < kOtherImageCapacity; ++i) {
    list.plain(v.otherImages[static_cast<std::size_t>(i)], "[Others]", "img_other" + std::to_string(i), 60 + i, false);
  }
  return out;
}

void buildCabPanel(const std::filesystem::path& vehicleDir, std::string_view vehicleFileName,
                   const VehicleSpec& vehicle, media::ImageList& images, media::SpriteEngine& sprites) {
  for (const PanelElement& e : panelElements(vehicle, vehicleFileName)) {
    if (e.kind == Kind::MultiPicture) continue;  // made while the vehicle file was read
    const auto path = core::resolveDataFile(vehicleDir, e.file);
    const auto picture = path ? media::loadPicture(*path) : std::nullopt;
    if (!picture) throw DataError(e.file + "の生成エラー", std::string(vehicleFileName));
    const media::ImageEntry& entry =
        images.put(media::makeImageEntry(e.picture, *picture, e.transparent, media::bottomLeftColour(*picture)));
    media::Sprite sprite;
    sprite.picture = e.picture;
    sprite.x = e.x;
    // A linear gauge stands at the top until the instruments first place it.
    sprite.y = e.kind == Kind::LinearGauge ? 0 : e.y;
    sprite.z = e.z;
    sprite.width = entry.cellWidth();
    sprite.height = entry.cellHeight();
    sprite.visible = e.visible;
    sprite.rotating = e.kind != Kind::Plain;
    if (e.picture == "img_Panel2") sprite.alpha = 0;
    sprites.put(std::move(sprite));
  }
}

}  // namespace vesk::data
