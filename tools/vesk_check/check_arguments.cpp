#include "vesk_check/check_arguments.h"

#include <filesystem>
#include <system_error>

#include "advice/data_advice.h"
#include "core/path_resolver.h"
#include "data/string_file.h"

namespace vesk::tools {
namespace {

namespace fs = std::filesystem;

constexpr const char* kTypeData =
    "type vesk-check --data FOLDER, FOLDER being the program folder that holds velmarix.dat";

// Whether the folder holds anything of a program folder: the interface strings or a route or vehicle file.
bool looksLikeAPack(const fs::path& dir) {
  if (core::resolveDataFile(dir, data::kStringFileName)) return true;
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (isRouteFileName(name) || isVehicleFileName(name)) return true;
  }
  return false;
}

std::string folderProblem(const CheckRequest& request) {
  const fs::path& dir = request.programDir;
  std::error_code ec;
  if (!fs::exists(dir, ec)) return "the folder " + dir.string() + " does not exist: " + kTypeData;
  if (!fs::is_directory(dir, ec)) {
    return dir.string() + " is a file, not a folder: type vesk-check --data FOLDER [FILE...], the program folder "
                          "after --data and its route or vehicle files after it";
  }
  for (const std::string& file : request.files) {
    if (core::resolveDataFile(dir, file)) continue;
    if (fs::is_directory(file, ec) || fs::is_directory(dir / file, ec)) {
      std::string problem = file;
      problem += " is a folder: to check the program folder ";
      problem += file;
      problem += ", type vesk-check --data ";
      problem += file;
      return problem;
    }
  }
  if (request.files.empty() && !looksLikeAPack(dir)) {
    return (dir == "." ? std::string("the current folder") : dir.string()) +
           " holds no velmarix.dat and no line_*.dat or train_*.dat file, so it is not a program folder: " + kTypeData;
  }
  return {};
}

}  // namespace

CheckArguments parseCheckArguments(const std::vector<std::string>& args) {
  CheckArguments parsed;
  parsed.request.programDir = ".";
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      parsed.help = true;
      return parsed;
    }
    if (arg == "--data") {
      if (i + 1 >= args.size() || args[i + 1].empty() || args[i + 1].rfind("--", 0) == 0) {
        parsed.problem = std::string("--data needs a folder: ") + kTypeData;
        return parsed;
      }
      parsed.request.programDir = args[++i];
    } else if (arg.rfind('-', 0) == 0 && arg.size() > 1) {
      parsed.problem = "unknown option " + arg + " (vesk-check --help lists the options)";
      return parsed;
    } else {
      parsed.request.files.push_back(arg);
    }
  }
  parsed.problem = folderProblem(parsed.request);
  return parsed;
}

}  // namespace vesk::tools
