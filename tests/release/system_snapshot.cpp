#include "system_snapshot.h"

#include <cstdio>

namespace release {

namespace {

// A folder that is a link (Wine's user folders lead to the Linux home
// folder, which other programs of the machine use too) is listed by name
// only, one level deep: a file or folder of a program's own shows there.
void addFiles(const std::string& folder, Snapshot& snapshot, bool linked = false) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + '\\' + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            snapshot["file " + path + '\\'] = "";
            if (!linked) addFiles(path, snapshot, (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0);
        } else {
            snapshot["file " + path] = linked ? ""
                                              : std::to_string(found.nFileSizeLow) + " bytes, written " +
                                                    std::to_string(found.ftLastWriteTime.dwHighDateTime) + ':' +
                                                    std::to_string(found.ftLastWriteTime.dwLowDateTime);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

std::string hex(const BYTE* bytes, DWORD size) {
    std::string text;
    char pair[3];
    for (DWORD i = 0; i < size; ++i) {
        std::snprintf(pair, sizeof pair, "%02x", bytes[i]);
        text += pair;
    }
    return text;
}

void addKey(HKEY root, const std::string& rootName, const std::string& path, Snapshot& snapshot) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    const std::string name = rootName + (path.empty() ? "" : "\\" + path);
    snapshot["key " + name] = "";
    char valueName[16384];
    static BYTE data[1 << 20];
    for (DWORD index = 0;; ++index) {
        DWORD nameSize = sizeof valueName, type = 0, dataSize = sizeof data;
        const LONG status = RegEnumValueA(key, index, valueName, &nameSize, nullptr, &type, data, &dataSize);
        if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) break;
        snapshot["value " + name + "\\[" + valueName + ']'] =
            std::to_string(type) + ' ' + (status == ERROR_SUCCESS ? hex(data, dataSize) : "more than 1 MB");
    }
    std::vector<std::string> subkeys;
    for (DWORD index = 0;; ++index) {
        char subkey[256];
        DWORD size = sizeof subkey;
        if (RegEnumKeyExA(key, index, subkey, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        subkeys.emplace_back(subkey);
    }
    RegCloseKey(key);
    for (const std::string& subkey : subkeys)
        addKey(root, rootName, path.empty() ? subkey : path + '\\' + subkey, snapshot);
}

}  // namespace

Snapshot takeSnapshot(const std::vector<std::string>& folders) {
    Snapshot snapshot;
    for (const std::string& folder : folders) addFiles(folder, snapshot);
    addKey(HKEY_CURRENT_USER, "HKCU", "", snapshot);
    addKey(HKEY_LOCAL_MACHINE, "HKLM", "", snapshot);
    return snapshot;
}

std::vector<std::string> changes(const Snapshot& before, const Snapshot& after,
                                 const std::vector<std::string>& ignored) {
    const auto isIgnored = [&](const std::string& name) {
        const std::size_t path = name.find(' ') + 1;
        for (const std::string& prefix : ignored) {
            if (name.compare(path, prefix.size(), prefix) == 0) return true;
        }
        return false;
    };
    std::vector<std::string> result;
    for (const auto& [name, entry] : before) {
        const auto later = after.find(name);
        if (isIgnored(name)) continue;
        if (later == after.end())
            result.push_back("removed " + name);
        else if (later->second != entry)
            result.push_back("changed " + name);
    }
    for (const auto& [name, entry] : after) {
        if (!isIgnored(name) && before.find(name) == before.end()) result.push_back("added " + name);
    }
    return result;
}

}  // namespace release
