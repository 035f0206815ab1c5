#pragma once

#include <cstddef>
#include <optional>
#include <string>

// The file version of a version resource (the bytes of RT_VERSION, as the
// resource script's VERSIONINFO writes them) as text: "1.21" for 1,21,0,0.
// Trailing zero parts are left out, down to two parts. None when the bytes
// hold no fixed file information.
std::optional<std::string> fileVersionText(const unsigned char* bytes, std::size_t size);
