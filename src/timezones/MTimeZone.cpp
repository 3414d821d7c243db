#include "timezones/MTimeZone.h"

#include <optional>
#include <vector>

#include "timezones/MSortRoutines.h"

namespace {

constexpr std::uint32_t kNameBufferSize = 2048;
constexpr std::uint32_t kTextBufferSize = 2048;
constexpr std::uint32_t kTziSize = 44;

// The catalogue only reads: read access is all it asks for, so that a standard user (to whom
// HKEY_LOCAL_MACHINE refuses write access) can load it.
constexpr std::uint32_t kCatalogueAccess = reg::KeyRead;

}  // namespace

std::wstring StripNull(const std::wstring& text) {
    auto end = text.find(L'\0');
    return end == std::wstring::npos ? text : text.substr(0, end);
}

bool MTimeZone::IsWindowsNT() {
    OsVersionInfoA info{};
    info.dwOSVersionInfoSize = sizeof(OsVersionInfoA);
    return version_.GetVersionExA(info) != 0 && info.dwPlatformId == kPlatformWin32Nt;
}

std::string MTimeZone::CatalogueKey() {
    return IsWindowsNT() ? kTimeZonesKeyNT : kTimeZonesKey9x;
}

bool MTimeZone::LoadTimeZoneCatalogue(const std::string& keyPath) {
    return EnumTimeZones(reg::LocalMachine, keyPath);
}

bool MTimeZone::EnumTimeZones(reg::Key rootKey, const std::string& keyPath) {
    reg::Key opened = 0;
    registry_.RegOpenKeyExA(rootKey, keyPath, 0, kCatalogueAccess, opened);
    const bool result = opened != 0;
    RegKeyGuard catalogueKey(registry_, opened);

    std::uint32_t count = 0;
    std::vector<char> name(kNameBufferSize);
    for (std::uint32_t i = 0;; ++i) {
        if (registry_.RegEnumKeyA(opened, i, name.data(), kNameBufferSize) != reg::Success) break;
        TimeZones.resize(i + 1);
        const std::wstring keyName = StripNull(ansi_.ToWide(std::string(name.data(), name.size())));
        TimeZoneRecord record = ReadTimeZone(keyPath + "\\" + ansi_.FromWide(keyName));
        record.KeyName = keyName;
        TimeZones[i] = std::move(record);
        count = i + 1;
    }
    // A later load ends with exactly as many entries as it found, none left from before.
    TimeZones.resize(count);
    catalogueKey.Close();

    if (count >= 1) SortTimeZones(TimeZones, true, false, compare_);
    return result;
}

TimeZoneRecord MTimeZone::ReadTimeZone(const std::string& zoneKeyPath) {
    TimeZoneRecord record;
    reg::Key opened = 0;
    if (registry_.RegOpenKeyExA(reg::LocalMachine, zoneKeyPath, 0, kCatalogueAccess, opened) !=
        reg::Success) {
        return record;
    }
    RegKeyGuard zoneKey(registry_, opened);

    std::uint32_t type = 0;
    std::uint32_t size = kTziSize;
    registry_.RegQueryValueExA(opened, "TZI", &type, record.TZI.data(), &size);

    record.Display = QueryText(opened, "Display");
    record.Std = QueryText(opened, "Std");
    record.Dlt = QueryText(opened, "Dlt");
    record.MapID = QueryText(opened, "MapID");
    return record;
}

ZoneRules MTimeZone::ReadZoneRules(const std::string& keyPath, const TimeZoneRecord& zone) {
    ZoneRules rules{ParseTzi(zone.TZI), {}};
    reg::Key opened = 0;
    if (zone.KeyName.empty() ||
        registry_.RegOpenKeyExA(reg::LocalMachine,
                                keyPath + "\\" + ansi_.FromWide(zone.KeyName) + "\\Dynamic DST", 0,
                                kCatalogueAccess, opened) != reg::Success) {
        return rules;
    }
    RegKeyGuard key(registry_, opened);
    const auto entry = [&](const char* name) -> std::optional<std::uint32_t> {
        std::uint8_t bytes[4] = {};
        std::uint32_t type = 0, size = sizeof bytes;
        if (registry_.RegQueryValueExA(opened, name, &type, bytes, &size) != reg::Success ||
            size != sizeof bytes)
            return std::nullopt;
        return bytes[0] | bytes[1] << 8 | bytes[2] << 16 |
               static_cast<std::uint32_t>(bytes[3]) << 24;
    };
    const std::optional<std::uint32_t> first = entry("FirstEntry"), last = entry("LastEntry");
    // Years a SYSTEMTIME can hold, a few centuries at most; anything else is not a rule set.
    if (!first || !last || *first < 1601 || *last > 30827 || *first > *last || *last - *first > 400)
        return rules;
    for (std::uint32_t year = *first; year <= *last; ++year) {
        std::array<std::uint8_t, kTziSize> block{};
        std::uint32_t type = 0, size = kTziSize;
        if (registry_.RegQueryValueExA(opened, std::to_string(year), &type, block.data(), &size) ==
                reg::Success &&
            size == kTziSize)
            rules.yearly[static_cast<int>(year)] = ParseTzi(block);
    }
    return rules;
}

// A failed query leaves the buffer as it was: 2048 spaces.
std::wstring MTimeZone::QueryText(reg::Key key, const char* valueName) {
    std::string buffer(kTextBufferSize, ' ');
    std::uint32_t type = 0;
    std::uint32_t size = kTextBufferSize;
    registry_.RegQueryValueExA(key, valueName, &type,
                               reinterpret_cast<std::uint8_t*>(buffer.data()), &size);
    return StripNull(ansi_.ToWide(buffer));
}
