// The saver program as Windows or xscreensaver's counterpart starts it, the same on both
// platforms: run against pelloxss.scr under Wine and pelloxss under Xvfb.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "contract/SaverProgramDriver.h"

namespace {

class SaverProgram : public testing::Test {
  protected:
    void SetUp() override { saver->MovePointer(10, 10); }
    // Lets the program take in what was sent before the test looks again.
    static void Settle() { std::this_thread::sleep_for(std::chrono::milliseconds(1000)); }
    std::unique_ptr<SaverProgramDriver> saver = MakeSaverProgramDriver();
};

TEST_F(SaverProgram, FullScreenRunsOnceAndEndsOnAKeyOrTheFourthPointerMove) {
    auto first = saver->Start("");  // no arguments: full screen as well
    ASSERT_TRUE(saver->CoversTheScreen(*first));
    // A second full-screen saver ends at once, unless the display settings are open.
    EXPECT_EQ(saver->Start("/s")->WaitForExit(), 0);
    saver->OpenDisplayProperties();
    auto second = saver->Start("/S");
    ASSERT_TRUE(saver->CoversTheScreen(*second));
    saver->PressKey(*first, 'a');
    EXPECT_EQ(first->WaitForExit(), 0);
    for (int move = 1; move <= 3; ++move) {
        saver->MovePointer(100 * move, 80 * move);
        Settle();
        EXPECT_TRUE(second->Running()) << "ended after move " << move;
    }
    saver->MovePointer(500, 400);
    EXPECT_EQ(second->WaitForExit(), 0);
}

// Twenty pairs of full-screen savers started together: one of each runs, the other ends.
TEST_F(SaverProgram, OfTwoStartedTogetherExactlyOneRuns) {
    for (int round = 0; round < 20; ++round) {
        std::unique_ptr<TestProcess> two[] = {saver->Start("/s"), saver->Start("/s")};
        ASSERT_TRUE(WaitUntil([&] { return !two[0]->Running() || !two[1]->Running(); })) << round;
        const int winner = two[0]->Running() ? 0 : 1;
        EXPECT_EQ(two[1 - winner]->WaitForExit(), 0) << round;
        ASSERT_TRUE(saver->CoversTheScreen(*two[winner])) << round;
        saver->PressKey(*two[winner], 'a');
        EXPECT_EQ(two[winner]->WaitForExit(), 0) << round;
    }
}

TEST_F(SaverProgram, PreviewFillsItsWindowAndGoesWithIt) {
    auto preview = saver->Start("/p " + saver->OpenHost());
    ASSERT_TRUE(saver->FillsHost());
    // A running preview does not keep the full-screen saver from starting.
    auto full = saver->Start("/s");
    ASSERT_TRUE(saver->CoversTheScreen(*full));
    Settle();
    saver->PressKey(*full, '\0');  // a key without a character (Shift)
    EXPECT_EQ(full->WaitForExit(), 0);
    EXPECT_TRUE(preview->Running());
    saver->CloseHost();
    EXPECT_EQ(preview->WaitForExit(), 0);
}

TEST_F(SaverProgram, BadCommandLinesShowNoSaver) {
    auto letters = saver->Start("/p abc");
    const std::string report = saver->Report(*letters);
    EXPECT_NE(report.find("Run-time error '13'"), std::string::npos) << report;
    EXPECT_NE(report.find("Type mismatch"), std::string::npos) << report;
    EXPECT_EQ(letters->WaitForExit(), 1);
    // A window that does not exist, and keys that name no mode: ended at once.
    for (const char* arguments : {"/p 2147483600", "/a", "-s", "s"})
        EXPECT_EQ(saver->Start(arguments)->WaitForExit(), 0) << arguments;
}

}  // namespace
