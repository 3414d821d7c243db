// Parameters that take any value: their text and whole-number forms, on each platform's
// runtime (number formatting differs between C libraries).
#include "XmlFixture.h"

namespace {

TEST(XmlValueTest, TextForms) {
    EXPECT_EQ(XmlValue().ToText(), L"");
    EXPECT_EQ(XmlValue(L"as is ").ToText(), L"as is ");
    EXPECT_EQ(XmlValue(42).ToText(), L"42");
    EXPECT_EQ(XmlValue(-7LL).ToText(), L"-7");
    EXPECT_EQ(XmlValue(1.5).ToText(), L"1.5");
    EXPECT_EQ(XmlValue(0.1).ToText(), L"0.1");
    EXPECT_EQ(XmlValue(-2.0).ToText(), L"-2");
    EXPECT_EQ(XmlValue(1.0 / 3).ToText(), L"0.333333333333333");
    EXPECT_EQ(XmlValue(123456789012345.0).ToText(), L"123456789012345");
    EXPECT_EQ(XmlValue(1e20).ToText(), L"1E+20");
    EXPECT_EQ(XmlValue(-1.5e-7).ToText(), L"-1.5E-07");
    EXPECT_EQ(XmlValue(1e300).ToText(), L"1E+300");
    try {
        XmlValue(std::numeric_limits<double>::quiet_NaN()).ToText();
        ADD_FAILURE() << "NaN has a text form";
    } catch (const AppError& error) {
        EXPECT_EQ(error.Number, errnum::TypeMismatch);
    }
}

TEST(XmlValueTest, WholeNumberForms) {
    EXPECT_EQ(XmlValue().ToInt32(), 0);
    EXPECT_EQ(XmlValue(2.5).ToInt32(), 2);
    EXPECT_EQ(XmlValue(3.5).ToInt32(), 4);
    EXPECT_EQ(XmlValue(-2.5).ToInt32(), -2);
    EXPECT_EQ(XmlValue(2.51).ToInt32(), 3);
    EXPECT_EQ(XmlValue(L" 12 ").ToInt32(), 12);
    EXPECT_EQ(XmlValue(L"-1e3").ToInt32(), -1000);
    EXPECT_EQ(XmlValue(L"+4.5").ToInt32(), 4);
    EXPECT_EQ(XmlValue(2147483647LL).ToInt32(), 2147483647);
    EXPECT_EQ(XmlValue(-2147483648.4).ToInt32(), -2147483647 - 1);

    const struct {
        XmlValue value;
        long number;
    } failures[] = {
        {XmlValue(L"abc"), errnum::TypeMismatch},   {XmlValue(L""), errnum::TypeMismatch},
        {XmlValue(L"12abc"), errnum::TypeMismatch}, {XmlValue(L"1,5"), errnum::TypeMismatch},
        {XmlValue(2147483648LL), errnum::Overflow}, {XmlValue(3e9), errnum::Overflow},
        {XmlValue(L"1e400"), errnum::Overflow},     {XmlValue(2147483647.5), errnum::Overflow},
    };
    for (const auto& failure : failures) {
        try {
            failure.value.ToInt32();
            ADD_FAILURE() << "converted: " << utf8::FromWide(failure.value.ToText());
        } catch (const AppError& error) {
            EXPECT_EQ(error.Number, failure.number) << utf8::FromWide(error.Description);
        }
    }
}

}  // namespace
