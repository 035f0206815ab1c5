#pragma once

// Properties of the portable parsers, checked on arbitrary input: the bodies
// of the libFuzzer targets (scripts/fuzz.sh) and of the host unit test that
// replays every input the fuzzer ever found failing. Each returns what went
// wrong, or an empty text. Sanitizers catch the rest (overflow, bad access).
#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// Text to number against a reference written another way; the conversion
// error's text; number to text and back.
std::string checkNumberText(const uint8_t* data, size_t size);

// The settings values: the input is cut into one value per key; what
// readSettings makes of them, what writeSettings writes back and reading that
// again; a write refused at any key.
std::string checkSettingsValues(const uint8_t* data, size_t size);

// The settings path beside an executable: the file name's extension, found by
// walking code page 932 characters, becomes ".Ini".
std::string checkIniPath(const uint8_t* data, size_t size);

// The pass list: ten slots and a box text cut from the input; passing the
// box's number and taking a slot back, against the rules written another way.
std::string checkPassList(const uint8_t* data, size_t size);

// The results log's reader on any bytes (what a spreadsheet saved back, a
// file cut short or damaged): the same entries and line ends whatever the
// reads' sizes; every entry written again reads back the same, in code page
// 932 and in UTF-8; a line of the log after the input's last line break is
// read whole, at the file's end.
std::string checkResultsLog(const uint8_t* data, size_t size);

}  // namespace fuzz
