#include <gtest/gtest.h>

#include "platform/AppError.h"
#include "platform/linux/app/XScreenSaverOptions.h"

namespace {

TEST(XScreenSaverOptions, WindowIdsInDecimalOrHex) {
    EXPECT_EQ(ParseWindowId("12345"), 12345ul);
    EXPECT_EQ(ParseWindowId("0x1a00005"), 0x1a00005ul);
    EXPECT_EQ(ParseWindowId("0XFF"), 255ul);
    EXPECT_EQ(ParseWindowId("4294967295"), 4294967295ul);
    for (const char* bad : {"", "0", "0x", "-5", "+5", "12a", "0x1g", " 5", "4294967296",
                            "99999999999999999999999"}) {
        EXPECT_EQ(ParseWindowId(bad), std::nullopt) << bad;
    }
}

TEST(XScreenSaverOptions, TargetFromArgumentsAndEnvironment) {
    using Args = std::vector<std::string>;
    // The saver's own modes, whatever the environment says.
    EXPECT_EQ(FindXScreenSaverTarget(Args{"/s"}, "0x400001"), std::nullopt);
    EXPECT_EQ(FindXScreenSaverTarget(Args{"/p", "77"}, nullptr), std::nullopt);
    EXPECT_EQ(FindXScreenSaverTarget(Args{}, nullptr), std::nullopt);
    EXPECT_EQ(FindXScreenSaverTarget(Args{}, ""), std::nullopt);

    auto target = FindXScreenSaverTarget(Args{"-window-id", "0x2e"}, "99");
    ASSERT_TRUE(target);
    EXPECT_FALSE(target->root);
    EXPECT_EQ(target->window, 0x2eul);

    // xscreensaver passes -root with its own window in the environment.
    target = FindXScreenSaverTarget(Args{"-root"}, "4194311");
    ASSERT_TRUE(target);
    EXPECT_FALSE(target->root);
    EXPECT_EQ(target->window, 4194311ul);
    target = FindXScreenSaverTarget(Args{"-root"}, nullptr);
    ASSERT_TRUE(target);
    EXPECT_TRUE(target->root);
    target = FindXScreenSaverTarget(Args{}, "0x10");
    ASSERT_TRUE(target);
    EXPECT_EQ(target->window, 16ul);

    // A missing or malformed id is an error with a clear text, not a guess.
    for (const Args& bad :
         {Args{"-window-id"}, Args{"-window-id", "root"}, Args{"-window-id", "0"}}) {
        EXPECT_THROW(FindXScreenSaverTarget(bad, nullptr), AppError);
    }
    try {
        FindXScreenSaverTarget(Args{"-root"}, "garbage");
        FAIL() << "no failure";
    } catch (const AppError& error) {
        EXPECT_NE(error.Description.find(L"XSCREENSAVER_WINDOW"), std::wstring::npos);
        EXPECT_NE(error.Description.find(L"garbage"), std::wstring::npos);
    }
}

}  // namespace
