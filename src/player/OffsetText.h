#pragma once
// The player's reading of what the clock file gives it: offset texts, and where the clock file
// lies (beside the movie).

#include <optional>
#include <string>

inline constexpr const wchar_t* kMovieFileName = L"PELLOXSS1.SWF";

// Minutes east of Greenwich for "GMT", "UTC" or any three letters, optionally followed by a
// sign and hh:mm ("GMT-00:30" is half an hour west). Surrounding blanks are ignored.
// Returns nothing when the text cannot be read.
std::optional<int> ParseOffsetText(const std::wstring& text);

// The clock file in the movie's folder (the part of the path before its last "\" or "/"); empty
// when the path names no folder.
std::wstring ClockFileBesideMovie(const std::wstring& movie);
