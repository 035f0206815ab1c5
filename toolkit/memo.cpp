#include "toolkit/memo.h"

void Memo::create(Container& parent, const CreateArgs& args) {
    WindowSpec spec;
    spec.className = "EDIT";
    // No ES_AUTOHSCROLL and no horizontal scroll bar: the edit control wraps.
    spec.style = ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL;
    spec.exStyle = WS_EX_CLIENTEDGE;
    spec.bounds = args.bounds;
    spec.font = parent.containerFont();
    spec.background = parent.containerColor();
    createWindow(parent, spec);
    setLines(args.lines);
}

std::vector<std::string> Memo::lines() const {
    const std::string all = text();
    std::vector<std::string> result;
    size_t start = 0;
    while (start < all.size()) {
        const size_t end = all.find("\r\n", start);
        if (end == std::string::npos) {
            result.push_back(all.substr(start));
            break;
        }
        result.push_back(all.substr(start, end - start));
        start = end + 2;
    }
    return result;
}

void Memo::setLines(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& line : lines) all += line + "\r\n";
    setWindowText(all);
}
