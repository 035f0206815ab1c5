#include "standin/main_window_win.h"

#include <string>

#include "standin/board_layout.h"
#include "standin/board_painter_win.h"
#include "standin/dialogs_win.h"
#include "standin/game_identity.h"
#include "standin/gdi_objects_win.h"
#include "standin/standin_protocol.h"

namespace standin {

namespace {

enum CommandId : int {
    kMenuNewGame = 301,
    kMenuSelectGame,
    kMenuRestart,
    kMenuUndo,
    kMenuExit,
};

std::string mainMessageName(UINT message) {
    switch (message) {
        case WM_KEYDOWN: return "WM_KEYDOWN";
        case WM_KEYUP: return "WM_KEYUP";
        case WM_SYSKEYDOWN: return "WM_SYSKEYDOWN";
        case WM_SYSKEYUP: return "WM_SYSKEYUP";
        case WM_SYSCOMMAND: return "WM_SYSCOMMAND";
        case WM_CLOSE: return "WM_CLOSE";
        case kCommandWin: return "STANDIN_WIN";
        case kCommandLose: return "STANDIN_LOSE";
        case kCommandMove: return "STANDIN_MOVE";
        case kCommandHang: return "STANDIN_HANG";
        case kCommandPing: return "STANDIN_PING";
        default: return {};
    }
}

HMENU createGameMenu() {
    HMENU bar = CreateMenu();
    HMENU game = CreatePopupMenu();
    if (!bar || !game) return nullptr;
    AppendMenuA(game, MF_STRING, kMenuNewGame, "新しいゲーム(&N)\tF2");
    AppendMenuA(game, MF_STRING, kMenuSelectGame, "ゲーム番号の指定(&S)...\tF3");
    AppendMenuA(game, MF_STRING, kMenuRestart, "やり直し(&R)");
    AppendMenuA(game, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(game, MF_STRING, kMenuUndo, "元に戻す(&U)\tF10");
    AppendMenuA(game, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(game, MF_STRING, kMenuExit, "終了(&X)");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(game), "ゲーム(&G)");
    return bar;
}

}  // namespace

MainWindow::MainWindow(const StandinConfig& config, EventLog& log)
    : config_(config), log_(log), store_(log), random_(GetTickCount() | 1u),
      game_(*this, store_, log, config.maxGameNumber, [this] {
          return std::uniform_int_distribution<int32_t>(1, 32767)(random_);
      }) {}

bool MainWindow::create(int showCommand) {
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.lpszClassName = kMainWindowClass;
    if (!RegisterClassA(&windowClass)) return false;

    HMENU menu = createGameMenu();
    window_ = CreateWindowExA(0, kMainWindowClass, config_.texts.titleConfirm, WS_OVERLAPPEDWINDOW,
                              CW_USEDEFAULT, CW_USEDEFAULT, 632, 480, nullptr, menu, windowClass.hInstance, this);
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
    if (const std::string name = mainMessageName(message); !name.empty()) {
        log_.write("msg", "main " + name + ' ' + std::to_string(wParam));
    }
    switch (message) {
        case WM_CREATE:
            createChildren();
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
        case kCommandWin:
            game_.win();
            return 0;
        case kCommandLose:
            game_.lose();
            return 0;
        case kCommandMove:
            game_.makeMove();
            return 0;
        case kCommandHang:
            if (lParam == kHangGameNumber) {
                hangNextGameNumberMs_ = static_cast<DWORD>(wParam);
            } else if (lParam == kHangConfirm) {
                hangNextConfirmMs_ = static_cast<DWORD>(wParam);
            } else {
                log_.write("ignored", "STANDIN_HANG target=" + std::to_string(lParam));
            }
            return 0;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

void MainWindow::createChildren() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    // Never shown: they carry the state and the board for tests, read with WM_GETTEXT.
    state_ = CreateWindowExA(0, "Static", game_.stateText().c_str(), WS_CHILD, 0, 0, 10, 10, window_,
                             reinterpret_cast<HMENU>(kStateControlId), instance, nullptr);
    boardState_ = CreateWindowExA(0, "Static", boardText(game_.board()).c_str(), WS_CHILD, 0, 0, 10, 10, window_,
                                  reinterpret_cast<HMENU>(kBoardControlId), instance, nullptr);
}

void MainWindow::command(int id) {
    switch (id) {
        case kMenuNewGame: game_.newGame(); break;
        case kMenuSelectGame: game_.selectGame(); break;
        case kMenuRestart: game_.restart(); break;
        case kMenuUndo: game_.undo(); break;
        case kMenuExit: PostMessageA(window_, WM_CLOSE, 0, 0); break;
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
        case MenuRoute::Action::Consumed: return true;
        case MenuRoute::Action::Restart: game_.restart(); return true;
        case MenuRoute::Action::PassOn: break;
    }
    switch (key) {
        case VK_F2: game_.newGame(); return true;
        case VK_F3: game_.selectGame(); return true;
        case VK_F10: game_.undo(); return true;  // a real F10 arrives as a system key
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

bool MainWindow::confirmEndGame() {
    const DWORD hang = hangNextConfirmMs_;
    hangNextConfirmMs_ = 0;
    return showConfirmDialog(window_, config_.texts, log_, hang);
}

std::optional<std::string> MainWindow::askGameNumber(const std::string& initial) {
    const DWORD hang = hangNextGameNumberMs_;
    hangNextGameNumberMs_ = 0;
    return showGameNumberDialog(window_, config_.texts, log_, initial, hang);
}

LostAnswer MainWindow::askAfterLoss() { return showLostDialog(window_, config_.texts, log_); }

WonAnswer MainWindow::askAfterWin(bool selectGame) {
    return showWonDialog(window_, config_.texts, log_, selectGame);
}

void MainWindow::boardChanged() {
    if (state_) SetWindowTextA(state_, game_.stateText().c_str());
    if (boardState_) SetWindowTextA(boardState_, boardText(game_.board()).c_str());
    InvalidateRect(window_, nullptr, FALSE);
}

void MainWindow::moveRefused() { MessageBeep(MB_OK); }

}  // namespace standin
