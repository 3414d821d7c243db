#include "timezones/MSortRoutines.h"

#include <utility>

int CompareDisplay(const std::wstring& a, const std::wstring& b, CompareMode mode,
                   const TextCompare& compare) {
    if (mode == CompareMode::Text) return compare.CompareIgnoringCase(a, b);
    const int c = a.compare(b);
    return (c > 0) - (c < 0);
}

void SortTimeZones(TimeZoneList& list, bool ascending, bool caseSensitive,
                   const TextCompare& compare) {
    if (list.size() <= 1) return;
    const int orderValue = ascending ? 1 : -1;
    const CompareMode mode = caseSensitive ? CompareMode::Binary : CompareMode::Text;
    InsertionSortTimeZones(list, 0, list.size() - 1, orderValue, mode, compare);
}

// A record moves left only past records that compare exactly as the order value against it,
// so equal names keep their enumeration order.
void InsertionSortTimeZones(TimeZoneList& list, std::size_t first, std::size_t last, int orderValue,
                            CompareMode mode, const TextCompare& compare) {
    for (std::size_t i = first + 1; i <= last; ++i) {
        TimeZoneRecord key = std::move(list[i]);
        std::size_t j = i;  // the free slot; list[j - 1] is the record compared next
        while (j > first &&
               CompareDisplay(list[j - 1].Display, key.Display, mode, compare) == orderValue) {
            list[j] = std::move(list[j - 1]);
            --j;
        }
        list[j] = std::move(key);
    }
}
