#include "gamelink/launch_command.h"

LaunchCommand launchCommandFor(const std::string& programPath) {
    // A file name cannot hold a double quote, so none needs escaping.
    return {programPath, '"' + programPath + '"'};
}
