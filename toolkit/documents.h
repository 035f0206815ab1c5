#pragma once

#include <optional>
#include <string>

// A document opened for the player in its own program: the one the system
// associates with its kind (ShellExecuteA, looked up at run time, since
// shell32 is no import of ours), else Notepad. False when neither started.
bool openDocument(const std::string& path);

// The program's own version, from its VERSIONINFO resource ("1.21"); none
// when the resource cannot be read.
std::optional<std::string> programVersion();
