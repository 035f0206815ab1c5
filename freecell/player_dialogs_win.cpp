#include "freecell/player_dialogs_win.h"

#include "freecell/dialog_template_win.h"
#include "freecell/player_texts.h"

namespace freecell {

namespace {

constexpr int kStatisticsRows = 6;
constexpr int kFirstLabelId = 200;
constexpr int kFirstValueId = kFirstLabelId + kStatisticsRows;
constexpr int kResetId = 220;
constexpr int kTextId = 230;

struct StatisticsDialog {
    Statistics current;
    const std::function<Statistics()>* reset;
};

void showFigures(HWND dialog, const Statistics& statistics) {
    const std::vector<StatisticsLine> lines = statisticsLines(statistics);
    for (int row = 0; row < kStatisticsRows && row < static_cast<int>(lines.size()); ++row) {
        SetDlgItemTextA(dialog, kFirstLabelId + row, lines[row].label.c_str());
        SetDlgItemTextA(dialog, kFirstValueId + row, lines[row].value.c_str());
    }
}

INT_PTR CALLBACK statisticsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        auto* dialog = reinterpret_cast<StatisticsDialog*>(lParam);
        SetDlgItemTextA(window, IDOK, "OK");
        SetDlgItemTextA(window, kResetId, "リセット(&R)");
        showFigures(window, dialog->current);
        // The title last: whoever finds the dialog by its title finds it whole.
        SetWindowTextA(window, kStatisticsTitle);
        return TRUE;
    }
    auto* dialog = reinterpret_cast<StatisticsDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    if (!dialog || message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
        case kResetId:
            dialog->current = (*dialog->reset)();
            showFigures(window, dialog->current);
            return TRUE;
        case IDOK:
        case IDCANCEL:
            EndDialog(window, LOWORD(wParam));
            return TRUE;
    }
    return FALSE;
}

struct TextDialog {
    const char* title;
    const std::string* text;
};

INT_PTR CALLBACK textProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* dialog = reinterpret_cast<const TextDialog*>(lParam);
        SetDlgItemTextA(window, kTextId, dialog->text->c_str());
        SetDlgItemTextA(window, IDOK, "OK");
        SetWindowTextA(window, dialog->title);  // last, as in the statistics
        SetFocus(GetDlgItem(window, IDOK));
        return FALSE;  // the focus is set: on OK, not on the text
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(window, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

bool showStatisticsDialog(HWND owner, const Statistics& current, const std::function<Statistics()>& reset) {
    DialogTemplate layout(170, 118);
    for (int row = 0; row < kStatisticsRows; ++row) {
        const short y = static_cast<short>(10 + row * 14);
        layout.add(kStaticAtom, kFirstLabelId + row, SS_LEFT, 14, y, 70, 10);
        layout.add(kStaticAtom, kFirstValueId + row, SS_RIGHT, 86, y, 70, 10);
    }
    layout.add(kButtonAtom, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 22, 96, 56, 15);
    layout.add(kButtonAtom, kResetId, BS_PUSHBUTTON | WS_TABSTOP, 92, 96, 56, 15);
    StatisticsDialog dialog{current, &reset};
    return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), layout.get(), owner, statisticsProc,
                                   reinterpret_cast<LPARAM>(&dialog)) != -1;
}

bool showTextDialog(HWND owner, const char* title, const std::string& text) {
    DialogTemplate layout(280, 210);
    layout.add(kEditAtom, kTextId, ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER, 8, 8, 264,
               172);
    layout.add(kButtonAtom, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 112, 188, 56, 15);
    TextDialog dialog{title, &text};
    return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), layout.get(), owner, textProc,
                                   reinterpret_cast<LPARAM>(&dialog)) != -1;
}

}  // namespace freecell
