// Writing the data files' records and fixed-capacity tables as JSON: a record is an object of its fields by the
// names its field list gives (data/record_fields.h), a table an array of row objects, only the rows read.
#pragma once

#include <array>
#include <string_view>
#include <tuple>
#include <type_traits>

#include "data/record_fields.h"
#include "vesk_sim/json_writer.h"

namespace vesk::tools {

template <class T, std::size_t N>
void writeArray(JsonWriter& w, std::string_view name, const std::array<T, N>& values, std::size_t count = N);

// The fields of a record, into the object being written.
template <class Record> void writeFields(JsonWriter& w, const Record& record) {
  data::visitFields(record, [&w](std::string_view name, const auto& field) {
    using Field = std::remove_cvref_t<decltype(field)>;
    if constexpr (requires { std::tuple_size<Field>::value; }) {
      writeArray(w, name, field);
    } else {
      w.field(name, field);
    }
  });
}

// A record as an object under `name`.
template <class Record> void writeRecord(JsonWriter& w, std::string_view name, const Record& record) {
  w.key(name);
  w.beginObject();
  writeFields(w, record);
  w.endObject();
}

// Values, or records as objects, [0, count).
template <class T, std::size_t N>
void writeArray(JsonWriter& w, std::string_view name, const std::array<T, N>& values, std::size_t count) {
  w.key(name);
  w.beginArray();
  for (std::size_t i = 0; i < count && i < N; ++i) {
    if constexpr (data::HasFields<T>) {
      w.beginObject();
      writeFields(w, values[i]);
      w.endObject();
    } else {
      w.value(values[i]);
    }
  }
  w.endArray();
}

// Rows [first, first + count) as objects.
template <class Row, std::size_t N>
void writeRows(JsonWriter& w, std::string_view name, const std::array<Row, N>& rows, int count, int first = 0) {
  w.key(name);
  w.beginArray();
  for (int i = first; i < first + count && i < static_cast<int>(N); ++i) {
    w.beginObject();
    writeFields(w, rows[static_cast<std::size_t>(i)]);
    w.endObject();
  }
  w.endArray();
}

}  // namespace vesk::tools
