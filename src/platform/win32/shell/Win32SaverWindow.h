#pragma once
// The saver window on Win32: a borderless window that hosts the clock player in place of the
// old Flash control and hands its events to frmMain.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/ProgramPorts.h"
#include "platform/mScreenSaver.h"
#include "shell/frmMain.h"
#include "shell/mGlobals.h"

class PlayerWindow;

class Win32SaverWindows final : public SaverWindowFactory,
                                public SaverWindowHost,
                                public SaverPlayerControl {
  public:
    Win32SaverWindows(HINSTANCE instance, mScreenSaver& screenSaver, const std::int32_t& runMode,
                      ProgramFolder& folder, PointerOverride& pointer);
    ~Win32SaverWindows() override;
    Win32SaverWindows(const Win32SaverWindows&) = delete;
    Win32SaverWindows& operator=(const Win32SaverWindows&) = delete;

    // SaverWindowFactory
    ss::Window CreateSaverWindow(std::int32_t runMode) override;
    void SetSaverWindowTitle(ss::Window window, const std::wstring& title) override;
    void ShowSettingsDialog() override;

    // SaverWindowHost
    ss::Window Handle() override;
    bool IsMinimized() override;
    int Width() override;
    int Height() override;
    std::wstring AppPath() override;
    void ClearPointerOverride() override;
    void TerminateProcess() override;

    // SaverPlayerControl: the player control's Movie property and placement.
    void SetMovie(const std::wstring& path) override;
    void SetTop(int top) override;
    void SetLeft(int left) override;
    void SetWidth(int width) override;
    void SetHeight(int height) override;

    frmMain& Form() { return form_; }
    PlayerWindow* Player() { return player_.get(); }

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void MovePlayer();

    HINSTANCE instance_;
    mScreenSaver& screenSaver_;
    ProgramFolder& folder_;
    PointerOverride& pointer_;
    frmMain form_;
    HWND window_ = nullptr;
    std::unique_ptr<PlayerWindow> player_;
    RECT playerRect_{0, 0, 0, 0};  // left, top, width, height as the properties set them
};
