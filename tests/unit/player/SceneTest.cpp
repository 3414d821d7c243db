#include <gtest/gtest.h>

#include <cmath>

#include "FakeClockEnvironment.h"
#include "player/Scene.h"

namespace {

constexpr std::int64_t kMonday2024 = 1'704'067'200'000;  // 2024-01-01 00:00:00 UTC, a Monday

std::int64_t At(int h, int m, int s) {
    return kMonday2024 + ((h * 60LL + m) * 60 + s) * 1000;
}

class SceneTest : public testing::Test {
  protected:
    Scene Build(const ClockFile& file, int w, int h, std::int64_t utc,
                std::vector<RectI> monitors = {}) {
        monitors_ = std::move(monitors);
        SceneInput in;
        in.width = w;
        in.height = h;
        in.monitors = monitors_;
        in.utcMs = utc;
        in.file = &file;
        in.environment = &env;
        Scene scene;
        BuildScene(in, scene);
        return scene;
    }
    static bool Inside(const RectF& r, const RectI& m) {
        return r.left >= m.left && r.top >= m.top && r.Right() <= m.right && r.Bottom() <= m.bottom;
    }
    static bool Overlap(const RectF& a, const RectF& b) {
        return a.left < b.Right() && b.left < a.Right() && a.top < b.Bottom() && b.top < a.Bottom();
    }

    FakeClockEnvironment env;
    std::vector<RectI> monitors_;
};

TEST_F(SceneTest, HandsAtKnownTimes) {
    const ClockFile file =
        FiveClocks(L"GMT+00:00", L"GMT+05:30", L"GMT+05:45", L"GMT-00:30", L"GMT-05:00");
    const Scene scene = Build(file, 1920, 1080, At(10, 15, 30));
    ASSERT_EQ(scene.clocks.size(), 5u);
    struct Expect {
        int h, m, s;
        const wchar_t* text;
    };
    const Expect expected[] = {{10, 15, 30, L"10:15"},
                               {15, 45, 30, L"15:45"},
                               {16, 0, 30, L"16:00"},
                               {9, 45, 30, L"09:45"},
                               {5, 15, 30, L"05:15"}};
    for (int i = 0; i < 5; ++i) {
        const ClockView& v = scene.clocks[i];
        const Expect& e = expected[i];
        EXPECT_EQ(v.row, i);
        EXPECT_EQ(v.hour, e.h) << i;
        EXPECT_EQ(v.minute, e.m) << i;
        EXPECT_EQ(v.second, e.s) << i;
        EXPECT_EQ(v.timeText, e.text) << i;
        EXPECT_DOUBLE_EQ(v.secondAngle, e.s * 6.0) << i;
        EXPECT_DOUBLE_EQ(v.minuteAngle, e.m * 6.0 + e.s / 10.0) << i;
        EXPECT_DOUBLE_EQ(v.hourAngle, (e.h % 12) * 30.0 + e.m / 2.0 + e.s / 120.0) << i;
        EXPECT_EQ(v.dayText, L"Mon") << i;
        EXPECT_EQ(v.dayDelta, 0);
    }
    EXPECT_EQ(scene.clocks[0].caption, L"LONDON");
    EXPECT_EQ(scene.clocks[4].caption, L"Local Time");
    EXPECT_TRUE(scene.note.empty());

    // The second hand is drawn where its angle says: at 30 s it points straight down.
    const ClockView& london = scene.clocks[0];
    bool found = false;
    for (const SceneItem& item : scene.items) {
        const auto* line = std::get_if<Line>(&item);
        if (!line || line->color != Rgb{255, 138, 61}) continue;
        if (std::abs(line->to.x - london.centre.x) < 0.5f &&
            line->to.y > london.centre.y + 0.8f * london.radius)
            found = true;
    }
    EXPECT_TRUE(found);
}

TEST_F(SceneTest, DaysRelativeToTheLocalClock) {
    // 23:30 UTC: New York (local) is still Monday, Tokyo already Tuesday.
    Scene scene =
        Build(FiveClocks(L"GMT+00:00", L"GMT+09:00", L"GMT+14:00", L"GMT-10:00", L"GMT-05:00"),
              1920, 1080, At(23, 30, 0));
    EXPECT_EQ(scene.clocks[0].dayDelta, 0);
    EXPECT_EQ(scene.clocks[1].dayDelta, 1);
    EXPECT_EQ(scene.clocks[1].dayText, L"Tue  +1");
    EXPECT_EQ(scene.clocks[1].timeText, L"08:30");
    EXPECT_EQ(scene.clocks[2].dayDelta, 1);
    EXPECT_EQ(scene.clocks[3].dayDelta, 0);
    EXPECT_EQ(scene.clocks[3].timeText, L"13:30");

    // Local ahead of UTC: zones west of Greenwich fall on the day before.
    scene = Build(FiveClocks(L"GMT+00:00", L"GMT-10:00", L"GMT+09:00", L"GMT+08:00", L"GMT+09:00"),
                  1920, 1080, At(0, 30, 0) - 86'400'000LL);  // Sunday 00:30 UTC
    EXPECT_EQ(scene.clocks[4].dayText, L"Sun");
    EXPECT_EQ(scene.clocks[1].dayDelta, -1);
    EXPECT_EQ(scene.clocks[1].dayText, L"Sat  \u22121");
    EXPECT_EQ(scene.clocks[1].timeText, L"14:30");
    EXPECT_EQ(scene.clocks[1].weekday, 6);
}

TEST_F(SceneTest, TwelveHourClockFollowsTheLocale) {
    env.use24 = false;
    const Scene scene =
        Build(FiveClocks(L"GMT+00:00", L"GMT+13:07", L"GMT+12:00", L"GMT-11:59", L"GMT+00:05"),
              1920, 1080, At(0, 0, 0));
    EXPECT_EQ(scene.clocks[0].timeText, L"12:00 AM");
    EXPECT_EQ(scene.clocks[1].timeText, L"1:07 PM");
    EXPECT_EQ(scene.clocks[2].timeText, L"12:00 PM");
    EXPECT_EQ(scene.clocks[3].timeText, L"12:01 PM");
    EXPECT_EQ(scene.clocks[4].timeText, L"12:05 AM");
}

TEST_F(SceneTest, LayoutAtCommonShapes) {
    struct Case {
        int w, h;
        int rows;         // distinct rows of faces expected
        float minRadius;  // large enough to read
    };
    const Case cases[] = {{1920, 1080, 1, 120}, {1024, 768, 2, 80}, {2560, 1080, 1, 140},
                          {1080, 1920, 3, 140}, {150, 110, 2, 10},  {800, 600, 2, 60}};
    for (const Case& c : cases) {
        const Scene scene = Build(FiveClocks(), c.w, c.h, At(12, 0, 0));
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        ASSERT_EQ(scene.clocks.size(), 5u);
        const RectI screen{0, 0, c.w, c.h};
        std::vector<float> rowTops;
        for (std::size_t i = 0; i < 5; ++i) {
            const ClockView& v = scene.clocks[i];
            EXPECT_EQ(v.row, static_cast<int>(i));
            EXPECT_TRUE(Inside(v.cell, screen));
            EXPECT_GE(v.radius, c.minRadius);
            for (std::size_t j = 0; j < i; ++j) EXPECT_FALSE(Overlap(v.cell, scene.clocks[j].cell));
            if (std::find(rowTops.begin(), rowTops.end(), v.cell.top) == rowTops.end())
                rowTops.push_back(v.cell.top);
        }
        EXPECT_EQ(static_cast<int>(rowTops.size()), c.rows);
        // Centred, with the aspect of the design kept: every face is a circle of one size.
        const RectF comp = scene.compositions.at(0);
        const float drift = DriftAmplitude(c.w, c.h) + 0.5f;
        EXPECT_NEAR(comp.left + comp.width / 2, c.w / 2.0f, drift);
        EXPECT_NEAR(comp.top + comp.height / 2, c.h / 2.0f, drift);
        for (const ClockView& v : scene.clocks) EXPECT_FLOAT_EQ(v.radius, scene.clocks[0].radius);
    }
}

TEST_F(SceneTest, OneCompositionPerMonitor) {
    // A 1920x1080 monitor and a 1280x1024 one to its right; the window covers both.
    const std::vector<RectI> monitors{{0, 0, 1920, 1080}, {1920, 0, 3200, 1024}};
    const Scene scene = Build(FiveClocks(), 3200, 1080, At(8, 0, 0), monitors);
    ASSERT_EQ(scene.clocks.size(), 10u);
    ASSERT_EQ(scene.compositions.size(), 2u);
    for (const ClockView& v : scene.clocks) {
        ASSERT_TRUE(v.monitor == 0 || v.monitor == 1);
        EXPECT_TRUE(Inside(v.cell, monitors[v.monitor])) << v.monitor << " row " << v.row;
    }
    for (int m = 0; m < 2; ++m) {
        int rows = 0;
        for (const ClockView& v : scene.clocks) rows += v.monitor == m ? 1 << v.row : 0;
        EXPECT_EQ(rows, 0b11111) << "all five rows on monitor " << m;
    }
    // A monitor partly outside the window is clipped to it; one wholly outside is ignored.
    const Scene clipped =
        Build(FiveClocks(), 1920, 1080, At(8, 0, 0), {{-100, 0, 1920, 1080}, {1920, 0, 3000, 900}});
    ASSERT_EQ(clipped.clocks.size(), 5u);
    for (const ClockView& v : clipped.clocks) EXPECT_TRUE(Inside(v.cell, {0, 0, 1920, 1080}));
}

TEST_F(SceneTest, DriftStaysSmallSlowAndOnScreen) {
    const ClockFile file = FiveClocks();
    const float amplitude = DriftAmplitude(1920, 1080);
    EXPECT_GE(amplitude, 8.0f);
    EXPECT_LE(amplitude, 30.0f);
    const RectF still = [&] {
        Scene s = Build(file, 1920, 1080, At(0, 0, 0));
        const PointF d = DriftAt(At(0, 0, 0), amplitude);
        RectF r = s.compositions[0];
        r.left -= d.x;
        r.top -= d.y;
        return r;
    }();
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    RectF previous = still;
    for (int minute = 0; minute <= 24 * 60; ++minute) {
        const Scene s = Build(file, 1920, 1080, kMonday2024 + minute * 60'000LL);
        const RectF c = s.compositions[0];
        const float dx = c.left - still.left, dy = c.top - still.top;
        ASSERT_LE(std::abs(dx), amplitude + 0.01f) << minute;
        ASSERT_LE(std::abs(dy), amplitude + 0.01f) << minute;
        for (const ClockView& v : s.clocks) ASSERT_TRUE(Inside(v.cell, {0, 0, 1920, 1080}));
        if (minute > 0) {
            const float step = std::hypot(c.left - previous.left, c.top - previous.top);
            ASSERT_LE(step, 6.0f) << "a few pixels a minute, at minute " << minute;
        }
        previous = c;
        minX = std::min(minX, dx), maxX = std::max(maxX, dx);
        minY = std::min(minY, dy), maxY = std::max(maxY, dy);
    }
    // Over a day the picture really wanders across most of its margin.
    EXPECT_GT(maxX - minX, amplitude);
    EXPECT_GT(maxY - minY, amplitude);
}

TEST_F(SceneTest, BrokenClockFiles) {
    env.localOffset = 60;
    const std::int64_t now = At(12, 0, 0);

    // No file at all, or one that is not well-formed: the local clock and a line about it.
    for (ClockFileState state : {ClockFileState::Missing, ClockFileState::Malformed}) {
        const Scene s = Build(ClockFile{state, {}}, 1920, 1080, now);
        ASSERT_EQ(s.clocks.size(), 1u);
        EXPECT_EQ(s.clocks[0].row, kLocalRow);
        EXPECT_EQ(s.clocks[0].timeText, L"13:00");
        EXPECT_NE(s.note.find(L"settings"), std::wstring::npos);
        bool noteDrawn = false;
        for (const SceneItem& item : s.items)
            if (const auto* t = std::get_if<Text>(&item)) noteDrawn |= t->text == s.note;
        EXPECT_TRUE(noteDrawn);
    }
    EXPECT_NE(Build(ClockFile{ClockFileState::Missing, {}}, 1920, 1080, now).note,
              Build(ClockFile{ClockFileState::Malformed, {}}, 1920, 1080, now).note);

    // Fewer rows: those read, then the system's local clock.
    ClockFile two{ClockFileState::FewerRows, {{L"A", L"GMT+02:00"}, {L"B", L"GMT-03:00"}}};
    Scene s = Build(two, 1920, 1080, now);
    ASSERT_EQ(s.clocks.size(), 3u);
    EXPECT_EQ(s.clocks[0].timeText, L"14:00");
    EXPECT_EQ(s.clocks[1].timeText, L"09:00");
    EXPECT_EQ(s.clocks[2].row, kLocalRow);
    EXPECT_EQ(s.clocks[2].timeText, L"13:00");
    EXPECT_NE(s.note.find(L"2 of 5"), std::wstring::npos);

    // An unreadable offset shows UTC and says so; the other clocks are unaffected.
    ClockFile bad = FiveClocks(L"GMT+0100", L"GMT-05:00", L"", L"GMT+08:00", L"Local");
    s = Build(bad, 1920, 1080, now);
    ASSERT_EQ(s.clocks.size(), 5u);
    EXPECT_FALSE(s.clocks[0].offsetUsable);
    EXPECT_EQ(s.clocks[0].timeText, L"12:00");
    EXPECT_NE(s.clocks[0].dayText.find(L"UTC"), std::wstring::npos);
    EXPECT_TRUE(s.clocks[1].offsetUsable);
    EXPECT_EQ(s.clocks[1].timeText, L"07:00");
    EXPECT_FALSE(s.clocks[2].offsetUsable);
    EXPECT_FALSE(s.clocks[4].offsetUsable);
    EXPECT_EQ(s.clocks[4].timeText, L"12:00");

    // An empty caption shows the offset; a row with neither shows its row name.
    ClockFile blank = FiveClocks();
    blank.rows[1].caption = L"";
    blank.rows[2] = {L"  ", L"??"};
    s = Build(blank, 1920, 1080, now);
    EXPECT_EQ(s.clocks[1].caption, L"GMT-05:00");
    EXPECT_EQ(s.clocks[2].caption, L"Zone 3");

    // Degenerate sizes draw nothing and do not fail.
    EXPECT_TRUE(Build(FiveClocks(), 0, 0, now).items.empty());
    EXPECT_TRUE(Build(FiveClocks(), -5, 100, now).clocks.empty());
    EXPECT_EQ(Build(FiveClocks(), 1, 1, now).clocks.size(), 5u);
}

class RecordingCanvas : public Canvas {
  public:
    std::vector<std::string> calls;
    void Clear(Rgb) override { calls.push_back("clear"); }
    void FillCircle(PointF, float, Rgb) override { calls.push_back("fill"); }
    void StrokeCircle(PointF, float, float, Rgb) override { calls.push_back("stroke"); }
    void DrawLine(PointF, PointF, float, Rgb) override { calls.push_back("line"); }
    void DrawText(const std::wstring&, RectF, float, bool, Rgb) override {
        calls.push_back("text");
    }
};

TEST_F(SceneTest, PaintsInOrderAndReusesStorage) {
    SceneInput in;
    const ClockFile file = FiveClocks();
    in.width = 1920;
    in.height = 1080;
    in.file = &file;
    in.environment = &env;
    in.utcMs = At(1, 2, 3);
    Scene scene;
    BuildScene(in, scene);
    RecordingCanvas canvas;
    PaintScene(scene, canvas);
    ASSERT_EQ(canvas.calls.size(), scene.items.size() + 1);
    EXPECT_EQ(canvas.calls.front(), "clear");
    EXPECT_EQ(std::count(canvas.calls.begin(), canvas.calls.end(), "stroke"), 5);
    // Texts: caption, time and day of each clock.
    EXPECT_EQ(std::count(canvas.calls.begin(), canvas.calls.end(), "text"), 15);

    // Faces first, then the hands, which stay inside their faces.
    ASSERT_EQ(scene.items.size() - scene.firstMoving, 5u * 5u);
    for (std::size_t i = scene.firstMoving; i < scene.items.size(); ++i) {
        const auto* line = std::get_if<Line>(&scene.items[i]);
        if (!line) continue;
        bool inside = false;
        for (const ClockView& v : scene.clocks) {
            const RectF& b = v.faceBounds;
            inside |= line->from.x >= b.left && line->to.x <= b.Right() && line->to.x >= b.left &&
                      line->from.y >= b.top && line->to.y >= b.top && line->to.y <= b.Bottom();
        }
        EXPECT_TRUE(inside) << i;
    }
    // The still part (faces, captions, times, drift) stays the same for a whole minute.
    Scene previous, later;
    in.utcMs = At(1, 3, 0);
    BuildScene(in, previous);
    int changes = 0;
    for (int second = 1; second < 60; ++second) {
        in.utcMs = At(1, 3, second);
        BuildScene(in, later);
        ASSERT_EQ(later.firstMoving, previous.firstMoving);
        changes += !std::equal(later.items.begin(), later.items.begin() + later.firstMoving,
                               previous.items.begin());
        EXPECT_FALSE(std::equal(later.items.begin(), later.items.end(), previous.items.begin()));
        std::swap(previous, later);
    }
    EXPECT_EQ(changes, 0);
    in.utcMs = At(1, 2, 3);

    const auto capacity = scene.items.capacity();
    const auto* storage = scene.items.data();
    for (int i = 0; i < 100; ++i) {
        in.utcMs += 1000;
        BuildScene(in, scene);
    }
    EXPECT_EQ(scene.items.capacity(), capacity);
    EXPECT_EQ(scene.items.data(), storage);

    // At preview size the small texts are left out but every face is there.
    in.width = 150;
    in.height = 110;
    BuildScene(in, scene);
    int strokes = 0;
    for (const SceneItem& item : scene.items) strokes += std::holds_alternative<StrokeCircle>(item);
    EXPECT_EQ(strokes, 5);
    for (const SceneItem& item : scene.items)
        if (const auto* t = std::get_if<Text>(&item)) {
            EXPECT_GE(t->pixelHeight, 6.0f);
        }
}

}  // namespace

namespace {

TEST(SceneBoundsTest, ItemsAndUnions) {
    const RectF line = Bounds(Line{{10, 50}, {30, 20}, 4, {}});
    EXPECT_FLOAT_EQ(line.left, 7);  // half the width and a pixel to spare
    EXPECT_FLOAT_EQ(line.top, 17);
    EXPECT_FLOAT_EQ(line.Right(), 33);
    EXPECT_FLOAT_EQ(line.Bottom(), 53);
    const RectF circle = Bounds(FillCircle{{100, 100}, 10, {}});
    EXPECT_FLOAT_EQ(circle.left, 89);
    EXPECT_FLOAT_EQ(circle.width, 22);
    const RectF ring = Bounds(StrokeCircle{{0, 0}, 10, 2, {}});
    EXPECT_FLOAT_EQ(ring.left, -12);
    const RectF both = Union(line, circle);
    EXPECT_FLOAT_EQ(both.left, 7);
    EXPECT_FLOAT_EQ(both.top, 17);
    EXPECT_FLOAT_EQ(both.Right(), 111);
    EXPECT_FLOAT_EQ(both.Bottom(), 111);
    EXPECT_EQ(Union(RectF{}, circle), circle);  // an empty rectangle adds nothing
    EXPECT_EQ(Union(circle, RectF{}), circle);
}

}  // namespace

namespace {

TEST(SceneBackgroundTest, HostColourOrTheOwn) {
    EXPECT_EQ(ParseBackgroundColor(L"#102030"), (Rgb{0x10, 0x20, 0x30}));
    EXPECT_EQ(ParseBackgroundColor(L"FFfF00"), (Rgb{255, 255, 0}));
    for (const wchar_t* text : {L"", L"#", L"#12345", L"#1234567", L"#12345G", L"red"})
        EXPECT_FALSE(ParseBackgroundColor(text).has_value()) << testing::PrintToString(text);

    FakeClockEnvironment env;
    const ClockFile file = FiveClocks();
    SceneInput in;
    in.width = 640;
    in.height = 480;
    in.file = &file;
    in.environment = &env;
    Scene own, host;
    BuildScene(in, own);
    in.background = Rgb{1, 2, 3};
    BuildScene(in, host);
    EXPECT_EQ(host.background, (Rgb{1, 2, 3}));
    EXPECT_NE(own.background, host.background);
}

}  // namespace
