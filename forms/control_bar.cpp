#include "forms/control_bar.h"

#include <optional>
#include <utility>

#include "res/resource_ids.h"
#include "tk_version.h"

namespace {

struct ButtonRow {
    SpeedButton ControlBar::*button;
    Rect bounds;
    const char* caption;
    std::optional<FontSpec> font;  // none: the window's font
    LPCSTR cursor;                 // none: the arrow
    int glyph;
    std::function<void()> ControlBarCommands::*command;
    bool passesToGame;  // brings the game to the front, so the bar goes back on top
};

const FontSpec kWindowFont{-12, false, clWindowText};
const FontSpec kButtonFont{-13, false, clBlack};
const LPCSTR kHandPointer = IDC_HAND;
const LPCSTR kArrowPointer = nullptr;

}  // namespace

ControlBar::ControlBar(ControlBarCommands commands) : commands_(std::move(commands)) {
    // The bar's controls as they were laid out: the bevel (Bevel1) fills the
    // client area and follows the bar's width; the buttons are SpeedButton1 to
    // SpeedButton4 from left to right.
    // clang-format off
    static const ButtonRow kButtons[] = {
    //   button                        Left Top Width Height caption    font          pointer        glyph             command                         passes to game
        {&ControlBar::startButton_,    { 16,  8, 145,  25}, "開始",     kButtonFont,  kHandPointer,  IDB_SPEEDBUTTON1, &ControlBarCommands::start,    true},
        {&ControlBar::restartButton_,  {168,  8, 145,  25}, "やり直し", kButtonFont,  kHandPointer,  IDB_SPEEDBUTTON2, &ControlBarCommands::restart,  true},
        {&ControlBar::takeBackButton_, {320,  8, 145,  25}, "１つ戻す", kButtonFont,  kHandPointer,  IDB_SPEEDBUTTON3, &ControlBarCommands::takeBack, true},
        {&ControlBar::exitButton_,     {472,  8, 145,  25}, "終了",     std::nullopt, kArrowPointer, IDB_SPEEDBUTTON4, &ControlBarCommands::exit,     false},
    };
    // clang-format on
    OnHide = [this] {
        if (commands_.hidden) commands_.hidden();
    };
    OnCloseQuery = [this](bool& canClose) {
        canClose = false;
        if (commands_.exit) commands_.exit();
    };
    FormArgs args;
    args.caption = "Tallykeep V" TK_VERSION_TEXT " ｺﾝﾄﾛｰﾙﾊﾞｰ";
    args.clientWidth = 634;
    args.clientHeight = 39;
    args.left = 270;
    args.top = 252;
    args.border = BorderStyle::bsToolWindow;
    args.stayOnTop = true;
    // Minimised from its system menu, it takes the group along.
    args.minimizeBox = true;
    args.color = clLime;
    args.font = kWindowFont;
    args.icon = MAKEINTRESOURCEA(IDI_CONTROLBAR);
    args.visible = true;
    create(args, [this] {
        frame_.create(*this, {{0, 0, 634, 39}, true});
        for (const ButtonRow& row : kButtons) {
            SpeedButton::CreateArgs button;
            button.bounds = row.bounds;
            button.caption = row.caption;
            button.font = row.font;
            button.cursor = row.cursor;
            button.glyphResource = row.glyph;
            button.numGlyphs = 2;
            const std::function<void()>& command = commands_.*row.command;
            if (row.passesToGame)
                button.onClick = [this, &command] { passToGame(command); };
            else
                button.onClick = [&command] {
                    if (command) command();
                };
            (this->*row.button).create(*this, button);
        }
    });
}

void ControlBar::passToGame(const std::function<void()>& command) {
    if (command) command();
    BringWindowToTop(handle());
}

void ControlBar::showBar() {
    show();
    bringToFront();
}

void ControlBar::hideBar() { hide(); }

Rect ControlBar::barBox() const { return bounds(); }

int ControlBar::barFrameWidth() const { return bounds().width - clientWidth(); }

void ControlBar::placeBar(const Rect& box, const std::array<int, 4>& buttonLefts, int buttonWidth) {
    setBounds(box);
    SpeedButton* const buttons[] = {&startButton_, &restartButton_, &takeBackButton_, &exitButton_};
    for (size_t i = 0; i < buttonLefts.size(); ++i) {
        Rect button = buttons[i]->bounds();
        button.left = buttonLefts[i];
        button.width = buttonWidth;
        buttons[i]->setBounds(button);
    }
}

void ControlBar::disableTakeBack() { takeBackButton_.setEnabled(false); }
