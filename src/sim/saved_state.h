// Saved states: the driver stores where a drive stands in one of three slots and later puts the train back there,
// on the same route file. A slot holds a title (the caption of the Save menu's items: the line and the section
// the train is in) and a state line of seven comma-separated fields: route file name, current station, speed
// (km/h, whole), frame, clock, position (cm, whole) and the preceding train's frame.
//
// Slots come from the settings store, where anything may have been written: a line is parsed and checked
// completely before anything of the drive changes, and a line that cannot be restored says why.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace vesk::sim {

class Drive;

inline constexpr int kSavedSlotCount = 3;

inline constexpr std::string_view kStateSavedMessage = "運転状態を保存しました";
inline constexpr std::string_view kNoSavedStateMessage = "運転状態が保存されていません";
inline constexpr std::string_view kOtherRouteMessage = "運転状態を保存したダイヤではありません";
inline constexpr std::string_view kDamagedStateMessage = "保存された運転状態が壊れています";
inline constexpr std::string_view kStateOutOfRangeMessage = "保存された運転状態はこの路線にありません";

struct SavedState {
  std::string routeFileName;
  std::int32_t station = 0;  // the current station, a row of the route's station table
  double speed = 0;          // km/h
  std::int32_t frame = 0;
  std::int32_t clock = 0;  // 1/30 s since midnight
  double position = 0;     // cm
  std::int32_t precedingFrame = 0;
};

struct SavedSlot {
  std::string title;
  std::string line;
};

// Why a slot is not restored: the message to show and, when there is more to say, what is wrong with it.
struct RestoreRefusal {
  std::string message;
  std::string detail;
};

using CheckedState = std::variant<SavedState, RestoreRefusal>;

// The state the drive stands in, speed and position to whole numbers (halves to even).
SavedState captureState(const Drive& drive, std::string_view routeFileName);
// The slot's text for a state: the seven fields, no spaces, no quoting, no separator at the end.
std::string savedStateLine(const SavedState& state);
// "[LineName2]（station i～station i+1）" for the section that holds the train: station i at or behind it and the
// next station ahead; beyond the last station the next name is empty, before the first station the first name.
std::string savedStateTitle(const Drive& drive);
SavedSlot saveSlot(const Drive& drive, std::string_view routeFileName);

// Reads a state line. The route file name is everything before the last six fields (a comma in the name is kept).
CheckedState parseStateLine(std::string_view line);
// Reads the line of a slot and checks it against this drive: an empty slot, damaged text, a state saved on another
// route file or one outside this line's stations and frames is refused. Reads the drive, changes nothing.
CheckedState checkSavedState(const Drive& drive, std::string_view routeFileName, std::string_view line);
// Puts the drive into a checked state: where the train is, its speed and clock, the preceding train, the
// current and next stations; what the run passed is forgotten and the handles are set for the speed (released
// while moving, else the last service notch). Pause is not changed.
void restoreState(Drive& drive, const SavedState& state);

}  // namespace vesk::sim
