#pragma once
// Records every window and system call of start-up and the saver window, and the saver window's
// own and its player's, as one line each: "Name(argument, ...)".

#include <set>
#include <string>
#include <vector>

#include "platform/mScreenSaver.h"
#include "shell/frmMain.h"
#include "shell/mGlobals.h"

class RecordingScreenSaver : public mScreenSaver,
                             public InstanceGuard,
                             public SaverWindowFactory,
                             public SaverWindowHost,
                             public SaverPlayerControl {
  public:
    std::vector<std::string> calls;
    ss::Window displayProperties = 0;  // what FindWindowA answers
    bool anotherInstance = false;
    std::set<ss::Window> windows{1234};
    ss::Rect clientRect{0, 0, 152, 112};
    ss::Rect virtualScreen{-1280, 0, 1920, 1080};

    ss::Window FindWindowA(const char* className, const char* windowName) override {
        return Log("FindWindowA", className, windowName), displayProperties;
    }
    ss::Window GetDesktopWindow() override { return Log("GetDesktopWindow"), 0x10010; }
    int GetWindowRect(ss::Window w, ss::Rect& r) override {
        r = virtualScreen;
        return Log("GetWindowRect", w), 1;
    }
    int GetClientRect(ss::Window w, ss::Rect& r) override {
        r = clientRect;
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
    bool IsWindow(ss::Window w) override { return Log("IsWindow", w), windows.count(w) > 0; }

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
        std::string line = name;
        if constexpr (sizeof...(arguments) > 0) {
            std::string list;
            ((list += ", " + Text(arguments)), ...);
            line += "(" + list.substr(2) + ")";
        }
        calls.push_back(line);
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
