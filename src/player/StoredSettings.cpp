#include "player/StoredSettings.h"

#include "platform/AppError.h"

namespace {

constexpr std::uint16_t kTagText = 8;
constexpr std::uint16_t kTagFlag = 11;

// The block's texts are UTF-16: wide text as it is on Windows, with surrogate pairs for the
// characters beyond the Basic Multilingual Plane where wide characters are UTF-32.
std::u16string ToUtf16(const std::wstring& text) {
    std::u16string units;
    for (wchar_t c : text) {
        const auto code = static_cast<std::uint32_t>(c);
        if (code > 0xFFFF) {
            units.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            units.push_back(static_cast<char16_t>(code));
        }
    }
    return units;
}

std::wstring FromUtf16(const std::u16string& units) {
    if constexpr (sizeof(wchar_t) == 2) return std::wstring(units.begin(), units.end());
    std::wstring text;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t c = units[i];
        const bool pair = c >= 0xD800 && c < 0xDC00 && i + 1 < units.size() &&
                          units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000;
        text.push_back(
            pair ? static_cast<wchar_t>(0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00))
                 : static_cast<wchar_t>(c));
    }
    return text;
}

class Writer {
  public:
    void U16(std::uint16_t v) {
        bytes.push_back(static_cast<std::uint8_t>(v & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void U32(std::uint32_t v) {
        U16(static_cast<std::uint16_t>(v & 0xFFFF));
        U16(static_cast<std::uint16_t>(v >> 16));
    }
    void Text(const std::wstring& text) {
        const std::u16string units = ToUtf16(text);
        U16(kTagText);
        U32(static_cast<std::uint32_t>((units.size() + 1) * 2));
        for (char16_t c : units) U16(c);
        U16(0);
    }
    void Flag(bool value) {
        U16(kTagFlag);
        U16(value ? 0xFFFF : 0);
    }
    std::vector<std::uint8_t> bytes;
};

class Reader {
  public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::uint16_t U16() {
        Need(2);
        const auto v = static_cast<std::uint16_t>(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
        pos_ += 2;
        return v;
    }
    std::uint32_t U32() {
        const std::uint32_t low = U16();
        return low | (static_cast<std::uint32_t>(U16()) << 16);
    }
    std::wstring Text() {
        Tag(kTagText);
        const std::uint32_t count = U32();
        if (count < 2 || count % 2 != 0) Fail(L"text length");
        Need(count);
        std::u16string units;
        for (std::uint32_t i = 0; i + 2 < count; i += 2) units.push_back(U16());
        if (U16() != 0) Fail(L"text terminator");
        return FromUtf16(units);
    }
    bool Flag() {
        Tag(kTagFlag);
        const std::uint16_t v = U16();
        if (v != 0 && v != 0xFFFF) Fail(L"flag value");
        return v != 0;
    }
    bool AtEnd() const { return pos_ == bytes_.size(); }

    [[noreturn]] static void Fail(const std::wstring& what) {
        throw AppError(errnum::InvalidProcedureCall, L"Invalid player settings: " + what);
    }

  private:
    void Need(std::size_t n) const {
        if (bytes_.size() - pos_ < n) Fail(L"truncated");
    }
    void Tag(std::uint16_t expected) {
        if (U16() != expected) Fail(L"unexpected value type");
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

}  // namespace

PlayerProperties SaverPlayerProperties() {
    PlayerProperties p;
    p.width = 15266;
    p.height = 14208;
    p.Movie = L" ";
    p.Src = L" ";
    p.WMode = L"Window";
    p.Play = true;
    p.Loop = true;
    p.Quality = L"High";
    p.Menu = false;
    p.AllowScriptAccess = L"always";
    p.Scale = L"ShowAll";
    return p;
}

std::vector<std::uint8_t> BuildStoredSettings(const PlayerProperties& p) {
    Writer w;
    w.U32(kStoredSettingsSignature);
    w.U32(kStoredSettingsVersion);
    w.U32(static_cast<std::uint32_t>(p.width));
    w.U32(static_cast<std::uint32_t>(p.height));
    w.Text(p.FlashVars);
    w.Text(p.Movie);
    w.Text(p.Src);
    w.Text(p.WMode);
    w.Flag(p.Play);
    w.Flag(p.Loop);
    w.Text(p.Quality);
    w.Text(p.SAlign);
    w.Flag(p.Menu);
    w.Text(p.Base);
    w.Text(p.AllowScriptAccess);
    w.Text(p.Scale);
    w.Flag(p.DeviceFont);
    w.Flag(p.EmbedMovie);
    w.Text(p.BGColor);
    w.Text(p.SWRemote);
    return std::move(w.bytes);
}

PlayerProperties ParseStoredSettings(std::span<const std::uint8_t> bytes) {
    Reader r(bytes);
    if (r.U32() != kStoredSettingsSignature) Reader::Fail(L"signature");
    if (r.U32() != kStoredSettingsVersion) Reader::Fail(L"version");
    PlayerProperties p;
    p.width = static_cast<std::int32_t>(r.U32());
    p.height = static_cast<std::int32_t>(r.U32());
    p.FlashVars = r.Text();
    p.Movie = r.Text();
    p.Src = r.Text();
    p.WMode = r.Text();
    p.Play = r.Flag();
    p.Loop = r.Flag();
    p.Quality = r.Text();
    p.SAlign = r.Text();
    p.Menu = r.Flag();
    p.Base = r.Text();
    p.AllowScriptAccess = r.Text();
    p.Scale = r.Text();
    p.DeviceFont = r.Flag();
    p.EmbedMovie = r.Flag();
    p.BGColor = r.Text();
    p.SWRemote = r.Text();
    if (!r.AtEnd()) Reader::Fail(L"trailing bytes");
    return p;
}
