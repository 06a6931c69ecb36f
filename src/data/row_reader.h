// Reading a record's file fields (record_fields.h) in their order, each converted as its type says: int, dec
// (Fixed), real (double) or text; an array takes one value per element, an array of records their fields.
#pragma once

#include <array>
#include <string>

#include "data/key_file_reader.h"
#include "data/record_fields.h"

namespace vesk::data {

// A row of comma-separated values: the n-th field goes to the n-th value of the line in the buffer.
class CommaRowReader {
 public:
  explicit CommaRowReader(const KeyFileReader& reader) : reader_(reader) {}

  template <class Record> void read(Record& record) {
    Fields<Record>::file(record, [&](std::string_view, auto& field) { take(field); });
  }

 private:
  void take(int& field) { field = reader_.intField(next_++); }
  void take(Fixed& field) { field = reader_.decField(next_++); }
  void take(double& field) { field = reader_.realField(next_++); }
  void take(std::string& field) { field = reader_.textField(next_++); }
  template <class T, std::size_t N> void take(std::array<T, N>& values) {
    for (T& value : values) {
      if constexpr (HasFields<T>) {
        read(value);
      } else {
        take(value);
      }
    }
  }

  const KeyFileReader& reader_;
  int next_ = 1;
};

// A row of one value a line. With firstInBuffer the first value is the line in the buffer (a list row whose
// first line the list has read); otherwise every value reads a line of its own.
class LineRowReader {
 public:
  LineRowReader(KeyFileReader& reader, bool firstInBuffer) : reader_(reader), inBuffer_(firstInBuffer) {}

  template <class Record> void read(Record& record) {
    Fields<Record>::file(record, [&](std::string_view, auto& field) { take(field); });
  }

 private:
  void nextLine() {
    if (!inBuffer_) reader_.readLine();
    inBuffer_ = false;
  }
  void take(int& field) {
    nextLine();
    field = reader_.intLine();
  }
  void take(Fixed& field) {
    nextLine();
    field = reader_.decLine();
  }
  void take(double& field) {
    nextLine();
    field = reader_.realLine();
  }
  void take(std::string& field) {
    nextLine();
    field = reader_.textLine();
  }
  template <class T, std::size_t N> void take(std::array<T, N>& values) {
    for (T& value : values) take(value);
  }

  KeyFileReader& reader_;
  bool inBuffer_;
};

template <class Record> void readCommaRow(const KeyFileReader& reader, Record& record) {
  CommaRowReader(reader).read(record);
}

template <class Record> void readLineRow(KeyFileReader& reader, Record& record, bool firstInBuffer) {
  LineRowReader(reader, firstInBuffer).read(record);
}

}  // namespace vesk::data
