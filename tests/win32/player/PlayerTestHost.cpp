// A small host of the clock player for tests, screenshots and benchmarks: a borderless window,
// full screen by default, with the player filling it. Prints each FSCommand the player raises.
//   player_host [/size WxH] [/movie PATH] [/seconds N] [/describe]

#include <windows.h>
// COM for the XML component that reads the clock file.
#include <objbase.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>

#include "platform/AppError.h"
#include "platform/TextEncoding.h"
#include "platform/win32/player/PlayerWindow.h"

namespace {

constexpr UINT_PTR kQuitTimer = 1, kDescribeTimer = 2;

struct Host {
    std::unique_ptr<PlayerWindow> player;
    bool describe = false;
};
Host host;

void Print(const std::wstring& line) {
    std::fputs(utf8::FromWide(line).c_str(), stdout);
    std::fflush(stdout);
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            if (host.player && wParam != SIZE_MINIMIZED)
                host.player->Move(0, 0, LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_TIMER:
            if (wParam == kDescribeTimer && host.player) {
                KillTimer(window, kDescribeTimer);
                Print(L"frame " + std::to_wstring(host.player->FramesDrawn()) + L"\n" +
                      host.player->DescribeFrame() + L"end\n");
            } else if (wParam == kQuitTimer) {
                DestroyWindow(window);
            }
            return 0;
        case WM_DESTROY:
            host.player.reset();
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.find_last_of(L'\\') + 1);
    return folder;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    std::wstring movie = ProgramFolder() + L"PELLOXSS1.SWF";
    int seconds = 0;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg == L"/size" && i + 1 < argc) {
            if (std::swscanf(argv[++i], L"%dx%d", &width, &height) != 2) return 2;
        } else if (arg == L"/movie" && i + 1 < argc) {
            movie = argv[++i];
        } else if (arg == L"/seconds" && i + 1 < argc) {
            seconds = std::wcstol(argv[++i], nullptr, 10);
        } else if (arg == L"/describe") {
            host.describe = true;
        } else {
            std::fputs("usage: player_host [/size WxH] [/movie PATH] [/seconds N] [/describe]\n",
                       stderr);
            return 2;
        }
    }

    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */);
    wc.lpszClassName = L"PelloxPlayerTestHost";
    RegisterClassExW(&wc);
    HWND window =
        CreateWindowExW(0, wc.lpszClassName, L"Pellox player host", WS_POPUP | WS_CLIPCHILDREN,
                        left, top, width, height, nullptr, nullptr, wc.hInstance, nullptr);
    if (!window) return 1;

    try {
        RECT rect{0, 0, width, height};
        const auto settings = BuildStoredSettings(SaverPlayerProperties());
        host.player = PlayerWindow::Create(window, rect, settings,
                                           [](const std::wstring& command, const std::wstring&) {
                                               Print(L"FSCommand " + command + L"\n");
                                           });
        host.player->SetMovie(movie);
    } catch (const AppError& e) {
        std::fprintf(stderr, "player: %ld %s\n", e.Number, e.what());
        return 1;
    }

    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(host.player->Handle());
    Print(L"shown\n");
    if (host.describe) SetTimer(window, kDescribeTimer, 1500, nullptr);
    if (seconds > 0) SetTimer(window, kQuitTimer, static_cast<UINT>(seconds) * 1000, nullptr);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    CoUninitialize();
    return 0;
}
