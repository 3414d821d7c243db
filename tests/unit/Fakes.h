#pragma once
// Fakes of the ports for the portable code's tests: each records what it is asked and answers as
// the test sets it.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwctype>
#include <map>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "config/ClockFile.h"
#include "platform/AppError.h"
#include "platform/ProgramPorts.h"
#include "platform/SystemVersion.h"
#include "platform/TextCompare.h"
#include "platform/mRegistry.h"
#include "platform/mScreenSaver.h"
#include "player/ClockEnvironment.h"
#include "shell/frmMain.h"
#include "shell/mGlobals.h"

class FakeFolder : public ProgramFolder {
  public:
    std::wstring Path() const override { return L"C:\\Program Files\\Pellox"; }
    std::wstring user;
    std::wstring UserPath() const override { return user; }
};

class FakeMessages : public MessageBoxPort {
  public:
    struct Shown {
        std::wstring prompt;
        int buttons;
        std::wstring title;
    };
    std::vector<Shown> shown;
    int MsgBox(const std::wstring& prompt, int buttons, const std::wstring& title) override {
        shown.push_back({prompt, buttons, title});
        return mb::Ok;
    }
};

class FakePointer : public PointerOverride {
  public:
    PointerShape current = PointerShape::Default;
    bool failSetting = false;
    void SetMousePointer(PointerShape shape) override {
        if (failSetting && shape == PointerShape::Hourglass) throw std::runtime_error("cursor");
        current = shape;
    }
    PointerShape MousePointer() const override { return current; }
};

class FakeShell : public ShellPort {
  public:
    struct Call {
        std::uintptr_t owner;
        std::string verb, file, parameters;
        std::optional<std::string> directory;
        int show;
        PointerShape pointerDuringCall;
        bool operator==(const Call&) const = default;
    };
    explicit FakeShell(const PointerOverride* pointer = nullptr) : pointer_(pointer) {}
    std::vector<Call> calls;
    bool fail = false;
    std::intptr_t ShellExecuteA(std::uintptr_t owner, const std::string& verb,
                                const std::string& file, const std::string& parameters,
                                const std::optional<std::string>& directory,
                                int showCommand) override {
        calls.push_back({owner, verb, file, parameters, directory, showCommand,
                         pointer_ ? pointer_->MousePointer() : PointerShape::Default});
        if (fail) throw AppError(errnum::AutomationError, L"no handler");
        return 42;
    }

  private:
    const PointerOverride* pointer_;
};

// An in-memory store; every put is recorded, and a put can be made to fail.
class FakeStore : public SettingsStore {
  public:
    std::map<std::tuple<std::wstring, std::wstring, std::wstring>, std::wstring> values;
    std::vector<std::pair<std::wstring, std::wstring>> puts;  // key, value
    std::vector<std::wstring> gets;
    int failOnPut = -1;  // index of the put that fails

    void Set(const std::wstring& key, const std::wstring& value) {
        values[{L"PELLOXSS", L"Config", key}] = value;
    }

    void SaveSetting(const std::wstring& appName, const std::wstring& section,
                     const std::wstring& key, const std::wstring& setting) override {
        if (static_cast<int>(puts.size()) == failOnPut)
            throw AppError(errnum::PermissionDenied, L"Permission denied: " + key);
        puts.emplace_back(key, setting);
        values[{appName, section, key}] = setting;
    }
    std::wstring GetSetting(const std::wstring& appName, const std::wstring& section,
                            const std::wstring& key, const std::wstring& defaultValue) override {
        gets.push_back(key);
        auto it = values.find({appName, section, key});
        return it == values.end() ? defaultValue : it->second;
    }
};

class FakeFiles : public FileReplacer {
  public:
    std::map<std::wstring, std::string> files;
    std::wstring refuse;  // paths starting with it fail
    void ReplaceFile(const std::wstring& path, const std::string& bytes) override {
        if (!refuse.empty() && path.starts_with(refuse))
            throw AppError(errnum::PermissionDenied, L"Permission denied: " + path);
        files[path] = bytes;
    }
};

class FakeLocalZone : public LocalZone {
  public:
    std::wstring keyName;
    std::wstring CurrentZoneKeyName() override { return keyName; }
};

// Clock files in memory; counts the looks at their stamps.
class FakeClockFileSource : public ClockFileSource {
  public:
    struct Entry {
        FileStamp stamp;
        ClockFile file;
    };
    std::map<std::wstring, Entry> files;
    int stamps = 0;

    std::optional<FileStamp> Stamp(const std::wstring& path) override {
        ++stamps;
        return files.count(path) ? std::optional(files[path].stamp) : std::nullopt;
    }
    ClockFile Read(const std::wstring& path) override {
        return files.count(path) ? files[path].file : ClockFile{};
    }
};

// An in-memory registry below HKEY_LOCAL_MACHINE that refuses write access to its keys, as
// HKEY_LOCAL_MACHINE does to a standard user, and counts the keys left open.
class FakeRegistry : public mRegistry {
  public:
    struct KeyNode {
        std::vector<std::string> subkeys;           // enumeration order; names may hold NULs
        std::map<std::string, std::string> values;  // REG_SZ data includes its terminating NUL
        bool unopenable = false;
    };

    KeyNode& Key(const std::string& path) { return keys_[path]; }
    void AddSubkey(const std::string& parent, const std::string& name) {
        Key(parent).subkeys.push_back(name);
    }
    void SetText(const std::string& path, const std::string& name, const std::string& text) {
        Key(path).values[name] = text + '\0';
    }
    std::size_t OpenKeyCount() const { return open_.size(); }

    long RegOpenKeyExA(reg::Key root, const std::string& subKey, std::uint32_t,
                       std::uint32_t samDesired, reg::Key& result) override {
        result = 0;
        if (samDesired & reg::KeyWriteBits) return reg::AccessDenied;
        const auto it = keys_.find(subKey);
        if (root != reg::LocalMachine || it == keys_.end()) return reg::FileNotFound;
        if (it->second.unopenable) return reg::AccessDenied;
        result = nextHandle_++;
        open_[result] = subKey;
        return reg::Success;
    }
    long RegEnumKeyA(reg::Key key, std::uint32_t index, char* name,
                     std::uint32_t cchName) override {
        const KeyNode* node = Opened(key);
        if (!node) return reg::InvalidHandle;
        if (index >= node->subkeys.size()) return reg::NoMoreItems;
        const std::string& s = node->subkeys[index];
        if (s.size() + 1 > cchName) return reg::MoreData;
        std::memcpy(name, s.c_str(), s.size() + 1);
        return reg::Success;
    }
    long RegQueryValueExA(reg::Key key, const std::string& valueName, std::uint32_t*,
                          std::uint8_t* data, std::uint32_t* cbData) override {
        const KeyNode* node = Opened(key);
        if (!node) return reg::InvalidHandle;
        const auto v = node->values.find(valueName);
        if (v == node->values.end()) return reg::FileNotFound;
        const auto size = static_cast<std::uint32_t>(v->second.size());
        if (data && cbData && *cbData < size) {
            *cbData = size;
            return reg::MoreData;
        }
        if (data) std::memcpy(data, v->second.data(), size);
        if (cbData) *cbData = size;
        return reg::Success;
    }
    long RegCloseKey(reg::Key key) override {
        return open_.erase(key) ? reg::Success : reg::InvalidHandle;
    }

  private:
    const KeyNode* Opened(reg::Key key) {
        const auto it = open_.find(key);
        return it == open_.end() ? nullptr : &keys_[it->second];
    }
    std::map<std::string, KeyNode> keys_;
    std::map<reg::Key, std::string> open_;
    reg::Key nextHandle_ = 0x100;
};

class FakeVersion : public SystemVersion {
  public:
    int result = 1;
    std::uint32_t platformId = kPlatformWin32Nt;
    std::uint32_t sizeSeen = 0;

    int GetVersionExA(OsVersionInfoA& info) override {
        sizeSeen = info.dwOSVersionInfoSize;
        if (result) info.dwPlatformId = platformId;
        return result;
    }
};

// Case-insensitive comparison by folded character code.
class FoldingCompare : public TextCompare {
  public:
    int CompareIgnoringCase(const std::wstring& a, const std::wstring& b) const override {
        const std::size_t n = std::min(a.size(), b.size());
        for (std::size_t i = 0; i < n; ++i) {
            const auto x = std::towlower(a[i]), y = std::towlower(b[i]);
            if (x != y) return x < y ? -1 : 1;
        }
        return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
    }
};

// Records every window and system call of start-up and the saver window, and the saver window's
// own and its player's, as one line each: "Name(argument, ...)".
class RecordingScreenSaver : public mScreenSaver,
                             public InstanceGuard,
                             public SaverWindowFactory,
                             public SaverWindowHost,
                             public SaverPlayerControl {
  public:
    std::vector<std::string> calls;
    ss::Window displayProperties = 0;  // what FindWindowA answers
    bool anotherInstance = false;
    ss::Rect virtualScreen{-1280, 0, 1920, 1080};

    ss::Window FindWindowA(const char* className, const char* windowName) override {
        return Log("FindWindowA", className, windowName), displayProperties;
    }
    int GetClientRect(ss::Window w, ss::Rect& r) override {
        r = {0, 0, 152, 112};
        return Log("GetClientRect", w), 1;
    }
    std::int32_t GetWindowLongA(ss::Window w, int index) override {
        return Log("GetWindowLongA", w, index), 0x16CF0000;
    }
    std::int32_t SetWindowLongA(ss::Window w, int index, std::int32_t value) override {
        return Log("SetWindowLongA", w, index, Hex(static_cast<std::uint32_t>(value))), 0;
    }
    ss::Window SetParent(ss::Window child, ss::Window parent) override {
        return Log("SetParent", child, parent), 0;
    }
    int SetWindowPos(ss::Window w, ss::Window after, int x, int y, int cx, int cy,
                     std::uint32_t flags) override {
        return Log("SetWindowPos", w, after, x, y, cx, cy, Hex(flags)), 1;
    }
    int SystemParametersInfoA(std::uint32_t action, std::uint32_t ui, std::int32_t* pv,
                              std::uint32_t winIni) override {
        return Log("SystemParametersInfoA", action, Hex(ui), pv ? "ptr" : nullptr, winIni), 1;
    }
    int ShowCursor(bool show) override { return Log("ShowCursor", show ? "true" : "false"), 0; }
    ss::Rect VirtualScreenRect() override { return Log("VirtualScreenRect"), virtualScreen; }
    bool IsWindow(ss::Window w) override { return Log("IsWindow", w), w == 1234; }

    bool ClaimFullScreen() override { return Log("ClaimFullScreen"), !anotherInstance; }
    ss::Window CreateSaverWindow(std::int32_t runMode) override {
        return Log("CreateSaverWindow", runMode), 0x77;
    }
    void SetSaverWindowTitle(ss::Window w, const std::wstring& title) override {
        Log("SetSaverWindowTitle", w, std::string(title.begin(), title.end()));
    }
    void ShowSettingsDialog() override { Log("ShowSettingsDialog"); }

    bool minimized = false;
    std::wstring appPath = L"C:\\Program Files\\Pellox";
    ss::Window Handle() override { return 0x77; }
    bool IsMinimized() override { return minimized; }
    int Width() override { return 1920; }
    int Height() override { return 1080; }
    std::wstring AppPath() override { return appPath; }
    void ClearPointerOverride() override { Log("ClearPointerOverride"); }
    void TerminateProcess() override { Log("TerminateProcess"); }
    void SetMovie(const std::wstring& path) override {
        Log("Movie", std::string(path.begin(), path.end()));
    }
    void SetTop(int v) override { Log("Top", v); }
    void SetLeft(int v) override { Log("Left", v); }
    void SetWidth(int v) override { Log("Width", v); }
    void SetHeight(int v) override { Log("Height", v); }

    template <typename... Arguments>
    void Log(const std::string& name, Arguments... arguments) {
        std::string list;
        ((list += ", " + Text(arguments)), ...);
        calls.push_back(list.empty() ? name : name + "(" + list.substr(2) + ")");
    }
    static std::string Hex(std::uint32_t v) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "0x%X", v);
        return buf;
    }

  private:
    static std::string Text(const std::string& s) { return s; }
    static std::string Text(const char* s) { return s ? s : "null"; }
    template <typename Number>
    static std::string Text(Number n) {
        return std::to_string(n);
    }
};

// A clock environment the test sets: time, local offset, hour format; English names.
class FakeClockEnvironment : public ClockEnvironment {
  public:
    std::int64_t now = 0;
    int localOffset = 0;
    bool use24 = true;

    std::int64_t NowUtcMs() override { return now; }
    int LocalOffsetMinutes(std::int64_t) override { return localOffset; }
    bool Use24Hour() override { return use24; }
    std::wstring DayName(int weekday) override {
        static const wchar_t* names[] = {L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"};
        return names[weekday];
    }
    std::wstring AmPm(bool pm) override { return pm ? L"PM" : L"AM"; }
};

inline ClockFile FiveClocks(const wchar_t* o0 = L"GMT+00:00", const wchar_t* o1 = L"GMT-05:00",
                            const wchar_t* o2 = L"GMT-08:00", const wchar_t* o3 = L"GMT+08:00",
                            const wchar_t* o4 = L"GMT+01:00") {
    return ClockFile{ClockFileState::Ok,
                     {{L"LONDON", o0},
                      {L"NEW YORK", o1},
                      {L"SAN FRANCISCO", o2},
                      {L"HONG KONG", o3},
                      {L"Local Time", o4}}};
}

constexpr std::int64_t kMonday2024 = 1'704'067'200'000;  // 2024-01-01 00:00:00 UTC, a Monday

inline std::int64_t At(int h, int m, int s) {
    return kMonday2024 + ((h * 60LL + m) * 60 + s) * 1000;
}
