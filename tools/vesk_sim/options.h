// Command-line options of the headless tools: "--name value" pairs, "--flag" switches and positional words.
#pragma once

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace vesk::tools {

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Options {
  std::map<std::string, std::string> values;
  std::set<std::string> flags;
  std::vector<std::string> positional;

  bool has(const std::string& name) const { return values.count(name) != 0; }
  const std::string& value(const std::string& name) const;  // throws UsageError when missing
  std::string valueOr(const std::string& name, const std::string& fallback) const;
};

// withValue: options that take a value; switches: options that do not. Anything else starting with "--" is
// a usage error.
Options parseOptions(const std::vector<std::string>& args, const std::set<std::string>& withValue,
                     const std::set<std::string>& switches = {});

long long parseNumberOption(const std::string& name, const std::string& text);

}  // namespace vesk::tools
