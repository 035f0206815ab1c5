#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "controls/number_box.h"
#include "gamelink/desktop.h"
#include "gamelink/game_session.h"
#include "gamelink/os_profile.h"
#include "gamelink/watcher.h"
#include "records/pass_list.h"
#include "records/score_ledger.h"
#include "records/statistics_snapshot.h"
#include "toolkit/bevel.h"
#include "toolkit/form.h"
#include "toolkit/group_box.h"
#include "toolkit/label.h"
#include "toolkit/main_menu.h"
#include "toolkit/memo.h"
#include "toolkit/panel.h"
#include "toolkit/timer.h"

class TFCCtrF;

// What the results window reaches outside itself: the game's windows, the
// launch of the game, the game's statistics in the registry, the clipboard
// (owned by the window once it exists) and the executable beside which the
// settings file lies.
struct SeisekiEnvironment {
    Desktop* desktop = nullptr;
    ProcessLauncher* launcher = nullptr;
    StatisticsRegistry* statistics = nullptr;
    std::function<std::unique_ptr<Clipboard>(HWND owner)> makeClipboard;
    std::string executablePath;
};

// Command ids of the results window's menu. Retry0 to Retry9 share one handler
// and are told apart by their place in one contiguous range.
enum SeisekiCommand : UINT {
    cmOption1 = 100,
    cmControlBar,
    cmSeisekiUp,
    cmSeisekiClear,
    cmN1,
    cmPass,
    cmRetry,
    cmRetry0,
    cmRetry9 = cmRetry0 + 9,
};
static_assert(cmRetry9 - cmRetry0 + 1 == 10, "one command id for each pass-list slot");

// The results window, the program's main window: it owns all state and runs
// the watcher, the start-up and the shutdown.
class TFCSeisekiF : public Form, public WatcherHost {
public:
    explicit TFCSeisekiF(SeisekiEnvironment environment);
    ~TFCSeisekiF() override;

    // Creates the window from its form data; FormCreate runs to its end inside.
    void create();

    // The control bar, once it exists; it is shown, hidden and arranged from here.
    void attachControlBar(TFCCtrF* controlBar) { controlBar_ = controlBar; }
    // The game's windows, for the control bar's commands too.
    Desktop& desktop() const { return *environment_.desktop; }

    // Components, in creation order.
    Bevel Bevel1;
    Panel Panel1;
    Label Label1;
    Label Label2;
    NumberBox EditEx1;
    GroupBox GroupBox1;
    Label Label7, Label9, Label3, Label4, Label8, Label5, Label6, Label10, Label11, Label12, Label13,
        Label14, Label15, Label16, Label17, Label18, Label19, Label20, Label21;
    GroupBox GroupBox2;
    Memo Memo1;
    Timer Timer1;
    MainMenu MainMenu1;
    MenuItem Option1, ControlBar, SeisekiUp, SeisekiClear;
    MenuItem N1, Pass, Retry;
    MenuItem Retry0, Retry1, Retry2, Retry3, Retry4, Retry5, Retry6, Retry7, Retry8, Retry9;

    // State.
    int32_t GameNo = 0;
    int32_t TryCnt = 0;
    ::ScoreLedger ScoreLedger;
    StatisticsSnapshot RegSnapshot;
    PassSlots PassList;
    std::array<std::string, 10> HistLines;
    ::OsVersion OsVersion;
    ::OsProfile OsProfile;
    bool SskUp = false;
    bool CtlBar = true;
    bool RenMode = false;
    WindowId FreeCellWnd = 0;

    // Handlers and operations.
    void FormCreate();
    void FCStart();
    void Timer1Timer();
    void FormCloseQuery(bool& CanClose);
    void FormEndSession();
    void RegRead();
    void RegWrite();
    void IniRead();
    void IniWrite();
    void HyoujiUpdate() override;
    void SeisekiClearClick(MenuItem& Sender);
    void ControlBarClick(MenuItem& Sender);
    void SeisekiUpClick(MenuItem& Sender);
    void PassClick(MenuItem& Sender);
    void Retry0Click(MenuItem& Sender);

    void RecordWin() override;
    void RecordLoss() override;
    void AppMinimize();
    void AppRestore();
    void AppActivate();

    // The menu item of a pass-list slot, Retry0 to Retry9.
    MenuItem& retryItem(int slot);

    // WatcherHost
    std::string numberBoxText() override;
    void setNumberBoxText(const std::string& text) override;
    void setAttemptText(const std::string& text) override;
    void insertHistoryLine(const std::string& line) override;
    void closeResultsWindow() override;

    // The bound of the close wait of the shutdown.
    static constexpr uint32_t kCloseWaitLimitMs = 10000;

private:
    void createComponents();  // the form data, in seiseki_layout.cpp
    void createMenu();
    void applyCheckMarks();
    void arrangeAroundGame();  // in seiseki_arrangement.cpp
    void refreshRetryMenu();

    SeisekiEnvironment environment_;
    std::unique_ptr<Clipboard> clipboard_;
    GameWatcher watcher_;
    TFCCtrF* controlBar_ = nullptr;
    bool closeInProgress_ = false;
    // The last close attempt failed at the write-back or the save.
    bool lastCloseFailed_ = false;
};

// The single instance, set while it exists.
extern TFCSeisekiF* FCSeisekiF;
