// The failure report of pelloxss.scr stays on screen, above the saver, until it is closed; then
// the program ends with exit code 1. The player fails through a test-only hook: while it is
// created (start-up then takes the saver window down), or on every tick of its timer.
#include <gtest/gtest.h>

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
        ASSERT_EQ(boxes().size(), 1u) << "PELLOX_TEST_FAIL=" << where;
        EXPECT_EQ(WindowsOf(program->Id())[0], boxes()[0]);
        EXPECT_NE(saver->Report(*program).find("Run-time error '440'"), std::string::npos);
        EXPECT_EQ(program->WaitForExit(), 1);
    }
}
