#pragma once
// What the player reads from the clock file "pellox2.xml": up to five rows, each a caption
// (the value element's name attribute) and an offset text ("GMT+01:00").

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

inline constexpr int kClockRows = 5;  // rows 0-3 the zone clocks, row 4 the local clock
inline constexpr int kLocalRow = 4;
inline constexpr wchar_t kClockFileName[] = L"pellox2.xml";
inline constexpr wchar_t kMovieFileName[] = L"PELLOXSS1.SWF";

enum class ClockFileState {
    Ok,         // five rows read
    Missing,    // no file at all
    Malformed,  // the file is not well-formed XML
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
};

// Minutes east of Greenwich for "GMT", "UTC" or any three letters, optionally followed by a
// sign and hh:mm ("GMT-00:30" is half an hour west). Surrounding blanks are ignored.
// Returns nothing when the text cannot be read.
std::optional<int> ParseOffsetText(const std::wstring& text);

// A change mark of a file: its size and modification time, or nothing when it is absent.
struct FileStamp {
    std::int64_t size = 0;
    std::int64_t modified = 0;
    bool operator==(const FileStamp&) const = default;
};

// The file's stamp, or nothing when there is no such file; one call into the platform.
std::optional<FileStamp> FileStampOf(const std::wstring& path);

// Where the player gets the clock file from.
class ClockFileSource {
  public:
    virtual ~ClockFileSource() = default;
    virtual std::optional<FileStamp> Stamp(const std::wstring& path) = 0;
    virtual ClockFile Read(const std::wstring& path) = 0;
};

// The file system and vbXML.
class XmlClockFileSource : public ClockFileSource {
  public:
    std::optional<FileStamp> Stamp(const std::wstring& path) override;
    ClockFile Read(const std::wstring& path) override;
};

// The folder part of a movie path, up to and including its last "\" or "/"; empty when the
// path names no folder.
std::wstring MovieFolder(const std::wstring& movie);
