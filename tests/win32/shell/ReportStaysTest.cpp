// The failure report of the real pelloxss.scr stays on screen, above the saver, until the user
// closes it; then the program ends with exit code 1. The player fails through a test-only hook:
// while it is created (start-up then takes the saver window down) or on every tick of its timer
// while the saver covers the screen.
#include <gtest/gtest.h>
#include <windows.h>

#include "contract/SaverProgramDriver.h"
#include "support/Win32Windows.h"

TEST(FailureReport, StaysOnScreenUntilClosed) {
    const auto saver = MakeSaverProgramDriver();
    for (const wchar_t* where : {L"player", L"tick"}) {
        SetEnvironmentVariableW(L"PELLOX_TEST_FAIL", where);
        const auto program = saver->Start("/s");
        SetEnvironmentVariableW(L"PELLOX_TEST_FAIL", nullptr);
        const auto boxes = [&] { return WindowsOf(program->Id(), L"Pellox Screensaver"); };
        ASSERT_TRUE(WaitUntil([&] { return !boxes().empty() || !program->Running(); }));
        Sleep(1000);
        // Still there, alone (a failing timer adds no second report), above the program's windows.
        const auto stillThere = boxes();
        ASSERT_EQ(stillThere.size(), 1u) << "PELLOX_TEST_FAIL=" << where;
        EXPECT_EQ(WindowsOf(program->Id())[0], stillThere[0]);
        const std::string report = saver->Report(*program);
        EXPECT_NE(report.find("Run-time error '440'"), std::string::npos) << report;
        EXPECT_EQ(program->WaitForExit(), 1);
    }
}
