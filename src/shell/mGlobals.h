#pragma once
// Start-up: reads the command line once, applies the single-instance rule of the full-screen
// mode and takes one of four roads: full screen, preview, settings, or nothing.

#include <cstdint>
#include <string>

#include "platform/mScreenSaver.h"

// The saver window as start-up needs it: created hidden (its load step sets the movie),
// then titled and placed through mScreenSaver.
class SaverWindowFactory {
  public:
    virtual ~SaverWindowFactory() = default;
    // Creates the saver window for the given run mode; returns its handle.
    virtual ss::Window CreateSaverWindow(std::int32_t runMode) = 0;
    virtual void SetSaverWindowTitle(ss::Window window, const std::wstring& title) = 0;
    // Shows the settings dialog modally, with no owner; returns when it has closed.
    virtual void ShowSettingsDialog() = 0;
};

namespace run_mode {
inline constexpr std::int32_t None = 0;
inline constexpr std::int32_t FullScreen = 1;
inline constexpr std::int32_t Preview = 4;
}  // namespace run_mode

enum class StartupRoad { FullScreen, Preview, Settings, None, EndedAtOnce };

class mGlobals {
  public:
    mGlobals(mScreenSaver& screenSaver, InstanceGuard& instances, SaverWindowFactory& windows)
        : screenSaver_(screenSaver), instances_(instances), windows_(windows) {}

    // Runs start-up for the argument text of the command line (without the program's path).
    // A preview handle that is not a number throws AppError; the caller reports it.
    StartupRoad Main(const std::wstring& arguments);

    std::int32_t RunMode = run_mode::None;
    std::int32_t PreviewParent = 0;
    ss::Rect SaverRect;
    ss::Window SaverWindow = 0;

  private:
    void RunFullScreen();
    StartupRoad RunPreview(const std::wstring& line);

    mScreenSaver& screenSaver_;
    InstanceGuard& instances_;
    SaverWindowFactory& windows_;
};

// The argument text trimmed of spaces and lower-cased.
std::wstring NormaliseCommandLine(const std::wstring& arguments);
// The text as a 32-bit signed integer (spaces around it allowed); AppError 13 (type mismatch)
// when it is not a number, 6 (overflow) when it does not fit.
std::int32_t ToInt32Strict(const std::wstring& text);
