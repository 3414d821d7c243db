#pragma once
// Recording fakes of the program-level ports.

#include <map>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "platform/AppError.h"
#include "platform/ProgramPorts.h"

class FakeFolder : public ProgramFolder {
  public:
    std::wstring path = L"C:\\Program Files\\Pellox";
    std::wstring Path() const override { return path; }
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
    std::vector<PointerShape> history;
    PointerShape current = PointerShape::Default;
    bool failSetting = false;
    void SetMousePointer(PointerShape shape) override {
        history.push_back(shape);
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
        if (static_cast<int>(puts.size()) == failOnPut) {
            throw AppError(errnum::PermissionDenied, L"Permission denied: " + key);
        }
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
    bool fail = false;
    void ReplaceFile(const std::wstring& path, const std::string& bytes) override {
        if (fail) throw AppError(errnum::PermissionDenied, L"Permission denied: " + path);
        files[path] = bytes;
    }
};

class FakeLocalZone : public LocalZone {
  public:
    std::wstring keyName;
    std::wstring CurrentZoneKeyName() override { return keyName; }
};
