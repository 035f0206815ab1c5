#include "records/pass_list.h"

#include <optional>
#include <stdexcept>
#include <utility>

#include "common/number_text.h"

namespace {

// An entry that is no number counts as lower than any number.
bool sortsBelow(const std::string& a, const std::string& b) {
    const std::optional<int32_t> left = tryTextToInt(a);
    const std::optional<int32_t> right = tryTextToInt(b);
    if (!right) return false;
    return !left || *left < *right;
}

}  // namespace

PassOutcome passGame(PassSlots& slots, const std::string& boxText) {
    std::size_t free = 0;
    while (free < kPassSlots && !slots[free].empty()) ++free;
    if (free == kPassSlots) return {true, 0};
    const int32_t number = textToInt(boxText);

    slots[free] = boxText;
    for (std::size_t j = 0; j + 1 < kPassSlots; ++j)
        for (std::size_t k = j + 1; k < kPassSlots; ++k)
            if (!slots[j].empty() && slots[k] == slots[j]) slots[k].clear();
    for (std::size_t j = 0; j + 1 < kPassSlots; ++j)
        for (std::size_t k = j + 1; k < kPassSlots; ++k)
            if (!slots[j].empty() && !slots[k].empty() && sortsBelow(slots[j], slots[k])) std::swap(slots[j], slots[k]);
    return {false, wrappingAdd(number, 1)};
}

void takeBackPass(PassSlots& slots, int slot) {
    if (slot < 0 || slot >= static_cast<int>(kPassSlots))
        throw std::out_of_range("no pass-list slot " + std::to_string(slot));
    slots[static_cast<std::size_t>(slot)].clear();
    for (std::size_t i = 0; i + 1 < kPassSlots; ++i)
        if (slots[i].empty()) std::swap(slots[i], slots[i + 1]);
}
