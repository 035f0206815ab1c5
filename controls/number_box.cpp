#include "controls/number_box.h"

#include <imm.h>

#include <cstring>

#include "common/code_page_932.h"
#include "controls/thousands.h"
#include "toolkit/form.h"

void NumberBox::create(Container& parent, const CreateArgs& args) {
    alignment_ = args.alignment;
    thousands_ = args.thousands;
    Edit::CreateArgs edit = args.edit;
    if (thousands_) edit.text = groupThousands(edit.text);
    Edit::create(parent, edit);
}

std::string NumberBox::text() const {
    return withAsciiDigits(thousands_ ? withoutSeparators(GetRawText()) : GetRawText());
}

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

void NumberBox::ReformatThousands() { tidyTypedText(true); }

void NumberBox::fitText(const std::string& widest) {
    setMaxLength(static_cast<int>(widest.size()));
    // The system's margins for a Japanese font are wide; a pixel each side
    // leaves the text room and the caret its place.
    setMargins(1);
    constexpr int kSmallestHeight = 9;  // pixels, at 96 pixels per inch
    FontSpec font = this->font();
    const bool heightInPixels = font.height < 0;  // as the form data writes it
    const int sign = heightInPixels ? -1 : 1;
    for (int height = font.height * sign; height > kSmallestHeight; --height) {
        font.height = height * sign;
        if (font.height != this->font().height) setFont(font);
        // The caret stands after the last character: a pixel for it.
        if (textWidth(widest) + 1 <= textAreaWidth()) break;
    }
    // The line as it scrolled in the old font would stay scrolled.
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    setWindowText(GetRawText());
    SendMessageA(handle(), EM_SETSEL, start, static_cast<LPARAM>(end));
}

void NumberBox::tidyTypedText(bool grouped) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const Regrouped regrouped =
        tidyNumberText(GetRawText(), {static_cast<long>(start), static_cast<long>(end)}, grouped);
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

// A double-byte character comes to the box either in one WM_CHAR, its lead
// byte in the high byte (as Wine delivers it), or in two, the lead byte first
// (as Windows delivers it to a window of code page texts). A full-width digit
// goes to the edit as its ASCII digit, so that the box never shows it; any
// other character goes on as it came.
LRESULT NumberBox::typeCharacter(WPARAM code, LPARAM lParam) {
    if (heldLeadByte_) {
        const char lead = heldLeadByte_;
        heldLeadByte_ = 0;
        if (const char digit = asciiDigitOfFullWidth(lead, static_cast<char>(code)))
            return Edit::handleMessage(WM_CHAR, static_cast<unsigned char>(digit), lParam);
        Edit::handleMessage(WM_CHAR, static_cast<unsigned char>(lead), heldLeadParam_);
        return Edit::handleMessage(WM_CHAR, code, lParam);
    }
    if (code <= 0xFF && isLeadByte(static_cast<char>(code))) {
        heldLeadByte_ = static_cast<char>(code);
        heldLeadParam_ = lParam;
        return 0;
    }
    if (code > 0xFF) {
        if (const char digit = asciiDigitOfFullWidth(static_cast<char>(code >> 8), static_cast<char>(code)))
            return Edit::handleMessage(WM_CHAR, static_cast<unsigned char>(digit), lParam);
    }
    return Edit::handleMessage(WM_CHAR, code, lParam);
}

// A number copied from a page or a list brings spaces and line ends with it:
// what goes in is its first line, trimmed, within the box's limit on typing.
// A clipboard that another program holds pastes nothing, as the edit's own
// paste does.
LRESULT NumberBox::paste() {
    std::string text;
    {
        const ClipboardOpening opened = openClipboard(handle());
        if (!opened) return 0;
        const HANDLE data = GetClipboardData(CF_TEXT);
        if (data == nullptr) return 0;
        const GlobalLockHandle locked = lockGlobal(data);
        if (!locked) return 0;
        const char* bytes = static_cast<const char*>(locked.get());
        text.assign(bytes, strnlen(bytes, GlobalSize(data)));
    }
    const std::string pasted = pastedNumberText(text);
    Edit::handleMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(pasted.c_str()));
    tidyTypedText(thousands_);
    return 0;
}

LRESULT NumberBox::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CHAR: {
            if (wParam == 1) {  // Ctrl+A
                SendMessageA(handle(), EM_SETSEL, 0, -1);
                return 0;
            }
            const LRESULT result = typeCharacter(wParam, lParam);
            tidyTypedText(thousands_);
            return result;
        }
        case WM_KEYDOWN: {
            const bool repeated = (lParam & (LPARAM{1} << 30)) != 0;
            if (wParam == VK_RETURN && !repeated && OnEnter) form().runEvent(OnEnter);
            return Edit::handleMessage(message, wParam, lParam);
        }
        case WM_PASTE:
            return paste();
        // What the IME gives: full-width digits become ASCII digits once it
        // is in. A composition still under way is the IME's (the edit may
        // show it in its line) and stays as it is.
        case WM_IME_CHAR:
        case WM_IME_COMPOSITION: {
            const LRESULT result = Edit::handleMessage(message, wParam, lParam);
            if (message != WM_IME_COMPOSITION || (lParam & GCS_RESULTSTR)) tidyTypedText(thousands_);
            return result;
        }
        case WM_GETDLGCODE:
            return Edit::handleMessage(message, wParam, lParam) & ~(DLGC_WANTTAB | DLGC_WANTALLKEYS);
        default:
            return Edit::handleMessage(message, wParam, lParam);
    }
}
