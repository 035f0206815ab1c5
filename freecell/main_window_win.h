#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <random>

#include "freecell/analysis_worker_win.h"
#include "freecell/board_layout.h"
#include "freecell/drag_play.h"
#include "freecell/event_log.h"
#include "freecell/freecell_game.h"
#include "freecell/game_outlook.h"
#include "freecell/game_build_win.h"
#include "freecell/game_texts.h"
#include "freecell/menu_route.h"
#include "freecell/statistics_store_win.h"

namespace freecell {

// The game's main window, class "FreeWClass": the board played with the
// mouse, the Game and Help menus, the keys F1 to F5 and F10, the menu
// route Alt-G-R, and in the test build the test commands.
class MainWindow : private GameUi {
public:
    // testCommands: none in the game that ships.
    MainWindow(const GameConfig& config, EventLog& log, std::unique_ptr<TestCommands> testCommands);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // False when the window could not be created.
    bool create(int showCommand);

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void command(int id);
    void limitSize(MINMAXINFO& limits) const;
    BoardLayout layout() const;
    void leftButtonDown(const Point& point);
    void mouseMove(const Point& point, WPARAM buttons);
    void leftButtonUp(const Point& point);
    // The window lost the mouse in the middle of a drag.
    void captureLost();
    void doubleClick(const Point& point);
    void rightButtonDown(const Point& point);
    void rightButtonUp();
    // The dragged cards, refused where they were dropped, slide back.
    void slideBack(const CardDrag& drag);
    void slideStep();
    // True when the key was the game's; false leaves it to the default handling.
    bool keyDown(WPARAM key);
    // The keys of keyboard play (keyboard_play.h); true when it was one.
    bool playKey(WPARAM key);
    void paint();
    void showPlayerDialog(const char* command, const char* title, const std::function<bool()>& show);
    // Asks the open player's dialog, if any, to close; true when it was asked.
    bool closePlayerDialog() const;
    void showStatistics();
    void showRules();
    void showAbout();
    // F5: the next move of a way to win, drawn on the board and named in the
    // status line; shown once the search has an answer, if it has none yet.
    void showHint();
    // A search's answers arrived from the worker.
    void takeAnswers();
    // The status line's message: the warning, the hint, or what the hint found.
    std::string statusMessage() const;

    bool confirmEndGame() override;
    std::optional<std::string> askGameNumber(const std::string& initial) override;
    LostAnswer askAfterLoss() override;
    WonAnswer askAfterWin(bool selectGame) override;
    void boardChanged() override;
    void moveRefused() override;

    GameConfig config_;
    EventLog& log_;
    RegistryStatisticsStore store_;
    std::minstd_rand random_;
    FreeCellGame game_;
    MenuRoute menuRoute_;
    std::unique_ptr<TestCommands> testCommands_;
    // The cards the left button picked up, until it is released.
    std::optional<CardDrag> drag_;
    struct Slide {
        Selection cards;
        Rect from;
        Rect to;
        DWORD start;
    };
    std::optional<Slide> slide_;
    // The covered card the right button shows while it is held.
    std::optional<Hit> revealed_;
    // The title of the statistics, rules or version dialog while it is open.
    const char* playerDialogTitle_ = nullptr;
    // What the searches found, and the one that runs after each move.
    GameOutlook outlook_;
    AnalysisWorker worker_;
    int32_t outlookDeal_ = 0;
    std::optional<Move> hint_;
    // The player asked for a hint before the search had answered.
    bool hintWaiting_ = false;
    // The hint was asked for and none is known (lost, or the search gave up).
    bool noHint_ = false;
    HWND window_ = nullptr;
};

}  // namespace freecell
