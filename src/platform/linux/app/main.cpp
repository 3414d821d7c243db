// Start-up of pelloxss: the real ports are built here and the shared entry routine chooses
// the road; the xscreensaver conventions draw the clocks into a given window instead.
#include <clocale>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/AppError.h"
#include "platform/Platform.h"
#include "platform/TextEncoding.h"
#include "platform/linux/app/XScreenSaverOptions.h"
#include "shell/frmMain.h"
#include "shell/mGlobals.h"
// After the shell's headers: Xlib's None macro would replace their run_mode::None.
#include "platform/linux/shell/InstanceLock.h"
#include "platform/linux/shell/X11Connection.h"
#include "platform/linux/shell/X11SaverWindow.h"
#include "platform/linux/shell/X11ScreenSaver.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

void RequestStop(int) {
    g_stop = 1;
}

// xscreensaver and the session end the saver with a signal: leave the loop and clean up. Only
// the saver's loops watch for it; the settings dialog keeps the default (a signal ends it).
void HandleStopSignals() {
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

// Windows that go away under the program (a preview's parent, xscreensaver's window) make
// later requests on them fail; those failures end nothing.
int IgnoreXError(Display*, XErrorEvent*) {
    return 0;
}

// The arguments as the shared entry routine reads a command line: joined by spaces.
std::wstring ArgumentText(const std::vector<std::string>& args) {
    std::string line;
    for (const std::string& arg : args) line += (line.empty() ? "" : " ") + arg;
    return utf8::ToWide(line);
}

int RunAttached(Display* display, const XScreenSaverTarget& target, ProgramFolder& folder) {
    const ::Window window = target.root ? DefaultRootWindow(display) : target.window;
    auto screenSaver = MakeX11ScreenSaver(display);
    if (!screenSaver->IsWindow(static_cast<ss::Window>(window))) {
        throw AppError(errnum::InvalidProcedureCall,
                       L"There is no window " + std::to_wstring(window) + L" to draw into");
    }
    auto player = X11PlayerWindow::Attach(display, window);
    std::wstring movie = folder.Path();
    player->SetMovie(movie + L"\\" + kMovieFileName);
    HandleStopSignals();
    RunPlayerLoop(display, *player, [] { return !g_stop; });
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // The user's locale in every mode (the dialog's, the saver's and the collation's language);
    // numbers in files stay in the C form.
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        X11Connection connection;
        if (!connection.Get()) {
            std::fprintf(stderr, "pelloxss: cannot open the X display \"%s\"\n",
                         XDisplayName(nullptr));
            return 1;
        }
        Display* display = connection.Get();
        XSetErrorHandler(IgnoreXError);
        const auto folder = MakeProgramFolder();

        // Under xscreensaver nobody is there to answer a message box: errors go to stderr.
        try {
            if (const auto target =
                    FindXScreenSaverTarget(args, std::getenv("XSCREENSAVER_WINDOW"))) {
                return RunAttached(display, *target, *folder);
            }
        } catch (const AppError& error) {
            std::fprintf(stderr, "pelloxss: %s\n", utf8::FromWide(error.Description).c_str());
            return 1;
        }

        const auto screenSaver = MakeX11ScreenSaver(display);
        const auto instances = MakeFileLockInstanceGuard();
        X11SaverWindow saver(display, *screenSaver, *folder);
        mGlobals globals(*screenSaver, *instances, saver);
        switch (globals.Main(ArgumentText(args))) {
            case StartupRoad::FullScreen:
            case StartupRoad::Preview:
                HandleStopSignals();
                saver.Run(g_stop);
                break;
            case StartupRoad::Settings:
            case StartupRoad::EndedAtOnce:
                break;
            default:  // no mode: nothing to show
                std::fprintf(stderr,
                             "usage: pelloxss [/s | /p WINDOW-ID | /c | -root | -window-id ID]\n");
                break;
        }
        return 0;
    } catch (...) {
        ReportCurrentException();
    }
}
