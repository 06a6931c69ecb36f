// The cab panel's instruments and lamps that the driver information moves, each looked up by its picture name
// once; a panel without one skips it.
#pragma once

#include "sim/station_sprites.h"

namespace vesk::sim {

struct PanelSprites {
  SpriteRef speedNeedle{"img_Needle_speed"};
  SpriteRef digitalSpeed{"img_digi_speed"};
  SpriteRef bcNeedle{"img_Needle_BC"};
  SpriteRef erNeedle{"img_Needle_ER"};
  SpriteRef bpNeedle{"img_Needle_BP"};
  SpriteRef mrNeedle{"img_Needle_MR"};
  SpriteRef sapNeedle{"img_Needle_SAP"};
  SpriteRef voltmeter{"img_Needle_V"};
  SpriteRef ammeter{"img_Needle_I"};
  SpriteRef bcGauge{"img_Needle_BC_L"};
  SpriteRef mrGauge{"img_Needle_MR_L"};
  SpriteRef tunnelShade{"img_Panel2"};
  SpriteRef powerLamp{"img_Lamp_Power"};
  SpriteRef electricLamp{"img_Lamp_Ele"};
  SpriteRef airLamp{"img_Lamp_Air"};
  SpriteRef generationLamp{"img_Lamp_Gen"};
  SpriteRef constantSpeedLamp{"img_Lamp_const"};
  SpriteRef notchingLamp{"img_Lamp_fin"};
};

}  // namespace vesk::sim
