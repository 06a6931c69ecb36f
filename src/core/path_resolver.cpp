#include "core/path_resolver.h"

#include <QString>

#include <string>
#include <system_error>
#include <vector>

namespace vesk::core {
namespace {

namespace fs = std::filesystem;

// Longest name part a file system takes; longer parts cannot name a file.
constexpr std::size_t kMaxNamePart = 255;

std::vector<std::string> splitName(std::string_view name) {
  std::vector<std::string> parts;
  std::string current;
  for (char c : name) {
    if (c == '/' || c == '\\') {
      if (!current.empty() && current != ".") parts.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty() && current != ".") parts.push_back(current);
  return parts;
}

// The entry of dir named `part`, exactly if it exists, else the first case-insensitive match in name order.
std::optional<fs::path> findEntry(const fs::path& dir, const std::string& part) {
  std::error_code ec;
  const fs::path exact = dir / part;
  if (fs::exists(exact, ec)) return exact;
  const QString wanted = QString::fromUtf8(part.data(), static_cast<qsizetype>(part.size()));
  std::optional<fs::path> best;
  fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, ec);
  if (ec) return std::nullopt;
  for (const fs::directory_entry& entry : it) {
    const std::string candidate = entry.path().filename().string();
    const QString candidateName = QString::fromUtf8(candidate.data(), static_cast<qsizetype>(candidate.size()));
    if (candidateName.compare(wanted, Qt::CaseInsensitive) != 0) continue;
    const fs::path found = dir / candidate;
    if (!best || found < *best) best = found;
  }
  return best;
}

}  // namespace

std::optional<fs::path> resolveDataFile(const fs::path& base, std::string_view name) {
  if (name.find('\0') != std::string_view::npos) return std::nullopt;
  const std::vector<std::string> parts = splitName(name);
  if (parts.empty()) return std::nullopt;
  fs::path current = base;
  for (const std::string& part : parts) {
    if (part.size() > kMaxNamePart) return std::nullopt;
    if (part == "..") {
      current /= part;
      continue;
    }
    const auto entry = findEntry(current, part);
    if (!entry) return std::nullopt;
    current = *entry;
  }
  std::error_code ec;
  if (!fs::is_regular_file(current, ec)) return std::nullopt;
  return current;
}

}  // namespace vesk::core
