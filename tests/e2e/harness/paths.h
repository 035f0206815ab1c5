#pragma once

#include <string>
#include <utility>

namespace e2e {

// The directory of the running test executable; Tallykeep.exe and
// FREECELL.EXE are built beside it. A Windows path, without trailing "\".
std::string binDir();

// A fresh, empty directory for one test under the build directory
// (<build>/e2e-sandbox/<name>). Programs are copied in on request, so every
// test has its own settings file beside its own Tallykeep.exe. Paths are
// code page 932 text joined byte for byte: a folder name may end in a
// character whose second byte is 0x5C, the value of "\\".
class Sandbox {
public:
    // Named after the running GoogleTest test ("Suite.Test/param").
    Sandbox();
    explicit Sandbox(const std::string& name);
    // An existing directory, used as it is (nothing removed or created).
    static Sandbox existing(const std::string& dir);

    const std::string& dir() const { return dir_; }
    std::string path(const std::string& fileName) const;

    // Copies binDir()/exeName into the sandbox; returns the copy's path.
    std::string copyProgram(const std::string& exeName) const;

private:
    struct Existing {};
    Sandbox(Existing, std::string dir) : dir_(std::move(dir)) {}
    std::string dir_;
};

}  // namespace e2e
