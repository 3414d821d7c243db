// Start-up of pelloxss.scr: the real ports are built here and handed to the entry routine,
// which reads the command line and takes the full-screen, preview, settings or no road.
#include <objbase.h>
#include <windows.h>

#include <string>

#include "platform/Platform.h"
#include "platform/win32/Win32Ports.h"
#include "platform/win32/app/Win32ProgramPorts.h"
#include "platform/win32/shell/Win32SaverWindow.h"
#include "platform/win32/shell/Win32ScreenSaver.h"
#include "shell/mGlobals.h"

namespace {

// The XML component runs in this thread's apartment for the life of the program.
class ComApartment {
  public:
    ComApartment() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (initialised_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool initialised_;
};

// The command line without the program's own path, as the ANSI entry point gives it.
std::wstring ArgumentText(const char* arguments) {
    return Win32AnsiCodePage().ToWide(arguments ? arguments : "");
}

// Everything start-up wires together; the entry routine and the saver window refer to each
// other (the window reads RunMode, start-up creates the window).
struct Program {
    Program(HINSTANCE instance, mScreenSaver& screenSaver, InstanceGuard& instances,
            ProgramFolder& folder, PointerOverride& pointer)
        : globals(screenSaver, instances, windows),
          windows(instance, screenSaver, globals.RunMode, folder, pointer) {}

    mGlobals globals;
    Win32SaverWindows windows;
};

int RunMessageLoop() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
    // A screen saver is often started from a downloads folder: every DLL loaded from now on
    // comes from System32 only, never from the program's own folder.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    try {
        ComApartment com;
        const auto screenSaver = MakeWin32ScreenSaver();
        const auto instances = MakeWin32InstanceGuard();
        const auto folder = MakeProgramFolder();
        const auto pointer = MakeWin32Pointer();
        Program run(instance, *screenSaver, *instances, *folder, *pointer);
        switch (run.globals.Main(ArgumentText(arguments))) {
            case StartupRoad::FullScreen:
            case StartupRoad::Preview:
                return RunMessageLoop();
            default:
                return 0;
        }
    } catch (...) {
        ReportCurrentException();
    }
}
