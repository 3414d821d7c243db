#pragma once
// The stored settings of the clock player control: the 174-byte persistence block of the
// movie control that the saver window hosts, and the properties it carries.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct PlayerProperties {
    std::int32_t width = 0;   // hundredths of a millimetre
    std::int32_t height = 0;  // hundredths of a millimetre
    std::wstring FlashVars;
    std::wstring Movie;
    std::wstring Src;
    std::wstring WMode;
    bool Play = false;
    bool Loop = false;
    std::wstring Quality;
    std::wstring SAlign;
    bool Menu = true;
    std::wstring Base;
    std::wstring AllowScriptAccess;
    std::wstring Scale;
    bool DeviceFont = false;
    bool EmbedMovie = false;
    std::wstring BGColor;
    std::wstring SWRemote;

    bool operator==(const PlayerProperties&) const = default;
};

inline constexpr std::uint32_t kStoredSettingsSignature = 0x55665567;  // "gUfU"
inline constexpr std::uint32_t kStoredSettingsVersion = 0x300;
inline constexpr std::size_t kStoredSettingsSize = 174;

// The properties the saver window creates its control with.
PlayerProperties SaverPlayerProperties();

// The persistence layout: a header of four 32-bit little-endian words, then sixteen tagged
// values in the control's property order (tag 8: text, tag 11: flag).
std::vector<std::uint8_t> BuildStoredSettings(const PlayerProperties& properties);

// Reads the layout back; throws AppError on a wrong signature, a wrong tag, a truncated or
// oversized block.
PlayerProperties ParseStoredSettings(std::span<const std::uint8_t> bytes);
