#include "toolkit/paint_cache.h"

#include <cstring>

#include "common/app_error.h"
#include "toolkit/screen_scale.h"

namespace {
constexpr char kFontFace[] = "ＭＳ Ｐゴシック";
static_assert(sizeof kFontFace <= LF_FACESIZE, "the face name fits LOGFONTA");
}  // namespace

COLORREF resolveColor(Color color) {
    if (color & 0x80000000u) return GetSysColor(static_cast<int>(color & 0xFF));
    return color;
}

HFONT PaintCache::font(const FontSpec& spec) {
    const auto key = std::make_pair(spec.height, spec.bold);
    auto found = fonts_.find(key);
    if (found != fonts_.end()) return found->second.get();
    LOGFONTA log{};
    log.lfHeight = scaledToScreen(spec.height);
    log.lfWeight = spec.bold ? FW_BOLD : FW_NORMAL;
    log.lfCharSet = SHIFTJIS_CHARSET;
    log.lfOutPrecision = OUT_DEFAULT_PRECIS;
    log.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    log.lfQuality = DEFAULT_QUALITY;
    log.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    std::memcpy(log.lfFaceName, kFontFace, sizeof kFontFace);
    GdiObject<HFONT> made(CreateFontIndirectA(&log));
    if (!made) throw AppError("CreateFontIndirectA failed");
    HFONT handle = made.get();
    fonts_.emplace(key, std::move(made));
    return handle;
}

HBRUSH PaintCache::brush(Color color) {
    const COLORREF value = resolveColor(color);
    auto found = brushes_.find(value);
    if (found != brushes_.end()) return found->second.get();
    GdiObject<HBRUSH> made(CreateSolidBrush(value));
    if (!made) throw AppError("CreateSolidBrush failed");
    HBRUSH handle = made.get();
    brushes_.emplace(value, std::move(made));
    return handle;
}
