#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

namespace freecell {

inline constexpr WORD kButtonAtom = 0x0080;
inline constexpr WORD kEditAtom = 0x0081;
inline constexpr WORD kStaticAtom = 0x0082;

// An in-memory dialog template. Titles and captions stay empty here and are
// set with the ANSI functions when the dialog starts, so the code page 932
// texts reach the windows unchanged.
class DialogTemplate {
public:
    DialogTemplate(short width, short height) {
        const DWORD style = DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
        putDword(style);
        putDword(0);
        countIndex_ = data_.size();
        data_.push_back(0);
        for (short value : {short(0), short(0), width, height}) data_.push_back(static_cast<WORD>(value));
        data_.push_back(0);  // no menu
        data_.push_back(0);  // the standard dialog class
        data_.push_back(0);  // empty title
        data_.push_back(9);
        for (const wchar_t* c = L"ＭＳ Ｐゴシック"; *c; ++c) data_.push_back(static_cast<WORD>(*c));
        data_.push_back(0);
    }

    void add(WORD classAtom, int id, DWORD style, short x, short y, short width, short height) {
        if (data_.size() % 2) data_.push_back(0);  // items start on a DWORD boundary
        putDword(style | WS_CHILD | WS_VISIBLE);
        putDword(0);
        for (short value : {x, y, width, height}) data_.push_back(static_cast<WORD>(value));
        data_.push_back(static_cast<WORD>(id));
        data_.push_back(0xFFFF);
        data_.push_back(classAtom);
        data_.push_back(0);  // empty caption
        data_.push_back(0);  // no creation data
        ++data_[countIndex_];
    }

    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(data_.data()); }

private:
    void putDword(DWORD value) {
        data_.push_back(LOWORD(value));
        data_.push_back(HIWORD(value));
    }

    std::vector<WORD> data_;
    std::size_t countIndex_ = 0;
};

// Puts `procedure` in front of a control's own window procedure, in the way
// every Windows since 95 knows (the common controls' subclass functions need a
// version that 95 and NT 4.0 lack). The procedure passes what it does not
// handle on with callOriginal.
void subclass(HWND control, WNDPROC procedure);
LRESULT callOriginal(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace freecell
