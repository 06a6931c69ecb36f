#include "vesk_sim/options.h"

#include "core/number_parse.h"

namespace vesk::tools {

const std::string& Options::value(const std::string& name) const {
  const auto it = values.find(name);
  if (it == values.end()) throw UsageError("missing " + name);
  return it->second;
}

std::string Options::valueOr(const std::string& name, const std::string& fallback) const {
  const auto it = values.find(name);
  return it == values.end() ? fallback : it->second;
}

Options parseOptions(const std::vector<std::string>& args, const std::set<std::string>& withValue,
                     const std::set<std::string>& switches) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (withValue.count(arg) != 0) {
      if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
      options.values[arg] = args[++i];
    } else if (switches.count(arg) != 0) {
      options.flags.insert(arg);
    } else if (arg.rfind("--", 0) == 0) {
      throw UsageError("unknown option " + arg);
    } else {
      options.positional.push_back(arg);
    }
  }
  return options;
}

long long parseNumberOption(const std::string& name, const std::string& text) {
  const auto value = core::parseInt(text);
  if (!value) throw UsageError(name + " needs a whole number, not " + text);
  return *value;
}

}  // namespace vesk::tools
