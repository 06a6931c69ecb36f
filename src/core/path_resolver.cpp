#include "core/path_resolver.h"

#include <QString>

#include <algorithm>
#include <string>
#include <system_error>

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

bool hasKind(const fs::path& path, bool folder) {
  std::error_code ec;
  return folder ? fs::is_directory(path, ec) : fs::is_regular_file(path, ec);
}

QString fromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The entries of dir named `part` but for letter case and of the wanted kind: the exact spelling first, the rest
// in byte order. With `all` false the exact spelling alone answers when it exists.
std::vector<fs::path> matchingEntries(const fs::path& dir, const std::string& part, bool folder, bool all) {
  std::vector<fs::path> found;
  const fs::path exact = dir / part;
  const bool exactFits = hasKind(exact, folder);
  if (exactFits && !all) return {exact};
  std::error_code ec;
  fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, ec);
  const QString wanted = fromUtf8(part);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const std::string candidate = it->path().filename().string();
    if (candidate == part || fromUtf8(candidate).compare(wanted, Qt::CaseInsensitive) != 0) continue;
    if (hasKind(dir / candidate, folder)) found.push_back(dir / candidate);
  }
  std::sort(found.begin(), found.end());
  if (exactFits) found.insert(found.begin(), exact);
  return found;
}

ResolvedFile resolve(const fs::path& base, std::string_view name, bool noting) {
  ResolvedFile result;
  if (name.find('\0') != std::string_view::npos) return result;
  const std::vector<std::string> parts = splitName(name);
  if (parts.empty()) return result;
  fs::path current = base;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const std::string& part = parts[i];
    if (part.size() > kMaxNamePart) return {};
    const bool folder = i + 1 < parts.size();
    if (part == "..") {
      current /= part;
      if (!hasKind(current, folder)) return {};
      continue;
    }
    const std::vector<fs::path> entries = matchingEntries(current, part, folder, noting);
    if (entries.empty()) return {};
    result.passedOver.insert(result.passedOver.end(), entries.begin() + 1, entries.end());
    current = entries.front();
  }
  result.file = current;
  return result;
}

}  // namespace

std::optional<fs::path> resolveDataFile(const fs::path& base, std::string_view name) {
  return resolve(base, name, false).file;
}

ResolvedFile resolveDataFileNoting(const fs::path& base, std::string_view name) { return resolve(base, name, true); }

}  // namespace vesk::core
