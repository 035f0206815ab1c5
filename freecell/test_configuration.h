#pragma once

#include <functional>
#include <optional>
#include <string>

#include "freecell/game_texts.h"

// How the game's test build is set up (test_protocol.h): only the test build
// calls these, so the game that ships links none of it.
namespace freecell {

// The set by its FREECELL_TEXTS name: a Japanese edition, or "mismatch", an
// English set that matches none of them; none for an unknown name.
std::optional<GameTexts> textsNamed(const std::string& name);

// FREECELL_TEXTS and FREECELL_MAXGAME override what the Windows version
// decides; FREECELL_LOG names the log file. `environment` returns a variable's
// value, or none when it is not set.
GameConfig configure(const WindowsVersion& version,
                     const std::function<std::optional<std::string>(const char*)>& environment);

}  // namespace freecell
