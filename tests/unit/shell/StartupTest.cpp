// Start-up's calls in their order, for every road; the programs themselves:
// tests/contract/SaverProgramSuite.cpp.
#include <gtest/gtest.h>

#include "fakes/RecordingScreenSaver.h"
#include "platform/AppError.h"

namespace {

using Calls = std::vector<std::string>;

const Calls kCommon = {"FindWindowA(null, Display Properties)", "AnotherFullScreenInstance"};
const Calls kFullScreen = {
    "ClaimFullScreen", "VirtualScreenRect", "CreateSaverWindow(1)",
    "SetWindowPos(119, -1, -1280, 0, 3200, 1080, 0x40)",
    "SystemParametersInfoA(97, 0xFFFFFFFF, ptr, 0)"};
const Calls kPreview = {
    "IsWindow(1234)", "GetClientRect(1234)", "CreateSaverWindow(4)",
    "SetSaverWindowTitle(119, Preview)", "GetWindowLongA(119, -16)",
    "SetWindowLongA(119, -16, 0x56CF0000)", "SetParent(119, 1234)",
    "SetWindowLongA(119, -8, 0x4D2)", "SetWindowPos(119, 0, 0, 0, 152, 112, 0x54)"};

TEST(StartupTest, EveryRoadMakesItsCallsInOrder) {
    const struct {
        const wchar_t* arguments;
        bool another;                  // another full-screen instance runs
        ss::Window displayProperties;  // what FindWindowA finds
        StartupRoad road;
        std::int32_t runMode;
        Calls calls;  // after the common two
    } cases[] = {
        {L"/s", false, 0, StartupRoad::FullScreen, 1, kFullScreen},
        {L"  /S  ", false, 0, StartupRoad::FullScreen, 1, kFullScreen},
        {L"/saver", false, 0, StartupRoad::FullScreen, 1, kFullScreen},
        {L"/s 99", false, 0, StartupRoad::FullScreen, 1, kFullScreen},
        {L"", true, 0, StartupRoad::FullScreen, 1, kFullScreen},  // the rule is for "/s" only
        {L"/s", true, 0x4242, StartupRoad::FullScreen, 1, kFullScreen},
        {L"/s", true, 0, StartupRoad::EndedAtOnce, 0, {}},
        {L"/p:1234", false, 0, StartupRoad::Preview, 4, kPreview},
        {L"/p    1234", false, 0, StartupRoad::Preview, 4, kPreview},
        {L" /P 1234 ", true, 0, StartupRoad::Preview, 4, kPreview},
        {L"/p 4321", false, 0, StartupRoad::EndedAtOnce, 4, {"IsWindow(4321)"}},  // no window
        {L"/c:5678", false, 0, StartupRoad::Settings, 0, {"ShowSettingsDialog"}},
        {L"/a", true, 0, StartupRoad::None, 0, {}},
        {L"-s", false, 0, StartupRoad::None, 0, {}},
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
        if (c.road == StartupRoad::FullScreen) {
            EXPECT_EQ(globals.SaverRect, fake.virtualScreen);
        }
        if (c.road == StartupRoad::Preview) {
            EXPECT_EQ(globals.SaverRect, fake.clientRect);
            EXPECT_EQ(globals.PreviewParent, 1234);
        }
    }
}

TEST(StartupTest, APreviewHandleThatIsNoNumberIsAConversionErrorWithoutAWindow) {
    const std::pair<const wchar_t*, long> cases[] = {
        {L"/p abc", errnum::TypeMismatch}, {L"/p", errnum::TypeMismatch},
        {L"/p   ", errnum::TypeMismatch},  {L"/p 12x", errnum::TypeMismatch},
        {L"/p 2147483648", errnum::Overflow}, {L"/p -2147483649", errnum::Overflow}};
    for (const auto& [arguments, number] : cases) {
        RecordingScreenSaver fake;
        mGlobals globals(fake, fake, fake);
        try {
            globals.Main(arguments);
            ADD_FAILURE() << "no error for " << utf8::FromWide(arguments);
        } catch (const AppError& e) {
            EXPECT_EQ(e.Number, number) << utf8::FromWide(arguments);
        }
        EXPECT_EQ(fake.calls, kCommon) << utf8::FromWide(arguments);
    }
    const std::pair<const wchar_t*, std::int32_t> numbers[] = {
        {L"  42 ", 42}, {L"-2147483648", INT32_MIN}, {L"2147483647", INT32_MAX}, {L"+7", 7}};
    for (const auto& [text, value] : numbers) EXPECT_EQ(ToInt32Strict(text), value);
    for (const wchar_t* text : {L"+", L"-", L"1 2", L"99999999999"})
        EXPECT_THROW(ToInt32Strict(text), AppError) << utf8::FromWide(text);
    EXPECT_EQ(NormaliseCommandLine(L"  /S  Mixed "), L"/s  mixed");
}

}  // namespace
