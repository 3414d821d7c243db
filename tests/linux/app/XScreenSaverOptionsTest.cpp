#include <gtest/gtest.h>

#include "platform/AppError.h"
#include "platform/linux/app/XScreenSaverOptions.h"

namespace {

TEST(XScreenSaverOptions, WindowIdsAndTargets) {
    const std::pair<const char*, unsigned long> ids[] = {
        {"12345", 12345}, {"0x1a00005", 0x1a00005}, {"0XFF", 255}, {"4294967295", 4294967295}};
    for (const auto& [text, id] : ids) EXPECT_EQ(ParseWindowId(text), id) << text;
    for (const char* bad :
         {"", "0", "0x", "-5", "+5", "12a", "0x1g", " 5", "4294967296", "99999999999999999999999"})
        EXPECT_EQ(ParseWindowId(bad), std::nullopt) << bad;

    using Args = std::vector<std::string>;
    // The saver's own modes, whatever the environment says.
    EXPECT_EQ(FindXScreenSaverTarget(Args{"/s"}, "0x400001"), std::nullopt);
    EXPECT_EQ(FindXScreenSaverTarget(Args{"/p", "77"}, nullptr), std::nullopt);
    EXPECT_EQ(FindXScreenSaverTarget(Args{}, nullptr), std::nullopt);
    EXPECT_EQ(FindXScreenSaverTarget(Args{}, ""), std::nullopt);
    EXPECT_EQ(FindXScreenSaverTarget(Args{"-x"}, nullptr), std::nullopt);
    // -window-id first, then -root with xscreensaver's window, then the environment alone.
    const std::tuple<Args, const char*, bool, unsigned long> targets[] = {
        {{"-window-id", "0x2e"}, "99", false, 0x2e},
        {{"-root"}, "4194311", false, 4194311},
        {{"-root"}, nullptr, true, 0},
        {{"--root"}, nullptr, true, 0},
        {{}, "0x10", false, 16}};
    for (const auto& [args, variable, root, window] : targets) {
        const auto target = FindXScreenSaverTarget(args, variable);
        ASSERT_TRUE(target);
        EXPECT_EQ(target->root, root);
        EXPECT_EQ(target->window, window);
    }
    // A missing or malformed id is an error with a clear text, not a guess.
    for (const Args& bad :
         {Args{"-window-id"}, Args{"-window-id", "root"}, Args{"-window-id", "0"}})
        EXPECT_THROW(FindXScreenSaverTarget(bad, nullptr), AppError);
    try {
        FindXScreenSaverTarget(Args{"-root"}, "garbage");
        FAIL() << "no failure";
    } catch (const AppError& error) {
        EXPECT_NE(error.Description.find(L"XSCREENSAVER_WINDOW"), std::wstring::npos);
        EXPECT_NE(error.Description.find(L"garbage"), std::wstring::npos);
    }
}

}  // namespace
