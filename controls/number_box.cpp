#include "controls/number_box.h"

#include "controls/thousands.h"

void NumberBox::create(Container& parent, const CreateArgs& args) {
    alignment_ = args.alignment;
    thousands_ = args.thousands;
    Edit::CreateArgs edit = args.edit;
    if (thousands_) edit.text = groupThousands(edit.text);
    Edit::create(parent, edit);
}

std::string NumberBox::text() const { return thousands_ ? withoutSeparators(GetRawText()) : GetRawText(); }

void NumberBox::setText(const std::string& text) { SetRawText(thousands_ ? groupThousands(text) : text); }

void NumberBox::SetRawText(const std::string& text) {
    if (GetRawText() != text) Edit::setText(text);
}

void NumberBox::setAlignment(Alignment alignment) {
    if (alignment == alignment_) return;
    alignment_ = alignment;
    recreateWindow();
}

void NumberBox::setThousands(bool thousands) {
    if (thousands == thousands_) return;
    thousands_ = thousands;
    if (thousands_) ReformatThousands();
}

void NumberBox::ReformatThousands() {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const Regrouped regrouped = regroupThousands(GetRawText(), {static_cast<long>(start), static_cast<long>(end)});
    SetRawText(regrouped.text);
    SendMessageA(handle(), EM_SETSEL, static_cast<WPARAM>(regrouped.selection.start),
                 static_cast<LPARAM>(regrouped.selection.end));
}

namespace {

// Windows 98 and 2000 brought the alignment styles to single-line edits;
// Windows 95 and NT 4.0 align only multi-line ones.
bool singleLineEditsAlign() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) return false;
    if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) return version.dwMajorVersion >= 5;
    return version.dwMajorVersion > 4 || version.dwMinorVersion >= 10;
}

}  // namespace

// A multi-line edit that aligns its text right or centred wraps it instead of
// scrolling (the system drops ES_AUTOHSCROLL): a number wider than the box
// broke onto a hidden second line. The box is a single-line edit, whose line
// scrolls, except where only multi-line edits align.
DWORD NumberBox::createParams() const {
    DWORD style = Edit::createParams();
    if (alignment_ != Alignment::taLeftJustify && !singleLineEditsAlign()) style |= ES_MULTILINE;
    switch (alignment_) {
        case Alignment::taLeftJustify:
            style |= ES_LEFT;
            break;
        case Alignment::taRightJustify:
            style |= ES_RIGHT;
            break;
        case Alignment::taCenter:
            style |= ES_CENTER;
            break;
    }
    return style;
}

void NumberBox::loaded() {
    Edit::loaded();
    SendMessageA(handle(), EM_SETSEL, 0, static_cast<LPARAM>(GetRawText().size()));
}

void NumberBox::keyPress(char& key) {
    Edit::keyPress(key);
    // A multi-line edit would break the line.
    if (key == '\r') key = 0;
}

LRESULT NumberBox::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CHAR: {
            const LRESULT result = Edit::handleMessage(message, wParam, lParam);
            if (thousands_) ReformatThousands();
            return result;
        }
        case WM_GETDLGCODE:
            return Edit::handleMessage(message, wParam, lParam) & ~(DLGC_WANTTAB | DLGC_WANTALLKEYS);
        default:
            return Edit::handleMessage(message, wParam, lParam);
    }
}
