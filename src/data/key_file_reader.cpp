#include "data/key_file_reader.h"

#include "core/csv_field.h"
#include "core/number_parse.h"
#include "core/sjis.h"

namespace vesk::data {
namespace {

template <class T> T orFail(std::optional<T> value) {
  if (!value) KeyFileReader::fail();
  return *value;
}

}  // namespace

bool KeyFileReader::readLine() {
  if (!lines_.next(line_)) {
    line_ = {};
    endOfFile_ = true;
    return false;
  }
  return true;
}

int KeyFileReader::readInt() {
  readLine();
  return intLine();
}

core::Fixed KeyFileReader::readDec() {
  readLine();
  return decLine();
}

double KeyFileReader::readReal() {
  readLine();
  return realLine();
}

std::string KeyFileReader::readText() {
  readLine();
  return textLine();
}

int KeyFileReader::intLine() const { return orFail(core::parseInt(line_)); }

core::Fixed KeyFileReader::decLine() const { return orFail(core::parseDec(line_)); }

double KeyFileReader::realLine() const { return orFail(core::parseReal(line_)); }

std::string KeyFileReader::textLine() const { return core::sjisToUtf8(line_); }

int KeyFileReader::intField(int n) const { return orFail(core::parseInt(core::csvField(line_, n))); }

core::Fixed KeyFileReader::decField(int n) const { return orFail(core::parseDec(core::csvField(line_, n))); }

double KeyFileReader::realField(int n) const { return orFail(core::parseReal(core::csvField(line_, n))); }

std::string KeyFileReader::textField(int n) const { return core::sjisToUtf8(core::csvField(line_, n)); }

void KeyFileReader::note(FileReference::Kind kind, const std::string& name, const std::filesystem::path& base,
                         std::string failureMessage) {
  if (references_ == nullptr) return;
  references_->push_back({kind, name, base, dataFile_, lineNumber(), std::move(failureMessage)});
}

}  // namespace vesk::data
