#include <gtest/gtest.h>

#include "platform/AppError.h"
#include "player/StoredSettings.h"

namespace {

// Reads the block the way the control's persistence does, independently of the parser.
struct Cursor {
    const std::vector<std::uint8_t>& b;
    std::size_t pos = 0;
    std::uint32_t U16() {
        const std::uint32_t v = b.at(pos) | (b.at(pos + 1) << 8);
        pos += 2;
        return v;
    }
    std::uint32_t U32() { return U16() | (U16() << 16); }
    std::wstring Text() {
        EXPECT_EQ(U16(), 8u) << "text tag at " << pos - 2;
        const std::uint32_t count = U32();
        std::wstring s;
        for (std::uint32_t i = 0; i < count / 2; ++i) s.push_back(static_cast<wchar_t>(U16()));
        EXPECT_FALSE(s.empty());
        EXPECT_EQ(s.back(), L'\0') << "terminator";
        s.pop_back();
        return s;
    }
    int Flag() {
        EXPECT_EQ(U16(), 11u) << "flag tag at " << pos - 2;
        return static_cast<std::int16_t>(U16());
    }
};

TEST(StoredSettingsTest, SaverBlockFieldByField) {
    const auto bytes = BuildStoredSettings(SaverPlayerProperties());
    ASSERT_EQ(bytes.size(), 174u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "gUfU");

    Cursor c{bytes};
    EXPECT_EQ(c.U32(), 0x55665567u);
    EXPECT_EQ(c.U32(), 768u);
    EXPECT_EQ(c.U32(), 15266u);
    EXPECT_EQ(c.U32(), 14208u);
    EXPECT_EQ(c.Text(), L"");         // FlashVars
    EXPECT_EQ(c.Text(), L" ");        // Movie
    EXPECT_EQ(c.Text(), L" ");        // Src
    EXPECT_EQ(c.Text(), L"Window");   // WMode
    EXPECT_EQ(c.Flag(), -1);          // Play
    EXPECT_EQ(c.Flag(), -1);          // Loop
    EXPECT_EQ(c.Text(), L"High");     // Quality
    EXPECT_EQ(c.Text(), L"");         // SAlign
    EXPECT_EQ(c.Flag(), 0);           // Menu
    EXPECT_EQ(c.Text(), L"");         // Base
    EXPECT_EQ(c.Text(), L"always");   // AllowScriptAccess
    EXPECT_EQ(c.Text(), L"ShowAll");  // Scale
    EXPECT_EQ(c.Flag(), 0);           // DeviceFont
    EXPECT_EQ(c.Flag(), 0);           // EmbedMovie
    EXPECT_EQ(c.Text(), L"");         // BGColor
    EXPECT_EQ(c.Text(), L"");         // SWRemote
    EXPECT_EQ(c.pos, 174u);
    // The Movie text: a byte count of 4 (one space and the terminator), then 20 00 00 00.
    EXPECT_EQ(bytes[24], 8);
    EXPECT_EQ(bytes[26], 4);
    EXPECT_EQ(bytes[30], 0x20);
}

TEST(StoredSettingsTest, ParsesBackEveryProperty) {
    const PlayerProperties saver = SaverPlayerProperties();
    const PlayerProperties parsed = ParseStoredSettings(BuildStoredSettings(saver));
    EXPECT_EQ(parsed, saver);
    EXPECT_TRUE(parsed.Play && parsed.Loop);
    EXPECT_FALSE(parsed.Menu);
    EXPECT_EQ(parsed.Quality, L"High");
    EXPECT_EQ(parsed.Scale, L"ShowAll");
    EXPECT_TRUE(parsed.BGColor.empty());

    PlayerProperties other = saver;
    other.Movie = L"C:\\Saver\\PELLOXSS1.SWF";
    other.Menu = true;
    other.BGColor = L"#000000";
    EXPECT_EQ(ParseStoredSettings(BuildStoredSettings(other)), other);
}

TEST(StoredSettingsTest, RejectsDamagedBlocks) {
    const auto good = BuildStoredSettings(SaverPlayerProperties());
    auto expectRejected = [](std::vector<std::uint8_t> bytes, const char* what) {
        EXPECT_THROW(ParseStoredSettings(bytes), AppError) << what;
    };
    expectRejected({}, "empty");
    expectRejected({good.begin(), good.end() - 1}, "truncated");
    auto longer = good;
    longer.push_back(0);
    expectRejected(longer, "trailing byte");
    auto badSignature = good;
    badSignature[0] = 'x';
    expectRejected(badSignature, "signature");
    auto badTag = good;
    badTag[16] = 11;  // FlashVars tagged as a flag
    expectRejected(badTag, "tag");
    auto hugeText = good;
    hugeText[21] = 0x7F;  // FlashVars byte count far beyond the block
    expectRejected(hugeText, "oversized text");
    auto oddText = good;
    oddText[18] = 3;  // odd byte count
    expectRejected(oddText, "odd text length");
}

}  // namespace
