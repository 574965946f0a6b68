#include "core/app/CommandLine.h"

#include "core/util/Text.h"

namespace ov {

CommandLineOptions ParseCommandLine(const std::vector<std::string>& args) {
  CommandLineOptions o;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string a = ToLowerAscii(args[i]);
    if (a == "/quit") {
      o.quitAfterUpdate = true;
    } else if (a == "/close") {
      o.closeRunning = true;
    } else if (a == "/uninstall") {
      o.closeRunning = o.uninstall = true;
    } else if (a == "/delay" && i + 1 < args.size()) {
      o.startupDelaySeconds = ParseInt32(args[i + 1]).value_or(0);
    }
  }
  return o;
}

}  // namespace ov
