#pragma once
// The program's command-line switches.
#include <string>
#include <vector>

namespace ov {

struct CommandLineOptions {
  bool quitAfterUpdate = false;  // "/quit": build the wallpaper once, then end
  int startupDelaySeconds = 0;   // "/delay N": sleep N seconds before anything is created
  bool closeRunning = false;     // "/close": end a running copy as at log-off, start nothing
  bool uninstall = false;        // "/uninstall": as "/close", then remove what the program left
                                 // outside its data (autostart shortcut, manifest)
};

// Every argument is lower-cased and compared whole. "/delay" takes the next argument as
// whole seconds (text that is not a number counts as 0); that argument is then looked at
// again as an ordinary one. "/delay" as the last argument is ignored; anything else is too.
// "/close" and "/uninstall" are for installers: the process starts no copy of its own.
CommandLineOptions ParseCommandLine(const std::vector<std::string>& args);

}  // namespace ov
