#pragma once
// Ordering of the time-zone catalogue by display name: a stable straight insertion sort.

#include <cstddef>
#include <string>

#include "platform/TextCompare.h"
#include "timezones/TimeZoneRecord.h"

enum class CompareMode { Binary = 0, Text = 1 };

// -1, 0 or 1: by character code (Binary) or by the locale's collation ignoring case (Text).
int CompareDisplay(const std::wstring& a, const std::wstring& b, CompareMode mode,
                   const TextCompare& compare);

void SortTimeZones(TimeZoneList& list, bool ascending, bool caseSensitive,
                   const TextCompare& compare);

void InsertionSortTimeZones(TimeZoneList& list, std::size_t first, std::size_t last, int orderValue,
                            CompareMode mode, const TextCompare& compare);
