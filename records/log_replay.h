#pragma once

#include <cstdint>

#include "records/played_numbers.h"
#include "records/results_log.h"
#include "records/settings.h"

// What one line of the log does to the record: the totals, streaks and
// history (a result), the pass list (パス, 再挑戦), the number box and the
// number it goes back to, the numbers played (a result, クリア). The keeper
// applies each line as it writes it, and the next start applies the lines
// that came after the settings file's checkpoint in the same way, so that the
// record is the log's whatever stopped the program in between.
// `played` is left out where it holds the line already.
void applyLogLine(const LogEntry& line, Settings& settings, PlayedNumbers* played, int32_t maxGameNumber);
// What the line does to the numbers played alone.
void applyToPlayed(const LogEntry& line, PlayedNumbers& played);

// The number after `number`: 1 after the highest.
int32_t numberAfter(int32_t number, int32_t maxGameNumber);
