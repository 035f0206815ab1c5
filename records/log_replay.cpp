#include "records/log_replay.h"

#include "common/number_text.h"
#include "records/pass_list.h"

int32_t numberAfter(int32_t number, int32_t maxGameNumber) {
    return number >= maxGameNumber || number < 1 ? 1 : number + 1;
}

namespace {

int32_t boxNumber(const Settings& settings) {
    return settings.nextGame != 0 ? settings.nextGame : settings.game.number;
}

// The box leaves a number won or passed: for the number it goes back to
// after a passed game taken back, else for the next one.
void moveBoxOn(int32_t from, Settings& settings, int32_t maxGameNumber) {
    if (settings.afterRetry != 0 && settings.afterRetry != from) {
        settings.nextGame = settings.afterRetry;
    } else {
        settings.nextGame = numberAfter(from, maxGameNumber);
    }
    settings.afterRetry = 0;
}

}  // namespace

void applyToPlayed(const LogEntry& line, PlayedNumbers& played) {
    if (line.event == LogEvent::clear) played.clear();
    if (line.event == LogEvent::win || line.event == LogEvent::loss) played.raise(line.gameNumber, line.attempt);
}

void applyLogLine(const LogEntry& line, Settings& settings, PlayedNumbers* played, int32_t maxGameNumber) {
    if (played) applyToPlayed(line, *played);
    const int32_t number = line.gameNumber;
    const bool inRange = number >= 1 && number <= maxGameNumber;
    switch (line.event) {
        case LogEvent::win:
        case LogEvent::loss: {
            GameResult result{line.event == LogEvent::win, number, line.attempt, !line.counted};
            settings.tally.record(result);
            if (!result.won) break;
            // A number won is done with: the box leaves it, and so does the
            // number the box is to go back to.
            if (number == settings.afterRetry) settings.afterRetry = numberAfter(number, maxGameNumber);
            if (number == boxNumber(settings)) moveBoxOn(number, settings, maxGameNumber);
            break;
        }
        case LogEvent::pass:
            if (!inRange) break;
            passGame(settings.tally.passes, intToText(number));
            if (number == boxNumber(settings)) moveBoxOn(number, settings, maxGameNumber);
            break;
        case LogEvent::retry: {
            PassSlots& passes = settings.tally.passes;
            for (std::size_t slot = 0; slot < passes.size(); ++slot)
                if (tryTextToInt(passes[slot]) == number) {
                    takeBackPass(passes, static_cast<int>(slot));
                    break;
                }
            if (!inRange) break;
            // Where the box goes back to once this game is won or passed; a
            // game taken back before keeps its place to go back to.
            if (settings.afterRetry == 0 && boxNumber(settings) != number) settings.afterRetry = boxNumber(settings);
            settings.nextGame = number;
            break;
        }
        case LogEvent::skip:
            if (number == settings.afterRetry) settings.afterRetry = numberAfter(number, maxGameNumber);
            if (number == boxNumber(settings)) settings.nextGame = numberAfter(number, maxGameNumber);
            break;
        case LogEvent::clear:
            settings.tally.clearTotals();
            break;
    }
}
