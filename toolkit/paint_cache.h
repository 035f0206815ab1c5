#pragma once

#include <windows.h>

#include <map>
#include <utility>

#include "toolkit/basics.h"
#include "toolkit/gdi_object.h"

COLORREF resolveColor(Color color);

// The fonts and brushes of one form, made on first use and owned until the
// form goes.
class PaintCache {
public:
    HFONT font(const FontSpec& spec);
    HBRUSH brush(Color color);

private:
    std::map<std::pair<int, bool>, GdiObject<HFONT>> fonts_;
    std::map<COLORREF, GdiObject<HBRUSH>> brushes_;
};
