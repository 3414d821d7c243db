#include <cfenv>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "xml/XmlNumber.h"
#include "xml/vbXML.h"

namespace {

[[noreturn]] void TypeMismatch(const std::wstring& what) {
    throw AppError(errnum::TypeMismatch, L"Type mismatch: " + what);
}

[[noreturn]] void Overflow(const std::wstring& what) {
    throw AppError(errnum::Overflow, L"Overflow: " + what);
}

// Up to 15 significant digits, the exponent form outside 1e-5..1e15, as numbers read in
// reports: 0.5, 1234, 1E+20, 1.5E-07.
std::wstring FormatDouble(double number) {
    if (!std::isfinite(number)) TypeMismatch(L"a number that is not finite has no text form");
    if (number == 0) return L"0";
    char buffer[64];
    const double magnitude = std::fabs(number);
    if (magnitude >= 1e15 || magnitude < 1e-5) {
        std::snprintf(buffer, sizeof buffer, "%.14E", number);
        std::string text(buffer);
        const auto e = text.find('E');
        std::string mantissa = text.substr(0, e);
        std::string exponent = text.substr(e + 1);  // sign and at least two digits
        if (mantissa.find('.') != std::string::npos) {
            mantissa.erase(mantissa.find_last_not_of('0') + 1);
            if (mantissa.back() == '.') mantissa.pop_back();
        }
        const char sign = exponent[0];
        std::string digits = exponent.substr(1);
        while (digits.size() > 2 && digits[0] == '0') digits.erase(0, 1);
        text = mantissa + "E" + sign + digits;
        return std::wstring(text.begin(), text.end());
    }
    std::snprintf(buffer, sizeof buffer, "%.15G", number);
    std::string text(buffer);
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') text.pop_back();
    }
    return std::wstring(text.begin(), text.end());
}

}  // namespace

namespace xmlnumber {

std::size_t ReadLeadingNumber(std::wstring_view text, double& number) {
    // Only the characters a decimal number can hold matter; anything else ends it.
    std::string ascii;
    std::size_t i = 0;
    auto take_digits = [&] {
        std::size_t count = 0;
        while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
            ascii += static_cast<char>(text[i++]);
            ++count;
        }
        return count;
    };
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        if (text[i] == L'-') ascii += '-';
        ++i;
    }
    std::size_t digits = take_digits();
    if (i < text.size() && text[i] == L'.') {
        ascii += '.';
        ++i;
        digits += take_digits();
    }
    if (digits == 0) return 0;
    std::size_t end = i;
    if (i < text.size() &&
        (text[i] == L'E' || text[i] == L'e' || text[i] == L'D' || text[i] == L'd')) {
        std::string exponent = "e";
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == L'+' || text[j] == L'-')) {
            if (text[j] == L'-') exponent += '-';
            ++j;
        }
        const std::size_t start = j;
        while (j < text.size() && text[j] >= L'0' && text[j] <= L'9') {
            exponent += static_cast<char>(text[j++]);
        }
        if (j > start) {
            ascii += exponent;
            end = j;
        }
    }
    const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), number);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large for a double: an overflow for every caller that rounds it.
        number = ascii[0] == '-' ? -std::numeric_limits<double>::infinity()
                                 : std::numeric_limits<double>::infinity();
    } else if (result.ec != std::errc()) {
        return 0;
    }
    return end;
}

double RoundHalfEven(double number) {
    // nearbyint rounds in the current mode; the default mode sends halves to the even side.
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(number);
    std::fesetround(saved);
    return rounded;
}

}  // namespace xmlnumber

std::wstring XmlValue::ToText() const {
    if (IsEmpty()) return {};
    if (const auto* number = std::get_if<long long>(&value_)) return std::to_wstring(*number);
    if (const auto* number = std::get_if<double>(&value_)) return FormatDouble(*number);
    return std::get<std::wstring>(value_);
}

std::int32_t XmlValue::ToInt32() const {
    double number = 0;
    if (IsEmpty()) return 0;
    if (const auto* whole = std::get_if<long long>(&value_)) {
        if (*whole < std::numeric_limits<std::int32_t>::min() ||
            *whole > std::numeric_limits<std::int32_t>::max()) {
            Overflow(std::to_wstring(*whole) + L" is outside the 32-bit range");
        }
        return static_cast<std::int32_t>(*whole);
    }
    if (const auto* floating = std::get_if<double>(&value_)) {
        number = *floating;
    } else {
        // A text converts when all of it, apart from surrounding blanks, is a decimal number.
        const std::wstring& text = std::get<std::wstring>(value_);
        const auto first = text.find_first_not_of(L" \t");
        if (first == std::wstring::npos) TypeMismatch(L"an empty text is not a number");
        const auto last = text.find_last_not_of(L" \t");
        const std::wstring_view body(text.data() + first, last - first + 1);
        if (xmlnumber::ReadLeadingNumber(body, number) != body.size()) {
            TypeMismatch(L"\"" + text + L"\" is not a number");
        }
    }
    if (std::isnan(number)) Overflow(L"not a number");
    const double rounded = xmlnumber::RoundHalfEven(number);
    if (rounded < std::numeric_limits<std::int32_t>::min() ||
        rounded > std::numeric_limits<std::int32_t>::max()) {
        Overflow(L"the value is outside the 32-bit range");
    }
    return static_cast<std::int32_t>(rounded);
}
