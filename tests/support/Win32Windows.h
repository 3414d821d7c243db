#pragma once
// Windows of another process, as the Windows drivers look at them.
#include <windows.h>

#include <string>
#include <vector>

// The visible top-level windows of the process, with the title when one is given.
inline std::vector<HWND> WindowsOf(unsigned long process, const wchar_t* title = nullptr) {
    std::vector<HWND> found;
    for (HWND w = FindWindowExW(nullptr, nullptr, nullptr, title); w;
         w = FindWindowExW(nullptr, w, nullptr, title)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == process && IsWindowVisible(w)) found.push_back(w);
    }
    return found;
}

// The environment variable's value, empty when it is not set.
inline std::wstring Env(const wchar_t* name) {
    wchar_t value[1024];
    const DWORD length = GetEnvironmentVariableW(name, value, 1024);
    return length < 1024 ? std::wstring(value, length) : std::wstring();
}

inline std::wstring TextOf(HWND window) {
    wchar_t text[1024] = {};
    SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

// The text of a message box of the process once it shows, then dismissed with OK.
inline std::wstring DismissMessageBox(unsigned long process, const wchar_t* title) {
    std::vector<HWND> boxes;
    for (int i = 0; i < 3000 && (boxes = WindowsOf(process, title)).empty(); ++i) Sleep(20);
    if (boxes.empty()) return L"<no message box>";
    const std::wstring text = TextOf(GetDlgItem(boxes[0], 0xFFFF));
    PostMessageW(boxes[0], WM_COMMAND, IDOK, 0);
    return text;
}

// The window with the keyboard focus in the thread of the given window.
inline HWND FocusOf(HWND window) {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui);
    return gui.hwndFocus;
}
