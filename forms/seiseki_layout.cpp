// The form data of the results window: its components and its menu, each in
// one table, in creation order.
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <variant>

#include "forms/SeisekiF.h"

namespace {

using T = TFCSeisekiF;

using ComponentMember =
    std::variant<Bevel T::*, Panel T::*, Label T::*, NumberBox T::*, GroupBox T::*, Memo T::*>;
using ParentMember = std::variant<std::monostate, Panel T::*, GroupBox T::*>;
constexpr std::monostate kWindow{};

// What a component sets beyond the common columns.
struct Look {
    Alignment alignment = Alignment::taLeftJustify;
    bool autoSize = true;
    // The number box only:
    Color background = clWindow;
    int maxLength = 0;
    bool upperCase = false;
    bool tabStop = false;  // no control of the window is a tab stop
    bool thousands = false;
    // A bevel only:
    bool fillsClient = false;  // Align alClient: follows the window's size
};

struct Component {
    ComponentMember self;
    ParentMember parent;
    Rect bounds;
    const char* caption;
    std::optional<FontSpec> font;  // none: the parent's font
    Look look;
};

constexpr bool kBold = true;
constexpr bool kRegular = false;
constexpr FontSpec font(int height, bool bold, Color color) { return FontSpec{height, bold, color}; }
const std::optional<FontSpec> kParentFont;

const Look kAutoSize{};
const Look kRightAutoSize{Alignment::taRightJustify, true};
const Look kRightFixed{Alignment::taRightJustify, false};
const Look kCentreAutoSize{Alignment::taCenter, true};
constexpr Look kNumberBox = [] {
    Look look;
    look.alignment = Alignment::taRightJustify;
    look.autoSize = false;
    look.background = clWindow;
    look.maxLength = 9;
    look.upperCase = true;
    look.tabStop = false;
    look.thousands = true;
    return look;
}();
const Look kFillsClient = [] {
    Look look;
    look.fillsClient = true;
    return look;
}();

// clang-format off
const Component kComponents[] = {
//   component      parent          Left Top Width Height  caption            font                            look
    {&T::Bevel1,    kWindow,        {  0,   0, 151, 436}, "",                kParentFont,                     kFillsClient},
    {&T::Panel1,    kWindow,        {  5,   5, 140,  31}, "",                kParentFont,                     kAutoSize},
    {&T::Label1,    &T::Panel1,     { 90,  13,  16,  13}, "99",              font(-13, kBold, clBlack),       kRightAutoSize},
    {&T::Label2,    &T::Panel1,     {107,  13,  28,  13}, "回目",            font(-13, kBold, clBlack),       kRightAutoSize},
    {&T::EditEx1,   &T::Panel1,     {  4,   6,  81,  21}, "1000000",         font(-16, kBold, clBlue),        kNumberBox},
    {&T::GroupBox1, kWindow,        {  5,  38, 140, 217}, "成績",            font(-13, kRegular, clWindowText), kAutoSize},
    {&T::Label7,    &T::GroupBox1,  {  8,  72,  43,  13}, "トータル",        kParentFont,                     kAutoSize},
    {&T::Label9,    &T::GroupBox1,  { 56,  72,  73,  15}, "99.9%",           font(-15, kBold, clRed),         kRightFixed},
    {&T::Label3,    &T::GroupBox1,  { 24,  88,  24,  13}, "勝ち",            kParentFont,                     kAutoSize},
    {&T::Label4,    &T::GroupBox1,  { 24, 112,  25,  13}, "負け",            kParentFont,                     kAutoSize},
    {&T::Label8,    &T::GroupBox1,  {  8, 136,  98,  13}, "連勝/連敗の記録", kParentFont,                     kCentreAutoSize},
    {&T::Label5,    &T::GroupBox1,  { 24, 152,  24,  13}, "勝ち",            kParentFont,                     kAutoSize},
    {&T::Label6,    &T::GroupBox1,  { 24, 176,  25,  13}, "負け",            kParentFont,                     kAutoSize},
    {&T::Label10,   &T::GroupBox1,  { 24, 197,  26,  13}, "現在",            kParentFont,                     kAutoSize},
    {&T::Label11,   &T::GroupBox1,  { 56, 197,  28,  13}, "勝負",            font(-13, kBold, clRed),         kAutoSize},
    {&T::Label12,   &T::GroupBox1,  {  8,  16,  35,  13}, "今　回",          kParentFont,                     kAutoSize},
    {&T::Label13,   &T::GroupBox1,  { 56,  16,  73,  15}, "99.9%",           font(-15, kBold, clRed),         kRightFixed},
    {&T::Label14,   &T::GroupBox1,  { 24,  32,  24,  13}, "勝ち",            kParentFont,                     kAutoSize},
    {&T::Label15,   &T::GroupBox1,  { 24,  56,  25,  13}, "負け",            kParentFont,                     kAutoSize},
    {&T::Label16,   &T::GroupBox1,  { 56,  32,   8,  13}, "0",               font(-13, kBold, clWindowText),  kAutoSize},
    {&T::Label17,   &T::GroupBox1,  { 56,  56,   8,  13}, "0",               font(-13, kBold, clWindowText),  kAutoSize},
    {&T::Label18,   &T::GroupBox1,  { 56,  88,  50,  13}, "Label18",         font(-13, kBold, clWindowText),  kAutoSize},
    {&T::Label19,   &T::GroupBox1,  { 56, 112,  50,  13}, "Label19",         font(-13, kBold, clWindowText),  kAutoSize},
    {&T::Label20,   &T::GroupBox1,  { 56, 152,  50,  13}, "Label20",         font(-13, kBold, clWindowText),  kAutoSize},
    {&T::Label21,   &T::GroupBox1,  { 56, 176,  50,  13}, "Label21",         font(-13, kBold, clWindowText),  kAutoSize},
    {&T::GroupBox2, kWindow,        {  5, 260, 140, 173}, "対戦履歴",        kParentFont,                     kAutoSize},
    {&T::Memo1,     &T::GroupBox2,  {  5,  15, 128, 146}, "",                kParentFont,                     kAutoSize},
};
// clang-format on

struct MenuRow {
    MenuItem T::*self;
    MenuItem T::*parent;  // nullptr: the menu bar
    const char* caption;
    Shortcut shortcut;
    bool checked;
    int tag;
    UINT commandId;
    void (T::*onClick)(MenuItem& Sender);  // nullptr: none
};

constexpr Shortcut kAltO = 32847;   // 'O' + Alt
constexpr Shortcut kCtrlP = 16464;  // 'P' + Ctrl

// clang-format off
constexpr MenuRow kMenu[] = {
//   item               parent        caption                           shortcut checked tag command          OnClick
    {&T::Option1,       nullptr,      "ｵﾌﾟｼｮﾝ(&O)",                     kAltO,   false,  0,  cmOption1,       nullptr},
    {&T::ControlBar,    &T::Option1,  "ｺﾝﾄﾛﾙﾊﾞｰ表示",                   0,       true,   0,  cmControlBar,    &T::ControlBarClick},
    {&T::SeisekiUp,     &T::Option1,  "Tallykeepの成績だけ更新",         0,       true,   0,  cmSeisekiUp,     &T::SeisekiUpClick},
    {&T::SeisekiClear,  &T::Option1,  "Tallykeepの成績をｸﾘｱする",        0,       false,  0,  cmSeisekiClear,  &T::SeisekiClearClick},
    {&T::N1,            nullptr,      "ﾊﾟｽ(&P)",                        kCtrlP,  false,  0,  cmN1,            nullptr},
    {&T::Pass,          &T::N1,       "このｹﾞｰﾑをﾊﾟｽする(10個まで)",     0,       false,  0,  cmPass,          &T::PassClick},
    {&T::Retry,         &T::N1,       "ﾊﾟｽしたｹﾞｰﾑに再挑戦",             0,       false,  0,  cmRetry,         nullptr},
    {&T::Retry0,        &T::Retry,    "",                               0,       false,  0,  cmRetry0 + 0,    &T::Retry0Click},
    {&T::Retry1,        &T::Retry,    "",                               0,       false,  1,  cmRetry0 + 1,    &T::Retry0Click},
    {&T::Retry2,        &T::Retry,    "",                               0,       false,  2,  cmRetry0 + 2,    &T::Retry0Click},
    {&T::Retry3,        &T::Retry,    "",                               0,       false,  3,  cmRetry0 + 3,    &T::Retry0Click},
    {&T::Retry4,        &T::Retry,    "",                               0,       false,  4,  cmRetry0 + 4,    &T::Retry0Click},
    {&T::Retry5,        &T::Retry,    "",                               0,       false,  5,  cmRetry0 + 5,    &T::Retry0Click},
    {&T::Retry6,        &T::Retry,    "",                               0,       false,  6,  cmRetry0 + 6,    &T::Retry0Click},
    {&T::Retry7,        &T::Retry,    "",                               0,       false,  7,  cmRetry0 + 7,    &T::Retry0Click},
    {&T::Retry8,        &T::Retry,    "",                               0,       false,  8,  cmRetry0 + 8,    &T::Retry0Click},
    {&T::Retry9,        &T::Retry,    "",                               0,       false,  9,  cmRetry0 + 9,    &T::Retry0Click},
};
// clang-format on

// Retry0Click finds the item of a slot by its command id and its slot by its
// Tag: both must follow the slot.
constexpr bool retryRowsMatchTheirSlots() {
    int slot = 0;
    for (const MenuRow& row : kMenu) {
        if (row.onClick != &T::Retry0Click) continue;
        if (row.tag != slot || row.commandId != cmRetry0 + static_cast<UINT>(slot)) return false;
        ++slot;
    }
    return slot == 10;
}
static_assert(retryRowsMatchTheirSlots(), "Retry0..Retry9: ten rows, tags and command ids in slot order");

constexpr bool commandIdsAreUnique() {
    for (size_t i = 0; i < std::size(kMenu); ++i)
        for (size_t j = i + 1; j < std::size(kMenu); ++j)
            if (kMenu[i].commandId == kMenu[j].commandId) return false;
    return true;
}
static_assert(commandIdsAreUnique(), "every menu item has its own command id");

}  // namespace

void TFCSeisekiF::createComponents() {
    for (const Component& row : kComponents) {
        Container& parent = std::visit(
            [this](auto member) -> Container& {
                if constexpr (std::is_same_v<decltype(member), std::monostate>) return *this;
                else return this->*member;
            },
            row.parent);
        std::visit(
            [&](auto member) {
                auto& component = this->*member;
                using Kind = std::decay_t<decltype(component)>;
                if constexpr (std::is_same_v<Kind, Bevel>) {
                    component.create(*this, {row.bounds, row.look.fillsClient});
                } else if constexpr (std::is_same_v<Kind, Panel>) {
                    component.create(parent, {row.bounds});
                } else if constexpr (std::is_same_v<Kind, Label>) {
                    component.create(parent, {row.bounds, row.caption, row.font, row.look.alignment,
                                              row.look.autoSize});
                } else if constexpr (std::is_same_v<Kind, NumberBox>) {
                    component.create(parent, {{row.bounds, row.caption, row.font, row.look.background,
                                               row.look.upperCase, row.look.maxLength, row.look.tabStop},
                                              row.look.alignment, row.look.thousands});
                } else if constexpr (std::is_same_v<Kind, GroupBox>) {
                    component.create(parent, {row.bounds, row.caption, row.font});
                } else if constexpr (std::is_same_v<Kind, Memo>) {
                    // One empty line: the text is a single line break.
                    component.create(parent, {row.bounds, {""}});
                }
            },
            row.self);
    }
    Timer1.create(*this, 100, [this] { Timer1Timer(); });
    createMenu();
}

void TFCSeisekiF::createMenu() {
    std::vector<MainMenu::ItemArgs> items;
    for (const MenuRow& row : kMenu) {
        MainMenu::ItemArgs args;
        args.item = &(this->*row.self);
        args.parent = row.parent ? &(this->*row.parent) : nullptr;
        args.caption = row.caption;
        args.shortcut = row.shortcut;
        args.checked = row.checked;
        args.tag = row.tag;
        args.commandId = row.commandId;
        if (row.onClick) args.onClick = [this, onClick = row.onClick](MenuItem& sender) { (this->*onClick)(sender); };
        items.push_back(std::move(args));
    }
    MainMenu1.create(*this, items);
}

MenuItem& TFCSeisekiF::retryItem(int slot) {
    MenuItem* item = MainMenu1.itemById(cmRetry0 + static_cast<UINT>(slot));
    if (!item) throw std::out_of_range("no pass-list slot " + std::to_string(slot));
    return *item;
}
