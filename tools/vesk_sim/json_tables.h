// Helpers for writing fixed-capacity tables as JSON arrays.
#pragma once

#include <array>
#include <string_view>

#include "vesk_sim/json_writer.h"

namespace vesk::tools {

template <class T, std::size_t N>
void writeArray(JsonWriter& w, std::string_view name, const std::array<T, N>& values, std::size_t count = N) {
  w.key(name);
  w.beginArray();
  for (std::size_t i = 0; i < count && i < N; ++i) w.value(values[i]);
  w.endArray();
}

// Rows [first, first + count) as objects written by writeRow.
template <class Row, std::size_t N, class WriteRow>
void writeRows(JsonWriter& w, std::string_view name, const std::array<Row, N>& rows, int count, WriteRow writeRow,
               int first = 0) {
  w.key(name);
  w.beginArray();
  for (int i = first; i < first + count && i < static_cast<int>(N); ++i) {
    w.beginObject();
    writeRow(rows[static_cast<std::size_t>(i)]);
    w.endObject();
  }
  w.endArray();
}

}  // namespace vesk::tools
