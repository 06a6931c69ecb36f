#include "vesk_sim/data_report.h"

#include <string>

#include "advice/data_advice.h"
#include "data/string_file.h"

namespace vesk::tools {
namespace {

std::filesystem::path vehicleFolder(const sim::DriveChoice& c) {
  return c.vehicleDir.empty() ? c.programDir : c.vehicleDir;
}

}  // namespace

std::filesystem::path folderOfError(const data::DataError& error, const sim::DriveChoice& c) {
  return error.file() == c.vehicleFileName ? vehicleFolder(c) : c.programDir;
}

void reportDataError(std::ostream& out, const data::DataError& error, const std::filesystem::path& folder) {
  out << error.message() << '\n';
  const std::string explanation = explainDataError(error, folder);
  const std::string where = error.where();
  if (!where.empty() && !explanation.empty()) {
    out << where << ": " << explanation << '\n';
  } else if (!where.empty() || !explanation.empty()) {
    out << where << explanation << '\n';
  }
}

void warnAboutData(std::ostream& out, const sim::LoadedDrive& loaded, const sim::DriveChoice& c) {
  const auto warn = [&](const std::string& file, std::string_view text) {
    out << "vesk-sim: warning: " << file << ": " << text << '\n';
  };
  const std::pair<std::filesystem::path, std::string> files[] = {{c.programDir, std::string(data::kStringFileName)},
                                                                 {vehicleFolder(c), c.vehicleFileName},
                                                                 {c.programDir, c.routeFileName}};
  for (const auto& [folder, name] : files) {
    if (isUtf8DataFile(folder, name)) warn(name, kUtf8Advice);
  }
  for (const std::string& warning : vehicleWarnings(loaded.vehicle)) warn(c.vehicleFileName, warning);
}

}  // namespace vesk::tools
