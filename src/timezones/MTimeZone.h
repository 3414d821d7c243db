#pragma once
// The time-zone catalogue: the registry's time-zone database read into a list sorted by
// display name.

#include <string>

#include "platform/SystemVersion.h"
#include "platform/TextCompare.h"
#include "platform/TextEncoding.h"
#include "platform/mRegistry.h"
#include "timezones/DaylightRules.h"
#include "timezones/TimeZoneRecord.h"

inline constexpr const char* kTimeZonesKeyNT =
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";
inline constexpr const char* kTimeZonesKey9x =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Time Zones";

// The text before the first NUL character; the whole text when it holds none.
std::wstring StripNull(const std::wstring& text);

class MTimeZone {
  public:
    // `ansi`: the code page of the registry's "A" calls.
    MTimeZone(mRegistry& registry, SystemVersion& version, const TextCompare& compare,
              const CodePage& ansi)
        : registry_(registry), version_(version), compare_(compare), ansi_(ansi) {}

    // True when the system is of the NT family; a failed version call counts as not NT.
    bool IsWindowsNT();
    // The catalogue key that IsWindowsNT selects.
    std::string CatalogueKey();

    // Loads TimeZones from HKEY_LOCAL_MACHINE\keyPath and sorts it by display name.
    // True when the catalogue key could be opened.
    bool LoadTimeZoneCatalogue(const std::string& keyPath);
    bool EnumTimeZones(reg::Key rootKey, const std::string& keyPath);
    // Reads one zone key below HKEY_LOCAL_MACHINE; an unreadable key gives the empty record.
    TimeZoneRecord ReadTimeZone(const std::string& zoneKeyPath);
    // A zone's daylight rules: its TZI block, and the yearly blocks of its "Dynamic DST" key
    // (FirstEntry to LastEntry) where it has one. Read when asked, not during the load.
    ZoneRules ReadZoneRules(const std::string& keyPath, const TimeZoneRecord& zone);

    TimeZoneList TimeZones;

  private:
    std::wstring QueryText(reg::Key key, const char* valueName);

    mRegistry& registry_;
    SystemVersion& version_;
    const TextCompare& compare_;
    const CodePage& ansi_;
};
