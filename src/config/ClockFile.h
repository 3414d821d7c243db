#pragma once
// The clock file "pellox2.xml" beside the program: the five captions and offset texts that the
// settings dialog writes and the clock player reads. One line of single-byte text:
//   <?xml version="1.0"?><serie><value name="CAPTION">OFFSET</value>...</serie>
// Its one writer and its one reader live here.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/ProgramPorts.h"

class XmlComponent;

inline constexpr int kZoneRows = 5;  // rows 0-3 the zone clocks, row 4 the local clock
inline constexpr int kLocalRow = 4;
using RowTexts = std::array<std::wstring, kZoneRows>;

inline constexpr const wchar_t* kClockFileName = L"pellox2.xml";

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

// Builds the document and replaces the clock file in the program folder with it; when that
// folder refuses the write (70 or 75) and the user has a folder of their own, the same bytes go
// there instead. Failures (AppError; the program folder's when both fail) go to the caller; the
// old file is then left whole.
void WriteClockFile(FileReplacer& files, const std::wstring& programFolder,
                    const RowTexts& captions, const RowTexts& offsets,
                    const std::wstring& userFolder = {});

// Reading: up to five rows, each a caption (the value element's name attribute) and an offset
// text ("GMT+01:00"), as far as the value elements go.
enum class ClockFileState {
    Ok,         // five rows read
    Missing,    // no file at all
    Malformed,  // the file cannot be read as XML
    FewerRows,  // fewer than five value elements
};

struct ClockRow {
    std::wstring caption;
    std::wstring offsetText;
    bool operator==(const ClockRow&) const = default;
};

struct ClockFile {
    ClockFileState state = ClockFileState::Missing;
    std::vector<ClockRow> rows;  // in row order, at most five

    bool operator==(const ClockFile&) const = default;
    // The five captions, empty for rows the file lacks.
    RowTexts Captions() const;
};

// Where the clock file comes from.
class ClockFileSource {
  public:
    virtual ~ClockFileSource() = default;
    virtual std::optional<FileStamp> Stamp(const std::wstring& path) = 0;
    virtual ClockFile Read(const std::wstring& path) = 0;
};

// The clock file in use: the one in the user's folder when it exists, programFile otherwise.
std::wstring ClockFileInUse(ClockFileSource& source, const std::wstring& programFile,
                            const std::wstring& userFolder);

// The reader: the file system's stamps and the XML component through vbXML.
class XmlClockFileSource final : public ClockFileSource {
  public:
    XmlClockFileSource(const FileStamps& stamps, const XmlComponent& xml)
        : stamps_(stamps), xml_(xml) {}
    std::optional<FileStamp> Stamp(const std::wstring& path) override;
    ClockFile Read(const std::wstring& path) override;

  private:
    const FileStamps& stamps_;
    const XmlComponent& xml_;
};
