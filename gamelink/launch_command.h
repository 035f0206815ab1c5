#pragma once

#include <string>

// What CreateProcessA is given to start the program found at a path. The
// application name is that very file, so the system neither searches for it
// nor tries shorter names where the path has spaces ("C:\Game Folder\..."
// would otherwise run a "C:\Game.exe" first). The command line repeats the
// path in double quotes, so that the program reads its own name whole.
struct LaunchCommand {
    std::string applicationName;
    std::string commandLine;
};

LaunchCommand launchCommandFor(const std::string& programPath);
