// The fonts, colours and icons of both windows, read in-process where only
// the program itself can see them: each control's font object and the
// colours it is given to paint with.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "forms/CtrlF.h"
#include "forms/SeisekiF.h"
#include "res/resource_ids.h"
#include "toolkit/application.h"
#include "seiseki_test_doubles.h"
#include "toolkit_test_support.h"

using seiseki_test::MemoryClipboard;
using seiseki_test::NoLaunch;
using seiseki_test::RunningGame;
using toolkit_test::waitUntil;

namespace {

const COLORREF kLightYellow = RGB(255, 255, 128);

std::string tempPath(const std::string& name) {
    char directory[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, directory);
    return std::string(directory) + name;
}

LOGFONTA fontOf(const Control& control) {
    LOGFONTA font{};
    const auto handle = reinterpret_cast<HFONT>(SendMessageA(control.handle(), WM_GETFONT, 0, 0));
    if (handle) GetObjectA(handle, sizeof font, &font);
    return font;
}

struct Painting {
    COLORREF text;
    COLORREF background;
    COLORREF brush;
};

// What the control is told to paint with: the answer to its WM_CTLCOLOR*.
Painting paintingOf(const Control& control, UINT message = WM_CTLCOLORSTATIC) {
    HDC dc = GetDC(control.handle());
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageA(GetParent(control.handle()), message, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(control.handle())));
    LOGBRUSH fill{};
    if (brush) GetObjectA(brush, sizeof fill, &fill);
    const Painting painting{GetTextColor(dc), GetBkColor(dc), brush ? fill.lbColor : CLR_INVALID};
    ReleaseDC(control.handle(), dc);
    return painting;
}

class FormLook : public ::testing::Test {
protected:
    void SetUp() override {
        Application::instance().setTitle("Tallykeep");
        iniPath_ = tempPath("tklook_form_look_test.Ini");
        DeleteFileA(iniPath_.c_str());
        SeisekiEnvironment environment;
        environment.desktop = &desktop_;
        environment.launcher = &launcher_;
        environment.makeClipboard = [](HWND) { return std::make_unique<MemoryClipboard>(); };
        environment.executablePath = tempPath("tklook_form_look_test.exe");
        results_ = std::make_unique<TFCSeisekiF>(environment);
        results_->create();
        bar_ = std::make_unique<TFCCtrF>();
        results_->attachControlBar(bar_.get());
        waitUntil([] { return false; }, 200);
    }
    void TearDown() override {
        bar_.reset();
        results_.reset();
        DeleteFileA(iniPath_.c_str());
    }

    // Face "ＭＳ Ｐゴシック", SHIFTJIS_CHARSET, the height and the weight.
    static void expectFont(const Control& control, int height, bool bold, const char* name) {
        SCOPED_TRACE(name);
        const LOGFONTA font = fontOf(control);
        EXPECT_STREQ(font.lfFaceName, "ＭＳ Ｐゴシック");
        EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
        EXPECT_EQ(font.lfHeight, height);
        EXPECT_EQ(font.lfWeight, bold ? FW_BOLD : FW_NORMAL);
    }

    RunningGame desktop_;
    NoLaunch launcher_;
    std::string iniPath_;
    std::unique_ptr<TFCSeisekiF> results_;
    std::unique_ptr<TFCCtrF> bar_;
};

TEST_F(FormLook, ResultsWindowFonts) {
    TFCSeisekiF& w = *results_;
    expectFont(w.Label1, -13, true, "Label1");
    expectFont(w.Label2, -13, true, "Label2");
    expectFont(w.GroupBox1, -13, false, "GroupBox1");
    expectFont(w.GroupBox2, -12, false, "GroupBox2");
    expectFont(w.Memo1, -12, false, "Memo1");
    const Label* captions[] = {&w.Label7, &w.Label3, &w.Label4, &w.Label8,  &w.Label5,
                               &w.Label6, &w.Label10, &w.Label12, &w.Label14, &w.Label15};
    for (const Label* label : captions) expectFont(*label, -13, false, label->caption().c_str());
    expectFont(w.Label13, -15, true, "Label13");
    expectFont(w.Label9, -15, true, "Label9");
    const Label* values[] = {&w.Label16, &w.Label17, &w.Label18, &w.Label19, &w.Label20, &w.Label21, &w.Label11};
    for (const Label* label : values) expectFont(*label, -13, true, label->caption().c_str());
}

TEST_F(FormLook, ResultsWindowColours) {
    TFCSeisekiF& w = *results_;
    const COLORREF windowText = GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF red = RGB(255, 0, 0), black = RGB(0, 0, 0);
    const struct {
        const Label* label;
        COLORREF text;
    } rows[] = {{&w.Label1, black},       {&w.Label2, black},       {&w.Label7, windowText},
                {&w.Label9, red},         {&w.Label13, red},        {&w.Label11, red},
                {&w.Label16, windowText}, {&w.Label21, windowText}, {&w.Label12, windowText}};
    for (const auto& row : rows) {
        const Painting painting = paintingOf(*row.label);
        EXPECT_EQ(painting.text, row.text) << row.label->caption();
        EXPECT_EQ(painting.background, kLightYellow) << row.label->caption();
        EXPECT_EQ(painting.brush, kLightYellow) << row.label->caption();
    }
    // A read-only memo asks as a static control does; it takes its parent's colour.
    const Painting memo = paintingOf(w.Memo1);
    EXPECT_EQ(memo.brush, kLightYellow);
    EXPECT_EQ(memo.text, windowText);
    EXPECT_EQ(paintingOf(w.GroupBox1).brush, kLightYellow);
}

TEST_F(FormLook, ControlBarFonts) {
    expectFont(bar_->SpeedButton1, -13, false, "SpeedButton1");
    expectFont(bar_->SpeedButton2, -13, false, "SpeedButton2");
    expectFont(bar_->SpeedButton3, -13, false, "SpeedButton3");
    expectFont(bar_->SpeedButton4, -12, false, "SpeedButton4");
}

TEST_F(FormLook, ResultsWindowShowsTheApplicationsIconAndTheBarItsOwn) {
    HMODULE module = GetModuleHandleA(nullptr);
    const auto applicationIcon = LoadIconA(module, MAKEINTRESOURCEA(IDI_TALLYKEEP));
    const auto barIcon = LoadIconA(module, MAKEINTRESOURCEA(IDI_CONTROLBAR));
    ASSERT_NE(applicationIcon, nullptr);
    ASSERT_NE(barIcon, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrA(results_->handle(), GCLP_HICON)), applicationIcon);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(results_->handle(), WM_GETICON, ICON_BIG, 0)), nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(bar_->handle(), WM_GETICON, ICON_BIG, 0)), barIcon);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(barIcon, &info));
    BITMAP colour{};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, 32);
    EXPECT_EQ(colour.bmHeight, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

TEST_F(FormLook, ResultsWindowStartsAtItsFormDataPlace) {
    EXPECT_EQ(results_->bounds().left, 789);
    EXPECT_EQ(results_->bounds().top, 231);
}

}  // namespace
