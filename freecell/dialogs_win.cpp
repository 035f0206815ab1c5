#include "freecell/dialogs_win.h"

#include "freecell/dialog_template_win.h"

#include <string>
#include <utility>
#include <vector>

namespace freecell {

namespace {

constexpr int kTextId = 100;
constexpr int kNumberEditId = 101;
constexpr int kCheckBoxId = 102;
constexpr UINT kHangMessage = WM_APP + 50;

// Makes the yes buttons answer a Y key sent to them (the dialog manager only
// knows mnemonics, which "OK" lacks), Enter sent to OK confirm the number even
// while the focus makes another button the default, and a paste replace the
// whole number field.
LRESULT CALLBACK controlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const int id = GetDlgCtrlID(window);
    const bool isKeyDown = message == WM_KEYDOWN;
    if (isKeyDown && wParam == 'Y' && id == IDYES) {
        SendMessageA(GetParent(window), WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), reinterpret_cast<LPARAM>(window));
        return 0;
    }
    if (id == IDOK && message == WM_GETDLGCODE) {
        // Asked by the dialog manager before it turns Enter into a command.
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        if (key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN) {
            return callOriginal(window, message, wParam, lParam) | DLGC_WANTMESSAGE;
        }
    }
    if (isKeyDown && wParam == VK_RETURN && id == IDOK) {
        SendMessageA(GetParent(window), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(window));
        return 0;
    }
    if (message == WM_PASTE && id == kNumberEditId) SendMessageA(window, EM_SETSEL, 0, -1);
    return callOriginal(window, message, wParam, lParam);
}

struct Control {
    int id;
    const char* logName;
    const char* caption;
};

// What every dialog shares: its title, its controls' captions and logging.
struct DialogBase {
    const char* logName;
    const char* title;
    std::vector<Control> controls;
    EventLog* log;
    HWND window = nullptr;
    // With hangMs > 0 the dialog, once shown, stops handling messages for that
    // long; `hung` tells that it did.
    DWORD hangMs = 0;
    bool hung = false;
    // The messages still queued when the dialog closes are thrown away.
    bool discarding = false;

    // Captions first, the title last: whoever finds the dialog by its title
    // finds it complete.
    void start(HWND dialog) {
        window = dialog;
        for (const Control& control : controls) {
            HWND child = GetDlgItem(dialog, control.id);
            if (!child) continue;
            SetWindowTextA(child, control.caption);
            subclass(child, controlProc);
        }
    }

    void showTitle() const {
        SetWindowTextA(window, title);
        log->write("dialog-ready", logName);
    }

    // Called at WM_INITDIALOG: the hang starts as the dialog's loop takes the
    // posted kHangMessage, the first message queued for the shown dialog.
    void scheduleHang() const {
        if (hangMs > 0) PostMessageA(window, kHangMessage, 0, 0);
    }

    // A game that stops responding while its dialog is open: the dialog is on
    // screen and findable, but nothing sent or posted to it is handled.
    void hang() {
        log->write("hang", std::to_string(hangMs));
        Sleep(hangMs);
        log->write("hang-end");
        hung = true;
    }

    // The hang's own messages, for the dialogs that can hang: true when the
    // message was the hang itself. WM_DESTROY goes on to the dialog manager.
    bool handleHang(UINT message) {
        if (message == kHangMessage) {
            hang();
            return true;
        }
        if (message == WM_DESTROY) discardQueued();
        return false;
    }

    // After a hang, what was posted meanwhile and not taken before the dialog
    // closed would vanish with its windows: take it here, so that the log has
    // the post time of every message of interest that piled up.
    void discardQueued() {
        if (!hung) return;
        discarding = true;
        MSG message;
        while (PeekMessageA(&message, window, 0, 0, PM_REMOVE)) {}
        discarding = false;
    }

    // The log name of the dialog or of one of its controls.
    const char* nameOf(HWND target) const {
        if (!window) return nullptr;
        if (target == window) return logName;
        for (const Control& control : controls) {
            if (GetDlgItem(window, control.id) == target) return control.logName;
        }
        return nullptr;
    }
};

// The dialog being shown; the thread has one at a time.
DialogBase* currentDialog = nullptr;

// Logs the posted messages of interest as the dialog's loop takes them from
// the queue, before the dialog manager handles some of them itself (Enter
// becomes the default button's command without reaching the button). After a
// hang each also gets a "queued" line with its post time (MSG.time, the
// GetTickCount of the post), so that a test can tell when it was posted.
LRESULT CALLBACK queueHook(int code, WPARAM removal, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && removal == PM_REMOVE && currentDialog) {
        const std::string name = loggedMessageName(message->message);
        const char* target = currentDialog->nameOf(message->hwnd);
        if (!name.empty() && target) {
            const std::string what = std::string(target) + ' ' + name + ' ' + std::to_string(message->wParam);
            if (!currentDialog->discarding) currentDialog->log->write("msg", what);
            if (currentDialog->hung) currentDialog->log->write("queued", what + ' ' + std::to_string(message->time));
        }
    }
    return CallNextHookEx(nullptr, code, removal, lParam);
}

struct ConfirmDialog : DialogBase {
    bool yes = false;
};

struct NumberDialog : DialogBase {
    std::string initial;
    std::optional<std::string> result;
};

struct GameOverDialog : DialogBase {
    bool checked = false;
    bool yes = false;
};

template <typename Dialog>
Dialog* dialogOf(HWND window) {
    return reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
}

template <typename Dialog>
Dialog* attach(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        auto* dialog = reinterpret_cast<Dialog*>(lParam);
        dialog->start(window);
        return dialog;
    }
    return dialogOf<Dialog>(window);
}

INT_PTR CALLBACK confirmProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* dialog = attach<ConfirmDialog>(window, message, lParam);
    if (!dialog) return FALSE;
    if (dialog->handleHang(message)) return TRUE;
    switch (message) {
        case WM_INITDIALOG:
            dialog->scheduleHang();
            dialog->showTitle();
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDYES || LOWORD(wParam) == IDNO || LOWORD(wParam) == IDCANCEL) {
                dialog->yes = LOWORD(wParam) == IDYES;
                EndDialog(window, LOWORD(wParam));
            }
            return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK numberProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* dialog = attach<NumberDialog>(window, message, lParam);
    if (!dialog) return FALSE;
    if (dialog->handleHang(message)) return TRUE;
    switch (message) {
        case WM_INITDIALOG:
            SetDlgItemTextA(window, kNumberEditId, dialog->initial.c_str());
            SendDlgItemMessageA(window, kNumberEditId, EM_SETSEL, 0, -1);
            dialog->scheduleHang();
            dialog->showTitle();
            return TRUE;  // the dialog manager puts the focus on the field
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                char text[64] = {};
                GetDlgItemTextA(window, kNumberEditId, text, sizeof text);
                dialog->result = text;
                EndDialog(window, IDOK);
            } else if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(window, IDCANCEL);
            }
            return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK gameOverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* dialog = attach<GameOverDialog>(window, message, lParam);
    if (!dialog) return FALSE;
    switch (message) {
        case WM_INITDIALOG:
            CheckDlgButton(window, kCheckBoxId, dialog->checked ? BST_CHECKED : BST_UNCHECKED);
            SetFocus(GetDlgItem(window, IDYES));
            dialog->showTitle();
            return FALSE;  // the focus is set
        case WM_COMMAND:
            if (LOWORD(wParam) == IDYES || LOWORD(wParam) == IDNO || LOWORD(wParam) == IDCANCEL) {
                dialog->yes = LOWORD(wParam) == IDYES;
                dialog->checked = IsDlgButtonChecked(window, kCheckBoxId) == BST_CHECKED;
                EndDialog(window, LOWORD(wParam));
            }
            return TRUE;
    }
    return FALSE;
}

INT_PTR runDialog(HWND owner, const DialogTemplate& layout, DLGPROC procedure, DialogBase& dialog) {
    currentDialog = &dialog;
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, queueHook, nullptr, GetCurrentThreadId());
    if (!hook) dialog.log->write("error", "message hook " + std::to_string(GetLastError()));
    const INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), layout.get(), owner, procedure,
                                                   reinterpret_cast<LPARAM>(&dialog));
    if (result == -1)
        dialog.log->write("error",
                          "dialog " + std::string(dialog.logName) + " not created " + std::to_string(GetLastError()));
    if (hook) UnhookWindowsHookEx(hook);
    currentDialog = nullptr;
    return result;
}

DialogTemplate gameOverLayout() {
    DialogTemplate layout(220, 86);
    layout.add(kStaticAtom, kTextId, SS_LEFT, 10, 8, 200, 30);
    layout.add(kButtonAtom, IDYES, BS_DEFPUSHBUTTON | WS_TABSTOP, 40, 62, 60, 15);
    layout.add(kButtonAtom, IDNO, BS_PUSHBUTTON | WS_TABSTOP, 120, 62, 60, 15);
    layout.add(kButtonAtom, kCheckBoxId, BS_AUTOCHECKBOX | WS_TABSTOP, 10, 42, 200, 12);
    return layout;
}

}  // namespace

std::string loggedMessageName(UINT message) {
    switch (message) {
        case WM_KEYDOWN:
            return "WM_KEYDOWN";
        case WM_KEYUP:
            return "WM_KEYUP";
        case WM_SYSKEYDOWN:
            return "WM_SYSKEYDOWN";
        case WM_SYSKEYUP:
            return "WM_SYSKEYUP";
        case WM_SYSCOMMAND:
            return "WM_SYSCOMMAND";
        case WM_CLOSE:
            return "WM_CLOSE";
        case WM_PASTE:
            return "WM_PASTE";
        case BM_SETCHECK:
            return "BM_SETCHECK";
        case BM_CLICK:
            return "BM_CLICK";
        default:
            return {};
    }
}

bool showConfirmDialog(HWND owner, const GameTexts& texts, EventLog& log, DWORD hangMs) {
    DialogTemplate layout(200, 60);
    layout.add(kStaticAtom, kTextId, SS_LEFT, 10, 10, 180, 20);
    layout.add(kButtonAtom, IDYES, BS_DEFPUSHBUTTON | WS_TABSTOP, 35, 38, 60, 15);
    layout.add(kButtonAtom, IDNO, BS_PUSHBUTTON | WS_TABSTOP, 105, 38, 60, 15);
    ConfirmDialog dialog;
    dialog.logName = "confirm";
    dialog.title = texts.titleConfirm;
    dialog.controls = std::vector<Control>{{kTextId, "text", texts.textConfirm},
                                           {IDYES, "yesbutton", texts.captionYes},
                                           {IDNO, "nobutton", texts.captionNo}};
    dialog.log = &log;
    dialog.hangMs = hangMs;
    runDialog(owner, layout, confirmProc, dialog);
    return dialog.yes;
}

std::optional<std::string> showGameNumberDialog(HWND owner, const GameTexts& texts, EventLog& log,
                                                const std::string& initial, DWORD hangMs) {
    DialogTemplate layout(180, 70);
    layout.add(kStaticAtom, kTextId, SS_LEFT, 10, 8, 160, 10);
    layout.add(kEditAtom, kNumberEditId, ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 10, 22, 160, 13);
    layout.add(kButtonAtom, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 30, 46, 55, 15);
    layout.add(kButtonAtom, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 95, 46, 55, 15);
    NumberDialog dialog;
    dialog.logName = "gamenumber";
    dialog.title = texts.titleGameNumber;
    dialog.controls = std::vector<Control>{{kTextId, "text", texts.labelGameNumber},
                                           {kNumberEditId, "edit", ""},
                                           {IDOK, "okbutton", texts.captionOk},
                                           {IDCANCEL, "cancelbutton", texts.captionCancel}};
    dialog.log = &log;
    dialog.initial = initial;
    dialog.hangMs = hangMs;
    runDialog(owner, layout, numberProc, dialog);
    return dialog.result;
}

namespace {

// The game-over dialog after a loss or a win: text, yes and no, and one check
// box. Returns whether it was answered yes, and the box's state then.
std::pair<bool, bool> runGameOverDialog(HWND owner, const GameTexts& texts, EventLog& log, const char* logName,
                                        const char* text, const char* boxName, const char* boxCaption, bool checked) {
    GameOverDialog dialog;
    dialog.logName = logName;
    dialog.title = texts.titleGameOver;
    dialog.controls = std::vector<Control>{{kTextId, "text", text},
                                           {IDYES, "yesbutton", texts.captionYes},
                                           {IDNO, "nobutton", texts.captionNo},
                                           {kCheckBoxId, boxName, boxCaption}};
    dialog.log = &log;
    dialog.checked = checked;
    runDialog(owner, gameOverLayout(), gameOverProc, dialog);
    return {dialog.yes, dialog.checked};
}

}  // namespace

LostAnswer showLostDialog(HWND owner, const GameTexts& texts, EventLog& log) {
    const auto [yes, same] =
        runGameOverDialog(owner, texts, log, "lost", texts.textLost, "samebox", texts.captionSameGame, true);
    return {yes, same};
}

WonAnswer showWonDialog(HWND owner, const GameTexts& texts, EventLog& log, bool selectGame) {
    const auto [yes, select] =
        runGameOverDialog(owner, texts, log, "won", texts.textWon, "selectbox", texts.captionSelectGame, selectGame);
    return {yes, select};
}

}  // namespace freecell
