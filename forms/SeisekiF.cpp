#include "forms/SeisekiF.h"

#include <exception>
#include <utility>

#include "common/app_error.h"
#include "common/number_text.h"
#include "forms/CtrlF.h"
#include "gamelink/os_version_win.h"
#include "records/settings.h"
#include "records/settings_file_win.h"
#include "records/settings_save.h"
#include "toolkit/application.h"
#include "toolkit/message_box.h"

TFCSeisekiF* FCSeisekiF = nullptr;

namespace {
constexpr Color kLightYellow = 8454143;  // 0x0080FFFF: red 255, green 255, blue 128
}

TFCSeisekiF::TFCSeisekiF(SeisekiEnvironment environment) : environment_(std::move(environment)) {}

TFCSeisekiF::~TFCSeisekiF() {
    if (FCSeisekiF == this) FCSeisekiF = nullptr;
    Application& application = Application::instance();
    if (application.mainForm() == this) {
        application.OnMinimize = nullptr;
        application.OnRestore = nullptr;
        application.OnActivate = nullptr;
    }
}

void TFCSeisekiF::create() {
    FCSeisekiF = this;
    OnCreate = [this] { FormCreate(); };
    OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
    OnEndSession = [this] { FormEndSession(); };
    FormArgs args;
    args.caption = "成績";
    args.clientWidth = 151;
    args.clientHeight = 436;
    args.left = 789;
    args.top = 231;
    args.border = BorderStyle::bsSingle;
    args.color = kLightYellow;
    args.font = FontSpec{-12, false, clWindowText};
    Form::create(args, [this] {
        clipboard_ = environment_.makeClipboard(handle());
        createComponents();
    });
}

void TFCSeisekiF::FormCreate() {
    // The game's texts come first, before anything that can fail: the watcher
    // ticks inside every message box from here on, and a lookup without the
    // texts would match unrelated windows.
    OsVersion = queryOsVersion();
    OsProfile = chooseOsProfile(OsVersion);
    IniRead();
    // A snapshot not taken whole concerns only the write-back at shutdown,
    // which leaves the values not read alone: start-up goes on, so that the
    // game is still found and watched.
    try {
        RegRead();
    } catch (const AppError& error) {
        Application::instance().showError(error.what());
    }
    HyoujiUpdate();
    applyCheckMarks();
    EditEx1.setText(intToText(GameNo));
    Label1.setCaption(intToText(TryCnt));
    FCStart();
    Application& application = Application::instance();
    application.OnMinimize = [this] { AppMinimize(); };
    application.OnRestore = [this] { AppRestore(); };
    application.OnActivate = [this] { AppActivate(); };
}

void TFCSeisekiF::FCStart() {
    Desktop& desktop = *environment_.desktop;
    const StartResult start = startGame(desktop, *environment_.launcher, OsVersion, environment_.executablePath);
    FreeCellWnd = start.window;
    if (!start.executableNotFound) return;
    // Closed with its close box, the box lets start-up go on without a game;
    // the first watcher tick then ends the program. OK runs the shutdown here,
    // before the game's window is looked for again: close() would wait behind
    // FormCreate and then close a game that the user started while the box
    // was open. Start-up is not over, so the program does not end here.
    if (errorMessageBox("Freecell Not Found") == BoxResult::ok) {
        bool canClose = true;
        FormCloseQuery(canClose);
    }
    FreeCellWnd = findGameWindow(desktop);
}

void TFCSeisekiF::Timer1Timer() {
    if (!clipboard_) return;
    WatcherContext context{*environment_.desktop, *clipboard_, OsProfile, *this, GameNo, TryCnt};
    watcher_.tick(context);
}

void TFCSeisekiF::FormCloseQuery(bool& CanClose) {
    // Once the game is gone the watcher asks for a close on every tick, also
    // while the error box of a failed attempt is open: one attempt at a time.
    if (closeInProgress_) {
        CanClose = false;
        return;
    }
    struct InProgress {
        bool& flag;
        explicit InProgress(bool& f) : flag(f) { flag = true; }
        ~InProgress() { flag = false; }
    } inProgress(closeInProgress_);
    try {
        closeGame(*environment_.desktop, OsProfile.texts, FreeCellWnd, kCloseWaitLimitMs);
        if (SeisekiUp.checked()) RegWrite();
        IniWrite();
        lastCloseFailed_ = false;
    } catch (const std::exception& error) {
        CanClose = false;
        lastCloseFailed_ = true;
        Application::instance().showError(error.what());
    }
}

// The Windows session ends before the shutdown has saved: it may be running
// below this, or waiting behind a handler that will not resume. The state is
// saved here, the settings even when the write-back fails, since no later
// close will try again; Windows ends the game itself.
void TFCSeisekiF::FormEndSession() {
    std::exception_ptr writeBackFailure;
    try {
        if (SeisekiUp.checked()) RegWrite();
    } catch (...) {
        writeBackFailure = std::current_exception();
    }
    IniWrite();
    if (writeBackFailure) std::rethrow_exception(writeBackFailure);
}

void TFCSeisekiF::RegRead() { readStatistics(*environment_.statistics, RegSnapshot); }

void TFCSeisekiF::RegWrite() { writeStatistics(*environment_.statistics, RegSnapshot); }

void TFCSeisekiF::IniRead() {
    const std::string path = iniPathFor(environment_.executablePath);
    Win32SettingsFiles files;
    recoverSettingsFile(files, path);
    IniFile file(path);
    const Settings settings = readSettings(file);
    GameNo = settings.GameNo;
    TryCnt = settings.TryCnt;
    SskUp = settings.SskUp;
    CtlBar = settings.CtlBar;
    RenMode = settings.RenMode;
    ScoreLedger.won = settings.won;
    ScoreLedger.wins = settings.wins;
    ScoreLedger.lost = settings.lost;
    ScoreLedger.losses = settings.losses;
    ScoreLedger.streak = settings.streak;
    ScoreLedger.stype = settings.stype;
    for (int slot = 0; slot < 10; ++slot) {
        const size_t i = static_cast<size_t>(slot);
        HistLines[i] = settings.hist[i];
        Memo1.insertLine(slot, HistLines[i]);
        PassList[i] = settings.retry[i];
        MenuItem& item = retryItem(slot);
        item.setCaption(PassList[i]);
        item.setVisible(!PassList[i].empty());
    }
}

void TFCSeisekiF::IniWrite() {
    Settings settings;
    settings.GameNo = GameNo;
    settings.TryCnt = TryCnt;
    settings.SskUp = SskUp;
    settings.CtlBar = CtlBar;
    settings.RenMode = RenMode;
    settings.won = ScoreLedger.won;
    settings.wins = ScoreLedger.wins;
    settings.lost = ScoreLedger.lost;
    settings.losses = ScoreLedger.losses;
    settings.streak = ScoreLedger.streak;
    settings.stype = ScoreLedger.stype;
    const int lines = Memo1.lineCount();
    for (int slot = 0; slot < 10; ++slot) {
        const size_t i = static_cast<size_t>(slot);
        settings.hist[i] = slot < lines ? Memo1.line(slot) : std::string();
        settings.retry[i] = PassList[i];
    }
    Win32SettingsFiles files;
    saveSettingsFile(files, settings, iniPathFor(environment_.executablePath));
}

void TFCSeisekiF::HyoujiUpdate() {
    const ::ScoreLedger& s = ScoreLedger;
    Label13.setCaption(percentText(s.RunWins, s.RunLosses));
    Label16.setCaption(intToText(s.RunWins));
    Label17.setCaption(intToText(s.RunLosses));
    Label9.setCaption(percentText(s.won, s.lost));
    Label18.setCaption(intToText(s.won));
    Label19.setCaption(intToText(s.lost));
    Label20.setCaption(intToText(s.wins));
    Label21.setCaption(intToText(s.losses));
    Label11.setCaption(streakText(s.streak, s.stype));
}

void TFCSeisekiF::SeisekiClearClick(MenuItem&) {
    ScoreLedger.clearTotals();
    // Thirteen empty lines push the history out of the ten lines that are saved.
    for (int line = 0; line < 13; ++line) Memo1.insertLine(line, "");
    HyoujiUpdate();
}

void TFCSeisekiF::ControlBarClick(MenuItem&) {
    // The check mark, not CtlBar, tells whether the bar is shown: after the
    // bar's own close box the two differ.
    const bool show = !ControlBar.checked();
    if (controlBar_) {
        if (show) {
            controlBar_->show();
            controlBar_->bringToFront();
        } else {
            controlBar_->hide();
        }
    }
    CtlBar = show;
    applyCheckMarks();
}

// Only this item's mark: the ControlBar mark may rightly differ from CtlBar
// (the bar closed with its close box) and must keep showing the bar's state.
void TFCSeisekiF::SeisekiUpClick(MenuItem&) {
    SskUp = !SeisekiUp.checked();
    SeisekiUp.setChecked(SskUp);
}

void TFCSeisekiF::PassClick(MenuItem&) {
    const PassOutcome outcome = passGame(PassList, EditEx1.text());
    if (outcome.listFull) {
        errorMessageBox("パスは10回までです");
        return;
    }
    refreshRetryMenu();
    EditEx1.setText(intToText(outcome.nextNumber));
}

void TFCSeisekiF::Retry0Click(MenuItem& Sender) {
    EditEx1.setText(Sender.caption());
    Sender.setCaption("");
    takeBackPass(PassList, Sender.tag());
    refreshRetryMenu();
}

void TFCSeisekiF::RecordWin() { ScoreLedger.RecordWin(); }

void TFCSeisekiF::RecordLoss() { ScoreLedger.RecordLoss(); }

void TFCSeisekiF::AppMinimize() { postMinimize(*environment_.desktop, FreeCellWnd); }

void TFCSeisekiF::AppRestore() { postRestore(*environment_.desktop, FreeCellWnd); }

// The check marks follow the option flags. Elsewhere only the control bar's
// own close box clears the ControlBar mark, and SeisekiUpClick sets its own.
void TFCSeisekiF::applyCheckMarks() {
    ControlBar.setChecked(CtlBar);
    SeisekiUp.setChecked(SskUp);
}

// An empty slot's item is absent from the submenu.
void TFCSeisekiF::refreshRetryMenu() {
    for (int slot = 0; slot < static_cast<int>(kPassSlots); ++slot) {
        MenuItem& item = retryItem(slot);
        item.setCaption(PassList[static_cast<size_t>(slot)]);
        item.setVisible(!item.caption().empty());
    }
}

std::string TFCSeisekiF::numberBoxText() { return EditEx1.text(); }

void TFCSeisekiF::setNumberBoxText(const std::string& text) { EditEx1.setText(text); }

void TFCSeisekiF::setAttemptText(const std::string& text) { Label1.setCaption(text); }

void TFCSeisekiF::insertHistoryLine(const std::string& line) { Memo1.insertLine(0, line); }

// Once a close has failed, the watcher's requests would bring the error box
// back after every dismissal and keep the user from the menu: the next
// attempt is the user's (close box or exit button), made once the cause is
// removed or the write-back switched off. A close that succeeded before
// start-up had finished leaves the end of the program to the watcher.
void TFCSeisekiF::closeResultsWindow() {
    if (!lastCloseFailed_) close();
}
