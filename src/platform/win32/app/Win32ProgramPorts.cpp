// The program-level ports on user32, shell32, advapi32 and kernel32.
#include "platform/win32/app/Win32ProgramPorts.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "config/frmSettings.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Ports.h"

namespace {

// The system's text for an error code, without the trailing line break.
std::wstring SystemMessage(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length && buffer ? std::wstring(buffer, length) : std::wstring();
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    if (text.empty()) text = L"system error " + std::to_wstring(code);
    return text;
}

// A failed file or store operation with the runtime's number and name.
AppError Win32FileError(DWORD code, const std::wstring& what) {
    FileFault fault = FileFault::Other;
    switch (code) {
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            fault = FileFault::PermissionDenied;
            break;
        case ERROR_PATH_NOT_FOUND:
            fault = FileFault::PathNotFound;
            break;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            fault = FileFault::DiskFull;
            break;
        default:
            break;
    }
    return FileError(fault, what, SystemMessage(code));
}

class Win32Folder final : public ProgramFolder {
  public:
    std::wstring Path() const override {
        std::vector<wchar_t> buffer(MAX_PATH);
        for (;;) {
            const DWORD length =
                GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
            if (length == 0) return L".";
            if (length < buffer.size()) break;
            buffer.resize(buffer.size() * 2);
        }
        std::wstring path(buffer.data());
        path.erase(path.find_last_of(L'\\') == std::wstring::npos ? 0 : path.find_last_of(L'\\'));
        // The root folder keeps its separator ("C:\").
        if (path.size() == 2 && path[1] == L':') path += L'\\';
        return path;
    }
    // %LOCALAPPDATA%\PELLOXSS; empty when the system names no such folder.
    std::wstring UserPath() const override {
        wchar_t local[MAX_PATH] = {};
        if (FAILED(
                SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local)))
            return {};
        return std::wstring(local) + L"\\" + settings::kAppName;
    }
};

class Win32Messages final : public MessageBoxPort {
  public:
    int MsgBox(const std::wstring& prompt, int buttons, const std::wstring& title) override {
        return MessageBoxW(nullptr, prompt.c_str(), title.c_str(),
                           static_cast<UINT>(buttons) | MB_TASKMODAL);
    }
};

// The override is process-wide: window procedures consult it on WM_SETCURSOR.
PointerShape g_pointer = PointerShape::Default;

class Win32Pointer final : public PointerOverride {
  public:
    void SetMousePointer(PointerShape shape) override {
        g_pointer = shape;
        if (shape == PointerShape::Hourglass) {
            SetCursor(OverrideCursor());
        } else {
            // Let the window under the pointer choose its own shape again.
            POINT at;
            if (GetCursorPos(&at)) SetCursorPos(at.x, at.y);
        }
    }
    PointerShape MousePointer() const override { return g_pointer; }
};

class Win32Shell final : public ShellPort {
  public:
    std::intptr_t ShellExecuteA(std::uintptr_t owner, const std::string& verb,
                                const std::string& file, const std::string& parameters,
                                const std::optional<std::string>& directory,
                                int showCommand) override {
        const HINSTANCE result = ::ShellExecuteA(
            reinterpret_cast<HWND>(owner), verb.c_str(), file.c_str(), parameters.c_str(),
            directory ? directory->c_str() : nullptr, showCommand);
        return reinterpret_cast<std::intptr_t>(result);
    }
};

// The old runtime's place for SaveSetting/GetSetting, so that earlier choices carry over.
std::wstring StoreKeyPath(const std::wstring& appName, const std::wstring& section) {
    return L"Software\\VB and VBA Program Settings\\" + appName + L"\\" + section;
}

class Win32Store final : public SettingsStore {
  public:
    void SaveSetting(const std::wstring& appName, const std::wstring& section,
                     const std::wstring& key, const std::wstring& setting) override {
        const std::wstring path = StoreKeyPath(appName, section);
        UniqueHkey opened;
        LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                      nullptr, opened.Put(), nullptr);
        if (status == ERROR_SUCCESS) {
            status = RegSetValueExW(opened.Get(), key.c_str(), 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(setting.c_str()),
                                    static_cast<DWORD>((setting.size() + 1) * sizeof(wchar_t)));
        }
        if (status != ERROR_SUCCESS) {
            throw Win32FileError(static_cast<DWORD>(status),
                                 L"cannot store HKEY_CURRENT_USER\\" + path + L"\\" + key);
        }
    }

    std::wstring GetSetting(const std::wstring& appName, const std::wstring& section,
                            const std::wstring& key, const std::wstring& defaultValue) override {
        const std::wstring path = StoreKeyPath(appName, section);
        DWORD size = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), key.c_str(), RRF_RT_REG_SZ, nullptr,
                         nullptr, &size) != ERROR_SUCCESS) {
            return defaultValue;
        }
        std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
        size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), key.c_str(), RRF_RT_REG_SZ, nullptr,
                         value.data(), &size) != ERROR_SUCCESS) {
            return defaultValue;
        }
        value.resize(wcsnlen(value.c_str(), value.size()));
        return value;
    }
};

// Writes a temporary file in the target's folder and moves it over the target in one step, so
// that a failed write leaves the old file whole.
class Win32Files final : public FileReplacer {
  public:
    void ReplaceFile(const std::wstring& path, const std::string& bytes) override {
        const std::size_t slash = path.find_last_of(L'\\');
        const std::wstring folder = slash == std::wstring::npos ? L"." : path.substr(0, slash + 1);
        // A folder that cannot be made shows below, when the file cannot be written in it.
        CreateDirectoryW(folder.c_str(), nullptr);
        wchar_t temp[MAX_PATH + 1] = {};
        if (GetTempFileNameW(folder.c_str(), L"plx", 0, temp) == 0) {
            throw Win32FileError(GetLastError(), L"cannot create a file beside " + path);
        }
        const std::wstring tempPath = temp;
        try {
            UniqueHandle file(CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!file.Valid()) throw Win32FileError(GetLastError(), L"cannot write " + path);
            DWORD written = 0;
            if (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                           nullptr) ||
                written != bytes.size() || !FlushFileBuffers(file.Get())) {
                throw Win32FileError(GetLastError(), L"cannot write " + path);
            }
            if (!file.Close()) throw Win32FileError(GetLastError(), L"cannot write " + path);
            if (!MoveFileExW(tempPath.c_str(), path.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
                throw Win32FileError(GetLastError(), L"cannot replace " + path);
            }
        } catch (...) {
            DeleteFileW(tempPath.c_str());
            throw;
        }
    }
};

class Win32LocalZone final : public LocalZone {
  public:
    std::wstring CurrentZoneKeyName() override {
        DYNAMIC_TIME_ZONE_INFORMATION info{};
        if (GetDynamicTimeZoneInformation(&info) == TIME_ZONE_ID_INVALID) return {};
        return std::wstring(info.TimeZoneKeyName,
                            wcsnlen(info.TimeZoneKeyName, std::size(info.TimeZoneKeyName)));
    }
};

}  // namespace

bool PointerOverrideActive() {
    return g_pointer == PointerShape::Hourglass;
}

HCURSOR OverrideCursor() {
    return LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT));
}

std::unique_ptr<ProgramFolder> MakeProgramFolder() {
    return std::make_unique<Win32Folder>();
}

std::unique_ptr<MessageBoxPort> MakeWin32Messages() {
    return std::make_unique<Win32Messages>();
}

std::unique_ptr<PointerOverride> MakeWin32Pointer() {
    return std::make_unique<Win32Pointer>();
}

SettingsAdapters MakeSettingsAdapters() {
    SettingsAdapters ports;
    ports.registry = MakeWin32Registry();
    ports.version = MakeWin32Version();
    ports.textCompare = MakeWin32TextCompare();
    ports.ansi = &Win32AnsiCodePage();
    ports.folder = MakeProgramFolder();
    ports.messages = MakeWin32Messages();
    ports.pointer = MakeWin32Pointer();
    ports.shell = std::make_unique<Win32Shell>();
    ports.store = std::make_unique<Win32Store>();
    ports.files = std::make_unique<Win32Files>();
    ports.localZone = std::make_unique<Win32LocalZone>();
    ports.clockFiles =
        std::make_unique<XmlClockFileSource>(PlatformFileStamps(), PlatformXmlComponent());
    return ports;
}
