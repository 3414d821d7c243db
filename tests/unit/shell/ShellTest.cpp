// Start-up's and the saver window's calls in their order, for every road and every command,
// and the web link opener's; the programs themselves: tests/contract/SaverProgramSuite.cpp.
#include <gtest/gtest.h>

#include "Fakes.h"
#include "platform/AppError.h"
#include "shell/OpenWebLink.h"
#include "support/Expect.h"

namespace {

using Calls = std::vector<std::string>;

const Calls kCommon = {"FindWindowA(null, Display Properties)"};
const Calls kFullScreen = {"ClaimFullScreen", "VirtualScreenRect", "CreateSaverWindow(1)",
                           "SetWindowPos(119, -1, -1280, 0, 3200, 1080, 0x40)",
                           "SystemParametersInfoA(97, 0xFFFFFFFF, ptr, 0)"};
// clang-format off
const Calls kPreview = {
    "IsWindow(1234)", "GetClientRect(1234)", "CreateSaverWindow(4)",
    "SetSaverWindowTitle(119, Preview)", "GetWindowLongA(119, -16)",
    "SetWindowLongA(119, -16, 0x56CF0000)", "SetParent(119, 1234)",
    "SetWindowLongA(119, -8, 0x4D2)", "SetWindowPos(119, 0, 0, 0, 152, 112, 0x54)"};
// clang-format on

TEST(StartupTest, EveryRoadMakesItsCallsInOrder) {
    const struct {
        const wchar_t* arguments;
        bool another;                  // another full-screen instance runs
        ss::Window displayProperties;  // what FindWindowA finds
        StartupRoad road;
        std::int32_t runMode;
        Calls calls;  // after the common one
    } cases[] = {
        {L"/s", false, 0, StartupRoad::FullScreen, 1, kFullScreen},
        {L"  /S  ", false, 0, StartupRoad::FullScreen, 1, kFullScreen},
        {L"/saver", false, 0, StartupRoad::FullScreen, 1, kFullScreen},
        {L"", true, 0, StartupRoad::FullScreen, 1, kFullScreen},  // the rule is for "/s" only
        {L"/s", true, 0x4242, StartupRoad::FullScreen, 1, kFullScreen},
        {L"/s", true, 0, StartupRoad::EndedAtOnce, 0, {"ClaimFullScreen"}},
        {L"/p:1234", false, 0, StartupRoad::Preview, 4, kPreview},
        {L" /P 1234 ", true, 0, StartupRoad::Preview, 4, kPreview},
        {L"/p 4321", false, 0, StartupRoad::EndedAtOnce, 4, {"IsWindow(4321)"}},  // no window
        {L"/c:5678", false, 0, StartupRoad::Settings, 0, {"ShowSettingsDialog"}},
        {L"/a", true, 0, StartupRoad::None, 0, {}},
        {L"s", false, 0, StartupRoad::None, 0, {}},
        {L"/x /s", true, 0, StartupRoad::None, 0, {}},
    };
    for (const auto& c : cases) {
        RecordingScreenSaver fake;
        fake.anotherInstance = c.another;
        fake.displayProperties = c.displayProperties;
        mGlobals globals{fake, fake, fake};
        EXPECT_EQ(globals.Main(c.arguments), c.road) << utf8::FromWide(c.arguments);
        Calls expected = kCommon;
        expected.insert(expected.end(), c.calls.begin(), c.calls.end());
        EXPECT_EQ(fake.calls, expected) << utf8::FromWide(c.arguments);
        EXPECT_EQ(globals.RunMode, c.runMode) << utf8::FromWide(c.arguments);
    }
}

TEST(StartupTest, APreviewHandleThatIsNoNumberIsAConversionErrorWithoutAWindow) {
    // The numbers the report shows: 13 type mismatch, 6 overflow.
    const std::pair<const wchar_t*, long> cases[] = {{L"/p abc", 13},       {L"/p", 13},
                                                     {L"/p   ", 13},        {L"/p 12x", 13},
                                                     {L"/p 2147483648", 6}, {L"/p -2147483649", 6}};
    for (const auto& [arguments, number] : cases) {
        RecordingScreenSaver fake;
        mGlobals globals(fake, fake, fake);
        ExpectAppError([&] { globals.Main(arguments); }, number);
        EXPECT_EQ(fake.calls, kCommon) << utf8::FromWide(arguments);
    }
    const std::pair<const wchar_t*, std::int32_t> numbers[] = {
        {L"  42 ", 42}, {L"-2147483648", INT32_MIN}, {L"2147483647", INT32_MAX}, {L"+7", 7}};
    for (const auto& [text, value] : numbers) EXPECT_EQ(ToInt32Strict(text), value);
    for (const wchar_t* text : {L"+", L"-", L"1 2", L"99999999999"})
        EXPECT_THROW(ToInt32Strict(text), AppError) << utf8::FromWide(text);
}

struct Saver {
    RecordingScreenSaver system;
    std::int32_t runMode = 1;
    frmMain form{system, runMode, system, system};
};

const Calls kEndSaver = {"ShowCursor(true)", "SetWindowPos(119, -2, 0, 0, 0, 0, 0x1)",
                         "SystemParametersInfoA(97, 0x0, ptr, 0)", "TerminateProcess"};

TEST(SaverWindowTest, LoadAndResizePlaceThePlayer) {
    Saver saver;
    saver.form.Form_Load();
    saver.system.appPath = L"D:\\";  // a drive root already ends in a backslash
    saver.form.Form_Load();
    saver.system.minimized = true;
    saver.form.Form_Resize();
    saver.system.minimized = false;
    saver.form.Form_Resize();
    EXPECT_EQ(saver.system.calls,
              (Calls{"Movie(C:\\Program Files\\Pellox\\PELLOXSS1.SWF)", "Movie(D:\\PELLOXSS1.SWF)",
                     "Top(0)", "Left(0)", "Width(1920)", "Height(1080)"}));
}

TEST(SaverWindowTest, WhatEndsTheSaver) {
    const struct {
        std::vector<const wchar_t*> commands;  // nullptr: a key press
        bool ends;
        int moves;  // MouseMoveCount afterwards
    } cases[] = {
        {{L"MOUSEMOVE", L"MOUSEMOVE", L"MOUSEMOVE"}, false, 3},
        {{L"MOUSEMOVE", L"MOUSEMOVE", L"MOUSEMOVE", L"MOUSEMOVE"}, true, 3},
        {{L"KEYDOWN"}, true, 0},
        {{L"MOUSEMOVE", L"KEYUP"}, true, 1},
        {{nullptr}, true, 0},
        {{L"mousemove", L"keydown", L"KeyUp", L"QUIT", L"", L"MOUSEMOVE "}, false, 0},
    };
    for (const auto& c : cases) {
        Saver saver;
        for (const wchar_t* command : c.commands)
            command ? saver.form.swf_FSCommand(command, L"ignored") : saver.form.Form_KeyPress('x');
        EXPECT_EQ(saver.system.calls, c.ends ? kEndSaver : Calls{}) << c.commands.size();
        EXPECT_EQ(saver.form.MouseMoveCount, c.moves);
    }
}

TEST(SaverWindowTest, UnloadRestoresTheCursorOnlyInFullScreen) {
    Saver full;
    EXPECT_FALSE(full.form.Form_Unload());
    EXPECT_EQ(full.system.calls, (Calls{"ShowCursor(true)", "ClearPointerOverride"}));
    Saver preview;
    preview.runMode = 4;
    EXPECT_FALSE(preview.form.Form_Unload());
    EXPECT_EQ(preview.system.calls, Calls{"ClearPointerOverride"});
}

TEST(OpenWebLink, OpensTheAddressWithTheHourglassShownDuringTheCall) {
    FakePointer pointer;
    FakeShell shell(&pointer);
    OpenWebLink(shell, pointer, Windows1252CodePage(), L"https://example.com/caf\u00e9");
    // The address in the ANSI code page, the hourglass shown during the call.
    const std::vector<FakeShell::Call> calls = {{0, "open", "https://example.com/caf\xe9", "",
                                                 std::nullopt, kSwShowNormal,
                                                 PointerShape::Hourglass}};
    EXPECT_EQ(shell.calls, calls);
    EXPECT_EQ(pointer.current, PointerShape::Default);
}

TEST(OpenWebLink, PointerEndsClearedWhateverFails) {
    for (int failing : {0, 1, 2}) {  // the shell, the hourglass, nothing (an empty address)
        FakePointer pointer;
        FakeShell shell(&pointer);
        shell.fail = failing == 0;
        pointer.failSetting = failing == 1;
        pointer.current = PointerShape::Hourglass;  // set before the call
        const std::wstring address = failing == 2 ? L"   " : L"https://example.com/";
        EXPECT_NO_THROW(OpenWebLink(shell, pointer, Utf8CodePage(), address));
        EXPECT_EQ(shell.calls.size(), failing == 2 ? 0u : 1u) << failing;
        EXPECT_EQ(pointer.current, PointerShape::Default) << failing;
    }
}

}  // namespace
