#include "fake_desktop.h"

#include "common/app_error.h"
#include "common/number_text.h"
#include "gamelink/game_contract.h"

namespace {

std::string textOrAny(const char* text) { return text != nullptr ? std::string(text) : std::string("*"); }

bool matches(const char* wanted, const std::string& actual) { return wanted == nullptr || actual == wanted; }

}  // namespace

WindowId FakeDesktop::createWindow(WindowId parent, const std::string& className, const std::string& caption) {
    const WindowId id = 0x100 + windows_.size() * 4;
    windows_.push_back({id, parent, className, caption, true});
    return id;
}

void FakeDesktop::destroyWindow(WindowId id) {
    for (Window& each : windows_) {
        if (each.id == id && each.alive) {
            each.alive = false;
            for (const Window& child : windows_)
                if (child.parent == id) destroyWindow(child.id);
        }
    }
}

const FakeDesktop::Window* FakeDesktop::window(WindowId id) const {
    for (const Window& each : windows_)
        if (each.id == id) return &each;
    return nullptr;
}

bool FakeDesktop::isAlive(WindowId id) const {
    const Window* found = window(id);
    return found != nullptr && found->alive;
}

WindowId FakeDesktop::findTopLevel(const char* className, const char* title) {
    WindowId result = 0;
    for (const Window& each : windows_) {
        if (each.alive && each.parent == 0 && matches(className, each.className) && matches(title, each.caption)) {
            result = each.id;
            break;
        }
    }
    calls.push_back({Call::FindTopLevel, 0, 0, 0, textOrAny(className), textOrAny(title), result});
    return result;
}

WindowId FakeDesktop::findChild(WindowId parent, const char* className, const char* caption) {
    WindowId result = 0;
    if (parent != 0 && isAlive(parent)) {
        for (const Window& each : windows_) {
            if (each.alive && each.parent == parent && matches(className, each.className) &&
                matches(caption, each.caption)) {
                result = each.id;
                break;
            }
        }
    }
    calls.push_back({Call::FindChild, parent, 0, 0, textOrAny(className), textOrAny(caption), result});
    return result;
}

bool FakeDesktop::exists(WindowId id) {
    calls.push_back({Call::Exists, id, 0, 0, {}, {}, 0});
    return isAlive(id);
}

std::string FakeDesktop::titleOf(WindowId id) {
    const Window* found = window(id);
    return found && found->alive ? found->caption : std::string();
}

void FakeDesktop::setTitle(WindowId id, const std::string& title) {
    for (Window& each : windows_)
        if (each.id == id) each.caption = title;
}

void FakeDesktop::bringToForeground(WindowId id) { calls.push_back({Call::Foreground, id, 0, 0, {}, {}, 0}); }

void FakeDesktop::bringToTop(WindowId id) { calls.push_back({Call::Top, id, 0, 0, {}, {}, 0}); }

void FakeDesktop::post(WindowId id, uint32_t message, uintptr_t wParam) {
    calls.push_back({Call::Post, id, message, wParam, {}, {}, 0});
    if (isAlive(id) && onPost) onPost(id, message, wParam);
}

void FakeDesktop::pause(uint32_t milliseconds) {
    calls.push_back({Call::Pause, 0, milliseconds, 0, {}, {}, 0});
    clockMs += milliseconds;
    if (onPause) onPause();
}

std::vector<FakeDesktop::Call> FakeDesktop::callsOf(Call::Kind kind) const {
    std::vector<Call> result;
    for (const Call& call : calls)
        if (call.kind == kind) result.push_back(call);
    return result;
}

size_t FakeDesktop::lookupCount() const { return callsOf(Call::FindTopLevel).size() + callsOf(Call::FindChild).size(); }

void FakeClipboard::setText(const std::string& text) {
    if (heldByAnotherProgram) throw AppError("クリップボードを開くことができません");
    ++writes;
    content = rewrite ? rewrite(text) : text;
}

std::string FakeClipboard::text() {
    if (heldByAnotherProgram) throw AppError("クリップボードを開くことができません");
    return content;
}

FakeGame::FakeGame(FakeDesktop& desktop, FakeClipboard& clipboard, const ProfileTexts& texts)
    : desktop_(desktop), clipboard_(clipboard), texts_(texts) {
    desktop_.onPost = [this](WindowId window, uint32_t message, uintptr_t wParam) { react(window, message, wParam); };
    desktop_.onPause = [this] { onPause(); };
    desktop_.tickedOf = [this](WindowId window) -> std::optional<bool> {
        if (window != winSelectBox_) return std::nullopt;
        return selectGameChecked;
    };
}

void FakeGame::start() { mainWindow = desktop_.createWindow(0, game::kMainWindowClass, "フリーセル"); }

WindowId FakeGame::showGameNumberDialog() {
    ++gameNumberDialogsShown;
    const WindowId dialog = desktop_.createWindow(0, game::kDialogClass, texts_.TitleGameNumber);
    desktop_.createWindow(dialog, "Static", "ゲーム番号を入力してください");
    const WindowId edit = desktop_.createWindow(dialog, game::kEditClass, "0");
    const WindowId ok = desktop_.createWindow(dialog, game::kButtonClass, "OK");
    desktop_.createWindow(dialog, game::kButtonClass, "ｷｬﾝｾﾙ");
    dialogs_.push_back({dialog, edit, ok, "0", true, false});
    return dialog;
}

WindowId FakeGame::showLossDialog() {
    const WindowId dialog = desktop_.createWindow(0, game::kDialogClass, texts_.TitleGameOver);
    const WindowId yes = desktop_.createWindow(dialog, game::kButtonClass, texts_.CaptionYes);
    desktop_.createWindow(dialog, game::kButtonClass, texts_.CaptionSameGame);
    dialogs_.push_back({dialog, 0, yes, {}, false, false});
    return dialog;
}

WindowId FakeGame::showWinDialog() {
    winDialog = desktop_.createWindow(0, game::kDialogClass, texts_.TitleGameOver);
    const WindowId yes = desktop_.createWindow(winDialog, game::kButtonClass, texts_.CaptionYes);
    winSelectBox_ = desktop_.createWindow(winDialog, game::kButtonClass, texts_.CaptionSelectGame);
    dialogs_.push_back({winDialog, 0, yes, {}, false, false});
    return winDialog;
}

WindowId FakeGame::showGameOverWithoutBoxes() {
    const WindowId dialog = desktop_.createWindow(0, game::kDialogClass, texts_.TitleGameOver);
    const WindowId yes = desktop_.createWindow(dialog, game::kButtonClass, texts_.CaptionYes);
    dialogs_.push_back({dialog, 0, yes, {}, false, false});
    return dialog;
}

WindowId FakeGame::showConfirmBox() {
    const WindowId box = desktop_.createWindow(0, game::kDialogClass, texts_.TitleConfirm);
    desktop_.createWindow(box, "Static", texts_.TextConfirm);
    const WindowId yes = desktop_.createWindow(box, game::kButtonClass, texts_.CaptionYes);
    desktop_.createWindow(box, game::kButtonClass, "いいえ(&N)");
    dialogs_.push_back({box, 0, yes, {}, false, false});
    return box;
}

void FakeGame::react(WindowId window, uint32_t message, uintptr_t wParam) {
    if (!responsive) return;
    if (window == mainWindow && message == game::kWmClose) {
        if (confirmsOnClose) {
            showConfirmBox();
            dialogs_.back().closesMain = true;
        } else {
            desktop_.destroyWindow(mainWindow);
        }
        return;
    }
    if (message == game::kBmSetCheck && window == winSelectBox_) {
        selectGameChecked = wParam == game::kBstChecked;
        return;
    }
    for (Dialog& dialog : dialogs_) {
        if (!desktop_.isAlive(dialog.dialog)) continue;
        if (window == dialog.edit && message == game::kWmPaste) {
            dialog.field = clipboard_.content;
            return;
        }
        if (window != dialog.button || message != game::kWmKeyDown) continue;
        if (dialog.isGameNumber && wParam == game::kVkReturn) {
            const std::string field = dialog.field;
            desktop_.destroyWindow(dialog.dialog);
            const auto number = tryTextToInt(field);
            if (number && accepts(*number))
                dealt.push_back(field);
            else if (!refusalLeavesAGap)
                showGameNumberDialog();  // may reallocate dialogs_
            return;
        }
        if (!dialog.isGameNumber && wParam == game::kKeyY) {
            desktop_.destroyWindow(dialog.dialog);
            if (dialog.closesMain) desktop_.destroyWindow(mainWindow);
            return;
        }
    }
}

void FakeGame::onPause() {
    if (winDialog == 0 || !desktop_.isAlive(winDialog) || userAnswersWinAfterPauses < 0) return;
    if (userAnswersWinAfterPauses-- > 0) return;
    desktop_.destroyWindow(winDialog);
    if (selectGameChecked) showGameNumberDialog();
}

std::optional<Rect> FakeDesktop::windowBox(WindowId window) {
    if (!isAlive(window) || minimized(window)) return std::nullopt;
    const auto box = boxes.find(window);
    return box == boxes.end() ? Rect{} : box->second;
}

void FakeDesktop::moveWindow(WindowId window, const Rect& box) {
    if (isAlive(window)) boxes[window] = box;
}
