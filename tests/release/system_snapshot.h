#pragma once

// What a run of a program could leave behind, seen from outside: every file
// under some folders and every key and value of the registry.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace release {

// A name ("file C:\...", "key HKCU\...", "value HKCU\...\[name]") and what
// it holds (size and time of a file, type and bytes of a value).
using Snapshot = std::map<std::string, std::string>;

// The files under each folder, and the keys and values under HKEY_CURRENT_USER
// and HKEY_LOCAL_MACHINE.
Snapshot takeSnapshot(const std::vector<std::string>& folders);

// "removed X" and "changed X", then "added X", each in name order, for every
// name whose entry differs and whose path ("C:\...", "HKCU\...") does not
// start with one of `ignored`.
std::vector<std::string> changes(const Snapshot& before, const Snapshot& after,
                                 const std::vector<std::string>& ignored = {});

}  // namespace release
