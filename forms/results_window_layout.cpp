// The results window's controls and menu, each in one table, parents first.
#include <iterator>
#include <optional>
#include <type_traits>
#include <variant>

#include "common/number_text.h"
#include "controls/thousands.h"
#include "forms/results_window.h"

namespace {

constexpr bool kBold = true;
constexpr bool kRegular = false;
constexpr FontSpec textFont(int height, bool bold, Color color) { return FontSpec{height, bold, color}; }
const std::optional<FontSpec> kParentFont;

enum class Kind { frame, panel, label, numberBox, groupBox, memo };

struct LabelLook {
    Alignment alignment = Alignment::taLeftJustify;
    bool autoSize = true;
};
const LabelLook kAutoSize{};
const LabelLook kRightAutoSize{Alignment::taRightJustify, true};
const LabelLook kRightFixed{Alignment::taRightJustify, false};
const LabelLook kCentreAutoSize{Alignment::taCenter, true};
const LabelLook kFixed{Alignment::taLeftJustify, false};

}  // namespace

void ResultsWindow::createControls() {
    using W = ResultsWindow;
    using Member =
        std::variant<std::monostate, Bevel W::*, Panel W::*, Label W::*, NumberBox W::*, GroupBox W::*, Memo W::*>;
    using Parent = std::variant<std::monostate, Panel W::*, GroupBox W::*>;
    constexpr std::monostate kWindow{};
    constexpr std::monostate kCaption{};  // a caption that never changes: no member
    struct Row {
        Kind kind;
        Member self;
        Parent parent;
        Rect bounds;
        const char* caption;
        std::optional<FontSpec> font;  // none: the parent's font
        LabelLook look;
    };

    // Where each control stands, from the top: the bevel frame (Bevel1) fills
    // the window; the panel (Panel1) holds the number box (EditEx1) and the
    // attempt "99 回目" (Label1, Label2). Below the panel, in a row of its own,
    // the next deal's difficulty ("フリーセル2枚", "解けない"; made last, so
    // that the window's other children keep their order). The group "成績"
    // (GroupBox1), moved down by that row, holds
    // this run's rows "今　回" (Label12..17: percentage, won, lost), then the
    // all-time rows "トータル" (Label7, 9, 3, 4, 18, 19), the longest streaks
    // "連勝/連敗の記録" (Label8, 5, 6, 20, 21) and the current streak "現在"
    // (Label10, 11). The group "対戦履歴" (GroupBox2) holds the history memo
    // (Memo1).
    // clang-format off
    const Row rows[] = {
    //   kind              control                  parent              Left Top Width Height  caption            font                                look
        {Kind::frame,     &W::frame_,              kWindow,            {  0,   0, 151, 452}, "",                kParentFont,                       kAutoSize},
        {Kind::panel,     &W::numberPanel_,        kWindow,            {  5,   5, 140,  31}, "",                kParentFont,                       kAutoSize},
        {Kind::label,     &W::attemptLabel_,       &W::numberPanel_,   { 90,  13,  16,  13}, "99",              textFont(-13, kBold, clBlack),         kRightAutoSize},
        {Kind::label,     &W::attemptSuffixLabel_, &W::numberPanel_,   {107,  13,  28,  13}, "回目",            textFont(-13, kBold, clBlack),         kRightAutoSize},
        {Kind::numberBox, &W::numberBox_,          &W::numberPanel_,   {  4,   6,  81,  21}, "1000000",         textFont(-16, kBold, clBlue),          kAutoSize},
        {Kind::groupBox,  &W::resultsGroup_,       kWindow,            {  5,  54, 140, 217}, "成績",            textFont(-13, kRegular, clWindowText), kAutoSize},
        {Kind::label,     kCaption,                &W::resultsGroup_,  {  8,  72,  43,  13}, "トータル",        kParentFont,                       kAutoSize},
        {Kind::label,     &W::totalPercentLabel_,  &W::resultsGroup_,  { 56,  72,  73,  15}, "99.9%",           textFont(-15, kBold, clRed),           kRightFixed},
        {Kind::label,     kCaption,                &W::resultsGroup_,  { 24,  88,  24,  13}, "勝ち",            kParentFont,                       kAutoSize},
        {Kind::label,     kCaption,                &W::resultsGroup_,  { 24, 112,  25,  13}, "負け",            kParentFont,                       kAutoSize},
        {Kind::label,     kCaption,                &W::resultsGroup_,  {  8, 136,  98,  13}, "連勝/連敗の記録", kParentFont,                       kCentreAutoSize},
        {Kind::label,     kCaption,                &W::resultsGroup_,  { 24, 152,  24,  13}, "勝ち",            kParentFont,                       kAutoSize},
        {Kind::label,     kCaption,                &W::resultsGroup_,  { 24, 176,  25,  13}, "負け",            kParentFont,                       kAutoSize},
        {Kind::label,     kCaption,                &W::resultsGroup_,  { 24, 197,  26,  13}, "現在",            kParentFont,                       kAutoSize},
        {Kind::label,     &W::currentStreakLabel_, &W::resultsGroup_,  { 56, 197,  28,  13}, "勝負",            textFont(-13, kBold, clRed),           kAutoSize},
        {Kind::label,     kCaption,                &W::resultsGroup_,  {  8,  16,  35,  13}, "今　回",          kParentFont,                       kAutoSize},
        {Kind::label,     &W::runPercentLabel_,    &W::resultsGroup_,  { 56,  16,  73,  15}, "99.9%",           textFont(-15, kBold, clRed),           kRightFixed},
        {Kind::label,     kCaption,                &W::resultsGroup_,  { 24,  32,  24,  13}, "勝ち",            kParentFont,                       kAutoSize},
        {Kind::label,     kCaption,                &W::resultsGroup_,  { 24,  56,  25,  13}, "負け",            kParentFont,                       kAutoSize},
        {Kind::label,     &W::runWonLabel_,        &W::resultsGroup_,  { 56,  32,   8,  13}, "0",               textFont(-13, kBold, clWindowText),    kAutoSize},
        {Kind::label,     &W::runLostLabel_,       &W::resultsGroup_,  { 56,  56,   8,  13}, "0",               textFont(-13, kBold, clWindowText),    kAutoSize},
        {Kind::label,     &W::totalWonLabel_,      &W::resultsGroup_,  { 56,  88,  50,  13}, "Label18",         textFont(-13, kBold, clWindowText),    kAutoSize},
        {Kind::label,     &W::totalLostLabel_,     &W::resultsGroup_,  { 56, 112,  50,  13}, "Label19",         textFont(-13, kBold, clWindowText),    kAutoSize},
        {Kind::label,     &W::longestWinLabel_,    &W::resultsGroup_,  { 56, 152,  50,  13}, "Label20",         textFont(-13, kBold, clWindowText),    kAutoSize},
        {Kind::label,     &W::longestLossLabel_,   &W::resultsGroup_,  { 56, 176,  50,  13}, "Label21",         textFont(-13, kBold, clWindowText),    kAutoSize},
        {Kind::groupBox,  &W::historyGroup_,       kWindow,            {  5, 276, 140, 173}, "対戦履歴",        kParentFont,                       kAutoSize},
        {Kind::memo,      &W::historyMemo_,        &W::historyGroup_,  {  5,  15, 128, 146}, "",                kParentFont,                       kAutoSize},
        {Kind::label,     &W::difficultyLabel_,    kWindow,            { 10,  39, 130,  13}, "",                textFont(-12, kBold, clBlack),         kFixed},
    };
    // clang-format on

    for (const Row& row : rows) {
        Container& parent = std::visit(
            [this](auto member) -> Container& {
                if constexpr (std::is_same_v<decltype(member), std::monostate>)
                    return *this;
                else
                    return this->*member;
            },
            row.parent);
        switch (row.kind) {
            case Kind::frame:
                (this->*std::get<Bevel W::*>(row.self)).create(*this, {row.bounds, true});
                break;
            case Kind::panel:
                (this->*std::get<Panel W::*>(row.self)).create(parent, {row.bounds});
                break;
            case Kind::label: {
                Label* label = nullptr;
                if (std::holds_alternative<Label W::*>(row.self)) {
                    label = &(this->*std::get<Label W::*>(row.self));
                } else {
                    captions_.push_back(std::make_unique<Label>());
                    label = captions_.back().get();
                }
                label->create(parent, {row.bounds, row.caption, row.font, row.look.alignment, row.look.autoSize});
                break;
            }
            case Kind::numberBox: {
                // Right-aligned, grouped by thousands, nine characters at most
                // (until fitted to the game's range below), upper case, no tab
                // stop (no control of the window is one).
                Edit::CreateArgs edit{row.bounds, row.caption, row.font, clWindow, true, 9, false};
                (this->*std::get<NumberBox W::*>(row.self)).create(parent, {edit, Alignment::taRightJustify, true});
                break;
            }
            case Kind::groupBox:
                (this->*std::get<GroupBox W::*>(row.self)).create(parent, {row.bounds, row.caption, row.font});
                break;
            case Kind::memo:
                // One empty line: the text is a single line break.
                (this->*std::get<Memo W::*>(row.self)).create(parent, {row.bounds, {""}});
                break;
        }
    }
    numberBox_.OnUserEdit = [this] { drawBoxNumber(boxText()); };
    // The box takes every number of the game's range, and shows it whole.
    const std::string highest = intToText(ports_.game->maxGameNumber());
    numberBox_.fitText(groupThousands(std::string(highest.size(), '9')));
    // Enter in the box deals its number, as 開始 does.
    numberBox_.OnEnter = [this] { startGame(); };
    watchTimer_.create(*this, kTickMs, [this] { onTick(); });
    createMenu();
    setActiveControl(&numberBox_);
}

void ResultsWindow::createMenu() {
    struct MenuRow {
        UINT command;
        UINT parent;  // 0: the menu bar
        const char* caption;
        Shortcut shortcut;
        bool checked;
        void (ResultsWindow::*onClick)();  // nullptr: none (a submenu, or a pass-list slot)
    };
    constexpr Shortcut kAltO = kShortcutAlt | 'O';    // 32847
    constexpr Shortcut kCtrlP = kShortcutCtrl | 'P';  // 16464
    constexpr Shortcut kF1 = VK_F1;
    using W = ResultsWindow;

    // The menu bar "ｵﾌﾟｼｮﾝ" (Option1) and "ﾊﾟｽ" (N1), their items (ControlBar,
    // SeisekiUp, SeisekiClear; Pass, Retry) and the pass-list slots (Retry0 to
    // Retry9, which show the passed numbers and are absent while empty).
    // clang-format off
    static const MenuRow kMenu[] = {
    //   command                  parent        caption                           shortcut checked OnClick
        {cmOptionsMenu,           0,            "ｵﾌﾟｼｮﾝ(&O)",                     kAltO,   false,  nullptr},
        {cmControlBar,            cmOptionsMenu,"ｺﾝﾄﾛﾙﾊﾞｰ表示",                   0,       true,   &W::toggleControlBar},
        {cmRestoreGameStatistics, cmOptionsMenu,"Tallykeepの成績だけ更新",         0,       true,   &W::toggleRestoreGameStatistics},
        {cmClearTotals,           cmOptionsMenu,"Tallykeepの成績をｸﾘｱする",        0,       false,  &W::clearTotals},
        {cmPassMenu,              0,            "ﾊﾟｽ(&P)",                        kCtrlP,  false,  nullptr},
        {cmPass,                  cmPassMenu,   "このｹﾞｰﾑをﾊﾟｽする(10個まで)",     0,       false,  &W::passGame},
        {cmRetryMenu,             cmPassMenu,   "ﾊﾟｽしたｹﾞｰﾑに再挑戦",             0,       false,  nullptr},
        // Items of this version, at the end of "ｵﾌﾟｼｮﾝ": the skip option, then
        // after a dividing line the progress window.
        {cmSkipImpossible,        cmOptionsMenu,"解けない番号は飛ばす",             0,       false,  &W::toggleSkipImpossible},
        {cmProgressSeparator,     cmOptionsMenu,"",                               0,       false,  nullptr},
        {cmProgress,              cmOptionsMenu,"進捗...",                         0,       false,  &W::openProgress},
        // Help at hand, after another dividing line (a menu of its own would
        // not fit the menu bar's one row): the manual beside the program,
        // and the version.
        {cmHelpSeparator,         cmOptionsMenu,"",                               0,       false,  nullptr},
        {cmManual,                cmOptionsMenu,"説明書を開く(Tallykeep.txt)\tF1",  kF1,     false,  &W::openManual},
        {cmVersion,               cmOptionsMenu,"ﾊﾞｰｼﾞｮﾝ情報",                    0,       false,  &W::showVersion},
    };
    // clang-format on

    std::vector<MainMenu::ItemArgs> items;
    for (const MenuRow& row : kMenu) {
        MainMenu::ItemArgs args;
        args.commandId = row.command;
        args.parentId = row.parent;
        args.caption = row.caption;
        args.shortcut = row.shortcut;
        args.checked = row.checked;
        args.separator = row.command == cmProgressSeparator || row.command == cmHelpSeparator;
        if (row.onClick) args.onClick = [this, onClick = row.onClick](MenuItem&) { (this->*onClick)(); };
        items.push_back(std::move(args));
    }
    for (UINT command = cmRetryFirst; command <= cmRetryLast; ++command) {
        MainMenu::ItemArgs args;
        args.commandId = command;
        args.parentId = cmRetryMenu;
        args.tag = static_cast<int>(command - cmRetryFirst);
        args.onClick = [this](MenuItem& slot) { retryPassedGame(slot.tag()); };
        items.push_back(std::move(args));
    }
    menu_.create(*this, items);
}
