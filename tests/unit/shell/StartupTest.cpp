#include <gtest/gtest.h>

#include "fakes/RecordingScreenSaver.h"
#include "platform/AppError.h"

namespace {

using Calls = std::vector<std::string>;

const Calls kCommonStart = {"FindWindowA(null, Display Properties)", "AnotherFullScreenInstance"};

Calls With(Calls tail) {
    Calls all = kCommonStart;
    all.insert(all.end(), tail.begin(), tail.end());
    return all;
}

const Calls kFullScreenRoad = With({
    "ClaimFullScreen",
    "VirtualScreenRect",
    "CreateSaverWindow(1)",
    "SetWindowPos(119, -1, -1280, 0, 3200, 1080, 0x40)",
    "SystemParametersInfoA(97, 0xFFFFFFFF, ptr, 0)",
});

Calls PreviewRoad(ss::Window parent) {
    const std::string p = std::to_string(parent);
    return With({
        "IsWindow(" + p + ")",
        "GetClientRect(" + p + ")",
        "CreateSaverWindow(4)",
        "SetSaverWindowTitle(119, Preview)",
        "GetWindowLongA(119, -16)",
        "SetWindowLongA(119, -16, 0x56CF0000)",
        "SetParent(119, " + p + ")",
        "SetWindowLongA(119, -8, " + RecordingScreenSaver::Hex(static_cast<std::uint32_t>(parent)) +
            ")",
        "SetWindowPos(119, 0, 0, 0, 152, 112, 0x54)",
    });
}

struct Startup {
    RecordingScreenSaver fake;
    mGlobals globals{fake, fake, fake};
    StartupRoad road{};
    explicit Startup(const std::wstring& args, bool another = false, ss::Window display = 0) {
        fake.anotherInstance = another;
        fake.displayProperties = display;
        road = globals.Main(args);
    }
};

TEST(StartupTest, FullScreenRoads) {
    for (const wchar_t* args : {L"/s", L"  /S  ", L"/saver", L"/s 99", L""}) {
        Startup run(args);
        EXPECT_EQ(run.road, StartupRoad::FullScreen) << utf8::FromWide(args);
        EXPECT_EQ(run.fake.calls, kFullScreenRoad) << utf8::FromWide(args);
        EXPECT_EQ(run.globals.RunMode, 1);
        EXPECT_EQ(run.globals.SaverRect, (ss::Rect{-1280, 0, 1920, 1080}));
    }
}

TEST(StartupTest, SingleInstanceRule) {
    // "/s" with another full-screen instance and no Display Properties window: nothing at all.
    Startup ended(L"/s", true, 0);
    EXPECT_EQ(ended.road, StartupRoad::EndedAtOnce);
    EXPECT_EQ(ended.fake.calls, kCommonStart);
    EXPECT_EQ(ended.globals.RunMode, 0);

    // With a Display Properties window it runs; an empty line ignores the rule.
    Startup withDialog(L"/s", true, 0x4242);
    EXPECT_EQ(withDialog.fake.calls, kFullScreenRoad);
    Startup empty(L"", true, 0);
    EXPECT_EQ(empty.fake.calls, kFullScreenRoad);
    // The rule is for "/s" only: a preview still starts beside a running saver.
    Startup preview(L"/p 1234", true, 0);
    EXPECT_EQ(preview.road, StartupRoad::Preview);
}

TEST(StartupTest, PreviewRoads) {
    for (const wchar_t* args : {L"/p:1234", L"/p 1234", L"/p    1234", L" /P 1234 "}) {
        Startup run(args);
        EXPECT_EQ(run.road, StartupRoad::Preview) << utf8::FromWide(args);
        EXPECT_EQ(run.fake.calls, PreviewRoad(1234)) << utf8::FromWide(args);
        EXPECT_EQ(run.globals.RunMode, 4);
        EXPECT_EQ(run.globals.PreviewParent, 1234);
        EXPECT_EQ(run.globals.SaverRect, (ss::Rect{0, 0, 152, 112}));
    }
}

TEST(StartupTest, PreviewWithBadHandles) {
    // Letters, nothing, or a number out of range: a conversion error and no window.
    for (const wchar_t* args : {L"/p abc", L"/p", L"/p   ", L"/p 12x", L"/p 99999999999"}) {
        RecordingScreenSaver fake;
        mGlobals globals(fake, fake, fake);
        try {
            globals.Main(args);
            ADD_FAILURE() << "no error for " << utf8::FromWide(args);
        } catch (const AppError& e) {
            EXPECT_TRUE(e.Number == errnum::TypeMismatch || e.Number == errnum::Overflow);
        }
        EXPECT_EQ(fake.calls, kCommonStart) << utf8::FromWide(args);
    }
    // A number that names no window ends at once, without a window.
    Startup stray(L"/p 4321");
    EXPECT_EQ(stray.road, StartupRoad::EndedAtOnce);
    EXPECT_EQ(stray.fake.calls, With({"IsWindow(4321)"}));
}

TEST(StartupTest, SettingsAndOtherKeys) {
    Startup settings(L"/c:5678");
    EXPECT_EQ(settings.road, StartupRoad::Settings);
    EXPECT_EQ(settings.fake.calls, With({"ShowSettingsDialog"}));
    EXPECT_EQ(settings.globals.RunMode, 0);

    for (const wchar_t* args : {L"/a", L"-s", L"s", L"/x /s"}) {
        Startup run(args, true);
        EXPECT_EQ(run.road, StartupRoad::None) << utf8::FromWide(args);
        EXPECT_EQ(run.fake.calls, kCommonStart) << utf8::FromWide(args);
    }
}

TEST(StartupTest, Int32Conversion) {
    EXPECT_EQ(ToInt32Strict(L"  42 "), 42);
    EXPECT_EQ(ToInt32Strict(L"-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ToInt32Strict(L"2147483647"), 2147483647);
    EXPECT_THROW(ToInt32Strict(L"2147483648"), AppError);
    EXPECT_THROW(ToInt32Strict(L"+"), AppError);
    EXPECT_THROW(ToInt32Strict(L"1 2"), AppError);
    EXPECT_EQ(NormaliseCommandLine(L"  /S  Mixed "), L"/s  mixed");
}

}  // namespace
