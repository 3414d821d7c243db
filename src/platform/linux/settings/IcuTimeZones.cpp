#include "platform/linux/settings/IcuTimeZones.h"

#include <unicode/basictz.h>
#include <unicode/calendar.h>
#include <unicode/gregocal.h>
#include <unicode/timezone.h>
#include <unicode/tznames.h>
#include <unicode/tzrule.h>
#include <unicode/tztrans.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <vector>

#include "platform/TextEncoding.h"
#include "platform/linux/settings/IcuText.h"

namespace {

constexpr const char* kCatalogueKey = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";
constexpr std::size_t kMaxCities = 4;

std::string ToUtf8(const icu::UnicodeString& text) {
    std::string bytes;
    text.toUTF8String(bytes);
    return bytes;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Registry text values are bytes of the "A" calls' code page, UTF-8 here, with their
// terminating NUL.
std::string TextValue(const icu::UnicodeString& text) {
    return ToUtf8(text) + std::string(1, '\0');
}

std::string OffsetText(std::int32_t offsetMillis) {
    const std::int32_t minutes = offsetMillis / 60000;
    const std::int32_t magnitude = minutes < 0 ? -minutes : minutes;
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%c%02d:%02d", minutes < 0 ? '-' : '+', magnitude / 60,
                  magnitude % 60);
    return buffer;
}

struct SystemTime {
    std::uint16_t year = 0, month = 0, dayOfWeek = 0, day = 0, hour = 0, minute = 0, second = 0,
                  milliseconds = 0;
};

// A yearly transition in the day-of-week-in-month form: the weekday, which one of the month
// (5 = the last) and the local wall time before the change.
SystemTime TransitionDate(const icu::AnnualTimeZoneRule& rule, UDate now, std::int32_t rawBefore,
                          std::int32_t saveBefore) {
    SystemTime result;
    UDate start = 0;
    if (!rule.getNextStart(now, rawBefore, saveBefore, false, start)) return result;
    UErrorCode status = U_ZERO_ERROR;
    icu::GregorianCalendar calendar(*icu::TimeZone::getGMT(), status);
    calendar.setTime(start + rawBefore + saveBefore, status);
    if (U_FAILURE(status)) return result;
    const int day = calendar.get(UCAL_DATE, status);
    const int daysInMonth = calendar.getActualMaximum(UCAL_DATE, status);
    result.month = static_cast<std::uint16_t>(calendar.get(UCAL_MONTH, status) + 1);
    result.dayOfWeek = static_cast<std::uint16_t>(calendar.get(UCAL_DAY_OF_WEEK, status) - 1);
    result.day = static_cast<std::uint16_t>(day + 7 > daysInMonth ? 5 : (day - 1) / 7 + 1);
    result.hour = static_cast<std::uint16_t>(calendar.get(UCAL_HOUR_OF_DAY, status));
    result.minute = static_cast<std::uint16_t>(calendar.get(UCAL_MINUTE, status));
    return result;
}

std::string TziBlock(const icu::TimeZone& zone, UDate now) {
    std::int32_t bias = -zone.getRawOffset() / 60000;
    std::int32_t standardBias = 0;
    std::int32_t daylightBias = 0;
    SystemTime standardDate, daylightDate;

    if (const auto* basic = dynamic_cast<const icu::BasicTimeZone*>(&zone)) {
        icu::InitialTimeZoneRule* initial = nullptr;
        icu::AnnualTimeZoneRule* standard = nullptr;
        icu::AnnualTimeZoneRule* daylight = nullptr;
        UErrorCode status = U_ZERO_ERROR;
        basic->getSimpleRulesNear(now, initial, standard, daylight, status);
        std::unique_ptr<icu::InitialTimeZoneRule> ownInitial(initial);
        std::unique_ptr<icu::AnnualTimeZoneRule> ownStandard(standard);
        std::unique_ptr<icu::AnnualTimeZoneRule> ownDaylight(daylight);
        if (U_SUCCESS(status) && standard && daylight) {
            const std::int32_t raw = standard->getRawOffset();
            const std::int32_t save = daylight->getDSTSavings();
            bias = -raw / 60000;
            daylightBias = -save / 60000;
            daylightDate = TransitionDate(*daylight, now, raw, 0);
            standardDate = TransitionDate(*standard, now, raw, save);
        } else if (U_SUCCESS(status) && initial) {
            bias = -initial->getRawOffset() / 60000;
        }
    }

    std::string bytes(44, '\0');
    std::memcpy(bytes.data(), &bias, 4);
    std::memcpy(bytes.data() + 4, &standardBias, 4);
    std::memcpy(bytes.data() + 8, &daylightBias, 4);
    std::memcpy(bytes.data() + 12, &standardDate, 16);
    std::memcpy(bytes.data() + 28, &daylightDate, 16);
    return bytes;
}

void PutDate(std::string& block, std::size_t at, const SystemTime& date) {
    std::memcpy(block.data() + at, &date, sizeof date);
}

// The wall time of an instant at the given offset, as an absolute SYSTEMTIME (one year only).
SystemTime WallTime(UDate instant, std::int32_t offsetMillis) {
    SystemTime result;
    UErrorCode status = U_ZERO_ERROR;
    icu::GregorianCalendar calendar(*icu::TimeZone::getGMT(), status);
    calendar.setTime(instant + offsetMillis, status);
    if (U_FAILURE(status)) return result;
    result.year = static_cast<std::uint16_t>(calendar.get(UCAL_YEAR, status));
    result.month = static_cast<std::uint16_t>(calendar.get(UCAL_MONTH, status) + 1);
    result.dayOfWeek = static_cast<std::uint16_t>(calendar.get(UCAL_DAY_OF_WEEK, status) - 1);
    result.day = static_cast<std::uint16_t>(calendar.get(UCAL_DATE, status));
    result.hour = static_cast<std::uint16_t>(calendar.get(UCAL_HOUR_OF_DAY, status));
    result.minute = static_cast<std::uint16_t>(calendar.get(UCAL_MINUTE, status));
    result.second = static_cast<std::uint16_t>(calendar.get(UCAL_SECOND, status));
    return result;
}

UDate StartOfYear(int year) {
    UErrorCode status = U_ZERO_ERROR;
    icu::GregorianCalendar calendar(*icu::TimeZone::getGMT(), status);
    calendar.clear();
    calendar.set(year, UCAL_JANUARY, 1);
    return calendar.getTime(status);
}

// One year's block in the form of the "Dynamic DST" entries, with the year's own dates: where
// daylight time began and ended that year by the zone's history. A year in which it only
// ended begins it at the year's first instant; one in which it only began ends it at the
// year's last (daylight rules read these seams as no change).
std::string YearBlock(const icu::BasicTimeZone& zone, int year) {
    std::optional<icu::TimeZoneTransition> begins, ends;
    icu::TimeZoneTransition transition;
    UDate from = StartOfYear(year) - 86'400'000.0;
    while (zone.getNextTransition(from, false, transition)) {
        from = transition.getTime();
        const std::int32_t before = transition.getFrom()->getRawOffset();
        const std::int32_t beforeSave = transition.getFrom()->getDSTSavings();
        const SystemTime wall = WallTime(from, before + beforeSave);
        if (wall.year > year) break;
        if (wall.year < year) continue;
        const bool on = beforeSave == 0 && transition.getTo()->getDSTSavings() != 0;
        const bool off = beforeSave != 0 && transition.getTo()->getDSTSavings() == 0;
        if (on && !begins) begins = transition;
        if (off) ends = transition;
    }
    std::int32_t raw = 0, save = 0;
    UErrorCode status = U_ZERO_ERROR;
    zone.getOffset(StartOfYear(year) + 182 * 86'400'000.0, false, raw, save, status);
    std::int32_t bias = -raw / 60000, daylightBias = 0;
    std::string block(44, '\0');
    if (begins || ends) {
        if (begins) {
            bias = -begins->getFrom()->getRawOffset() / 60000;
            daylightBias = -begins->getTo()->getDSTSavings() / 60000;
        } else {
            bias = -ends->getTo()->getRawOffset() / 60000;
            daylightBias = -ends->getFrom()->getDSTSavings() / 60000;
        }
        const auto wallBefore = [](const icu::TimeZoneTransition& t) {
            return WallTime(t.getTime(),
                            t.getFrom()->getRawOffset() + t.getFrom()->getDSTSavings());
        };
        SystemTime first, last;
        first.year = last.year = static_cast<std::uint16_t>(year);
        first.month = first.day = 1;
        last.month = 12;
        last.day = 31;
        last.hour = 23;
        last.minute = last.second = 59;
        last.milliseconds = 999;
        PutDate(block, 12, ends ? wallBefore(*ends) : last);
        PutDate(block, 28, begins ? wallBefore(*begins) : first);
    }
    std::memcpy(block.data(), &bias, 4);
    std::memcpy(block.data() + 8, &daylightBias, 4);
    return block;
}

std::string DwordValue(std::uint32_t value) {
    std::string bytes(4, '\0');
    std::memcpy(bytes.data(), &value, 4);
    return bytes;
}

struct ZoneGroup {
    std::string windowsId;
    std::vector<icu::UnicodeString> zones;  // main zone first
    std::map<std::string, std::string> values;
};

std::vector<ZoneGroup> BuildGroups() {
    UErrorCode status = U_ZERO_ERROR;
    std::map<std::string, ZoneGroup> groups;
    std::unique_ptr<icu::StringEnumeration> ids(icu::TimeZone::createTimeZoneIDEnumeration(
        UCAL_ZONE_TYPE_CANONICAL, nullptr, nullptr, status));
    if (U_FAILURE(status) || !ids) return {};
    while (const icu::UnicodeString* id = ids->snext(status)) {
        if (U_FAILURE(status)) break;
        icu::UnicodeString windowsId;
        UErrorCode idStatus = U_ZERO_ERROR;
        icu::TimeZone::getWindowsID(*id, windowsId, idStatus);
        if (U_FAILURE(idStatus) || windowsId.isEmpty()) continue;
        ZoneGroup& group = groups[ToUtf8(windowsId)];
        group.windowsId = ToUtf8(windowsId);
        group.zones.push_back(*id);
    }

    const icu::Locale locale = icu::Locale::getDefault();
    std::unique_ptr<icu::TimeZoneNames> names(icu::TimeZoneNames::createInstance(locale, status));
    const UDate now = icu::Calendar::getNow();

    std::vector<ZoneGroup> result;
    for (auto& [windowsId, group] : groups) {
        // The group's main zone first: the one Windows' mapping names for the world ("001").
        icu::UnicodeString main;
        UErrorCode mainStatus = U_ZERO_ERROR;
        icu::TimeZone::getIDForWindowsID(icu::UnicodeString::fromUTF8(windowsId), "001", main,
                                         mainStatus);
        auto it = std::find(group.zones.begin(), group.zones.end(), main);
        if (U_SUCCESS(mainStatus) && it != group.zones.end())
            std::rotate(group.zones.begin(), it, it + 1);

        std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(group.zones.front()));
        icu::UnicodeString standardName, daylightName;
        if (names) {
            names->getDisplayName(group.zones.front(), UTZNM_LONG_STANDARD, now, standardName);
            names->getDisplayName(group.zones.front(), UTZNM_LONG_DAYLIGHT, now, daylightName);
        }
        if (standardName.isEmpty())
            zone->getDisplayName(false, icu::TimeZone::LONG, locale, standardName);
        if (daylightName.isEmpty()) daylightName = standardName;

        // "(UTC+10:00) Sydney, Melbourne, ...": the standard offset and a few cities.
        icu::UnicodeString cities;
        std::size_t count = 0;
        for (const auto& id : group.zones) {
            icu::UnicodeString city;
            if (names) names->getExemplarLocationName(id, city);
            // Names such as "Vincennes, Indiana" would read as two cities in the list.
            if (city.isEmpty() || city.indexOf(u',') >= 0 || cities.indexOf(city) >= 0) continue;
            if (count++ > 0) cities += u", ";
            cities += city;
            if (count == kMaxCities) break;
        }
        if (cities.isEmpty()) cities = standardName;
        const std::int32_t raw = zone->getRawOffset();
        const std::string prefix = windowsId == "UTC" ? "(UTC) " : "(UTC" + OffsetText(raw) + ") ";
        const icu::UnicodeString display = icu::UnicodeString::fromUTF8(prefix) + cities;

        group.values["Display"] = TextValue(display);
        group.values["Std"] = TextValue(standardName);
        group.values["Dlt"] = TextValue(daylightName);
        group.values["MapID"] = std::string(1, '\0');
        group.values["TZI"] = TziBlock(*zone, now);
        result.push_back(std::move(group));
    }
    return result;
}

const std::vector<ZoneGroup>& Groups() {
    static const std::vector<ZoneGroup> groups = BuildGroups();
    return groups;
}

class IcuRegistry final : public mRegistry {
  public:
    long RegOpenKeyExA(reg::Key root, const std::string& subKey, std::uint32_t,
                       std::uint32_t samDesired, reg::Key& result) override {
        result = 0;
        if (samDesired & reg::KeyWriteBits) return reg::AccessDenied;  // a read-only view
        if (root != reg::LocalMachine) return reg::FileNotFound;
        const std::string catalogue = Lower(kCatalogueKey);
        const std::string path = Lower(subKey);
        if (path == catalogue) return Open(kCatalogueNode, result);
        if (path.size() > catalogue.size() + 1 &&
            path.compare(0, catalogue.size(), catalogue) == 0 && path[catalogue.size()] == '\\') {
            std::string name = path.substr(catalogue.size() + 1);
            const std::string dynamic = "\\dynamic dst";
            const bool rules =
                name.size() > dynamic.size() &&
                name.compare(name.size() - dynamic.size(), dynamic.size(), dynamic) == 0;
            if (rules) name.resize(name.size() - dynamic.size());
            const auto& groups = Groups();
            for (std::size_t i = 0; i < groups.size(); ++i) {
                if (Lower(groups[i].windowsId) == name)
                    return Open(static_cast<long>(i) + (rules ? kRulesNode : 0), result);
            }
        }
        return reg::FileNotFound;
    }

    long RegEnumKeyA(reg::Key key, std::uint32_t index, char* name,
                     std::uint32_t cchName) override {
        auto it = open_.find(key);
        if (it == open_.end()) return reg::InvalidHandle;
        if (it->second != kCatalogueNode || index >= Groups().size()) return reg::NoMoreItems;
        const std::string& id = Groups()[index].windowsId;
        if (id.size() + 1 > cchName) return reg::MoreData;
        std::memcpy(name, id.c_str(), id.size() + 1);
        return reg::Success;
    }

    long RegQueryValueExA(reg::Key key, const std::string& valueName, std::uint32_t* type,
                          std::uint8_t* data, std::uint32_t* cbData) override {
        auto it = open_.find(key);
        if (it == open_.end()) return reg::InvalidHandle;
        if (it->second == kCatalogueNode) return reg::FileNotFound;
        const bool rules = it->second >= kRulesNode;
        const auto& values = rules ? YearlyValues(static_cast<std::size_t>(it->second - kRulesNode))
                                   : Groups()[static_cast<std::size_t>(it->second)].values;
        auto value = values.find(valueName);
        if (value == values.end()) return reg::FileNotFound;
        if (type)
            *type = !rules ? (valueName == "TZI" ? reg::TypeBinary : reg::TypeSz)
                    : valueName.find("Entry") != std::string::npos ? reg::TypeDword
                                                                   : reg::TypeBinary;
        const auto size = static_cast<std::uint32_t>(value->second.size());
        if (data && cbData && *cbData < size) {
            *cbData = size;
            return reg::MoreData;
        }
        if (data) std::memcpy(data, value->second.data(), size);
        if (cbData) *cbData = size;
        return reg::Success;
    }

    long RegCloseKey(reg::Key key) override {
        return open_.erase(key) ? reg::Success : reg::InvalidHandle;
    }

  private:
    static constexpr long kCatalogueNode = -1;
    static constexpr long kRulesNode = 1 << 20;  // + group: the group's "Dynamic DST" key
    static constexpr int kFirstYear = 1970;

    // The "Dynamic DST" values of a group's main zone, made when first asked for: each year's
    // own dates from 1970 to this one, then next year's block as the rule that goes on.
    const std::map<std::string, std::string>& YearlyValues(std::size_t group) {
        auto& values = yearly_[group];
        if (!values.empty()) return values;
        const auto& g = Groups()[group];
        std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(g.zones.front()));
        const auto* basic = dynamic_cast<const icu::BasicTimeZone*>(zone.get());
        UErrorCode status = U_ZERO_ERROR;
        icu::GregorianCalendar calendar(*icu::TimeZone::getGMT(), status);
        const int thisYear = calendar.get(UCAL_YEAR, status);
        if (!basic || U_FAILURE(status)) return values;
        for (int year = kFirstYear; year <= thisYear; ++year)
            values[std::to_string(year)] = YearBlock(*basic, year);
        values[std::to_string(thisYear + 1)] = g.values.at("TZI");
        values["FirstEntry"] = DwordValue(kFirstYear);
        values["LastEntry"] = DwordValue(static_cast<std::uint32_t>(thisYear + 1));
        return values;
    }

    std::map<std::size_t, std::map<std::string, std::string>> yearly_;

    long Open(long node, reg::Key& result) {
        result = next_++;
        open_[result] = node;
        return reg::Success;
    }

    std::map<reg::Key, long> open_;
    reg::Key next_ = 0x1000;
};

}  // namespace

std::unique_ptr<mRegistry> MakeIcuRegistry() {
    return std::make_unique<IcuRegistry>();
}

std::wstring IcuLocalTimeZoneKeyName() {
    // Detected afresh each time (not ICU's cached default), so a changed TZ counts.
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::detectHostTimeZone());
    icu::UnicodeString id, canonical, windowsId;
    zone->getID(id);
    UErrorCode status = U_ZERO_ERROR;
    icu::TimeZone::getCanonicalID(id, canonical, status);
    if (U_FAILURE(status)) canonical = id;
    status = U_ZERO_ERROR;
    icu::TimeZone::getWindowsID(canonical, windowsId, status);
    return U_SUCCESS(status) ? FromIcu(windowsId) : std::wstring();
}
