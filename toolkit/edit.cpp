#include "toolkit/edit.h"

void Edit::create(Container& parent, const CreateArgs& args) {
    DWORD style = ES_AUTOHSCROLL;
    switch (args.alignment) {
    case Alignment::taLeftJustify: style |= ES_LEFT; break;
    case Alignment::taRightJustify: style |= ES_RIGHT; break;
    case Alignment::taCenter: style |= ES_CENTER; break;
    }
    if (args.upperCase) style |= ES_UPPERCASE;
    if (args.tabStop) style |= WS_TABSTOP;
    WindowSpec spec;
    spec.className = "EDIT";
    spec.style = style;
    spec.exStyle = WS_EX_CLIENTEDGE;
    spec.bounds = args.bounds;
    spec.text = args.text;
    spec.font = args.font.value_or(parent.containerFont());
    spec.background = args.background;
    createWindow(parent, spec);
    if (args.maxLength > 0) SendMessageA(handle(), EM_LIMITTEXT, static_cast<WPARAM>(args.maxLength), 0);
}
