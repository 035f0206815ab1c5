#pragma once

#include <cstdint>
#include <string>

#include "gamelink/game_session.h"

// Looks for and starts the game with kernel32. The wait until the started game
// is idle for input is bounded, so that a game that never gets idle cannot keep
// Tallykeep from starting.
class Win32ProcessLauncher final : public ProcessLauncher {
public:
    static constexpr uint32_t kInputIdleLimitMs = 30000;

    bool isFile(const std::string& path) override;
    std::string windowsDirectory() override;
    std::string systemDirectory() override;
    bool launch(const std::string& programPath) override;
};
