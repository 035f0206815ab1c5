#include "harness/game_control.h"

#include <fstream>
#include <sstream>

#include "harness/system_state.h"

namespace e2e {

std::optional<LogLine> parseLogLine(std::string text) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    const std::size_t first = text.find(' ');
    if (first == std::string::npos) return std::nullopt;
    LogLine parsed;
    parsed.milliseconds = std::stol(text.substr(0, first));
    const std::size_t second = text.find(' ', first + 1);
    parsed.event = text.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
    if (second != std::string::npos) parsed.details = text.substr(second + 1);
    return parsed;
}

std::vector<LogLine> StandinLog::lines() const {
    std::vector<LogLine> result;
    std::ifstream file(path_, std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        // A line still being written has no newline yet; the next read has it.
        if (file.eof()) break;
        if (std::optional<LogLine> parsed = parseLogLine(std::move(line))) result.push_back(std::move(*parsed));
    }
    return result;
}

std::vector<LogLine> StandinLog::find(const std::string& event, const std::optional<std::string>& details) const {
    std::vector<LogLine> result;
    for (LogLine& line : lines()) {
        if (line.event == event && (!details || line.details == *details)) result.push_back(std::move(line));
    }
    return result;
}

int StandinLog::count(const std::string& event, const std::optional<std::string>& details) const {
    return static_cast<int>(find(event, details).size());
}

std::optional<LogLine> StandinLog::waitFor(const std::function<bool(const LogLine&)>& matches, std::size_t from,
                                           std::chrono::milliseconds timeout) const {
    std::optional<LogLine> found;
    waitUntil(
        [&] {
            const std::vector<LogLine> all = lines();
            for (std::size_t i = from; i < all.size(); ++i) {
                if (matches(all[i])) {
                    found = all[i];
                    return true;
                }
            }
            return false;
        },
        timeout);
    return found;
}

std::optional<LogLine> StandinLog::waitFor(const std::string& event, const std::optional<std::string>& details,
                                           std::size_t from, std::chrono::milliseconds timeout) const {
    return waitFor([&](const LogLine& line) { return line.event == event && (!details || line.details == *details); },
                   from, timeout);
}

std::string StandinLog::text() const { return readFileBytes(path_).value_or("<no log>"); }

void standinWin(HWND mainWindow) { post(mainWindow, freecell::kCommandWin); }
void standinLose(HWND mainWindow) { post(mainWindow, freecell::kCommandLose); }
void standinMove(HWND mainWindow) { post(mainWindow, freecell::kCommandMove); }

void standinHangNextConfirm(HWND mainWindow, std::chrono::milliseconds duration) {
    post(mainWindow, freecell::kCommandHang, static_cast<WPARAM>(duration.count()), freecell::kHangConfirm);
}

void standinHangNextGameNumber(HWND mainWindow, std::chrono::milliseconds duration) {
    post(mainWindow, freecell::kCommandHang, static_cast<WPARAM>(duration.count()), freecell::kHangGameNumber);
}

bool standinSync(HWND mainWindow, const StandinLog& log, std::chrono::milliseconds timeout) {
    static WPARAM token = 0;
    ++token;
    const std::size_t from = log.size();
    post(mainWindow, freecell::kCommandPing, token);
    return log.waitFor("msg", "main STANDIN_PING " + std::to_string(token), from, timeout).has_value();
}

std::string standinState(HWND mainWindow) { return windowText(GetDlgItem(mainWindow, freecell::kStateControlId)); }

std::string standinBoard(HWND mainWindow) { return windowText(GetDlgItem(mainWindow, freecell::kBoardControlId)); }

bool waitForStandinBoard(HWND mainWindow, const std::string& expected, std::chrono::milliseconds timeout) {
    return waitUntil([&] { return standinBoard(mainWindow) == expected; }, timeout);
}

freecell::BoardLayout standinLayout(HWND mainWindow) {
    RECT client{};
    GetClientRect(mainWindow, &client);
    return freecell::BoardLayout(client.right, client.bottom);
}

void clickBoard(HWND mainWindow, const freecell::Point& point) {
    const LPARAM at = MAKELPARAM(point.x, point.y);
    post(mainWindow, WM_LBUTTONDOWN, MK_LBUTTON, at);
    post(mainWindow, WM_LBUTTONUP, 0, at);
}

void doubleClickBoard(HWND mainWindow, const freecell::Point& point) {
    clickBoard(mainWindow, point);
    const LPARAM at = MAKELPARAM(point.x, point.y);
    post(mainWindow, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    post(mainWindow, WM_LBUTTONUP, 0, at);
}

bool mouseAt(HWND mainWindow, const freecell::Point& point, DWORD buttons) {
    POINT screen{point.x, point.y};
    if (!ClientToScreen(mainWindow, &screen)) return false;
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = buttons | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    // Absolute positions run from 0 to 65535 across the screen.
    input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    return SendInput(1, &input, sizeof input) == 1;
}

bool holdsMouse(HWND mainWindow) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(mainWindow, nullptr), &info) && info.hwndCapture == mainWindow;
}

bool dragBoard(HWND mainWindow, const freecell::Point& from, const freecell::Point& to) {
    if (!mouseAt(mainWindow, from, MOUSEEVENTF_LEFTDOWN)) return false;
    constexpr int kSteps = 12;
    for (int step = 1; step <= kSteps; ++step) {
        if (!mouseAt(mainWindow, {from.x + (to.x - from.x) * step / kSteps, from.y + (to.y - from.y) * step / kSteps}))
            return false;
    }
    return mouseAt(mainWindow, to, MOUSEEVENTF_LEFTUP) && waitUntil([&] { return !holdsMouse(mainWindow); }, 10s);
}

RunningStandin::RunningStandin(const Sandbox& sandbox, const Environment& extra)
    : process([&] {
          Environment environment = extra;
          environment.emplace_back(freecell::kLogVariable, sandbox.path("freecell.log"));
          return Process::start(sandbox.copyProgram("FREECELL.EXE"), sandbox.dir(), environment);
      }()),
      log(sandbox.path("freecell.log")) {
    // Only this process's window counts: a stray game from an earlier test
    // must not be taken for this one.
    waitUntil([&] {
        for (HWND window = FindWindowA("FreeWClass", nullptr); window;
             window = FindWindowExA(nullptr, window, "FreeWClass", nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == process.id()) {
                mainWindow = window;
                return true;
            }
        }
        return false;
    });
}

}  // namespace e2e
