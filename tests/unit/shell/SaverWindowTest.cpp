// The saver window's handlers and their calls; the windows themselves:
// tests/contract/SaverProgramSuite.cpp.
#include <gtest/gtest.h>

#include "fakes/RecordingScreenSaver.h"

namespace {

using Calls = std::vector<std::string>;

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
        for (const wchar_t* command : c.commands) {
            if (command) {
                saver.form.swf_FSCommand(command, L"ignored");
            } else {
                saver.form.Form_KeyPress('x');
            }
        }
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

}  // namespace
