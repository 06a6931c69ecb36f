// Reading the headless runner's trace in tests: one JSON object a line, read field by field (numbers, strings and
// flat arrays as the runner writes them), and running vesk-sim to get one.
#pragma once

#include <array>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace vesk::test {

// The text of a field's value in one line: a number, a "string" with its quotes, or an [array]; "?" when absent.
inline std::string traceField(const std::string& line, const std::string& name) {
  const std::string key = "\"" + name + "\":";
  const std::size_t at = line.find(key);
  if (at == std::string::npos) return "?";
  const std::size_t i = at + key.size();
  std::size_t end = i;
  if (line[i] == '"') {
    end = line.find('"', i + 1) + 1;
  } else if (line[i] == '[') {
    end = line.find(']', i) + 1;
  } else {
    while (end < line.size() && line[end] != ',' && line[end] != '}') ++end;
  }
  return line.substr(i, end - i);
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

// Runs a command and returns its standard output.
inline std::string commandOutput(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  std::array<char, 65536> buffer{};
  std::size_t n = 0;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
  pclose(pipe);
  return out;
}

}  // namespace vesk::test
