// The game as it ships: its edition's texts from the Windows version alone,
// no log and no test commands. Nothing another program sets or posts makes
// it win, lose, hang or write a file.
#include "freecell/game_build_win.h"

namespace freecell {

GameConfig configurationFor(const WindowsVersion& version) {
    return {textsFor(version), highestGameNumberFor(version), {}};
}

std::unique_ptr<TestCommands> makeTestCommands(EventLog&) { return nullptr; }

}  // namespace freecell
