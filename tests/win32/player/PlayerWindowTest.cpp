// The player window under Wine: how it turns Win32 input into the player's commands (the rules:
// ClockPlayerTest; the program on real input: SaverProgramSuite).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/player/GdiHandles.h"
#include "platform/win32/player/GdiplusCanvas.h"
#include "platform/win32/player/PlayerWindow.h"
#include "support/ScriptCaptions.h"

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

// Every script draws with glyphs of the font chosen (its own character map says so); RTL runs RTL.
TEST(GdiplusCanvasTest, EveryScriptDrawsWithGlyphsOfAnInstalledFont) {
    GdiplusSession session;
    MemoryBitmap bitmap;
    ASSERT_TRUE(bitmap.Create(nullptr, 600, 60));
    Gdiplus::Graphics graphics(bitmap.Dc());
    FontCache fonts;
    GdiplusCanvas canvas(graphics, fonts, true);
    for (const std::wstring& caption : kScriptCaptions) {
        canvas.DrawText(caption, {0, 0, 600, 60}, 20, true, {255, 255, 255});
        std::size_t chars = 0;
        for (const ShapedRun& run : canvas.LastLine().runs) {
            chars += run.charCount;
            EXPECT_EQ(run.missing, 0) << run.face;
            std::wstring bmp;
            for (wchar_t c : caption.substr(run.firstChar, run.charCount))
                if (c < 0xD800 || c > 0xDFFF) bmp += c;
            UniqueFont font(CreateFontW(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                                        run.face.c_str()));
            SelectedObject selected(bitmap.Dc(), font.Get());
            std::vector<WORD> nominal(bmp.size());
            GetGlyphIndicesW(bitmap.Dc(), bmp.c_str(), static_cast<int>(bmp.size()), nominal.data(),
                             GGI_MARK_NONEXISTING_GLYPHS);
            EXPECT_EQ(std::count(nominal.begin(), nominal.end(), 0xFFFF), 0) << run.face;
            if (caption[0] == 0x05EA) {  // Hebrew, not shaped: drawn from its last letter
                EXPECT_EQ(std::vector<WORD>(run.glyphs.rbegin(), run.glyphs.rend()), nominal);
            }
        }
        EXPECT_EQ(chars, caption.size());
    }
}

}  // namespace
