#pragma once
// Program-level ports: the program's folder, message boxes, the program-wide pointer override,
// the shell's open request, the per-user store, replacing a file whole, file stamps and the
// system's own time zone. The settings dialog and the saver shell reach the operating system
// through them.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// The caption of the program's message boxes.
inline constexpr const wchar_t* kProgramTitle = L"Pellox Screensaver";

// The folder the program was started from, without a trailing separator.
class ProgramFolder {
  public:
    virtual ~ProgramFolder() = default;
    virtual std::wstring Path() const = 0;
    // The user's own folder for the clock file when the program's folder cannot be written (an
    // install under Program Files); empty where the program's folder already is the user's.
    virtual std::wstring UserPath() const { return {}; }
};

// MsgBox button and icon flags (MB_* values).
namespace mb {
inline constexpr int OkOnly = 0x0;
inline constexpr int IconError = 0x10;
inline constexpr int IconWarning = 0x30;
inline constexpr int Ok = 1;  // IDOK
}  // namespace mb

class MessageBoxPort {
  public:
    virtual ~MessageBoxPort() = default;
    // Shows the message modally; returns the button pressed.
    virtual int MsgBox(const std::wstring& prompt, int buttons, const std::wstring& title) = 0;
};

// The program-wide pointer override: while set, its shape applies over every window of the
// program.
enum class PointerShape { Default, Hourglass };

class PointerOverride {
  public:
    virtual ~PointerOverride() = default;
    virtual void SetMousePointer(PointerShape shape) = 0;
    virtual PointerShape MousePointer() const = 0;
};

inline constexpr int kSwShowNormal = 1;  // SW_SHOWNORMAL

// The shell's open request, in its ANSI form.
class ShellPort {
  public:
    virtual ~ShellPort() = default;
    // directory: no value passes a null pointer. Returns the shell's result (above 32 on
    // success).
    virtual std::intptr_t ShellExecuteA(std::uintptr_t owner, const std::string& verb,
                                        const std::string& file, const std::string& parameters,
                                        const std::optional<std::string>& directory,
                                        int showCommand) = 0;
};

// String values per user under application, section and key.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // Creates or replaces the value; throws AppError when it cannot be written.
    virtual void SaveSetting(const std::wstring& appName, const std::wstring& section,
                             const std::wstring& key, const std::wstring& setting) = 0;
    // The stored value, or defaultValue when the key is absent or unreadable.
    virtual std::wstring GetSetting(const std::wstring& appName, const std::wstring& section,
                                    const std::wstring& key, const std::wstring& defaultValue) = 0;
};

// Replaces a file whole: the new bytes reach the path in one step, and a failed write leaves
// the old file as it was; a missing last folder of the path is created. Throws AppError whose
// description names the file.
class FileReplacer {
  public:
    virtual ~FileReplacer() = default;
    virtual void ReplaceFile(const std::wstring& path, const std::string& bytes) = 0;
};

// The key name of the system's current time zone ("Tokyo Standard Time"); empty when unknown.
class LocalZone {
  public:
    virtual ~LocalZone() = default;
    virtual std::wstring CurrentZoneKeyName() = 0;
};

// A change mark of a file: its size and modification time.
struct FileStamp {
    std::int64_t size = 0;
    std::int64_t modified = 0;
    bool operator==(const FileStamp&) const = default;
};

class FileStamps {
  public:
    virtual ~FileStamps() = default;
    // The file's stamp, or nothing when there is no such file; one call into the system.
    virtual std::optional<FileStamp> StampOf(const std::wstring& path) const = 0;
};
