#pragma once
// The program's two command-line switches.
#include <string>
#include <vector>

namespace ov {

struct CommandLineOptions {
  bool quitAfterUpdate = false;  // "/quit": build the wallpaper once, then end
  int startupDelaySeconds = 0;   // "/delay N": sleep N seconds before anything is created
};

// Every argument is lower-cased and compared whole. "/delay" takes the next argument as
// whole seconds (text that is not a number counts as 0); that argument is then looked at
// again as an ordinary one. "/delay" as the last argument is ignored; anything else is too.
CommandLineOptions ParseCommandLine(const std::vector<std::string>& args);

}  // namespace ov
