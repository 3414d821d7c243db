#pragma once
// Diagnostics only (the program never interprets TZI): the standard offset a TZI block holds.

#include <cstdint>
#include <cstring>
#include <string>

#include "timezones/GmtOffset.h"
#include "timezones/TimeZoneRecord.h"

// Minus Bias, as "+hh:mm" or "-hh:mm".
inline std::wstring TziStandardOffset(const TimeZoneRecord& record) {
    std::int32_t bias = 0;
    std::memcpy(&bias, record.TZI.data(), sizeof bias);
    const std::int32_t offset = -bias;
    const std::int32_t magnitude = offset < 0 ? -offset : offset;
    return std::wstring(offset < 0 ? L"-" : L"+") + PadHour(magnitude / 60) + L":" +
           PadHour(magnitude % 60);
}
