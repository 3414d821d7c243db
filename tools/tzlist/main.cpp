// Lists the time-zone catalogue as the settings dialog loads it, one tab-separated line per
// entry: position, key name, display name, offset text without and with daylight time, and
// the standard offset held by the entry's TZI block (minus Bias).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "config/frmSettings.h"
#include "platform/Platform.h"
#include "platform/TextEncoding.h"
#include "timezones/DaylightRules.h"
#include "timezones/GmtOffset.h"
#include "timezones/MTimeZone.h"

namespace {

void PrintLine(const std::wstring& line) {
    const std::string bytes = utf8::FromWide(line);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fputc('\n', stdout);
}

// Minus the TZI block's Bias, as "+hh:mm" or "-hh:mm".
std::wstring TziStandardOffset(const TimeZoneRecord& zone) {
    const int offset = -ParseTzi(zone.TZI).bias, magnitude = std::abs(offset);
    return (offset < 0 ? L"-" : L"+") + PadHour(magnitude / 60) + L":" + PadHour(magnitude % 60);
}

}  // namespace

int main() {
    const SettingsAdapters ports = MakeSettingsAdapters();
    MTimeZone catalogue(*ports.registry, *ports.version, *ports.textCompare, *ports.ansi);
    const std::string key = catalogue.CatalogueKey();
    if (!catalogue.LoadTimeZoneCatalogue(key)) {
        std::fprintf(stderr, "tzlist: cannot open HKEY_LOCAL_MACHINE\\%s\n", key.c_str());
        return 1;
    }
    PrintLine(L"#position\tkey\tdisplay\toffset\toffset_dst\ttzi_standard");
    for (std::size_t i = 0; i < catalogue.TimeZones.size(); ++i) {
        const TimeZoneRecord& zone = catalogue.TimeZones[i];
        PrintLine(std::to_wstring(i) + L"\t" + zone.KeyName + L"\t" + zone.Display + L"\t" +
                  GetGmtOffset(zone.Display, false) + L"\t" + GetGmtOffset(zone.Display, true) +
                  L"\t" + TziStandardOffset(zone));
    }
    std::fflush(stdout);  // the list whole before the summary, when both go to one file
    std::fprintf(stderr, "tzlist: %zu zones under HKEY_LOCAL_MACHINE\\%s\n",
                 catalogue.TimeZones.size(), key.c_str());
    return 0;
}
