// The player drawing into a window on the X display: after seconds of redrawing only where
// the hands were and are, the window shows what drawing everything again shows, five faces.
#include <gtest/gtest.h>
// After GoogleTest: Xlib's None macro would replace its name.
#include <X11/Xutil.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "contract/SaverProgramDriver.h"
#include "platform/TextEncoding.h"
#include "platform/linux/player/CairoCanvas.h"
#include "platform/linux/player/X11PlayerWindow.h"
#include "player/OffsetText.h"
#include "support/ScriptCaptions.h"
#include "support/TempFolder.h"

// Fontconfig, cairo and pango keep their caches for the life of the process.
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libcairo.so\nleak:libpango\nleak:libharfbuzz.so\n";
}

namespace {

using namespace std::chrono_literals;

TEST(X11PlayerTest, SecondsOfHandsShowWhatDrawingEverythingShows) {
    const TempFolder folder("x11-player");
    folder.Write("pellox2.xml", kClockFile);
    const std::wstring movie = utf8::ToWide(folder.Path().string()) + L"\\" + kMovieFileName;
    Display* display = XOpenDisplay(nullptr);  // the test session's display
    ASSERT_NE(display, nullptr);
    const Window host =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 800, 450, 0, 0, 0xff00ff);
    XMapWindow(display, host);
    auto player = X11PlayerWindow::Attach(display, host);
    player->SetMovie(movie);
    XImage* image = nullptr;
    auto shot = [&] {  // the window's colours
        if (image) XDestroyImage(image);
        XSync(display, False);
        image = XGetImage(display, host, 0, 0, 800, 450, AllPlanes, ZPixmap);
        std::vector<unsigned long> colours;
        for (int i = 0; image && i < 800 * 450; ++i)
            colours.push_back(XGetPixel(image, i % 800, i / 800) & 0xffffff);
        return colours;
    };
    bool same = false;  // the second may turn between the two looks: a few tries
    for (int attempt = 0; attempt < 3 && !same; ++attempt) {
        const std::uint64_t frames = player->Player().FramesDrawn() + 3;
        for (const auto end = std::chrono::steady_clock::now() + 30s;
             player->Player().FramesDrawn() < frames && std::chrono::steady_clock::now() < end;
             std::this_thread::sleep_for(10ms)) {
            for (XEvent event; XPending(display);)
                XNextEvent(display, &event), player->HandleEvent(event);
            player->Tick();
        }
        const auto partial = shot();
        player->SetMovie(movie);  // everything drawn again
        player->Tick();
        same = !partial.empty() && shot() == partial;
    }
    ASSERT_TRUE(same);
    const auto& clocks = player->Player().Picture().clocks;
    ASSERT_EQ(clocks.size(), 5u);
    EXPECT_EQ(clocks[0].caption, L"A");       // read from the clock file beside the movie
    for (const ClockView& clock : clocks) {   // the face's fill at 65% of the radius, all round,
        const PointF c = clock.place.centre;  // and the orange second hand crossing half of it
        int face = 0, second = 0;
        for (int k = 0; k < 720; ++k) {
            auto at = [&](float share) {
                const float r = share * clock.place.radius;
                return XGetPixel(image, c.x + r * std::cos(k * 0.00873f),
                                 c.y + r * std::sin(k * 0.00873f));
            };
            face += at(0.65f) == 0x161c2a;
            second += (at(0.5f) >> 16) > (at(0.5f) & 0xff) + 40;
        }
        EXPECT_GE(face, 500) << clock.row;
        EXPECT_GE(second, 1) << clock.row;
    }
    XDestroyImage(image);
    player.reset();
    XDestroyWindow(display, host);
    XCloseDisplay(display);
}

// Every script has glyphs; a long caption stays inside its box (shrunk, then cut).
TEST(CairoCanvasTest, EveryScriptHasGlyphsAndALongCaptionStaysInItsBox) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 600, 40);
    cairo_t* cr = cairo_create(surface);
    CairoCanvas canvas(cr, true);
    for (const std::wstring& caption : kScriptCaptions) {
        canvas.DrawText(caption, {0, 0, 600, 40}, 20, true, {255, 255, 255});
        EXPECT_EQ(canvas.LastUnknownGlyphs(), 0) << utf8::FromWide(caption);
    }
    for (const std::wstring& caption : {std::wstring(60, L'W'), std::wstring(60, L'\u6771')}) {
        canvas.Clear({0, 0, 0});
        canvas.DrawText(caption, {200, 0, 200, 40}, 20, true, {255, 255, 255});
        cairo_surface_flush(surface);
        const auto* pixels =
            reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface));
        int outside = 0, inside = 0;
        for (int i = 0; i < 600 * 40; ++i)
            (i % 600 < 200 || i % 600 >= 400 ? outside : inside) += (pixels[i] & 0xffffff) != 0;
        EXPECT_EQ(outside, 0);
        EXPECT_GT(inside, 0);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

}  // namespace
