#include "toolkit/label.h"

#include "toolkit/form.h"
#include "toolkit/gdi_object.h"

void Label::create(Container& parent, const CreateArgs& args) {
    alignment_ = args.alignment;
    autoSize_ = args.autoSize;
    DWORD style = SS_NOPREFIX;  // captions are shown exactly, "&" included
    switch (args.alignment) {
        case Alignment::taLeftJustify:
            style |= SS_LEFT;
            break;
        case Alignment::taRightJustify:
            style |= SS_RIGHT;
            break;
        case Alignment::taCenter:
            style |= SS_CENTER;
            break;
    }
    WindowSpec spec;
    spec.className = "STATIC";
    spec.style = style;
    spec.bounds = args.bounds;
    spec.text = args.caption;
    spec.font = args.font.value_or(parent.containerFont());
    spec.background = parent.containerColor();
    createWindow(parent, spec);
    adjustBounds();
}

void Label::setCaption(const std::string& caption) {
    setWindowText(caption);
    adjustBounds();
}

void Label::adjustBounds() {
    if (!autoSize_) return;
    // An empty caption still takes the height of a line, as a space does.
    std::string text = caption();
    if (text.empty()) text = " ";
    const WindowDc dc = windowDc(handle());
    SelectedObject selected(dc.get(), form().paintCache().font(font()));
    SIZE extent{};
    TEXTMETRICA metrics{};
    if (!GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent)) return;
    if (!GetTextMetricsA(dc.get(), &metrics)) return;
    Rect b = bounds();
    if (alignment_ == Alignment::taRightJustify) b.left = b.right() - extent.cx;
    b.width = extent.cx;
    b.height = metrics.tmHeight;
    if (b == bounds()) return;
    setBounds(b);
    // A moved window keeps the pixels of its old client area, placed at its
    // new top-left corner: text drawn against the right edge or centred in
    // the old size (already drawn, as Wine draws a new caption at once) shows
    // the wrong part of it, or nothing. The label draws itself anew.
    InvalidateRect(handle(), nullptr, TRUE);
}
