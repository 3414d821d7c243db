#pragma once
// The time-zone database of Linux presented as the registry's catalogue: ICU's zone data
// grouped by Windows zone name, one read-only key per group under the "Windows NT" catalogue
// key, with "Display", "Std", "Dlt", "MapID" and "TZI" values computed from the group's main
// zone.

#include <memory>
#include <string>

#include "platform/mRegistry.h"

std::unique_ptr<mRegistry> MakeIcuRegistry();

// The Windows zone name of the system's own zone (ICU's default zone); empty when it has none.
std::wstring IcuLocalTimeZoneKeyName();
