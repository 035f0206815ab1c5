#pragma once

#include <cstdint>

#include "common/rect.h"

// Value types shared by every control of the toolkit.

// A COLORREF (0x00BBGGRR), or a system colour when the top bit is set (the low
// byte is then the GetSysColor index), as the form data writes colours.
using Color = uint32_t;
inline constexpr Color clBlack = 0x000000;
inline constexpr Color clRed = 0x0000FF;
inline constexpr Color clBlue = 0xFF0000;
inline constexpr Color clLime = 0x00FF00;
inline constexpr Color clWindowText = 0x80000008;  // COLOR_WINDOWTEXT
inline constexpr Color clWindow = 0x80000005;      // COLOR_WINDOW
inline constexpr Color clBtnFace = 0x8000000F;     // COLOR_BTNFACE

enum class Alignment { taLeftJustify, taRightJustify, taCenter };

// Every font is "ＭＳ Ｐゴシック" with SHIFTJIS_CHARSET; only these vary.
// A negative height is the character height in pixels.
struct FontSpec {
    int height = -12;
    bool bold = false;
    Color color = clWindowText;
};
