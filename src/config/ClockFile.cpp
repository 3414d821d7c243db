#include "config/ClockFile.h"

#include <algorithm>

#include "platform/AppError.h"
#include "xml/vbXML.h"

namespace {

constexpr const char* kHead = "<?xml version=\"1.0\"?><serie><value name=\"";
constexpr const char* kNameEnd = "\">";
constexpr const char* kSeparator = "</value><value name=\"";
constexpr const char* kTail = "</value></serie>";

void AppendReference(std::string& out, char32_t code) {
    out += "&#";
    out += std::to_string(static_cast<unsigned long>(code));
    out += ';';
}

// Characters XML 1.0 allows in a document (tab, line feed and carriage return among the
// controls).
bool IsXmlChar(char32_t c) {
    if (c < 0x20) return c == 0x9 || c == 0xA || c == 0xD;
    if (c >= 0xD800 && c <= 0xDFFF) return false;
    if (c == 0xFFFE || c == 0xFFFF) return false;
    return c <= 0x10FFFF;
}

}  // namespace

std::wstring ClockFilePath(const std::wstring& programFolder) {
    return programFolder + L"\\" + kClockFileName;
}

std::wstring RemoveCommas(const std::wstring& text) {
    std::wstring result = text;
    result.erase(std::remove(result.begin(), result.end(), L','), result.end());
    return result;
}

std::string EscapeClockText(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char32_t>(text[i]);
        // UTF-16 (Windows): join a surrogate pair into its code point.
        if constexpr (sizeof(wchar_t) == 2) {
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
                const char32_t low = static_cast<char32_t>(text[i + 1]);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
        }
        if (!IsXmlChar(c)) continue;
        switch (c) {
            case U'&':
                out += "&amp;";
                break;
            case U'<':
                out += "&lt;";
                break;
            case U'"':
                out += "&quot;";
                break;
            default:
                // A raw tab or line break would read back as a space.
                if (c < 0x20 || c >= 0x80) {
                    AppendReference(out, c);
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out;
}

std::string BuildClockDocument(const RowTexts& captions, const RowTexts& offsets) {
    std::string document = kHead;
    for (int row = 0; row < kZoneRows; ++row) {
        if (row > 0) document += kSeparator;
        document += EscapeClockText(RemoveCommas(captions[row]));
        document += kNameEnd;
        document += EscapeClockText(offsets[row]);
    }
    document += kTail;
    return document;
}

void WriteClockFile(FileReplacer& files, const std::wstring& programFolder,
                    const RowTexts& captions, const RowTexts& offsets,
                    const std::wstring& userFolder) {
    const std::string document = BuildClockDocument(captions, offsets);
    try {
        files.ReplaceFile(ClockFilePath(programFolder), document);
    } catch (const AppError& error) {
        const bool refused =
            error.Number == errnum::PermissionDenied || error.Number == errnum::PathFileAccess;
        if (!refused || userFolder.empty()) throw;
        try {
            files.ReplaceFile(ClockFilePath(userFolder), document);
        } catch (const AppError&) {
            throw error;  // neither place: the program folder's failure, as without the fallback
        }
    }
}

std::wstring ClockFileInUse(ClockFileSource& source, const std::wstring& programFile,
                            const std::wstring& userFolder) {
    if (!userFolder.empty() && source.Stamp(ClockFilePath(userFolder)))
        return ClockFilePath(userFolder);
    return programFile;
}

RowTexts ClockFile::Captions() const {
    RowTexts captions;
    for (std::size_t row = 0; row < rows.size() && row < captions.size(); ++row)
        captions[row] = rows[row].caption;
    return captions;
}

std::optional<FileStamp> XmlClockFileSource::Stamp(const std::wstring& path) {
    return stamps_.StampOf(path);
}

ClockFile XmlClockFileSource::Read(const std::wstring& path) {
    ClockFile file;
    if (!stamps_.StampOf(path)) return file;  // Missing
    try {
        vbXML xml(xml_);
        if (!xml.OpenXML(path, 0)) {
            file.state = ClockFileState::Malformed;
            return file;
        }
        // Rows 0 to 4 as far as they go; a missing value element ends the list.
        for (int row = 0; row < kZoneRows; ++row) {
            const std::wstring query = L"/serie/value[" + std::to_wstring(row) + L"]";
            std::optional<std::wstring> offset = xml.ReadNode(query);
            if (!offset) break;
            file.rows.push_back({xml.ReadAttribute(XmlValue(query), L"name"), std::move(*offset)});
        }
    } catch (const AppError&) {
        // The XML component itself failed: the file counts as one that cannot be read.
        file.rows.clear();
        file.state = ClockFileState::Malformed;
        return file;
    }
    file.state = file.rows.size() == kZoneRows ? ClockFileState::Ok : ClockFileState::FewerRows;
    return file;
}
