#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// The pass list: ten slots, each empty or a passed game number as the number
// box gave it (decimal text without separators). Slot i is shown by the menu
// item Retry<i>.
inline constexpr std::size_t kPassSlots = 10;
using PassSlots = std::array<std::string, kPassSlots>;

struct PassOutcome {
    bool listFull = false;
    int32_t nextNumber = 0;  // the number the box moves on to
};

// Puts the box's number on the list: into the first empty slot; then every
// later slot of the same text is emptied, and the filled slots are sorted by
// number, highest first, over the places they hold (empty slots keep theirs).
// A full list changes nothing. A box text that is no number raises the
// conversion error before anything changes. An entry that is no number (from a
// hand-edited settings file) sorts below every number and stays on the list.
PassOutcome passGame(PassSlots& slots, const std::string& boxText);

// Takes a slot off the list, then closes the first gap in one pass: every slot
// after the first empty one moves one place toward slot 0.
void takeBackPass(PassSlots& slots, int slot);
