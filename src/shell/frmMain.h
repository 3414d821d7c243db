#pragma once
// The saver window's logic: it points the clock player at the program folder, keeps the
// player as large as the window, and turns user activity into the end of the saver.

#include <cstdint>
#include <string>

#include "platform/mScreenSaver.h"
#include "player/OffsetText.h"

// The player control (in place of the old Flash control) as the window drives it.
class SaverPlayerControl {
  public:
    virtual ~SaverPlayerControl() = default;
    virtual void SetMovie(const std::wstring& path) = 0;
    virtual void SetTop(int top) = 0;
    virtual void SetLeft(int left) = 0;
    virtual void SetWidth(int width) = 0;
    virtual void SetHeight(int height) = 0;
};

// The window itself and the program around it.
class SaverWindowHost {
  public:
    virtual ~SaverWindowHost() = default;
    virtual ss::Window Handle() = 0;
    virtual bool IsMinimized() = 0;
    virtual int Width() = 0;
    virtual int Height() = 0;
    // The folder of the executable, without a trailing backslash except at a drive root.
    virtual std::wstring AppPath() = 0;
    virtual void ClearPointerOverride() = 0;
    // Ends the process at once; no further handler runs.
    virtual void TerminateProcess() = 0;
};

class frmMain {
  public:
    frmMain(mScreenSaver& screenSaver, const std::int32_t& runMode, SaverWindowHost& window,
            SaverPlayerControl& swf)
        : screenSaver_(screenSaver), runMode_(runMode), window_(window), swf_(swf) {}

    void Form_Load();
    void Form_Resize();
    void swf_FSCommand(const std::wstring& command, const std::wstring& args);
    void Form_KeyPress(int keyAscii);
    // The window is closed or destroyed from outside; returns the cancel flag (false).
    bool Form_Unload();
    void EndSaver();

    std::int32_t MouseMoveCount = 0;

  private:
    mScreenSaver& screenSaver_;
    const std::int32_t& runMode_;
    SaverWindowHost& window_;
    SaverPlayerControl& swf_;
};
