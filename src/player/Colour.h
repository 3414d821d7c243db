#pragma once
// Colours of the player's picture, and the background colour as the movie control stores it.

#include <cstdint>
#include <optional>
#include <string>

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// "#RRGGBB" or "RRGGBB", in either letter case. Empty or unreadable texts give nothing: the
// player's own background.
std::optional<Rgb> ParseBackgroundColor(const std::wstring& text);
