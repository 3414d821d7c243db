#pragma once
// One entry of the time-zone catalogue.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct TimeZoneRecord {
    std::array<std::uint8_t, 44> TZI{};  // REG_TZI_FORMAT, as stored (read by DaylightRules)
    std::wstring Display;                // e.g. "(UTC+10:00) Canberra, Melbourne, Sydney"
    std::wstring Std;
    std::wstring Dlt;
    std::wstring MapID;
    std::wstring KeyName;  // the zone's subkey name, e.g. "GMT Standard Time"
};

using TimeZoneList = std::vector<TimeZoneRecord>;
