#include "data/string_file.h"

#include <vector>

#include "core/file_bytes.h"
#include "core/line_reader.h"
#include "core/path_resolver.h"
#include "data/data_error.h"
#include "data/key_file_reader.h"

namespace vesk::data {
namespace {

using Rule = KeyRule<UiStrings>;

Rule textKey(std::string_view key, std::string UiStrings::*field) {
  return {key, 0, {}, [field](KeyFileReader& r, UiStrings& s) { s.*field = r.readText(); }};
}

template <std::size_t N>
Rule textsKey(std::string_view key, std::array<std::string, N> UiStrings::*field, std::size_t compareLength = 0) {
  return {key, compareLength, {}, [field](KeyFileReader& r, UiStrings& s) {
            for (std::string& text : s.*field) text = r.readText();
          }};
}

void readDisp(KeyFileReader& r, UiStrings& s) {
  r.readLine();
  s.fastStepsPerSecond = r.intField(1);
  s.videoFrameFactor = r.intField(2);
  for (int* field : {&s.stafImageLeft, &s.viewWidth, &s.viewHeight, &s.fadeExtraHeight}) {
    r.readLine();
    *field = r.intField(1);
  }
}

std::vector<Rule> stringRules() {
  using S = UiStrings;
  return {
      {"[Disp]", 0, {}, readDisp},
      textKey("[Path]", &S::videoDir),
      textKey("[Forward]", &S::forwardText),
      textKey("[Neutral]", &S::neutralText),
      textKey("[Reverse]", &S::reverseText),
      textKey("[Stop]", &S::stopText),
      textKey("[Pass]", &S::passText),
      textKey("[Stop2]", &S::stop2Text),
      textKey("[Neut]", &S::neutText),
      textKey("[Neut2]", &S::neut2Text),
      textKey("[Apply]", &S::applyText),
      textKey("[Maintain]", &S::maintainText),
      textKey("[Remove]", &S::removeText),
      textKey("[Hold]", &S::holdText),
      textKey("[Hold2]", &S::hold2Text),
      textKey("[EB]", &S::ebText),
      textKey("[Const]", &S::constText),
      textKey("[Cars]", &S::carsText),
      textKey("[TC]", &S::tcText),
      // Compared over eight bytes: "[Stops]" must stand alone on its line.
      textsKey("[Stops]", &S::stopsTexts, 8),
      textsKey("[Doors]", &S::doorsTexts),
      textsKey("[Gears]", &S::gearsTexts),
      {"[InfoLabel]",
       0,
       {},
       [](KeyFileReader& r, UiStrings& s) {
         readListRows(r, kInfoLabelCapacity, s.infoLabelCount, true,
                      [&](int i) { s.infoLabels[static_cast<std::size_t>(i)] = r.textLine(); });
       }},
      textKey("[Start]", &S::startCaption),
      textKey("[Move]", &S::moveCaption),
      textKey("[Display]", &S::displayCaption),
      textKey("[Control]", &S::controlCaption),
      textKey("[Save]", &S::saveCaption),
  };
}

const std::vector<Rule>& rules() {
  static const std::vector<Rule> table = stringRules();
  return table;
}

}  // namespace

UiStrings readStringFile(std::string_view bytes, std::string_view fileName) {
  UiStrings strings;
  KeyFileReader reader(bytes);
  try {
    walkKeyFile(reader, rules(), strings, {});
  } catch (const ReadFailure&) {
    throw DataError(std::string(kStringFileError), std::string(fileName), reader.lineNumber());
  }
  return strings;
}

UiStrings loadStringFile(const std::filesystem::path& programDir) {
  const auto path = core::resolveDataFile(programDir, kStringFileName);
  const auto bytes = path ? core::readFileBytes(*path) : std::nullopt;
  if (!bytes) throw DataError(std::string(kStringFileError), std::string(kStringFileName));
  return readStringFile(*bytes);
}

ControllerCodes readControllerCodes(std::string_view bytes) {
  ControllerCodes codes;
  core::LineReader lines(bytes);
  std::string_view line;
  while (codes.count < kControllerCodeCapacity && lines.next(line)) {
    if (!line.empty() && line.front() == '#') break;
    codes.codes[static_cast<std::size_t>(codes.count++)] = std::string(line);
  }
  return codes;
}

std::optional<ControllerCodes> loadControllerCodes(const std::filesystem::path& programDir) {
  const auto path = core::resolveDataFile(programDir, kControllerMapName);
  const auto bytes = path ? core::readFileBytes(*path) : std::nullopt;
  if (!bytes) return std::nullopt;
  return readControllerCodes(*bytes);
}

}  // namespace vesk::data
