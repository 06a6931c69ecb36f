// UiStrings: the display geometry, the video folder and the labels of the interface string file.
#pragma once

#include <array>
#include <string>

namespace vesk::data {

inline constexpr int kInfoLabelCapacity = 100;

struct UiStrings {
  int fastStepsPerSecond = 0;  // control steps per second (30); divides the per-second rates of the control step
  int videoFrameFactor = 0;    // frame positions per video picture
  int stafImageLeft = 0;
  int viewWidth = 0;
  int viewHeight = 0;
  int fadeExtraHeight = 0;
  std::string videoDir;
  std::string forwardText, neutralText, reverseText;
  std::string stopText, passText, stop2Text;
  std::string neutText, neut2Text;
  std::string applyText, maintainText, removeText, holdText, hold2Text;
  std::string ebText;
  std::string constText;
  std::string carsText;
  std::string tcText;
  std::array<std::string, 2> stopsTexts;
  std::array<std::string, 2> doorsTexts;
  std::array<std::string, 3> gearsTexts;
  std::array<std::string, kInfoLabelCapacity> infoLabels;
  int infoLabelCount = 0;
  std::string startCaption, moveCaption, displayCaption, controlCaption, saveCaption;
};

}  // namespace vesk::data
