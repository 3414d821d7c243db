#pragma once
// A clock environment the test sets: time, local offset, hour format; English names.

#include "fakes/FakeClockFiles.h"
#include "player/ClockEnvironment.h"

class FakeClockEnvironment : public ClockEnvironment {
  public:
    std::int64_t now = 0;
    int localOffset = 0;
    bool use24 = true;

    std::int64_t NowUtcMs() override { return now; }
    int LocalOffsetMinutes(std::int64_t) override { return localOffset; }
    bool Use24Hour() override { return use24; }
    std::wstring DayName(int weekday) override {
        static const wchar_t* names[] = {L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"};
        return names[weekday];
    }
    std::wstring AmPm(bool pm) override { return pm ? L"PM" : L"AM"; }
};

inline ClockFile FiveClocks(const wchar_t* o0 = L"GMT+00:00", const wchar_t* o1 = L"GMT-05:00",
                            const wchar_t* o2 = L"GMT-08:00", const wchar_t* o3 = L"GMT+08:00",
                            const wchar_t* o4 = L"GMT+01:00") {
    return ClockFile{ClockFileState::Ok,
                     {{L"LONDON", o0},
                      {L"NEW YORK", o1},
                      {L"SAN FRANCISCO", o2},
                      {L"HONG KONG", o3},
                      {L"Local Time", o4}}};
}

constexpr std::int64_t kMonday2024 = 1'704'067'200'000;  // 2024-01-01 00:00:00 UTC, a Monday

inline std::int64_t At(int h, int m, int s) {
    return kMonday2024 + ((h * 60LL + m) * 60 + s) * 1000;
}
