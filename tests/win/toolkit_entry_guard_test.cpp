#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "common/app_error.h"
#include "toolkit/application.h"
#include "toolkit/gdi_object.h"
#include "toolkit/panel.h"
#include "toolkit_test_support.h"

using toolkit_test::FromInsideModalLoop;
using toolkit_test::openBoxes;
using toolkit_test::TestForm;

namespace {

// A label whose painting fails once armed, as painting does when the system
// refuses a brush or a font.
class FailingLabel : public Control {
public:
    void create(Container& parent) {
        WindowSpec spec;
        spec.className = "STATIC";
        spec.bounds = {10, 10, 60, 20};
        spec.text = "label";
        spec.font = parent.containerFont();
        spec.background = parent.containerColor();
        createWindow(parent, spec);
    }
    HBRUSH onControlColor(HDC dc) override {
        if (failing) throw AppError("CreateSolidBrush failed");
        return Control::onControlColor(dc);
    }
    bool onDrawItem(const DRAWITEMSTRUCT& item) override {
        if (failing) throw AppError("CreateFontIndirectA failed");
        return Control::onDrawItem(item);
    }
    bool failing = false;
};

struct LabelInPanel {
    Panel panel;
    FailingLabel label;
    TestForm form;
    LabelInPanel()
        : form([this] {
              panel.create(form, {{5, 5, 200, 100}});
              label.create(panel);
          }) {}
};

BOOL CALLBACK collectText(HWND child, LPARAM texts) {
    char text[256] = {};
    GetWindowTextA(child, text, sizeof text);
    *reinterpret_cast<std::string*>(texts) += std::string(text) + "\n";
    return TRUE;
}

// The texts of the error box that the next step opens, once it is closed.
class ErrorBoxReader {
public:
    ErrorBoxReader()
        : step_([this] {
              const std::vector<HWND> boxes = openBoxes("Tallykeep");
              if (boxes.empty()) return false;
              EnumChildWindows(boxes.front(), &collectText, reinterpret_cast<LPARAM>(&texts));
              PostMessageA(boxes.front(), WM_COMMAND, IDOK, 0);
              return true;
          }) {
        Application::instance().setTitle("Tallykeep");
    }
    std::string texts;

private:
    FromInsideModalLoop step_;
};

// A colour query and a drawing that fail: each shows the error box, the
// colour query gets the system's brush, and the window goes on.
TEST(EntryGuard, FailedPaintingShowsTheErrorBoxAndAnswersSafely) {
    LabelInPanel f;
    f.label.failing = true;
    LRESULT brush = 0;
    {
        ErrorBoxReader box;
        const WindowDc dc = windowDc(f.label.handle());
        brush = SendMessageA(f.panel.handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                             reinterpret_cast<LPARAM>(f.label.handle()));
        EXPECT_NE(box.texts.find("CreateSolidBrush failed"), std::string::npos) << box.texts;
    }
    EXPECT_NE(brush, 0);
    {
        ErrorBoxReader box;
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.hwndItem = f.label.handle();
        SendMessageA(f.form.handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
        EXPECT_NE(box.texts.find("CreateFontIndirectA failed"), std::string::npos) << box.texts;
    }
    EXPECT_FALSE(Application::instance().errorBoxOpen());
    EXPECT_TRUE(IsWindow(f.form.handle()));
}

}  // namespace
