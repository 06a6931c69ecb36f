// masconupdate: the handle texts, the handle lamps, constant-speed control and the notch and gear pictures,
// recomputed from the handles.
#include <string>

#include "sim/drive.h"
#include "sim/handle_steps.h"
#include "sim/handle_texts.h"
#include "sim/traction.h"

namespace vesk::sim {
namespace {

void showSprite(Drive& drive, std::string_view picture, bool visible) {
  if (media::Sprite* sprite = drive.sprites.findByPicture(picture)) sprite->visible = visible;
}

// Sets a strip's pattern, only when the strip has that many patterns.
void setPattern(Drive& drive, std::string_view picture, int pattern) {
  media::Sprite* sprite = drive.sprites.findByPicture(picture);
  const media::ImageEntry* image = drive.pictures.images.find(picture);
  if (sprite != nullptr && image != nullptr && pattern >= 0 && pattern < image->patternCount()) {
    sprite->pattern = pattern;
  }
}

int patternCount(const Drive& drive, std::string_view picture) {
  const media::ImageEntry* image = drive.pictures.images.find(picture);
  return image != nullptr ? image->patternCount() : 0;
}

std::string brakeText(const Drive& drive) {
  const sim::ControlState& c = drive.control;
  const data::VehicleSpec& v = drive.vehicle;
  const data::UiStrings& t = drive.strings;
  std::string text;
  if (c.brakeHandle == -v.brakeNotches) text = t.ebText;
  if (c.brakeHandle == 0) text = t.neutText;
  if (v.brakeType >= 1 && c.brakeHandle < 0 && c.brakeHandle > -v.brakeNotches && c.holdPosition == 0) {
    text = "B" + std::to_string(-c.brakeHandle);
  }
  if (c.holdPosition == 1) text = t.hold2Text;
  if (v.brakeType == 0) {
    if (c.brakeHandle == -3) text = t.applyText;
    if (c.brakeHandle == -2) text = t.holdText;
    if (c.brakeHandle == -1) text = t.maintainText;
    if (c.brakeHandle == -5) text = t.removeText;
  }
  return text;
}

}  // namespace

void Drive::masconupdate() {
  sim::ControlState& c = control;
  TrainState& s = state;
  const data::VehicleSpec& v = vehicle;
  showSprite(*this, "img_Lamp_Fwd", c.reverser == 1);
  showSprite(*this, "img_Lamp_Bck", c.reverser == -1);

  // Constant speed lets go when a handle moves away from the notch in effect, and under forced braking; notching
  // back from "[Const]" + 1 to "[Const]" above 15 km/h takes it up.
  bool constantTaken = false;
  if (c.constantSpeed != 0 && (c.brakeHandle != s.brakeNotch || c.powerHandle != s.powerNotch)) {
    c.constantSpeed = 0;
    s.powerNotch = c.powerHandle;
  }
  if (s.speed > 15 && c.constantSpeed == 0 && v.constSpeedMode >= 2 && c.powerHandle == v.constSpeedMode &&
      s.powerNotch == v.constSpeedMode + 1) {
    c.constantSpeed = 1;
    constantTaken = true;
  }
  if (c.constantSpeed != 0 && (s.emergencyLatched != 0 || s.atsBrakeLatched != 0)) {
    c.constantSpeed = 0;
    s.powerNotch = c.powerHandle;
  }

  handleTexts.brakeText = brakeText(*this);
  if (c.constantSpeed != 0 || constantTaken) {
    handleTexts.powerText = strings.constText;
  } else if (c.powerHandle == 0) {
    handleTexts.powerText = strings.neut2Text;
  } else {
    handleTexts.powerText =
        sim::selectedPowerMode(*this).notchLabel + std::to_string(c.powerHandle - sim::modeStart(v, c.powerMode));
  }
  handleTexts.reverserText = c.reverser == 1    ? strings.forwardText
                             : c.reverser == -1 ? strings.reverseText
                                                : strings.neutralText;

  // The handle pictures of the panel.
  setPattern(*this, "img_gearlever", c.gear);
  const int brakePattern =
      v.holdMode == 1 ? (c.brakeHandle == 0 ? (c.holdPosition == 1 ? 1 : 0) : 1 - c.brakeHandle) : -c.brakeHandle;
  // A combined master controller shows no power notch while braking.
  const bool powerShown = !(v.handleLayout == 0 && c.brakeHandle < 0);
  setPattern(*this, "img_lamp_p", c.powerHandle);
  showSprite(*this, "img_lamp_p", powerShown);
  setPattern(*this, "img_lamp_b", brakePattern);
  const bool latched = s.emergencyLatched != 0 || s.atsBrakeLatched != 0;
  setPattern(*this, "img_lamp_p2", latched ? 0 : c.powerHandle);
  showSprite(*this, "img_lamp_p2", powerShown);
  const int b2Patterns = patternCount(*this, "img_lamp_b2");
  setPattern(*this, "img_lamp_b2",
             s.emergencyLatched != 0  ? b2Patterns - 1
             : s.atsBrakeLatched != 0 ? b2Patterns - 2
                                      : brakePattern);

  // The first power notch after the doors have closed ends the stop with the departure call-out.
  if (doorsClosed(*this) && c.powerHandle > 0 && s.departurePending != 0) {
    s.departurePending = 0;
    stationCallOut(4);
  }

  handleTexts.gearText = sim::gearText(*this);
}

}  // namespace vesk::sim
