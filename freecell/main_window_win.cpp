#include "freecell/main_window_win.h"

#include <algorithm>
#include <functional>
#include <string>
#include <utility>

#include "freecell/board_layout.h"
#include "freecell/board_painter_win.h"
#include "freecell/dialogs_win.h"
#include "freecell/game_identity.h"
#include "freecell/gdi_objects_win.h"
#include "freecell/keyboard_play.h"
#include "freecell/player_dialogs_win.h"
#include "freecell/player_texts.h"
#include "freecell/resource_ids.h"
#include "freecell_version.h"

namespace freecell {

namespace {

constexpr UINT_PTR kSlideTimer = 1;
constexpr UINT kSlideFrameMs = 15;
constexpr DWORD kSlideMs = 150;
// The worker's answers; above the test commands' WM_APP + 1 to 5.
constexpr UINT kAnswerMessage = WM_APP + 0x100;
// A WM_CANCELMODE that came during a press, looked at once it has passed.
constexpr UINT kCancelModeCheck = WM_APP + 0x101;
constexpr UINT kHintKey = VK_F5;

Point pointOf(LPARAM lParam) { return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

enum CommandId : int {
    kMenuNewGame = 301,
    kMenuSelectGame,
    kMenuRestart,
    kMenuStatistics,
    kMenuUndo,
    kMenuExit,
    kMenuRules,
    kMenuAbout,
    kMenuHint,
};

// Every key that a menu item shows works as a key too (MainWindow::keyDown).
HMENU createMenuBar() {
    HMENU bar = CreateMenu();
    HMENU game = CreatePopupMenu();
    HMENU help = CreatePopupMenu();
    if (!bar || !game || !help) {
        for (HMENU menu : {bar, game, help}) {
            if (menu) DestroyMenu(menu);
        }
        return nullptr;
    }
    AppendMenuA(game, MF_STRING, kMenuNewGame, "新しいゲーム(&N)\tF2");
    AppendMenuA(game, MF_STRING, kMenuSelectGame, "ゲーム番号の指定(&S)...\tF3");
    AppendMenuA(game, MF_STRING, kMenuRestart, "やり直し(&R)");
    AppendMenuA(game, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(game, MF_STRING, kMenuStatistics, "成績(&T)...\tF4");
    AppendMenuA(game, MF_STRING, kMenuUndo, "元に戻す(&U)\tF10");
    AppendMenuA(game, MF_STRING, kMenuHint, "ヒント(&I)\tF5");
    AppendMenuA(game, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(game, MF_STRING, kMenuExit, "終了(&X)");
    AppendMenuA(help, MF_STRING, kMenuRules, "遊び方(&H)\tF1");
    AppendMenuA(help, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(help, MF_STRING, kMenuAbout, "バージョン情報(&A)...");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(game), "ゲーム(&G)");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "ヘルプ(&H)");
    return bar;
}

// The licence text carried as a resource (freecell.rc).
std::string licenceText() {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(IDR_LICENCE), MAKEINTRESOURCEA(10));  // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return "MIT License";
    return std::string(static_cast<const char*>(bytes), SizeofResource(module, found));
}

int screenPixelsPerInch() {
    HDC screen = GetDC(nullptr);
    if (!screen) return 96;
    const int reported = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return reported > 0 ? reported : 96;
}

// The classic window, 632 × 480 at 96 pixels per inch, grown with the
// screen's pixels per inch, and shrunk to the work area if it is larger.
Size startingWindowSize() {
    const int dpi = screenPixelsPerInch();
    Size size{MulDiv(632, dpi, 96), MulDiv(480, dpi, 96)};
    RECT work{};
    if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0) && work.right > work.left && work.bottom > work.top) {
        const double fit = std::min({1.0, static_cast<double>(work.right - work.left) / size.width,
                                     static_cast<double>(work.bottom - work.top) / size.height});
        size = {static_cast<int>(size.width * fit), static_cast<int>(size.height * fit)};
    }
    return size;
}

}  // namespace

MainWindow::MainWindow(const GameConfig& config, EventLog& log, std::unique_ptr<TestCommands> testCommands)
    : config_(config),
      log_(log),
      store_(log),
      random_(GetTickCount() | 1u),
      game_(*this, store_, log, config.maxGameNumber,
            [this] { return std::uniform_int_distribution<int32_t>(1, config_.maxGameNumber)(random_); }),
      testCommands_(std::move(testCommands)),
      worker_(AnalysisBound{}, kAnswerMessage) {}

bool MainWindow::create(int showCommand) {
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hIcon = LoadIconA(windowClass.hInstance, MAKEINTRESOURCEA(IDI_FREECELL));
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.lpszClassName = kMainWindowClass;
    if (!RegisterClassA(&windowClass)) return false;

    HMENU menu = createMenuBar();
    const Size size = startingWindowSize();
    window_ = CreateWindowExA(0, kMainWindowClass, config_.texts.titleConfirm, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, size.width, size.height, nullptr, menu, windowClass.hInstance, this);
    if (!window_) {
        if (menu) DestroyMenu(menu);
        return false;
    }
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
    return true;
}

LRESULT CALLBACK MainWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    return self ? self->handle(message, wParam, lParam) : DefWindowProcA(window, message, wParam, lParam);
}

LRESULT MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (testCommands_ && testCommands_->handle(message, wParam, lParam, game_)) return 0;
    switch (message) {
        case WM_CREATE:
            if (testCommands_) testCommands_->windowCreated(window_, game_);
            if (!worker_.start(window_))
                log_.write("error", "search thread not started " + std::to_string(GetLastError()));
            return 0;
        case kAnswerMessage:
            takeAnswers();
            return 0;
        case WM_KEYDOWN:
            if (keyDown(wParam) || playKey(wParam)) return 0;
            break;
        case WM_SYSKEYDOWN:
            if (keyDown(wParam)) return 0;
            break;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            // The default handling turns a released F10 into menu mode, which
            // the game's own F10 must not trigger; the posted Alt release of
            // the menu route is a plain key-up and is the route's, too.
            if (wParam == VK_F10 || (message == WM_KEYUP && wParam == VK_MENU)) return 0;
            break;
        case WM_SYSCHAR:
            // The character of a posted G (a real keystroke never has lParam
            // 0) would open the real menu on top of the route.
            if (lParam == 0) return 0;
            break;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_KEYMENU && lParam == 0) {
                menuRoute_.menuBarEntered();
                return 0;
            }
            break;
        case WM_COMMAND:
            command(LOWORD(wParam));
            return 0;
        case WM_CLOSE:
            // A dialog the player opened from the menu closes first, and the
            // close comes again once it is gone: Tallykeep, closing the game
            // with itself, is not kept waiting by a forgotten statistics box.
            if (closePlayerDialog()) {
                PostMessageA(window_, WM_CLOSE, 0, 0);
                return 0;
            }
            if (game_.close()) DestroyWindow(window_);
            return 0;
        case WM_LBUTTONDOWN:
            leftButtonDown(pointOf(lParam));
            return 0;
        case WM_LBUTTONDBLCLK:
            doubleClick(pointOf(lParam));
            return 0;
        case WM_MOUSEMOVE:
            mouseMove(pointOf(lParam), wParam);
            return 0;
        case WM_LBUTTONUP:
            leftButtonUp(pointOf(lParam));
            return 0;
        case WM_CANCELMODE:
            // Wine sends one whenever it handles a focus change of the X
            // server late, which under load can be in the middle of a press
            // that follows a dialog. The default handling would let the
            // mouse go and drop the cards; a press goes on unless the window
            // has really lost the player: behind another or disabled.
            if (drag_ && GetCapture() == window_) {
                if (!PostMessageA(window_, kCancelModeCheck, 0, 0)) ReleaseCapture();
                return 0;
            }
            break;
        case kCancelModeCheck:
            if (drag_ && GetCapture() == window_ && (GetForegroundWindow() != window_ || !IsWindowEnabled(window_)))
                ReleaseCapture();  // WM_CAPTURECHANGED ends the press
            return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != window_) captureLost();
            return 0;
        case WM_RBUTTONDOWN:
            rightButtonDown(pointOf(lParam));
            return 0;
        case WM_RBUTTONUP:
            rightButtonUp();
            return 0;
        case WM_TIMER:
            if (wParam == kSlideTimer) {
                slideStep();
                return 0;
            }
            break;
        case WM_GETMINMAXINFO:
            limitSize(*reinterpret_cast<MINMAXINFO*>(lParam));
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the painting covers the whole client area
        case WM_PAINT:
            paint();
            return 0;
        case WM_DESTROY:
            RemovePropA(window_, kGameNumberProperty);
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

void MainWindow::command(int id) {
    switch (id) {
        case kMenuNewGame:
            game_.newGame();
            break;
        case kMenuSelectGame:
            game_.selectGame();
            break;
        case kMenuRestart:
            game_.restart();
            break;
        case kMenuStatistics:
            showStatistics();
            break;
        case kMenuUndo:
            game_.undo();
            break;
        case kMenuExit:
            PostMessageA(window_, WM_CLOSE, 0, 0);
            break;
        case kMenuRules:
            showRules();
            break;
        case kMenuAbout:
            showAbout();
            break;
        case kMenuHint:
            showHint();
            break;
    }
}

// The window goes no smaller than the board at its smallest legible size,
// whoever sizes it: the player's frame, or another program's SetWindowPos.
void MainWindow::limitSize(MINMAXINFO& limits) const {
    const Size client = smallestClientSize(screenPixelsPerInch());
    RECT outer{0, 0, client.width, client.height};
    if (!AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongA(window_, GWL_STYLE)), TRUE,
                            static_cast<DWORD>(GetWindowLongA(window_, GWL_EXSTYLE))))
        return;
    limits.ptMinTrackSize.x = outer.right - outer.left;
    limits.ptMinTrackSize.y = outer.bottom - outer.top;
}

BoardLayout MainWindow::layout() const {
    RECT client{};
    GetClientRect(window_, &client);
    return BoardLayout(client.right, client.bottom);
}

// A press is a click, as it always was: the first picks the cards up, the
// second puts them down. Cards just picked up follow the pointer once it
// moves with the button held, and are put down where the button is released.
void MainWindow::leftButtonDown(const Point& point) {
    slide_.reset();
    drag_.reset();
    const BoardLayout board = layout();
    const bool hadSelection = game_.selection().has_value();
    game_.click(board.hitTest(game_.board(), point));
    if (hadSelection || !game_.selection()) return;
    const Selection& picked = *game_.selection();
    const Rect lead = picked.location.place == Place::Cell
                          ? board.cell(picked.location.index)
                          : board.card(game_.board(), picked.location.index, picked.row);
    drag_.emplace(picked, lead, point);
    SetCapture(window_);
}

void MainWindow::mouseMove(const Point& point, WPARAM buttons) {
    if (!drag_ || !(buttons & MK_LBUTTON)) return;
    if (!game_.selection()) {  // a command took the cards away meanwhile
        drag_.reset();
        ReleaseCapture();
        return;
    }
    const bool begun = drag_->begun();
    if (!drag_->follow(point, GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG))) return;
    if (!begun && !canDrag(game_.board(), drag_->cards())) {
        // More cards than one move may carry: they stay picked up for a click.
        drag_.reset();
        ReleaseCapture();
        MessageBeep(MB_OK);
        return;
    }
    InvalidateRect(window_, nullptr, FALSE);
}

void MainWindow::leftButtonUp(const Point& point) {
    if (!drag_) return;
    CardDrag drag = *drag_;
    drag_.reset();
    ReleaseCapture();
    const bool begun = drag.begun();
    // Released where it was pressed: a click, and the cards stay picked up.
    if (!drag.follow(point, GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG))) return;
    if (!begun && !canDrag(game_.board(), drag.cards())) return;
    if (!game_.drop(dropTarget(layout(), game_.board(), drag.lead()))) slideBack(drag);
}

void MainWindow::captureLost() {
    if (!drag_) return;
    const CardDrag drag = *drag_;
    drag_.reset();
    if (!drag.begun()) return;
    game_.cancelSelection();
    slideBack(drag);
}

void MainWindow::doubleClick(const Point& point) {
    drag_.reset();
    game_.doubleClick(layout().hitTest(game_.board(), point));
}

void MainWindow::rightButtonDown(const Point& point) {
    if (!game_.hasGame()) return;
    const std::optional<Hit> hit = layout().hitTest(game_.board(), point);
    if (!hit || hit->location.place != Place::Column || hit->row < 0) return;
    if (hit->row + 1 >= static_cast<int>(game_.board().columns[hit->location.index].size())) return;
    revealed_ = hit;
    SetCapture(window_);
    InvalidateRect(window_, nullptr, FALSE);
}

void MainWindow::rightButtonUp() {
    if (!drag_ && GetCapture() == window_) ReleaseCapture();
    if (!revealed_) return;
    revealed_.reset();
    InvalidateRect(window_, nullptr, FALSE);
}

void MainWindow::slideBack(const CardDrag& drag) {
    slide_ = Slide{drag.cards(), drag.lead(), drag.origin(), GetTickCount()};
    if (!SetTimer(window_, kSlideTimer, kSlideFrameMs, nullptr)) slide_.reset();
    InvalidateRect(window_, nullptr, FALSE);
}

void MainWindow::slideStep() {
    if (slide_ && GetTickCount() - slide_->start >= kSlideMs) slide_.reset();
    if (!slide_) KillTimer(window_, kSlideTimer);
    InvalidateRect(window_, nullptr, FALSE);
}

bool MainWindow::keyDown(WPARAM key) {
    switch (menuRoute_.keyDown(static_cast<unsigned>(key))) {
        case MenuRoute::Action::Consumed:
            return true;
        case MenuRoute::Action::Restart:
            game_.restart();
            return true;
        case MenuRoute::Action::PassOn:
            break;
    }
    switch (key) {
        case VK_F1:
            showRules();
            return true;
        case VK_F2:
            game_.newGame();
            return true;
        case VK_F3:
            game_.selectGame();
            return true;
        case VK_F4:
            showStatistics();
            return true;
        case VK_F10:
            game_.undo();
            return true;  // a real F10 arrives as a system key
        case kHintKey:
            showHint();
            return true;
    }
    return false;
}

bool MainWindow::playKey(WPARAM key) {
    if (drag_ && drag_->begun()) return false;
    if (key == kPutBackKey) {
        game_.cancelSelection();
        return true;
    }
    const std::optional<Location> place = placeForKey(static_cast<unsigned>(key));
    if (!place) return false;
    drag_.reset();
    game_.click(Hit{*place, -1});
    return true;
}

void MainWindow::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    if (!dc) return;
    RECT client;
    GetClientRect(window_, &client);
    BoardView view{game_.hasGame() ? &game_.board() : nullptr, game_.number(), &game_.selection()};
    if (drag_ && drag_->begun()) {
        view.lifted = LiftedCards{drag_->cards(), drag_->lead()};
    } else if (slide_) {
        const double fraction = static_cast<double>(GetTickCount() - slide_->start) / kSlideMs;
        view.lifted = LiftedCards{slide_->cards, between(slide_->from, slide_->to, fraction)};
    }
    view.revealed = revealed_;
    view.hint = hint_;
    view.message = statusMessage();
    // Drawn off screen first, so that a move never flickers.
    HDC buffer = CreateCompatibleDC(dc);
    GdiObject bitmap(buffer ? CreateCompatibleBitmap(dc, client.right, client.bottom) : nullptr);
    if (buffer && bitmap) {
        {
            Selected selected(buffer, bitmap.get());
            paintBoard(buffer, client, view);
            BitBlt(dc, 0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
        }
    } else {
        paintBoard(dc, client, view);
    }
    if (buffer) DeleteDC(buffer);
    EndPaint(window_, &ps);
}

// The player's own dialogs wait, as the game's questions do, while another
// command is running, so that no two dialogs of the game are open at once.
void MainWindow::showPlayerDialog(const char* command, const char* title, const std::function<bool()>& show) {
    game_.run(command, [&] {
        playerDialogTitle_ = title;
        if (!show()) log_.write("error", std::string(command) + " dialog not shown");
        playerDialogTitle_ = nullptr;
    });
}

namespace {

struct TitleSearch {
    const char* title;
    HWND found = nullptr;
};

BOOL CALLBACK matchTitle(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<TitleSearch*>(lParam);
    char text[64] = {};
    GetWindowTextA(window, text, sizeof text);
    if (std::string(text) != search->title) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

bool MainWindow::closePlayerDialog() const {
    if (!playerDialogTitle_) return false;
    TitleSearch search{playerDialogTitle_};
    EnumThreadWindows(GetCurrentThreadId(), matchTitle, reinterpret_cast<LPARAM>(&search));
    return search.found && PostMessageA(search.found, WM_COMMAND, IDCANCEL, 0);
}

void MainWindow::showStatistics() {
    showPlayerDialog("statistics", kStatisticsTitle, [this] {
        const auto reset = [this] {
            const Statistics cleared;
            store_.save(cleared);
            log_.write("statistics-reset");
            return cleared;
        };
        return showStatisticsDialog(window_, store_.load(), reset);
    });
}

void MainWindow::showRules() {
    showPlayerDialog("rules", kRulesTitle,
                     [this] { return showTextDialog(window_, kRulesTitle, rulesText(config_.maxGameNumber)); });
}

void MainWindow::showAbout() {
    showPlayerDialog("about", kAboutTitle, [this] {
        return showTextDialog(window_, kAboutTitle, aboutText(FREECELL_VERSION_TEXT, licenceText()));
    });
}

bool MainWindow::confirmEndGame() {
    const DWORD hang = testCommands_ ? testCommands_->takeConfirmHang() : 0;
    return showConfirmDialog(window_, config_.texts, log_, hang);
}

std::optional<std::string> MainWindow::askGameNumber(const std::string& initial) {
    const DWORD hang = testCommands_ ? testCommands_->takeGameNumberHang() : 0;
    return showGameNumberDialog(window_, config_.texts, log_, initial, hang);
}

LostAnswer MainWindow::askAfterLoss() { return showLostDialog(window_, config_.texts, log_); }

WonAnswer MainWindow::askAfterWin(bool selectGame) { return showWonDialog(window_, config_.texts, log_, selectGame); }

void MainWindow::boardChanged() {
    slide_.reset();  // the cards sliding back may be elsewhere now
    revealed_.reset();
    // A new position (the select flag and the picked-up cards change without
    // one). What was learnt of a deal holds when it is dealt again.
    const bool otherDeal = game_.number() != outlookDeal_;
    if (game_.hasGame() && (otherDeal || game_.board() != outlook_.current())) {
        if (otherDeal) outlook_.dealt();
        outlookDeal_ = game_.number();
        hint_.reset();
        hintWaiting_ = false;
        noHint_ = false;
        if (outlook_.reached(game_.board(), game_.moves())) worker_.search(game_.board());
    }
    if (testCommands_) testCommands_->boardChanged(game_);
    // Set before any dialog about this deal can open: a reader of the
    // property finds the number of the game that ends.
    if (config_.tellsGameNumber && game_.hasGame() &&
        !SetPropA(window_, kGameNumberProperty, reinterpret_cast<HANDLE>(static_cast<intptr_t>(game_.number()))))
        log_.write("error", "SetPropA failed");
    InvalidateRect(window_, nullptr, FALSE);
}

void MainWindow::moveRefused() { MessageBeep(MB_OK); }

void MainWindow::showHint() {
    if (!game_.hasGame() || isFinished(game_.board())) return;
    const std::optional<Analysis> known = outlook_.currentAnalysis();
    hintWaiting_ = !known;
    noHint_ = known && known->way.empty();
    if (known && !known->way.empty()) hint_ = known->way.front();
    InvalidateRect(window_, nullptr, FALSE);
}

void MainWindow::takeAnswers() {
    for (const auto& [board, analysis] : worker_.takeAnswers()) outlook_.analysed(board, analysis);
    if (hintWaiting_ && outlook_.currentAnalysis()) showHint();
    InvalidateRect(window_, nullptr, FALSE);
}

std::string MainWindow::statusMessage() const {
    if (!game_.hasGame()) return {};
    const std::string warning = outlook_.warning();
    if (!warning.empty()) return warning;
    if (hint_) return hintText(game_.board(), *hint_);
    if (hintWaiting_) return "ヒントを探しています…";
    if (noHint_) return "ヒントが見つかりません";
    return {};
}

}  // namespace freecell
