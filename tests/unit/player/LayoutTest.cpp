#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "FakeClockEnvironment.h"
#include "player/Layout.h"

namespace {

TEST(LayoutTest, ACompositionOnEachMonitorTheWindowCoversWhole) {
    const RectI left{0, 0, 1920, 1080}, right{1920, 0, 3200, 1024}, preview{0, 0, 320, 240};
    const std::tuple<int, std::vector<RectI>, std::vector<RectI>> cases[] = {
        {1920, {}, {left}},                                           // none known
        {1920, {left}, {left}},                                       // one
        {3200, {left, right}, {left, right}},                         // two
        {1920, {left, right}, {left}},                                // one outside the window
        {2400, {left, right}, {left}},                                // one partly covered
        {320, {{-50, -60, 1870, 1020}}, {preview}},                   // a preview inside one
        {320, {{-100, 0, 200, 240}, {200, 0, 500, 240}}, {preview}},  // one across two
    };
    for (const auto& [width, monitors, areas] : cases)
        EXPECT_EQ(CompositionAreas(width, width == 320 ? 240 : 1080, monitors), areas) << width;
}

TEST(LayoutTest, CellsFitTheAreaLargeAndApart) {
    const std::tuple<int, int, std::size_t, float> cases[] = {
        {1920, 1080, 1, 120}, {1024, 768, 2, 80}, {2560, 1080, 1, 140},
        {1080, 1920, 3, 140}, {150, 110, 2, 10},  {800, 600, 2, 60}};
    for (const auto& [w, h, rows, minRadius] : cases) {
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        const RectI area{100, 50, 100 + w, 50 + h};
        std::vector<ClockPlace> places;
        const Composition c = LayOut(area, 3, 5, false, At(12, 0, 0), places);
        std::set<float> rowTops;
        for (const ClockPlace& p : places) {
            EXPECT_TRUE(p.cell.left >= area.left && p.cell.top >= area.top &&
                        p.cell.Right() <= area.right && p.cell.Bottom() <= area.bottom);
            EXPECT_GE(p.radius, minRadius);
            for (const ClockPlace& o : places)
                EXPECT_TRUE(&o == &p || p.cell.left >= o.cell.Right() ||
                            o.cell.left >= p.cell.Right() || p.cell.top >= o.cell.Bottom() ||
                            o.cell.top >= p.cell.Bottom());
            rowTops.insert(p.cell.top);
        }
        EXPECT_EQ(rowTops.size(), rows);
        const float drift = DriftAmplitude(w, h) + 0.5f;  // centred but for the drift
        EXPECT_NEAR(c.bounds.left + c.bounds.width / 2, 100 + w / 2.0f, drift);
        EXPECT_NEAR(c.bounds.top + c.bounds.height / 2, 50 + h / 2.0f, drift);
    }
}

TEST(LayoutTest, DriftIsSmallSlowWholeMinutesAndWanders) {
    const float amplitude = DriftAmplitude(1920, 1080);
    EXPECT_TRUE(amplitude >= 8 && amplitude <= 30) << amplitude;
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    for (const std::int64_t day : {-kMonday2024, kMonday2024}) {  // before 1970 too
        PointF previous = DriftAt(day, amplitude);
        for (std::int64_t start = day; start <= day + 86'400'000; start += 60'000) {
            const PointF d = DriftAt(start, amplitude);
            ASSERT_EQ(d, DriftAt(start + 59'999, amplitude)) << start;  // whole minutes only
            ASSERT_TRUE(std::abs(d.x) <= amplitude && std::abs(d.y) <= amplitude) << start;
            ASSERT_EQ(d.x, std::trunc(d.x));
            ASSERT_LE(std::hypot(d.x - previous.x, d.y - previous.y), 6.0f) << start;
            previous = d;
            minX = std::min(minX, d.x), maxX = std::max(maxX, d.x);
            minY = std::min(minY, d.y), maxY = std::max(maxY, d.y);
        }
    }
    EXPECT_GT(maxX - minX, amplitude);  // over a day it wanders across most of its margin
    EXPECT_GT(maxY - minY, amplitude);
}

}  // namespace
