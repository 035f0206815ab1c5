#include "tallykeep_session.h"

#include <algorithm>
#include <array>

#include "gamelink/game_contract.h"

namespace e2e {

namespace {

// GroupBox1's labels in their creation order.
constexpr std::array<const char*, 19> kGroupBox1Labels = {
    "Label7",  "Label9",  "Label3",  "Label4",  "Label8",  "Label5",  "Label6",  "Label10", "Label11", "Label12",
    "Label13", "Label14", "Label15", "Label16", "Label17", "Label18", "Label19", "Label20", "Label21"};

}  // namespace

ResultsWindow::ResultsWindow(HWND window) : window_(window) {
    if (!window_) return;
    for (const ChildWindow& child : children(window_)) {
        const std::vector<ChildWindow> inner = children(child.handle);
        if (child.text == "成績" && inner.size() == kGroupBox1Labels.size()) {
            for (std::size_t i = 0; i < inner.size(); ++i) labels_[kGroupBox1Labels[i]] = inner[i].handle;
        } else if (child.text.rfind("対戦履歴", 0) == 0 && !inner.empty()) {
            historyGroup_ = child.handle;
            memo_ = inner.front().handle;
        } else if (inner.size() == 3) {  // Panel1: Label1, Label2, EditEx1
            labels_["Label1"] = inner[0].handle;
            labels_["Label2"] = inner[1].handle;
            numberBox_ = inner[2].handle;
        } else if (inner.empty() && child.className == "Static") {
            difficulty_ = child.handle;
        }
    }
}

std::string ResultsWindow::label(const std::string& name) const {
    const auto found = labels_.find(name);
    return found == labels_.end() ? "<no " + name + ">" : windowText(found->second);
}

HWND ResultsWindow::labelWindow(const std::string& name) const {
    const auto found = labels_.find(name);
    return found == labels_.end() ? nullptr : found->second;
}

std::string ResultsWindow::historyCaption() const {
    return historyGroup_ ? windowText(historyGroup_) : "<no history group>";
}

std::string ResultsWindow::numberBox() const { return numberBox_ ? windowText(numberBox_) : "<no number box>"; }

void ResultsWindow::setNumberBox(const std::string& text) const {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(numberBox_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_BLOCK, 5000, &result);
}

void ResultsWindow::selectInNumberBox(int start, int end) const {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(numberBox_, EM_SETSEL, static_cast<WPARAM>(start), end, SMTO_BLOCK, 5000, &result);
}

std::pair<int, int> ResultsWindow::numberBoxSelection() const {
    DWORD_PTR both = 0;
    if (!SendMessageTimeoutA(numberBox_, EM_GETSEL, 0, 0, SMTO_BLOCK, 5000, &both)) return {-1, -1};
    return {LOWORD(both), HIWORD(both)};
}

LONG ResultsWindow::numberBoxStyle() const { return GetWindowLongA(numberBox_, GWL_STYLE); }

void ResultsWindow::typeIntoNumberBox(const std::string& keys) const {
    for (const char key : keys) post(numberBox_, WM_CHAR, static_cast<unsigned char>(key), 1);
}

void ResultsWindow::pressInNumberBox(WPARAM virtualKey) const {
    const LPARAM scanCode = static_cast<LPARAM>(MapVirtualKeyA(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC)) << 16;
    post(numberBox_, WM_KEYDOWN, virtualKey, scanCode | 1);
    post(numberBox_, WM_KEYUP, virtualKey, scanCode | 1 | (LPARAM{1} << 30) | static_cast<LPARAM>(1u << 31));
}

std::vector<std::string> ResultsWindow::history() const {
    std::vector<std::string> lines;
    if (!memo_) return lines;
    const std::string text = windowText(memo_);
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::string ResultsWindow::difficulty() const {
    return difficulty_ ? windowText(difficulty_) : "<no difficulty label>";
}

bool ResultsWindow::waitForDifficulty(const std::string& text, std::chrono::milliseconds timeout) const {
    return waitUntil([&] { return difficulty() == text; }, timeout);
}

int ResultsWindow::historyDisplayedLineCount() const {
    DWORD_PTR count = 0;
    if (!memo_ || !SendMessageTimeoutA(memo_, EM_GETLINECOUNT, 0, 0, SMTO_BLOCK, 5000, &count)) return -1;
    return static_cast<int>(count);
}

bool ResultsWindow::waitForLabel(const std::string& name, const std::string& text,
                                 std::chrono::milliseconds timeout) const {
    return waitUntil([&] { return label(name) == text; }, timeout);
}

bool ResultsWindow::waitForNumberBox(const std::string& text, std::chrono::milliseconds timeout) const {
    return waitUntil([&] { return numberBox() == text; }, timeout);
}

void ResultsWindow::menuCommand(UINT id) const { post(window_, WM_COMMAND, id, 0); }

void ResultsWindow::close() const { post(window_, WM_CLOSE); }

HWND findGameWindow() { return FindWindowA(game::kMainWindowClass, nullptr); }

TallykeepSession::TallykeepSession(const Sandbox& sandbox_, SessionOptions options)
    : sandbox(sandbox_), log(options.logPath.empty() ? sandbox_.path("freecell.log") : options.logPath) {
    start(std::move(options));
}

void TallykeepSession::restart(SessionOptions options) {
    tallykeep.reset();
    runningGame.reset();
    tallykeepVersion.reset();
    gameVersion.reset();
    game = nullptr;
    results = ResultsWindow();
    start(std::move(options));
}

void TallykeepSession::start(SessionOptions options) {
    if (options.windowsVersion) {
        tallykeepVersion.emplace("Tallykeep.exe", options.windowsVersion);
        gameVersion.emplace("FREECELL.EXE", options.windowsVersion);
    }
    // A restart finds the programs already there: copying over them fails under
    // MinGW's std::filesystem even with overwrite_existing.
    const auto copyOnce = [this](const char* exeName) {
        const std::string target = sandbox.path(exeName);
        return GetFileAttributesA(target.c_str()) == INVALID_FILE_ATTRIBUTES ? sandbox.copyProgram(exeName) : target;
    };
    const std::string exe = copyOnce("Tallykeep.exe");
    // A running game's copy is already there (and cannot be overwritten).
    if (options.gameInWorkingDirectory && !options.gameRunningFirst) copyOnce("FREECELL.EXE");
    if (options.withDealTable) copyOnce("deals.tkd");

    Environment environment = options.environment;
    environment.emplace_back(freecell::kLogVariable, log.path());
    if (options.gameRunningFirst) {
        runningGame.emplace(sandbox, options.environment);
        game = runningGame->mainWindow;
    }
    tallykeep.emplace(Process::start(exe, sandbox.dir(), environment));
    if (!options.waitForWindows) return;
    if (!game) game = waitForTopLevel(game::kMainWindowClass, nullptr);
    // The results window shows itself once its start-up has run to the end.
    HWND window = waitForTopLevel(kResultsClass, kResultsCaption);
    if (window && waitUntil([&] { return IsWindowVisible(window) != FALSE; })) results = ResultsWindow(window);
}

bool TallykeepSession::selectGame(const std::string& number, const std::string& expectedDeal) {
    const std::size_t mark = log.size();
    results.setNumberBox(number);
    postKey(game, game::kVkF3);
    return log.waitFor("deal", expectedDeal, mark).has_value();
}

bool TallykeepSession::winAndAnswerYes(const ProfileTexts& texts, const std::string& nextDeal) {
    const std::size_t mark = log.size();
    standinWin(game);
    // The box may start ticked (the game remembers the last choice): only the
    // logged BM_SETCHECK shows that Tallykeep has handled the dialog.
    if (!log.waitFor("msg", std::string("selectbox BM_SETCHECK 1"), mark)) return false;
    HWND dialog = findTopLevel(game::kDialogClass, texts.TitleGameOver);
    HWND yes = dialog ? findChild(dialog, nullptr, texts.CaptionYes) : nullptr;
    if (!yes) return false;
    clickButton(yes);
    return log.waitFor("deal", nextDeal, mark).has_value();
}

bool TallykeepSession::loseAndRedeal(const std::string& number) {
    const std::size_t mark = log.size();
    standinLose(game);
    return log.waitFor("deal", number, mark).has_value();
}

bool TallykeepSession::closeAndWait(std::chrono::milliseconds timeout) {
    results.close();
    return tallykeep->waitForExit(timeout).has_value();
}

void TallykeepTest::SetUp() {
    killStrayPrograms();
    ASSERT_TRUE(deleteStatisticsKey());
    // Tallykeep puts back what the player had on the clipboard; a test starts
    // with nothing there, so that the number it entered stays to be read.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
}

void TallykeepTest::TearDown() { killStrayPrograms(); }

void TallykeepTest::start(SessionOptions options) {
    session.emplace(sandbox, std::move(options));
    ASSERT_NE(session->game, nullptr) << "the game did not appear";
    ASSERT_TRUE(session->results.found()) << "the results window did not appear";
}

void TallykeepTest::startThroughErrorBox(std::string& told, SessionOptions options) {
    options.waitForWindows = false;
    session.emplace(sandbox, options);
    const HWND box = waitForTopLevel(game::kDialogClass, "Tallykeep");
    ASSERT_NE(box, nullptr) << "no error box at start-up";
    ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(box) != FALSE; }));
    told = windowText(GetDlgItem(box, 0xFFFF));
    clickButton(GetDlgItem(box, IDOK));
    session->game = waitForTopLevel(game::kMainWindowClass, nullptr);
    ASSERT_NE(session->game, nullptr) << "the game was not started after the error box";
    const HWND window = waitForTopLevel(kResultsClass, kResultsCaption);
    ASSERT_TRUE(window && waitUntil([&] { return IsWindowVisible(window) != FALSE; }));
    session->results = ResultsWindow(window);
}

}  // namespace e2e
