#pragma once
// The offset text of a zone: "GMT", a sign and hh:mm, read from the display name's fixed
// positions, one hour ahead when daylight time applies.

#include <string>

// Its decimal text, with a "0" in front when that text is one character long.
std::wstring PadHour(int hour);

// displayText: the zone's display name ("(GMT+10:00) ..."), or empty when none is chosen.
std::wstring GetGmtOffset(const std::wstring& displayText, bool daylight);
