#include "core/text/option_loop.h"

bool ReadOptions(const std::vector<std::string>& args, std::size_t first,
                 const OptionReader& reader, std::string* error) {
  for (std::size_t i = first; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.compare(0, 2, "--") != 0) {
      if (!reader.positional(arg, error)) return false;
      continue;
    }
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    const OptionKind kind = reader.kind(name);
    if (kind == OptionKind::Unknown) {
      *error = "unknown option '" + name + "'";
      if (reader.unknown) *error += reader.unknown(name);
      return false;
    }
    std::string value;
    if (kind == OptionKind::Flag) {
      if (equals != std::string::npos) {
        *error = name + " takes no value";
        return false;
      }
    } else if (equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      *error = name + " needs a value";
      return false;
    }
    if (!reader.option(name, value, error)) return false;
  }
  return true;
}
