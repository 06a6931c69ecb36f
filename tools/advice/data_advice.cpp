#include "advice/data_advice.h"

#include <algorithm>
#include <cctype>

#include "core/file_bytes.h"
#include "core/line_reader.h"
#include "core/path_resolver.h"
#include "core/sjis.h"
#include "data/route_file.h"
#include "data/string_file.h"
#include "data/vehicle_file.h"

namespace vesk::tools {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kNotFound = "が見つかりません";  // a "[Staf]" picture, after its name
constexpr std::string_view kNotCreated = "の生成エラー";    // a sign, signal or panel picture
constexpr std::string_view kNoPicture = " is missing or is not a readable BMP or JPEG picture";

bool endsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool startsWith(std::string_view text, std::string_view start) { return text.substr(0, start.size()) == start; }

// Line n (1-based) of the bytes, decoded.
std::string lineOf(std::string_view bytes, int n) {
  core::LineReader lines(bytes);
  std::string_view line;
  while (lines.next(line)) {
    if (lines.lineNumber() == n) return core::sjisToUtf8(line);
  }
  return {};
}

std::string lowerCase(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  return lower;
}

bool namesAPicture(std::string_view text) {
  const std::string lower = lowerCase(text);
  return endsWith(lower, ".bmp") || endsWith(lower, ".jpg") || endsWith(lower, ".jpeg");
}

// A file error at a line: the reader could not take what stands there.
std::string explainLine(const data::DataError& error, std::string_view bytes) {
  const std::string text = lineOf(bytes, error.line());
  if (error.message() == data::kStringFileError) return "a [Disp] value is not a whole number";
  if (namesAPicture(text)) return text + std::string(kNoPicture);
  // The route's message quotes the line already; the vehicle's does not.
  const std::string what = startsWith(error.message(), data::kRouteFileError) ? "this line" : "\"" + text + "\"";
  return what + " cannot be read: a number is expected, a comma-separated value is missing, or a list has more "
                "rows than it may hold";
}

// The name without its folders.
std::string_view baseName(std::string_view name) {
  const std::size_t slash = name.find_last_of("/\\");
  return slash == std::string_view::npos ? name : name.substr(slash + 1);
}

}  // namespace

bool isRouteFileName(std::string_view name) { return startsWith(lowerCase(baseName(name)), "line_"); }

bool isVehicleFileName(std::string_view name) { return startsWith(lowerCase(baseName(name)), "train_"); }

bool isUtf8DataFile(const fs::path& folder, std::string_view name) {
  const auto path = core::resolveDataFile(folder, name);
  const auto bytes = path ? core::readFileBytes(*path) : std::nullopt;
  return bytes && core::isUtf8InsteadOfSjis(*bytes);
}

std::string explainDataError(const data::DataError& error, const fs::path& folder) {
  const std::string& message = error.message();
  if (message == data::kTooFewBrakeNotchesError) return "a notched brake ([BrakeType] 1 or 2) needs [Brake] 3 or more";
  if (endsWith(message, kNotFound)) {
    return message.substr(0, message.size() - kNotFound.size()) + std::string(kNoPicture);
  }
  if (error.file().empty()) return {};
  std::error_code ec;
  if (!fs::is_directory(folder.empty() ? fs::path(".") : folder, ec)) {
    return "the folder " + folder.string() + " does not exist";
  }
  const auto path = core::resolveDataFile(folder, error.file());
  if (!path) return "the file is missing";
  const auto bytes = core::readFileBytes(*path);
  if (!bytes) return "the file cannot be read";
  if (core::isUtf8InsteadOfSjis(*bytes)) return std::string(kUtf8Advice);
  if (message == data::kDieselWithNotchError) {
    return "[Engine_Type] is 0 (a diesel) or comes after [Notch]: an electric train has [Engine_Type] 1 above its "
           "[Notch] list";
  }
  if (message == data::kElectricWithEngineError) {
    return "[Engine_Type] is 1 (electric), but the file has an [Engine] list of diesel gears";
  }
  if (endsWith(message, kNotCreated)) return "a picture named here" + std::string(kNoPicture);
  if (error.line() > 0) return explainLine(error, *bytes);
  return {};
}

std::vector<std::string> vehicleWarnings(const data::VehicleSpec& v) {
  if (v.cars == 0 && v.trainMass == core::Fixed{} && v.powerNotches == 0 && v.driveSoundCount == 0) {
    return {"no [Cars], [Tons], [Power] or [DriveSound]: the file does not describe a train (is it empty, or not a "
            "vehicle file?)"};
  }
  std::vector<std::string> warnings;
  const std::pair<const char*, int> delays[] = {{"[PowerDelay]", v.powerDelay},
                                                {"[BrakeDelay]", v.brakeDelay},
                                                {"[SAPDelay]", v.sapDelay},
                                                {"[EBrakeDelay]", v.elecBrakeDelay}};
  for (const auto& [key, value] : delays) {
    if (value < 1) {
      warnings.push_back(std::string(key) + " is " + std::to_string(value) +
                         ": a handle delay must be at least 1 (the simulator uses 1)");
    }
  }
  if (v.cars < 1 || v.cars > 30)
    warnings.push_back("[Cars] is " + std::to_string(v.cars) + ": a train has 1 to 30 cars");
  if (v.trainMass <= core::Fixed{}) warnings.emplace_back("[Tons] is not above 0: the train cannot move");
  return warnings;
}

}  // namespace vesk::tools
