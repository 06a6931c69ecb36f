// The reading loop shared by the vehicle file, the route file and the interface string file.
//
// One candidate line per pass; the keys are walked in a fixed order and each is compared with the start of the
// line buffer over the key's own length (or a given length). A matching key reads its value lines into the same
// buffer at once, and the walk goes on comparing the later keys with the last value line read. Lines that match
// no key are skipped. A key may set the error label when the walk reaches it, whether it matches or not.
// Conversion failures throw ReadFailure; the file's loader turns that into its own message.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/fixed.h"
#include "core/line_reader.h"
#include "data/file_reference.h"

namespace vesk::data {

struct ReadFailure {};
// A fault with a message of its own instead of the file's error message with its label.
struct OwnMessageFailure {
  std::string message;
};

class KeyFileReader {
 public:
  explicit KeyFileReader(std::string_view bytes) : lines_(bytes) {}

  // Reads the next line into the buffer. At the end of the file the buffer becomes empty and false is returned.
  bool readLine();
  std::string_view line() const { return line_; }
  bool atEndOfFile() const { return endOfFile_; }
  // The number of the line in the buffer (the last line read), 1-based.
  int lineNumber() const { return lines_.lineNumber(); }

  // The buffer's first key.size() bytes equal the key.
  bool startsWith(std::string_view key) const { return line_.substr(0, key.size()) == key; }
  // The buffer's first n bytes equal the key: with n longer than the key, the key must stand alone.
  bool firstBytesEqual(std::string_view key, std::size_t n) const { return line_.substr(0, n) == key; }
  // The line starts a "#" that ends a list.
  bool isListEnd() const { return !line_.empty() && line_.front() == '#'; }

  // Value lines: read one line and convert it whole.
  int readInt();
  core::Fixed readDec();
  double readReal();
  // Text and file names: decoded to UTF-8, otherwise as written (the path resolver deals with '\').
  std::string readText();

  // Conversions of the whole line in the buffer, for rows made of several lines.
  int intLine() const;
  core::Fixed decLine() const;
  double realLine() const;
  std::string textLine() const;

  // Conversions of a comma-separated field of the line in the buffer.
  int intField(int n) const;
  core::Fixed decField(int n) const;
  double realField(int n) const;
  std::string textField(int n) const;

  [[noreturn]] static void fail() { throw ReadFailure{}; }

  // The error label: set by the walk, reported with a failure.
  const std::string& label() const { return label_; }
  void setLabel(std::string_view label) { label_ = label; }

  // Notes a file the data file names, at the line in the buffer, when the loader was asked to.
  void noteReferences(std::vector<FileReference>* references, std::string dataFile) {
    references_ = references;
    dataFile_ = std::move(dataFile);
  }
  void note(FileReference::Kind kind, const std::string& name, const std::filesystem::path& base,
            std::string failureMessage);

 private:
  core::LineReader lines_;
  std::string_view line_;
  bool endOfFile_ = false;
  std::string label_;
  std::vector<FileReference>* references_ = nullptr;
  std::string dataFile_;
};

// Reads the rows of a list key until a line starting with "#", which ends the list and is consumed. For each
// row the first line is in the buffer when readRow(index) is called; rows of several lines read the rest
// themselves. The count is reset first and counts the rows. More rows than `capacity` fail. At the end of the
// file a text-only list stops; any other list fails (its numbers cannot be converted there). Lines starting with
// `skipLead` (when not 0) are skipped without being stored or counted.
template <class ReadRow>
void readListRows(KeyFileReader& reader, int capacity, int& count, bool textOnly, ReadRow readRow, char skipLead = 0) {
  count = 0;
  while (true) {
    reader.readLine();
    if (reader.isListEnd()) return;
    if (reader.atEndOfFile()) {
      if (textOnly) return;
      KeyFileReader::fail();
    }
    if (skipLead != 0 && !reader.line().empty() && reader.line().front() == skipLead) continue;
    if (count >= capacity) KeyFileReader::fail();
    readRow(count);
    ++count;
  }
}

// One key of a walk: the key text, how many bytes are compared (0 = the key's length), the label it sets when
// the walk reaches it (none when empty), and what it reads on a match.
template <class Record> struct KeyRule {
  std::string_view key;
  std::size_t compareLength = 0;
  std::string_view label;
  std::function<void(KeyFileReader&, Record&)> read;
};

// Runs the reading loop over the whole file. `passLabel` is the label at the start of each pass.
template <class Record>
void walkKeyFile(KeyFileReader& reader, const std::vector<KeyRule<Record>>& rules, Record& record,
                 std::string_view passLabel) {
  reader.setLabel(passLabel);
  while (reader.readLine()) {
    reader.setLabel(passLabel);
    for (const KeyRule<Record>& rule : rules) {
      if (!rule.label.empty()) reader.setLabel(rule.label);
      const bool match =
          rule.compareLength == 0 ? reader.startsWith(rule.key) : reader.firstBytesEqual(rule.key, rule.compareLength);
      if (match) rule.read(reader, record);
    }
  }
}

}  // namespace vesk::data
