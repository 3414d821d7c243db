// Parameters that take any value: their text and whole-number forms, on each platform's runtime
// (number formatting differs between C libraries).
#include "XmlFixture.h"

namespace {

void ExpectError(const std::function<void()>& step, long number) {
    try {
        step();
        ADD_FAILURE() << "no error " << number;
    } catch (const AppError& error) {
        EXPECT_EQ(error.Number, number) << utf8::FromWide(error.Description);
    }
}

TEST(XmlValueTest, TextAndWholeNumberForms) {
    // clang-format off
    const std::pair<XmlValue, const wchar_t*> texts[] = {
        {XmlValue(), L""}, {L"as is ", L"as is "}, {42, L"42"}, {-7LL, L"-7"}, {1.5, L"1.5"},
        {0.1, L"0.1"}, {-2.0, L"-2"}, {1.0 / 3, L"0.333333333333333"}, {1e20, L"1E+20"},
        {123456789012345.0, L"123456789012345"}, {-1.5e-7, L"-1.5E-07"}, {1e300, L"1E+300"}};
    const std::pair<XmlValue, std::int32_t> numbers[] = {
        {XmlValue(), 0}, {2.5, 2}, {3.5, 4}, {-2.5, -2}, {2.51, 3}, {L" 12 ", 12}, {L"+4.5", 4},
        {L"-1e3", -1000}, {L"1e+3", 1000}, {2147483647LL, 2147483647}, {-2147483648.4, -2147483647 - 1}};
    const std::pair<XmlValue, long> failures[] = {
        {L"abc", errnum::TypeMismatch}, {L"", errnum::TypeMismatch},
        {L"12abc", errnum::TypeMismatch}, {L"1,5", errnum::TypeMismatch},
        {2147483648LL, errnum::Overflow}, {3e9, errnum::Overflow}, {L"1e400", errnum::Overflow},
        {2147483647.5, errnum::Overflow}};
    // clang-format on
    for (const auto& [value, text] : texts) EXPECT_EQ(value.ToText(), text);
    for (const auto& [value, number] : numbers)
        EXPECT_EQ(value.ToInt32(), number) << utf8::FromWide(value.ToText());
    for (const auto& [value, number] : failures) ExpectError([&] { value.ToInt32(); }, number);
    ExpectError([] { XmlValue(std::numeric_limits<double>::quiet_NaN()).ToText(); },
                errnum::TypeMismatch);
}

}  // namespace
