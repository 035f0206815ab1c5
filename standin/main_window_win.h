#pragma once

#include <windows.h>

#include <random>

#include "standin/event_log.h"
#include "standin/freecell_game.h"
#include "standin/game_texts.h"
#include "standin/menu_route.h"
#include "standin/statistics_store_win.h"

namespace standin {

// The game's main window, class "FreeWClass": the board played with the
// mouse, the Game menu, the keys F2, F3 and F10, the menu route Alt-G-R, and
// the test commands of standin_protocol.h.
class MainWindow : private GameUi {
public:
    MainWindow(const StandinConfig& config, EventLog& log);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // False when the window could not be created.
    bool create(int showCommand);

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createChildren();
    void command(int id);
    void mouse(UINT message, LPARAM lParam);
    // True when the key was the game's; false leaves it to the default handling.
    bool keyDown(WPARAM key);
    void paint();

    bool confirmEndGame() override;
    std::optional<std::string> askGameNumber(const std::string& initial) override;
    LostAnswer askAfterLoss() override;
    WonAnswer askAfterWin(bool selectGame) override;
    void boardChanged() override;
    void moveRefused() override;

    StandinConfig config_;
    EventLog& log_;
    RegistryStatisticsStore store_;
    std::minstd_rand random_;
    FreeCellGame game_;
    MenuRoute menuRoute_;
    DWORD hangNextConfirmMs_ = 0;
    DWORD hangNextGameNumberMs_ = 0;
    HWND window_ = nullptr;
    HWND state_ = nullptr;
    HWND boardState_ = nullptr;
};

}  // namespace standin
