// The control bar: its form data and its handlers.
#include "forms/CtrlF.h"

#include "forms/SeisekiF.h"
#include "gamelink/game_session.h"
#include "res/resource_ids.h"
#include "tk_version.h"

TFCCtrF* FCCtrF = nullptr;

namespace {

using T = TFCCtrF;

struct Button {
    TSpeedButton T::*self;
    Rect bounds;
    const char* caption;
    std::optional<FontSpec> font;  // none: the window's font
    LPCSTR cursor;                 // none: the arrow
    int glyph;
    void (T::*onClick)(TSpeedButton&);
};

const FontSpec kWindowFont{-12, false, clWindowText};
const FontSpec kButtonFont{-13, false, clBlack};
const LPCSTR crHandPoint = IDC_HAND;
const LPCSTR crDefault = nullptr;

// Bevel1: Left 0, Top 0, 634 x 39, Align alClient: it follows the bar's width.
Bevel::CreateArgs bevel1() {
    Bevel::CreateArgs args;
    args.bounds = {0, 0, 634, 39};
    args.fillsClient = true;
    return args;
}

// clang-format off
const Button kButtons[] = {
//   component          Left  Top Width Height  caption     font          cursor       glyph             OnClick
    {&T::SpeedButton1, { 16,   8, 145,  25}, "開始",     kButtonFont,  crHandPoint, IDB_SPEEDBUTTON1, &T::SpeedButton1Click},
    {&T::SpeedButton2, {168,   8, 145,  25}, "やり直し", kButtonFont,  crHandPoint, IDB_SPEEDBUTTON2, &T::SpeedButton2Click},
    {&T::SpeedButton3, {320,   8, 145,  25}, "１つ戻す", kButtonFont,  crHandPoint, IDB_SPEEDBUTTON3, &T::SpeedButton3Click},
    {&T::SpeedButton4, {472,   8, 145,  25}, "終了",     std::nullopt, crDefault,   IDB_SPEEDBUTTON4, &T::SpeedButton4Click},
};
// clang-format on

FormArgs formData() {
    FormArgs args;
    args.caption = "Tallykeep V" TK_VERSION_TEXT " ｺﾝﾄﾛｰﾙﾊﾞｰ";
    args.clientWidth = 634;
    args.clientHeight = 39;
    args.left = 270;
    args.top = 252;
    args.border = BorderStyle::bsToolWindow;
    args.stayOnTop = true;
    args.color = clLime;
    args.font = kWindowFont;
    args.icon = MAKEINTRESOURCEA(IDI_CONTROLBAR);
    args.visible = true;
    return args;
}

// Passes one command to the game that the results window knows, through its
// desktop, then puts the bar back on top of the game that the command brought
// to the front.
void passToGame(void (*command)(Desktop&, WindowId), const Form& bar) {
    if (!FCSeisekiF) return;
    Desktop& desktop = FCSeisekiF->desktop();
    command(desktop, FCSeisekiF->FreeCellWnd);
    desktop.bringToTop(reinterpret_cast<WindowId>(bar.handle()));
}

}  // namespace

TFCCtrF::TFCCtrF() {
    FCCtrF = this;
    OnHide = [this] { FormHide(*this); };
    create(formData(), [this] {
        Bevel1.create(*this, bevel1());
        for (const Button& row : kButtons) {
            TSpeedButton& button = this->*row.self;
            TSpeedButton::CreateArgs args;
            args.bounds = row.bounds;
            args.caption = row.caption;
            args.font = row.font;
            args.cursor = row.cursor;
            args.glyphResource = row.glyph;
            args.numGlyphs = 2;
            const auto handler = row.onClick;
            args.onClick = [this, handler, &button] { (this->*handler)(button); };
            button.create(*this, args);
        }
    });
}

TFCCtrF::~TFCCtrF() {
    if (FCCtrF == this) FCCtrF = nullptr;
}

void TFCCtrF::SpeedButton1Click(TSpeedButton&) { passToGame(&postStartCommand, *this); }

void TFCCtrF::SpeedButton2Click(TSpeedButton&) { passToGame(&postRedoCommand, *this); }

void TFCCtrF::SpeedButton3Click(TSpeedButton&) { passToGame(&postUndoCommand, *this); }

// "終了": the results window closes, and with it the game and the program.
void TFCCtrF::SpeedButton4Click(TSpeedButton&) {
    if (FCSeisekiF) FCSeisekiF->close();
}

// Hidden by the menu, by the arrangement or by its own close box: the menu's
// check mark follows; CtlBar stays as it is, so the next arrangement can bring
// the bar back.
void TFCCtrF::FormHide(Form&) {
    if (FCSeisekiF) FCSeisekiF->ControlBar().setChecked(false);
}
