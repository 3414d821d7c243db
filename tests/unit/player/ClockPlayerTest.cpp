#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "Fakes.h"
#include "platform/AppError.h"
#include "player/ClockPlayer.h"

namespace {

const std::wstring kClockFile = L"C:\\Saver\\pellox2.xml";
using Call = std::pair<std::string, std::vector<RectI>>;

// Records the player's calls with their areas, the items painted and the background, and keeps
// its layers as pictures of the item on top at each pixel (an item covers its pixel box).
class FakeSurface : public PlayerSurface {
  public:
    int width = 1920, height = 1080, stills = 0;
    bool canPaint = true, failPaint = false;
    Rgb background;
    std::vector<Call> calls;
    std::vector<std::vector<SceneItem>> painted;
    std::vector<SceneItem> prepared, known;  // an item's number in the pictures: its place here
    std::vector<std::size_t> still, frame, screen;

    int Width() override { return width; }
    int Height() override { return height; }
    bool PaintStill(Rgb color, std::span<const SceneItem> items) override {
        background = color;
        ++stills;
        still.assign(std::size_t(width) * height, 0);
        frame.resize(still.size()), screen.resize(still.size());
        const RectI all[] = {{0, 0, width, height}};
        for (const SceneItem& item : items) Lay(item, all, still);
        return canPaint;
    }
    void CopyStill(std::span<const RectI> areas) override {
        calls.push_back({"copy", {areas.begin(), areas.end()}});
        for (const RectI& a : areas) Copy(a, still, frame);
    }
    void PaintItems(std::span<const SceneItem> items, std::span<const RectI> areas) override {
        if (failPaint) throw AppError(errnum::AutomationError, L"out of memory");
        calls.push_back({"paint", {areas.begin(), areas.end()}});
        painted.emplace_back(items.begin(), items.end());
        for (const SceneItem& item : items) Lay(item, areas, frame);
    }
    void Present(std::span<const RectI> areas) override {
        calls.push_back({"present", {areas.begin(), areas.end()}});
        for (const RectI& a : areas) Copy(a, frame, screen);
    }
    void Lay(const SceneItem& item, std::span<const RectI> clips, std::vector<std::size_t>& layer) {
        auto found = std::find(known.begin(), known.end(), item);
        if (found == known.end()) found = known.insert(known.end(), item);
        std::vector<RectI> parts;
        AddAreas(item, width, height, parts);
        for (const RectI& p : parts)
            for (const RectI& c : clips)
                for (int y = std::max(p.top, c.top); y < std::min(p.bottom, c.bottom); ++y)
                    for (int x = std::max(p.left, c.left); x < std::min(p.right, c.right); ++x)
                        layer[y * width + x] = found - known.begin() + 1;
    }
    void Copy(RectI a, const std::vector<std::size_t>& from, std::vector<std::size_t>& to) {
        for (int y = a.top; y < a.bottom; ++y)
            std::copy_n(from.begin() + y * width + a.left, a.Width(),
                        to.begin() + y * width + a.left);
    }
    void Prepare(std::span<const SceneItem> items) override {
        prepared.assign(items.begin(), items.end());
    }
};

class ClockPlayerTest : public testing::Test {
  protected:
    ClockPlayerTest() {
        files.files[kClockFile] = {{100, 1}, FiveClocks()};
        env.now = At(10, 15, 30) + 250;
        player->SetMovie(L"C:\\Saver\\PELLOXSS1.SWF");
    }
    int Tick() {  // forgets what was drawn before
        surface.stills = 0;
        surface.calls.clear();
        surface.painted.clear();
        return player->Tick();
    }
    // The five second hands at 10:15 and the second.
    std::vector<SceneItem> Hands(int second) {
        std::vector<SceneItem> hands;
        for (const ClockView& clock : player->Picture().clocks)
            AddSecondHand(clock, At(10, 15, second), hands);
        return hands;
    }

    FakeClockEnvironment env;
    FakeClockFileSource files;
    FakeSurface surface;
    std::wstring commands;
    std::unique_ptr<ClockPlayer> player = std::make_unique<ClockPlayer>(
        env, files, surface, [this](const std::wstring& command, const std::wstring& args) {
            commands += command + args;
        });
};

TEST_F(ClockPlayerTest, EachSecondRedrawsEachSecondHandOverItsOldAndNewPlaces) {
    EXPECT_EQ(Tick(), 750);  // everything: the still layer, the second hands, all on screen
    const std::vector<RectI> all{{0, 0, 1920, 1080}};
    EXPECT_EQ(surface.stills, 1);
    EXPECT_EQ(surface.calls, (std::vector<Call>{{"copy", all}, {"paint", all}, {"present", all}}));
    const std::vector<SceneItem> before = Hands(30), last = Hands(59);
    EXPECT_EQ(surface.painted.at(0), before);
    ASSERT_EQ(surface.prepared.size(), 60u * 15);  // the minute's hands, second by second
    EXPECT_TRUE(std::equal(last.begin(), last.end(), surface.prepared.end() - 15));

    env.now += 749;  // the same second: nothing to draw
    EXPECT_EQ(Tick(), 1);
    EXPECT_TRUE(surface.calls.empty());

    for (int second : {31, 32}) {  // exactly on the boundary
        env.now = At(10, 15, second);
        EXPECT_EQ(Tick(), 1000);
        std::vector<RectI> old;  // the old hands' places are given back: the new hold the still
        for (const SceneItem& hand : Hands(second - 1)) AddAreas(hand, 1920, 1080, old);
        EXPECT_EQ(surface.calls.at(0), (Call{"copy", old}));
    }
    EXPECT_EQ(player->FramesDrawn(), 3u);
}

// A new second, a new minute (the layout drifts) or a clock file rewritten (it stays) puts on
// the screen only the places that changed, and the screen shows what drawing everything shows.
TEST_F(ClockPlayerTest, ANewMinuteShowsWhatDrawingEverythingShows) {
    surface.width = 960, surface.height = 540;
    env.now = At(10, 15, 58);
    Tick();
    const std::function<void()> changes[] = {
        [&] { env.now = At(10, 15, 59); }, [&] { env.now = At(10, 16, 0); },
        [&] {
            files.files[kClockFile] = {{300, 2}, FiveClocks(L"GMT+01:00")}, env.now += 1000;
        }};
    const Call whole{"present", {{0, 0, 960, 540}}};
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        changes[i]();
        Tick();
        ASSERT_EQ(surface.calls.size(), 3u) << i;
        EXPECT_NE(surface.calls[2], whole) << i;
        const std::vector<std::size_t> partial = surface.screen;
        player->LocaleChanged();  // everything drawn again
        Tick();
        EXPECT_EQ(surface.calls.at(2), whole);
        EXPECT_TRUE(surface.screen == partial) << i;
    }
}

TEST_F(ClockPlayerTest, TheStillLayerOnlyWhenItChanged) {
    Tick();
    int second = 31;
    auto nextSecond = [&] { env.now = At(10, 15, second++) + 7; };
    const std::vector<RectI> halves{{0, 0, 960, 1080}, {960, 0, 1920, 1080}};
    const Rgb grey{1, 2, 3};
    const std::tuple<const char*, std::function<void()>, bool> cases[] = {
        {"a new second", nextSecond, false},
        {"other monitors", [&] { player->SetMonitors(halves); }, true},
        {"the same ones again", [&] { player->SetMonitors(halves); }, false},
        {"the size", [&] { surface.height = 1200; }, true},
        {"the background", [&] { player->SetBackground(grey); }, true},
        {"the movie", [&] { player->SetMovie(L"C:\\Saver\\PELLOXSS1.SWF"); }, true},
        {"the file, within the second", [&] { files.files[kClockFile].stamp.size = 200; }, false},
        {"the file, at the next second", nextSecond, true},
        {"the file gone", [&] { files.files.clear(), nextSecond(); }, true},
        {"still no file", nextSecond, false},
        {"the clock set back", [&] { env.now = At(9, 0, 0); }, true},
    };
    for (const auto& [change, make, still] : cases) {
        make();
        Tick();
        EXPECT_EQ(surface.stills, still ? 1 : 0) << change;
    }
    EXPECT_EQ(surface.background, grey);
    EXPECT_EQ(player->Picture().compositions.size(), 2u);
    EXPECT_NE(player->Picture().note, L"");  // and the local clock only
    const int stamps = files.stamps;         // the clock file is looked at once a second, no more
    env.now += 1;
    Tick();
    EXPECT_EQ(files.stamps, stamps);
}

// The file in the user's folder comes first, as soon as it appears and until it goes.
TEST_F(ClockPlayerTest, TheUsersClockFileComesFirst) {
    const std::wstring user = L"C:\\Users\\u\\PELLOXSS\\pellox2.xml";
    player = std::make_unique<ClockPlayer>(env, files, surface, nullptr, L"C:\\Users\\u\\PELLOXSS");
    player->SetMovie(L"C:\\Saver\\PELLOXSS1.SWF");
    auto firstCaption = [&](int second) {
        env.now = At(10, 15, second);
        Tick();
        return player->Picture().clocks.at(0).caption;
    };
    EXPECT_EQ(firstCaption(31), L"LONDON");
    files.files[user] = files.files[kClockFile];  // the same stamp
    files.files[user].file.rows[0].caption = L"ATLANTIS";
    EXPECT_EQ(firstCaption(32), L"ATLANTIS");
    files.files.erase(user);
    EXPECT_EQ(firstCaption(33), L"LONDON");
}

TEST_F(ClockPlayerTest, KeysAndPointerRaiseTheMovieCommands) {
    // Key down (the platform may know it to repeat), key up, the pointer at x, y. A held key's
    // presses are auto-repeats; the pointer's first report only sets its place.
    auto down = [&](int key, bool repeat) { return [=, this] { player->KeyDown(key, repeat); }; };
    auto up = [&](int key) { return [=, this] { player->KeyUp(key); }; };
    auto at = [&](int x, int y) { return [=, this] { player->PointerAt(x, y); }; };
    // clang-format off
    const std::tuple<std::function<void()>, const wchar_t*> steps[] = {
        {down(65, false), L"KEYDOWN"}, {down(65, false), L""}, {down(66, true), L""},
        {up(65), L"KEYUP"}, {up(66), L"KEYUP"}, {up(67), L"KEYUP"}, {down(65, false), L"KEYDOWN"},
        {at(960, 540), L""}, {at(960, 540), L""}, {at(961, 540), L"MOUSEMOVE"},
        {at(961, 539), L"MOUSEMOVE"}, {at(-5, -7), L"MOUSEMOVE"}};
    // clang-format on
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        commands.clear();
        std::get<0>(steps[i])();
        EXPECT_EQ(commands, std::get<1>(steps[i])) << "step " << i;
    }
    // The host may end the player while it handles a command.
    player = std::make_unique<ClockPlayer>(
        env, files, surface, [&](const std::wstring&, const std::wstring&) { player.reset(); });
    player->KeyUp(1);
    EXPECT_FALSE(player);
}

TEST_F(ClockPlayerTest, FailuresReachThePlatformAndAreNotLeftHalfDrawn) {
    surface.canPaint = false;  // no still layer: nothing more drawn, and tried at the next tick
    for (int i = 0; i < 2; ++i) {
        Tick();
        EXPECT_EQ(surface.stills, 1);
        EXPECT_TRUE(surface.calls.empty());
    }
    surface.canPaint = true;
    Tick();
    EXPECT_EQ(surface.calls.size(), 3u);
    env.now += 1000;
    surface.failPaint = true;
    EXPECT_THROW(Tick(), AppError);
    surface.failPaint = false;
    Tick();  // the same second: all of it again
    EXPECT_EQ(surface.stills, 1);
    EXPECT_EQ(surface.calls.back(), (Call{"present", {{0, 0, 1920, 1080}}}));
}

}  // namespace
