#include "tool_support.h"

#include <cstdio>
#include <vector>

#include "gamelink/game_contract.h"

namespace tools {

std::string utf8(const std::string& cp932) {
    if (cp932.empty()) return {};
    const int wideLength = MultiByteToWideChar(932, 0, cp932.data(), static_cast<int>(cp932.size()), nullptr, 0);
    if (wideLength <= 0) return cp932;
    std::vector<wchar_t> wide(static_cast<std::size_t>(wideLength));
    MultiByteToWideChar(932, 0, cp932.data(), static_cast<int>(cp932.size()), wide.data(), wideLength);
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return cp932;
    std::string result(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, result.data(), length, nullptr, nullptr);
    return result;
}

void say(const std::string& cp932Line) {
    // Raw bytes: the C runtime would convert nothing, but a console write
    // would take them for the console's code page.
    const std::string line = utf8(cp932Line) + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

ProfileTexts currentTexts() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    OsVersion version;
    if (GetVersionExA(&info)) version = {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
    return chooseOsProfile(version).texts;
}

HWND findProcessWindow(DWORD processId, const char* className, const char* caption) {
    for (HWND window = FindWindowExA(nullptr, nullptr, className, caption); window;
         window = FindWindowExA(nullptr, window, className, caption)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId) return window;
    }
    return nullptr;
}

void winAndAnswerYes(const Table& table, int nextGame, unsigned thinkMs) {
    const std::size_t mark = table.log->size();
    e2e::standinWin(table.game);
    answerWonDialogYes(table, nextGame, mark, thinkMs);
}

int playWinAndAnswerYes(const Table& table, int number) {
    const std::size_t mark = table.log->size();
    const e2e::MousePlay play = e2e::playToTheEnd(table.game, number);
    if (!play.won) throw Failure("game " + std::to_string(number) + " played with the mouse: " + play.failure);
    answerWonDialogYes(table, number + 1, mark);
    return play.moves;
}

void answerWonDialogYes(const Table& table, int nextGame, std::size_t mark, unsigned thinkMs) {
    // The game may open the dialog with the box already ticked (it remembers
    // the last choice): only the logged BM_SETCHECK shows Tallykeep's answer.
    if (!table.log->waitFor("msg", std::string("selectbox BM_SETCHECK 1"), mark))
        throw Failure("Tallykeep did not tick the won dialog's select-game box");
    HWND dialog = e2e::findTopLevel(game::kDialogClass, table.texts.TitleGameOver);
    HWND yes = dialog ? e2e::findChild(dialog, nullptr, table.texts.CaptionYes) : nullptr;
    if (!yes) throw Failure("the won dialog's yes button is not there");
    if (thinkMs > 0) Sleep(thinkMs);
    e2e::clickButton(yes);
    if (!table.log->waitFor("deal", std::to_string(nextGame), mark))
        throw Failure("game " + std::to_string(nextGame) + " was not dealt after the won dialog");
}

void loseAndRedeal(const Table& table, int game) {
    const std::size_t mark = table.log->size();
    e2e::standinLose(table.game);
    const auto answeredYes = [](const e2e::LogLine& line) {
        return line.event == "answer" && line.details.rfind("lost yes", 0) == 0;
    };
    if (!table.log->waitFor(answeredYes, mark))
        throw Failure("Tallykeep did not answer the lost dialog of game " + std::to_string(game));
    if (!table.log->waitFor("deal", std::to_string(game), mark))
        throw Failure("game " + std::to_string(game) + " was not dealt again after the loss");
}

}  // namespace tools
