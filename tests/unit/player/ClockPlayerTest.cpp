#include <gtest/gtest.h>

#include "FakeClockEnvironment.h"
#include "player/ClockPlayer.h"

namespace {

const std::wstring kFolder = L"C:\\Program Files\\Pellox\\";

TEST(ClockPlayerTest, ReadsTheClockFileBesideTheMovie) {
    FakeClockEnvironment env;
    FakeClockFileSource source;
    source.files[kFolder + L"pellox2.xml"] = {{100, 1}, FiveClocks()};
    ClockPlayer player(env, source);

    player.SetMovie(kFolder + L"PELLOXSS1.SWF");
    EXPECT_EQ(player.Movie(), kFolder + L"PELLOXSS1.SWF");
    EXPECT_EQ(player.ClockFilePath(), kFolder + L"pellox2.xml");
    EXPECT_EQ(player.File(), FiveClocks());
    EXPECT_EQ(source.reads, 1);

    Scene scene;
    player.Build(1920, 1080, {}, 0, scene);
    EXPECT_EQ(scene.clocks.size(), 5u);

    // No folder in the movie: no file, the local clock only.
    player.SetMovie(L" ");
    EXPECT_TRUE(player.ClockFilePath().empty());
    EXPECT_EQ(player.File().state, ClockFileState::Missing);
    EXPECT_FALSE(player.CheckClockFile(5000));
    player.Build(1920, 1080, {}, 0, scene);
    EXPECT_EQ(scene.clocks.size(), 1u);
}

TEST(ClockPlayerTest, ReadsAgainWhenTheFileChanges) {
    FakeClockEnvironment env;
    FakeClockFileSource source;
    ClockPlayer player(env, source);
    const std::wstring path = kFolder + L"pellox2.xml";

    player.SetMovie(kFolder + L"PELLOXSS1.SWF");  // no file yet
    EXPECT_EQ(player.File().state, ClockFileState::Missing);
    EXPECT_EQ(source.reads, 0);

    std::int64_t t = 1'000'000;
    EXPECT_FALSE(player.CheckClockFile(t));  // unchanged: nothing read

    source.files[path] = {{200, 7}, FiveClocks()};
    EXPECT_FALSE(player.CheckClockFile(t + 400));  // within the same second: not even looked at
    const int stampsBefore = source.stamps;
    EXPECT_FALSE(player.CheckClockFile(t + 999));
    EXPECT_EQ(source.stamps, stampsBefore);
    EXPECT_TRUE(player.CheckClockFile(t + 1000));
    EXPECT_EQ(player.File(), FiveClocks());
    EXPECT_EQ(source.reads, 1);

    t += 2000;
    EXPECT_FALSE(player.CheckClockFile(t));  // same stamp
    EXPECT_EQ(source.reads, 1);

    ClockFile edited = FiveClocks(L"GMT+03:00");
    source.files[path] = {{200, 8}, edited};  // same size, new time
    EXPECT_TRUE(player.CheckClockFile(t + 1000));
    EXPECT_EQ(player.File(), edited);

    source.files.erase(path);  // removed: back to the local clock
    EXPECT_TRUE(player.CheckClockFile(t + 2000));
    EXPECT_EQ(player.File().state, ClockFileState::Missing);

    // A clock that goes back (the user sets the time) does not stop the checks.
    source.files[path] = {{1, 1}, edited};
    EXPECT_TRUE(player.CheckClockFile(t - 60'000));

    player.SetMovie(kFolder + L"PELLOXSS1.SWF");
    EXPECT_EQ(player.File(), edited);
}

TEST(ClockPlayerTest, WholeSecondsAndPointerMotion) {
    EXPECT_EQ(MsToNextSecond(1'000'000), 1000);
    EXPECT_EQ(MsToNextSecond(1'000'001), 999);
    EXPECT_EQ(MsToNextSecond(1'000'999), 1);
    EXPECT_EQ(MsToNextSecond(-1), 1);

    PointerMotion motion;
    EXPECT_FALSE(motion.Moved(960, 540));  // the message sent when the window is shown
    EXPECT_FALSE(motion.Moved(960, 540));  // repeated at the same place
    EXPECT_TRUE(motion.Moved(961, 540));
    EXPECT_FALSE(motion.Moved(961, 540));
    EXPECT_TRUE(motion.Moved(961, 541));
    EXPECT_TRUE(motion.Moved(960, 540));
}

}  // namespace
