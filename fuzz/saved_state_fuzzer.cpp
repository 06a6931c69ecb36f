// Feeds arbitrary bytes to the reader of a saved state's line, as the settings store may hold anything. A line it
// accepts must write back to a line that reads as the same state, and that line must write back unchanged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "sim/saved_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vesk::sim;
  const CheckedState parsed = parseStateLine(std::string_view(reinterpret_cast<const char*>(data), size));
  const auto* state = std::get_if<SavedState>(&parsed);
  if (state == nullptr) {
    if (std::get<RestoreRefusal>(parsed).message.empty()) __builtin_trap();
    return 0;
  }
  const std::string line = savedStateLine(*state);
  const CheckedState again = parseStateLine(line);
  const auto* reread = std::get_if<SavedState>(&again);
  if (reread == nullptr || reread->routeFileName != state->routeFileName || reread->station != state->station ||
      reread->frame != state->frame || reread->clock != state->clock ||
      reread->precedingFrame != state->precedingFrame || savedStateLine(*reread) != line) {
    __builtin_trap();
  }
  return 0;
}
