#pragma once
// The saver window on X11: the window frmMain drives (full screen: an override-redirect window
// over the whole root window; preview: a child of the given window), hosting the clock player,
// and the event loop that runs it.

#include <chrono>
#include <csignal>
#include <memory>

#include "shell/frmMain.h"
#include "shell/mGlobals.h"
// After the shell's headers: Xlib's None macro would replace their run_mode::None.
#include "platform/ProgramPorts.h"
#include "platform/linux/X11Handles.h"
#include "platform/linux/player/X11PlayerWindow.h"

class X11SaverWindow final : public SaverWindowFactory,
                             private SaverWindowHost,
                             private SaverPlayerControl {
  public:
    X11SaverWindow(Display* display, mScreenSaver& screenSaver, ProgramFolder& folder);
    ~X11SaverWindow() override;
    X11SaverWindow(const X11SaverWindow&) = delete;
    X11SaverWindow& operator=(const X11SaverWindow&) = delete;

    // SaverWindowFactory
    ss::Window CreateSaverWindow(std::int32_t runMode) override;
    void SetSaverWindowTitle(ss::Window window, const std::wstring& title) override;
    void ShowSettingsDialog() override;

    // Runs the window until the saver ends it, it is destroyed from outside (with the preview's
    // parent), or `stop` becomes true.
    void Run(const volatile std::sig_atomic_t& stop);

  private:
    // SaverWindowHost
    ss::Window Handle() override;
    bool IsMinimized() override { return false; }
    int Width() override { return width_; }
    int Height() override { return height_; }
    std::wstring AppPath() override { return folder_.Path(); }
    void ClearPointerOverride() override;
    [[noreturn]] void TerminateProcess() override;

    // SaverPlayerControl
    void SetMovie(const std::wstring& path) override;
    void SetTop(int top) override;
    void SetLeft(int left) override;
    void SetWidth(int width) override;
    void SetHeight(int height) override;

    void HandleEvent(const XEvent& event);
    void OnMapped();
    // Takes the keyboard and the pointer grabs still missing; the ms until the next attempt,
    // -1 when both are held or the attempts are over.
    int TryGrabs();
    void Closed();

    Display* display_;
    mScreenSaver& screenSaver_;
    ProgramFolder& folder_;
    std::int32_t runMode_ = 0;  // the run mode of the window made
    UniqueWindow window_;
    UniqueCursor blank_;
    Atom deleteWindow_ = 0;
    int width_ = 0, height_ = 0;
    int playerLeft_ = 0, playerTop_ = 0, playerWidth_ = 1, playerHeight_ = 1;
    bool closed_ = false;
    bool keyboardGrabbed_ = false, pointerGrabbed_ = false;
    int grabAttempts_ = 0;  // attempts left
    std::chrono::steady_clock::time_point nextGrab_;
    std::unique_ptr<X11PlayerWindow> player_;
    std::unique_ptr<frmMain> form_;
};
