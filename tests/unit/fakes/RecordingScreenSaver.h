#pragma once
// Records every window and system call of start-up and the saver window as one line each.

#include <set>
#include <string>
#include <vector>

#include "platform/mScreenSaver.h"
#include "shell/frmMain.h"
#include "shell/mGlobals.h"

class RecordingScreenSaver : public mScreenSaver, public InstanceGuard, public SaverWindowFactory {
  public:
    std::vector<std::string> calls;
    ss::Window displayProperties = 0;  // what FindWindowA answers
    bool anotherInstance = false;
    std::set<ss::Window> windows{1234, 5678};
    ss::Rect clientRect{0, 0, 152, 112};
    ss::Rect virtualScreen{-1280, 0, 1920, 1080};
    ss::Window created = 0x77;

    ss::Window FindWindowA(const char* className, const char* windowName) override {
        Log("FindWindowA(" + std::string(className ? className : "null") + ", " + windowName + ")");
        return displayProperties;
    }
    ss::Window GetDesktopWindow() override {
        Log("GetDesktopWindow");
        return 0x10010;
    }
    int GetWindowRect(ss::Window w, ss::Rect& r) override {
        Log("GetWindowRect(" + std::to_string(w) + ")");
        r = virtualScreen;
        return 1;
    }
    int GetClientRect(ss::Window w, ss::Rect& r) override {
        Log("GetClientRect(" + std::to_string(w) + ")");
        r = clientRect;
        return 1;
    }
    std::int32_t GetWindowLongA(ss::Window w, int index) override {
        Log("GetWindowLongA(" + std::to_string(w) + ", " + std::to_string(index) + ")");
        return 0x16CF0000;
    }
    std::int32_t SetWindowLongA(ss::Window w, int index, std::int32_t value) override {
        Log("SetWindowLongA(" + std::to_string(w) + ", " + std::to_string(index) + ", " +
            Hex(static_cast<std::uint32_t>(value)) + ")");
        return 0;
    }
    ss::Window SetParent(ss::Window child, ss::Window parent) override {
        Log("SetParent(" + std::to_string(child) + ", " + std::to_string(parent) + ")");
        return 0;
    }
    int SetWindowPos(ss::Window w, ss::Window after, int x, int y, int cx, int cy,
                     std::uint32_t flags) override {
        Log("SetWindowPos(" + std::to_string(w) + ", " + std::to_string(after) + ", " +
            std::to_string(x) + ", " + std::to_string(y) + ", " + std::to_string(cx) + ", " +
            std::to_string(cy) + ", " + Hex(flags) + ")");
        return 1;
    }
    int SystemParametersInfoA(std::uint32_t action, std::uint32_t ui, std::int32_t* pv,
                              std::uint32_t winIni) override {
        Log("SystemParametersInfoA(" + std::to_string(action) + ", " + Hex(ui) + ", " +
            (pv ? "ptr" : "null") + ", " + std::to_string(winIni) + ")");
        return 1;
    }
    int ShowCursor(bool show) override {
        Log(std::string("ShowCursor(") + (show ? "true" : "false") + ")");
        return 0;
    }
    ss::Rect VirtualScreenRect() override {
        Log("VirtualScreenRect");
        return virtualScreen;
    }
    bool IsWindow(ss::Window w) override {
        Log("IsWindow(" + std::to_string(w) + ")");
        return windows.count(w) > 0;
    }

    bool AnotherFullScreenInstance() override {
        Log("AnotherFullScreenInstance");
        return anotherInstance;
    }
    void ClaimFullScreen() override { Log("ClaimFullScreen"); }

    ss::Window CreateSaverWindow(std::int32_t runMode) override {
        Log("CreateSaverWindow(" + std::to_string(runMode) + ")");
        return created;
    }
    void SetSaverWindowTitle(ss::Window w, const std::wstring& title) override {
        Log("SetSaverWindowTitle(" + std::to_string(w) + ", " +
            std::string(title.begin(), title.end()) + ")");
    }
    void ShowSettingsDialog() override { Log("ShowSettingsDialog"); }

    void Log(const std::string& line) { calls.push_back(line); }
    static std::string Hex(std::uint32_t v) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "0x%X", v);
        return buf;
    }
};
