#include <gtest/gtest.h>

#include <string>

#include "platform/AppError.h"
#include "player/StoredSettings.h"

namespace {

std::vector<std::uint8_t> Bytes(std::string hex) {
    std::erase(hex, ' ');
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

// The saver's block, field by field: little-endian words, tag 8 texts (byte count with the
// terminator, UTF-16LE, terminator), tag 11 flags (-1 true, 0 false).
const std::string kSaverBlock =
    "67556655 00030000 a23b0000 80370000"              // "gUfU", 768, 15266, 14208
    "0800 02000000 0000"                               // FlashVars ""
    "0800 04000000 2000 0000"                          // Movie " "
    "0800 04000000 2000 0000"                          // Src " "
    "0800 0e000000 570069006e0064006f007700 0000"      // WMode "Window"
    "0b00 ffff 0b00 ffff"                              // Play, Loop
    "0800 0a000000 4800690067006800 0000"              // Quality "High"
    "0800 02000000 0000"                               // SAlign ""
    "0b00 0000"                                        // Menu
    "0800 02000000 0000"                               // Base ""
    "0800 0e000000 61006c0077006100790073000000"       // AllowScriptAccess "always"
    "0800 10000000 530068006f00770041006c006c00 0000"  // Scale "ShowAll"
    "0b00 0000 0b00 0000"                              // DeviceFont, EmbedMovie
    "0800 02000000 0000"                               // BGColor ""
    "0800 02000000 0000";                              // SWRemote ""

TEST(StoredSettingsTest, TheSaversBlockAndBack) {
    EXPECT_EQ(BuildStoredSettings(SaverPlayerProperties()), Bytes(kSaverBlock));
    EXPECT_EQ(ParseStoredSettings(Bytes(kSaverBlock)), SaverPlayerProperties());

    PlayerProperties other = SaverPlayerProperties();
    other.Movie = L"C:\\Saver\\\U0001F600.SWF";
    other.Menu = true;
    other.Play = false;
    other.BGColor = L"#000000";
    EXPECT_EQ(ParseStoredSettings(BuildStoredSettings(other)), other);
}

TEST(StoredSettingsTest, RejectsDamagedBlocks) {
    const auto good = Bytes(kSaverBlock);
    EXPECT_THROW(ParseStoredSettings({}), AppError);
    EXPECT_THROW(ParseStoredSettings({good.begin(), good.end() - 1}), AppError);
    EXPECT_THROW(ParseStoredSettings(Bytes(kSaverBlock + "00")), AppError);
    // A byte changed: the signature, the version, FlashVars tagged as a flag, its byte count
    // beyond the block or odd, its terminator, the Loop flag neither -1 nor 0.
    for (const auto& [at, value] :
         {std::pair{0, 'x'}, {5, 4}, {16, 11}, {21, 0x7f}, {18, 3}, {22, 1}, {71, 1}}) {
        auto bytes = good;
        bytes[at] = static_cast<std::uint8_t>(value);
        EXPECT_THROW(ParseStoredSettings(bytes), AppError) << at;
    }
}

}  // namespace
