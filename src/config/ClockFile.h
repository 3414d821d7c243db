#pragma once
// The clock file "pellox2.xml" beside the program: the five captions and offset texts that the
// clock player reads. One line of single-byte text:
//   <?xml version="1.0"?><serie><value name="CAPTION">OFFSET</value>...</serie>

#include <array>
#include <string>

#include "platform/ProgramPorts.h"

inline constexpr int kZoneRows = 5;
using RowTexts = std::array<std::wstring, kZoneRows>;

inline constexpr const wchar_t* kClockFileName = L"\\pellox2.xml";

// The program folder followed directly by "\pellox2.xml".
std::wstring ClockFilePath(const std::wstring& programFolder);

// The text with every comma removed.
std::wstring RemoveCommas(const std::wstring& text);

// A text as it goes into the file: "&", "<" and '"' as entity references, tab, line feed and
// carriage return and every character outside ASCII as numeric character references, and
// characters that XML does not allow dropped. Plain ASCII otherwise passes unchanged, so the
// file reads back the same whatever code page the reader assumes.
std::string EscapeClockText(const std::wstring& text);

// The whole document: commas removed from the captions, captions and offsets escaped.
std::string BuildClockDocument(const RowTexts& captions, const RowTexts& offsets);

// Builds the document and replaces the clock file in the program folder with it. Failures
// (AppError) go to the caller; the old file is then left whole.
void WriteClockFile(FileReplacer& files, const std::wstring& programFolder,
                    const RowTexts& captions, const RowTexts& offsets);
