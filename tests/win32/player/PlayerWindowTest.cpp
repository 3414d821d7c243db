// The player window under Wine: how it turns Win32 input into the player's commands (the rules:
// ClockPlayerTest; the program on real input: SaverProgramSuite).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/player/PlayerWindow.h"

namespace {

TEST(PlayerWindowTest, Win32InputBecomesTheMovieCommands) {
    const HWND host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240,
                                      nullptr, nullptr, nullptr, nullptr);
    std::vector<std::wstring> commands;
    auto player = PlayerWindow::Create(
        host, {0, 0, 320, 240}, BuildStoredSettings(SaverPlayerProperties()),
        [&](const std::wstring& command, const std::wstring&) { commands.push_back(command); });
    const HWND w = player->Handle();
    const std::wstring down = L"KEYDOWN", up = L"KEYUP", move = L"MOUSEMOVE";
    const std::tuple<UINT, WPARAM, LPARAM, std::vector<std::wstring>> messages[] = {
        {WM_KEYDOWN, 'A', 0x001E0001, {down}},
        {WM_KEYUP, 'A', 0xC01E0001, {up}},
        {WM_KEYDOWN, 'B', 0x401E0001, {}},  // bit 30: held before, an auto-repeat
        {WM_KEYUP, 'B', 0xC01E0001, {up}},
        {WM_SYSKEYDOWN, VK_MENU, 0x20380001, {down}},
        {WM_SYSKEYUP, VK_MENU, 0xC0380001, {up}},
        {WM_MOUSEMOVE, 0, MAKELPARAM(160, 120), {}},  // sent when the window is shown
        {WM_MOUSEMOVE, 0, MAKELPARAM(161, 120), {move}},
    };
    for (const auto& [message, wParam, lParam, raised] : messages) {
        commands.clear();
        SendMessageW(w, message, wParam, lParam);
        EXPECT_EQ(commands, raised) << message << " " << wParam;
    }
    // The pointer in screen coordinates: the player moved under a still pointer is no movement.
    player->Move(10, 0, 310, 240);
    commands.clear();
    SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(151, 120));
    EXPECT_TRUE(commands.empty());
    EXPECT_EQ(SendMessageW(w, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS, DLGC_WANTALLKEYS);
    player.reset();
    EXPECT_FALSE(IsWindow(w));
    DestroyWindow(host);
}

}  // namespace
