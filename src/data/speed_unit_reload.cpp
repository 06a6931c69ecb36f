#include "data/speed_unit_reload.h"

#include <algorithm>

#include "core/file_bytes.h"
#include "data/key_file_reader.h"
#include "data/row_reader.h"
#include "data/track_positions.h"

namespace vesk::data {

std::optional<std::vector<SpeedUnitRow>> rereadSpeedUnits(const std::filesystem::path& routeFile) {
  const auto bytes = core::readFileBytes(routeFile);
  if (!bytes) return std::nullopt;
  KeyFileReader reader(*bytes);
  while (reader.readLine()) {
    if (!reader.startsWith("[SpeedUnit]")) continue;
    std::vector<SpeedUnitRow> rows;
    int count = 0;
    try {
      readListRows(reader, kSpeedUnitCapacity, count, false, [&](int) {
        SpeedUnitRow row;
        readCommaRow(reader, row);
        rows.push_back(row);
      });
    } catch (const ReadFailure&) {
      return std::nullopt;
    } catch (const OwnMessageFailure&) {
      return std::nullopt;
    }
    return rows;
  }
  return std::nullopt;
}

void replaceSpeedUnits(RouteData& route, const std::vector<SpeedUnitRow>& rows) {
  const std::size_t count = std::min(rows.size(), route.speedUnits.size());
  std::copy_n(rows.begin(), count, route.speedUnits.begin());
  route.speedUnitCount = static_cast<int>(count);
  computeSpeedUnitDistances(route);
}

}  // namespace vesk::data
