#include "freecell/main_window_win.h"

#include <functional>
#include <string>
#include <utility>

#include "freecell/board_layout.h"
#include "freecell/board_painter_win.h"
#include "freecell/dialogs_win.h"
#include "freecell/game_identity.h"
#include "freecell/gdi_objects_win.h"
#include "freecell/player_dialogs_win.h"
#include "freecell/player_texts.h"
#include "freecell/resource_ids.h"
#include "freecell_version.h"

namespace freecell {

namespace {

enum CommandId : int {
    kMenuNewGame = 301,
    kMenuSelectGame,
    kMenuRestart,
    kMenuStatistics,
    kMenuUndo,
    kMenuExit,
    kMenuRules,
    kMenuAbout,
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

}  // namespace

MainWindow::MainWindow(const GameConfig& config, EventLog& log, std::unique_ptr<TestCommands> testCommands)
    : config_(config),
      log_(log),
      store_(log),
      random_(GetTickCount() | 1u),
      game_(*this, store_, log, config.maxGameNumber,
            [this] { return std::uniform_int_distribution<int32_t>(1, 32767)(random_); }),
      testCommands_(std::move(testCommands)) {}

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
    window_ = CreateWindowExA(0, kMainWindowClass, config_.texts.titleConfirm, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 632, 480, nullptr, menu, windowClass.hInstance, this);
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
            return 0;
        case WM_KEYDOWN:
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
        case WM_LBUTTONDBLCLK:
            mouse(message, lParam);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the painting covers the whole client area
        case WM_PAINT:
            paint();
            return 0;
        case WM_DESTROY:
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
    }
}

void MainWindow::mouse(UINT message, LPARAM lParam) {
    RECT client;
    GetClientRect(window_, &client);
    const BoardLayout layout(client.right, client.bottom);
    const Point point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const std::optional<Hit> hit = layout.hitTest(game_.board(), point);
    if (message == WM_LBUTTONDBLCLK) {
        game_.doubleClick(hit);
    } else {
        game_.click(hit);
    }
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
    }
    return false;
}

void MainWindow::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    if (!dc) return;
    RECT client;
    GetClientRect(window_, &client);
    const BoardView view{game_.hasGame() ? &game_.board() : nullptr, game_.number(), &game_.selection()};
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
    if (testCommands_) testCommands_->boardChanged(game_);
    InvalidateRect(window_, nullptr, FALSE);
}

void MainWindow::moveRefused() { MessageBeep(MB_OK); }

}  // namespace freecell
