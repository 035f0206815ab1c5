#include "toolkit/speed_button.h"

#include <windowsx.h>

#include <utility>

#include "common/app_error.h"
#include "toolkit/entry_guard.h"
#include "toolkit/form.h"
#include "toolkit/gdi_object.h"

namespace {

// Room between the glyph and the caption, as speed buttons lay them out.
const int kGlyphSpacing = 4;

}  // namespace

void SpeedButton::create(Container& parent, const CreateArgs& args) {
    onClick_ = args.onClick;
    if (args.glyphResource != 0) loadGlyphs(args.glyphModule, args.glyphResource, args.numGlyphs);

    WindowSpec spec;
    spec.className = "BUTTON";
    spec.style = BS_OWNERDRAW;
    spec.bounds = args.bounds;
    spec.text = args.caption;
    spec.font = args.font.value_or(parent.containerFont());
    spec.background = clBtnFace;
    createWindow(parent, spec);
    setCursor(args.cursor);
    subclass(&SpeedButton::windowProc);
}

void SpeedButton::loadGlyphs(HINSTANCE module, int resource, int numGlyphs) {
    const std::string name = "glyph bitmap " + std::to_string(resource);
    if (!module) module = GetModuleHandleA(nullptr);
    GdiObject<HBITMAP> bitmap(
        static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!bitmap) throw AppError(name + " not found");

    BITMAP info{};
    if (!GetObjectA(bitmap.get(), sizeof info, &info) || numGlyphs < 1 || info.bmWidth < numGlyphs)
        throw AppError(name + " is unusable");
    glyphWidth_ = info.bmWidth / numGlyphs;
    glyphHeight_ = info.bmHeight;

    COLORREF transparent = CLR_INVALID;
    {
        const MemoryDc dc(CreateCompatibleDC(nullptr));
        if (dc.get()) {
            SelectedObject selected(dc.get(), bitmap.get());
            transparent = GetPixel(dc.get(), 0, glyphHeight_ - 1);
        }
    }
    if (transparent == CLR_INVALID) throw AppError(name + " is unreadable");

    glyphs_.reset(ImageList_Create(glyphWidth_, glyphHeight_, ILC_COLOR24 | ILC_MASK, numGlyphs, 0));
    if (!glyphs_) throw AppError("ImageList_Create failed");
    // AddMasked cuts the bitmap (selected into no DC by now) into images of
    // glyphWidth_ and makes each one's mask from the transparent colour.
    if (ImageList_AddMasked(glyphs_.get(), bitmap.get(), transparent) < 0) throw AppError("ImageList_AddMasked failed");
    glyphCount_ = ImageList_GetImageCount(glyphs_.get());
}

void SpeedButton::Click() {
    if (!enabled()) return;
    if (onClick_) onClick_();
}

void SpeedButton::onCommand(int notifyCode) {
    if (notifyCode == BN_CLICKED) Click();
}

LRESULT CALLBACK SpeedButton::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return guardWindowProcedure(window, message, wParam, lParam, [&]() -> LRESULT {
        // An owner-drawn BUTTON turns the second press of a double click into
        // BN_DOUBLECLICKED; a speed button counts it as one more click.
        if (message == WM_LBUTTONDBLCLK) message = WM_LBUTTONDOWN;
        auto* button = dynamic_cast<SpeedButton*>(Control::fromHandle(window));
        if (button && message == WM_LBUTTONDOWN) button->pressedByMouse_ = true;
        if (button && message == WM_LBUTTONUP) return button->onMouseUp(wParam, lParam);
        return callClassProcedure(window, message, wParam, lParam);
    });
}

// A click is a press and a release on the button. The BUTTON class counts
// only a release that its capture sees; a window that takes the activation in
// between (the game bringing itself to the front, a dialog brought forward)
// takes that capture, and the class forgets the press.
LRESULT SpeedButton::onMouseUp(WPARAM wParam, LPARAM lParam) {
    const bool pressed = std::exchange(pressedByMouse_, false);
    const bool classTracksIt = GetCapture() == handle();
    const LRESULT result = callClassProcedure(handle(), WM_LBUTTONUP, wParam, lParam);
    RECT client{};
    GetClientRect(handle(), &client);
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (pressed && !classTracksIt && PtInRect(&client, at) && enabled())
        SendMessageA(GetParent(handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(handle()), BN_CLICKED),
                     reinterpret_cast<LPARAM>(handle()));
    return result;
}

bool SpeedButton::onDrawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT face = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;

    DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));

    const std::string text = caption();
    SelectedObject selectedFont(dc, form().paintCache().font(font()));
    SIZE textSize{};
    if (!text.empty()) GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &textSize);

    // The glyph and the caption are centred together, the glyph on the left;
    // the whole picture moves one pixel down and right while pressed.
    const bool hasGlyph = glyphCount_ > 0;
    const int glyphPart = hasGlyph ? glyphWidth_ + (text.empty() ? 0 : kGlyphSpacing) : 0;
    const int offset = pressed ? 1 : 0;
    const int width = item.rcItem.right - item.rcItem.left;
    const int height = item.rcItem.bottom - item.rcItem.top;
    const int x = item.rcItem.left + (width - glyphPart - textSize.cx) / 2 + offset;

    if (hasGlyph) {
        const int image = disabled && glyphCount_ > 1 ? 1 : 0;
        const int y = item.rcItem.top + (height - glyphHeight_) / 2 + offset;
        ImageList_Draw(glyphs_.get(), image, dc, x, y, ILD_TRANSPARENT);
    }

    if (!text.empty()) {
        RECT area{x + glyphPart, item.rcItem.top + offset, x + glyphPart + textSize.cx, item.rcItem.bottom + offset};
        SetBkMode(dc, TRANSPARENT);
        const UINT format = DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX;
        if (disabled) {
            // Engraved: a highlight one pixel down and right under the shadow.
            RECT raised = area;
            OffsetRect(&raised, 1, 1);
            SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
            DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &raised, format);
            SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
        } else {
            SetTextColor(dc, resolveColor(font().color));
        }
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area, format);
    }
    return true;
}
