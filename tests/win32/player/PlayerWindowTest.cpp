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

// Captions in every script draw with glyphs of an installed font, checked against the chosen
// font's own character map; a right-to-left caption runs right to left.
TEST(GdiplusCanvasTest, EveryScriptDrawsWithGlyphsOfAnInstalledFont) {
    GdiplusSession session;
    MemoryBitmap bitmap;
    ASSERT_TRUE(bitmap.Create(nullptr, 600, 60));
    Gdiplus::Graphics graphics(bitmap.Dc());
    FontCache fonts;
    GdiplusCanvas canvas(graphics, fonts, true);
    const std::wstring captions[] = {L"\u6771\u4EAC",
                                     L"\u5317\u4EAC",
                                     L"\uC11C\uC6B8",
                                     L"\u0645\u0635\u0631",
                                     L"\u05EA\u05DC \u05D0\u05D1\u05D9\u05D1",
                                     L"\u0E01\u0E23\u0E38\u0E07\u0E40\u0E17\u0E1E",
                                     L"\u0928\u0908 \u0926\u093F\u0932\u094D\u0932\u0940",
                                     L"\u0391\u03B8\u03AE\u03BD\u03B1",
                                     L"\u041C\u043E\u0441\u043A\u0432\u0430",
                                     L"Tokyo \u6771\u4EAC \u0645\u0635\u0631 \u0391",
                                     L"Party \U0001F389",
                                     L"Sun 12:34"};
    for (const std::wstring& caption : captions) {
        canvas.DrawText(caption, {0, 0, 600, 60}, 20, true, {255, 255, 255});
        const ShapedLine& line = canvas.LastLine();
        std::size_t chars = 0;
        for (const ShapedRun& run : line.runs) {
            chars += run.charCount;
            EXPECT_EQ(run.missing, 0) << run.face;
            // The run's characters in the BMP, looked up in its font's character map.
            std::wstring bmp;
            for (wchar_t c : caption.substr(run.firstChar, run.charCount))
                if ((c < 0xD800 || c > 0xDFFF) && c != L' ') bmp += c;
            UniqueFont font(CreateFontW(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                                        run.face.c_str()));
            SelectedObject selected(bitmap.Dc(), font.Get());
            std::vector<WORD> nominal(bmp.size());
            GetGlyphIndicesW(bitmap.Dc(), bmp.c_str(), static_cast<int>(bmp.size()), nominal.data(),
                             GGI_MARK_NONEXISTING_GLYPHS);
            EXPECT_EQ(std::count(nominal.begin(), nominal.end(), 0xFFFF), 0) << run.face;
            if (caption[0] == 0x05EA) {  // Hebrew: no shaping, the last letter drawn first
                ASSERT_TRUE(run.Rtl());
                EXPECT_EQ(run.glyphs.front(), nominal.back());
                EXPECT_EQ(run.glyphs.back(), nominal.front());
            }
        }
        EXPECT_EQ(chars, caption.size());
        EXPECT_GT(line.width, 0);
    }
}

}  // namespace
