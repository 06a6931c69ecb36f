// Reading the headless runner's trace in tests: one JSON object a line, read field by field as the runner writes
// them (run vesk-sim with commandOutput() to get one).
#pragma once

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "support/command_run.h"

namespace vesk::test {

// The text of a field's value in one line as written: a number, a "string" with its quotes, or a whole [array]
// or {object} with what it nests; "?" when absent.
inline std::string traceField(const std::string& line, const std::string& name) {
  const std::string key = "\"" + name + "\":";
  const std::size_t at = line.find(key);
  if (at == std::string::npos) return "?";
  const std::size_t from = at + key.size();
  std::size_t end = from;
  int depth = 0;
  bool inString = false;
  for (; end < line.size(); ++end) {
    const char ch = line[end];
    if (inString) {
      if (ch == '\\') ++end;
      if (ch == '"') inString = false;
      if (ch == '"' && depth == 0) {
        ++end;
        break;
      }
      continue;
    }
    if (ch == '"') inString = true;
    if (ch == '[' || ch == '{') ++depth;
    if (ch == ']' || ch == '}') {
      if (depth == 0) break;
      if (--depth == 0) {
        ++end;
        break;
      }
    }
    if (ch == ',' && depth == 0) break;
  }
  return line.substr(from, std::min(end, line.size()) - from);
}

// "field=value" for each of `fields` in one line, separated by spaces.
template <typename Fields> std::string traceRow(const std::string& line, const Fields& fields) {
  std::string row;
  for (const auto& field : fields) {
    if (!row.empty()) row += ' ';
    row += std::string(field) + "=" + traceField(line, field);
  }
  return row;
}

inline double traceNumber(const std::string& line, const std::string& name) {
  const std::string text = traceField(line, name);
  return text == "?" ? -1e300 : std::stod(text);
}

inline std::vector<std::string> traceLines(const std::string& trace) {
  std::vector<std::string> lines;
  std::istringstream in(trace);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line[0] == '{') lines.push_back(line);
  }
  return lines;
}

}  // namespace vesk::test
