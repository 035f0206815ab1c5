#include "forms/progress_window.h"

#include <windowsx.h>

#include <algorithm>
#include <exception>
#include <iterator>
#include <utility>
#include <vector>

#include "common/app_error.h"
#include "forms/progress_painter_win.h"
#include "gamelink/arrangement.h"
#include "toolkit/screen_scale.h"
#include "records/results_log_reader.h"
#include "toolkit/entry_guard.h"
#include "toolkit/event_gate.h"
#include "toolkit/gdi_object.h"

namespace {

constexpr char kProgressClass[] = "TallykeepProgress";
constexpr int kDefaultWidth = 640;  // at 96 pixels per inch
constexpr int kDefaultHeight = 520;
// A portion of the log read by the reading thread waits to be taken.
constexpr UINT kLogReadMessage = WM_APP + 1;

}  // namespace

// The 32-bit top-down bitmap the client area is drawn into.
struct ProgressWindow::Picture {
    MemoryDc dc;
    GdiObject<HBITMAP> bitmap;
    uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    HGDIOBJ previousBitmap = nullptr;

    ~Picture() {
        if (dc && previousBitmap) SelectObject(dc.get(), previousBitmap);
    }
};

void ProgressWindow::registerWindowClass() {
    WNDCLASSA existing{};
    if (GetClassInfoA(GetModuleHandleA(nullptr), kProgressClass, &existing)) return;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    // No background brush and no redraw styles: every pixel comes from the
    // picture, so a resize never shows an erased frame.
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = &ProgressWindow::windowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kProgressClass;
    if (!RegisterClassExA(&windowClass)) throw AppError("RegisterClassExA failed");
}

ProgressWindow::ProgressWindow(HWND owner, ProgressWindowPorts ports) : owner_(owner), ports_(std::move(ports)) {}

ProgressWindow::~ProgressWindow() {
    if (window_) SetWindowLongPtrA(window_.get(), GWLP_USERDATA, 0);
}

bool ProgressWindow::isOpen() const { return window_ && IsWindowVisible(window_.get()); }

void ProgressWindow::open(int32_t maxGameNumber, int32_t numberInPlay, const Options::Place& place,
                          const std::vector<LogEntry>& waitingLines, const std::optional<Rect>& group) {
    if (isOpen()) {
        SetWindowPos(window_.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        return;
    }
    record_ = std::make_unique<ProgressRecord>(maxGameNumber, ports_.dealTable);
    record_->setNumberInPlay(numberInPlay);
    laterLines_ = waitingLines;
    bytesRead_ = 0;
    if (!window_) createWindow(place, group);
    reading_ = std::make_unique<LogReadingThread>(ports_.logPath, window_.get(), kLogReadMessage);
    changed();
    ShowWindow(window_.get(), SW_SHOWNORMAL);
    if (!UpdateWindow(window_.get())) throw AppError("UpdateWindow failed");
    reportPlace();
}

// What the reading thread read since the last time, drawn at once; at its
// end, the lines that came while it read.
void ProgressWindow::takeWhatWasRead() {
    if (!reading_ || !record_) return;
    for (LogReadingThread::Portion& portion : reading_->take()) {
        for (const LogEntry& entry : portion.entries) record_->add(entry);
        bytesRead_ = portion.bytesRead;
        if (!portion.last) continue;
        record_->setSkippedLines(portion.skipped);
        for (const LogEntry& entry : laterLines_) record_->add(entry);
        laterLines_.clear();
        reading_.reset();
        break;
    }
    changed();
}

// The status line: the number pointed at, or while the log is read, how far
// the reading has come.
std::string ProgressWindow::statusLine() const {
    if (!status_.empty() || !reading_) return status_;
    const uint64_t total = reading_->bytesToRead();
    const int percent = total == 0 ? 0 : static_cast<int>(bytesRead_ * 100 / total);
    return "記録を読んでいます… " + std::to_string(percent) + "%";
}

void ProgressWindow::createWindow(const Options::Place& place, const std::optional<Rect>& group) {
    registerWindowClass();
    RECT ownerRect{};
    if (!GetWindowRect(owner_, &ownerRect)) throw AppError("GetWindowRect failed");
    RECT work{};
    const bool workKnown = SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0) != FALSE;
    const int dpi = screenPixelsPerInch();
    int width = scaledToDpi(kDefaultWidth, dpi);
    int height = scaledToDpi(kDefaultHeight, dpi);
    int left = ownerRect.left - width - 8;
    int top = ownerRect.top;
    if (place.width > 0 && place.height > 0) {
        left = place.left;
        top = place.top;
        width = std::max(place.width, scaledToDpi(kMinimumWidth, dpi));
        height = std::max(place.height, scaledToDpi(kMinimumHeight, dpi));
    } else if (group && workKnown) {
        const Rect beside = placeBesideGroup(
            *group, Rect{work.left, work.top, work.right - work.left, work.bottom - work.top}, width, height);
        left = beside.left;
        top = beside.top;
    }
    // A place off every screen, or one of a screen that is gone, is moved
    // back into the work area.
    if (workKnown) {
        left = std::max(static_cast<int>(work.left), std::min(left, static_cast<int>(work.right) - width));
        top = std::max(static_cast<int>(work.top), std::min(top, static_cast<int>(work.bottom) - height));
    }
    HWND window = CreateWindowExA(0, kProgressClass, "進捗", WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX, left, top, width,
                                  height, owner_, nullptr, GetModuleHandleA(nullptr), this);
    if (!window) throw AppError("CreateWindowExA failed");
    window_.reset(window);
    LOGFONTA look{};
    look.lfHeight = -scaledToDpi(12, screenPixelsPerInch());
    look.lfWeight = FW_NORMAL;
    look.lfCharSet = SHIFTJIS_CHARSET;
    const char face[] = "ＭＳ Ｐゴシック";
    static_assert(sizeof face <= sizeof look.lfFaceName, "the face name fits");
    std::copy(std::begin(face), std::end(face), look.lfFaceName);
    font_.reset(CreateFontIndirectA(&look));
    if (!font_) throw AppError("CreateFontIndirectA failed");
    background_.reset(CreateSolidBrush(RGB(255, 255, 255)));
    if (!background_) throw AppError("CreateSolidBrush failed");
    summary_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, window,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!summary_) throw AppError("CreateWindowExA failed");
    SendMessageA(summary_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    if (ports_.dealTable) {
        colouringToggle_ = CreateWindowExA(0, "BUTTON", "難易度で色分け", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 0, 0,
                                           0, 0, window, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (!colouringToggle_) throw AppError("CreateWindowExA failed");
        SendMessageA(colouringToggle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        if (ports_.colouredByDifficulty) {
            SendMessageA(colouringToggle_, BM_SETCHECK, BST_CHECKED, 0);
            colouring_ = MapColouring::byDifficulty;
        }
    }
    placeSummary();
}

void ProgressWindow::placeSummary() {
    RECT client{};
    if (!GetClientRect(window_.get(), &client)) return;
    const ProgressAreas areas =
        progressAreas(client.right, client.bottom, screenPixelsPerInch(), ports_.dealTable != nullptr);
    const RECT& area = areas.summary;
    MoveWindow(summary_, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    if (colouringToggle_) {
        const RECT& toggle = areas.colouringToggle;
        MoveWindow(colouringToggle_, toggle.left, toggle.top, toggle.right - toggle.left, toggle.bottom - toggle.top,
                   TRUE);
    }
}

// The map coloured by difficulty, or by result, as the check box says.
void ProgressWindow::toggleColouring() {
    const bool checked = SendMessageA(colouringToggle_, BM_GETCHECK, 0, 0) == BST_CHECKED;
    colouring_ = checked ? MapColouring::byDifficulty : MapColouring::byResult;
    changed();
    if (ports_.colouringChanged) ports_.colouringChanged(checked);
}

// Open, the window follows the record also while it is hidden with a
// minimised 成績.
void ProgressWindow::add(const LogEntry& entry) {
    if (!record_) return;
    if (reading_) {
        laterLines_.push_back(entry);
        return;
    }
    record_->add(entry);
    changed();
}

void ProgressWindow::setNumberInPlay(int32_t number) {
    if (!record_ || record_->numberInPlay() == number) return;
    record_->setNumberInPlay(number);
    changed();
}

void ProgressWindow::changed() {
    dirty_ = true;
    if (!window_) return;
    InvalidateRect(window_.get(), nullptr, FALSE);
    if (record_) {
        const std::string text = summaryText(record_->summary());
        if (!SetWindowTextA(summary_, text.c_str())) throw AppError("SetWindowTextA failed");
    }
}

void ProgressWindow::closeWindow() {
    reportPlace();
    ShowWindow(window_.get(), SW_HIDE);
    // Closed, it holds nothing: the log is read again at the next opening.
    reading_.reset();
    laterLines_.clear();
    record_.reset();
    picture_.reset();
    status_.clear();
}

void ProgressWindow::reportPlace() {
    if (!ports_.placeChanged || !window_ || IsIconic(window_.get())) return;
    RECT r{};
    if (!GetWindowRect(window_.get(), &r)) return;
    ports_.placeChanged(Options::Place{r.left, r.top, r.right - r.left, r.bottom - r.top});
}

void ProgressWindow::renderNow() {
    if (!window_ || !record_) return;
    RECT client{};
    if (!GetClientRect(window_.get(), &client)) throw AppError("GetClientRect failed");
    const int width = std::max(static_cast<int>(client.right), 1);
    const int height = std::max(static_cast<int>(client.bottom), 1);
    if (!picture_ || picture_->width != width || picture_->height != height) {
        auto picture = std::make_unique<Picture>();
        WindowDc screen = windowDc(window_.get());
        picture->dc.reset(CreateCompatibleDC(screen.get()));
        if (!picture->dc) throw AppError("CreateCompatibleDC failed");
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down: row 0 first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        picture->bitmap.reset(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!picture->bitmap || !bits) throw AppError("CreateDIBSection failed");
        picture->pixels = static_cast<uint32_t*>(bits);
        picture->width = width;
        picture->height = height;
        picture->previousBitmap = SelectObject(picture->dc.get(), picture->bitmap.get());
        picture_ = std::move(picture);
        dirty_ = true;
    }
    if (dirty_) {
        paintProgress(picture_->dc.get(), font_.get(), picture_->pixels, width, height, *record_, statusLine(),
                      screenPixelsPerInch(), colouring_);
        dirty_ = false;
    }
}

void ProgressWindow::paint() {
    PaintScope scope(window_.get());
    renderNow();
    if (!picture_) return;
    BitBlt(scope.dc(), 0, 0, picture_->width, picture_->height, picture_->dc.get(), 0, 0, SRCCOPY);
}

void ProgressWindow::onMouseMove(int x, int y) {
    if (!record_ || !picture_) return;
    const ProgressAreas areas =
        progressAreas(picture_->width, picture_->height, screenPixelsPerInch(), ports_.dealTable != nullptr);
    const PlacedMap placed = placeMap(*record_, areas.map);
    std::string status;
    if (const std::optional<CellView> view =
            pointedCell(*record_, placed.layout, x - placed.origin.x, y - placed.origin.y))
        status = describeCell(*record_, placed.layout, *view);
    if (status == status_) return;
    status_ = status;
    // Only the status line is drawn again.
    if (!dirty_) paintStatusLine(picture_->dc.get(), font_.get(), areas.status, statusLine(), screenPixelsPerInch());
    InvalidateRect(window_.get(), &areas.status, FALSE);
}

void ProgressWindow::onDoubleClick(int x, int y) {
    if (!record_ || !picture_ || !ports_.chooseNumber) return;
    const ProgressAreas areas =
        progressAreas(picture_->width, picture_->height, screenPixelsPerInch(), ports_.dealTable != nullptr);
    const PlacedMap placed = placeMap(*record_, areas.map);
    const std::optional<CellView> view =
        pointedCell(*record_, placed.layout, x - placed.origin.x, y - placed.origin.y);
    if (view && canBeChosenFromMap(view->fate)) ports_.chooseNumber(view->number);
}

// The object comes with the creation and stays bound to its window until the
// object goes; messages before and after go to the default handling.
// Every message runs through the toolkit's entry guard: a failure (a size
// whose picture cannot be made, an allocation) is told in the error box and
// never crosses back into Windows.
LRESULT CALLBACK ProgressWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return guardWindowProcedure(window, message, wParam, lParam, [&]() -> LRESULT {
        if (message == WM_NCCREATE) {
            const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
        }
        auto* self = reinterpret_cast<ProgressWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (!self || !self->window_ || self->window_.get() != window)
            return DefWindowProcA(window, message, wParam, lParam);
        return self->handleMessage(message, wParam, lParam);
    });
}

LRESULT ProgressWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            // A picture that cannot be made leaves the window validated; the
            // error is told at the event boundary once.
            try {
                paint();
            } catch (const std::exception& error) {
                const std::string text = error.what();
                EventGate::run([text] { throw AppError(text); });
            }
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SIZE:
            placeSummary();
            changed();
            return 0;
        case WM_CTLCOLORSTATIC:
            SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
            SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
            return reinterpret_cast<LRESULT>(background_.get());
        case WM_COMMAND:
            if (colouringToggle_ && reinterpret_cast<HWND>(lParam) == colouringToggle_ &&
                HIWORD(wParam) == BN_CLICKED) {
                EventGate::run([this] { toggleColouring(); });
                return 0;
            }
            return DefWindowProcA(window_.get(), message, wParam, lParam);
        case WM_EXITSIZEMOVE:
            reportPlace();
            return 0;
        case WM_GETMINMAXINFO: {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMinTrackSize =
                POINT{scaledToDpi(kMinimumWidth, screenPixelsPerInch()), scaledToDpi(kMinimumHeight, screenPixelsPerInch())};
            return 0;
        }
        case WM_MOUSEMOVE:
            onMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_LBUTTONDBLCLK: {
            const int x = GET_X_LPARAM(lParam);
            const int y = GET_Y_LPARAM(lParam);
            EventGate::run([this, x, y] { onDoubleClick(x, y); });
            return 0;
        }
        case WM_CLOSE:
            EventGate::run([this] { closeWindow(); });
            return 0;
        case kLogReadMessage:
            takeWhatWasRead();
            return 0;
        default:
            return DefWindowProcA(window_.get(), message, wParam, lParam);
    }
}
