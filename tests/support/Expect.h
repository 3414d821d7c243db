#pragma once
// A step that must fail with the error number, its description holding each of the parts.

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/AppError.h"

inline void ExpectAppError(const std::function<void()>& step, long number,
                           const std::vector<std::wstring>& parts = {}) {
    try {
        step();
        ADD_FAILURE() << "no error " << number;
    } catch (const AppError& error) {
        EXPECT_EQ(error.Number, number) << error.what();
        for (const std::wstring& part : parts)
            EXPECT_NE(error.Description.find(part), std::wstring::npos) << error.what();
    }
}
