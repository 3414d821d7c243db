#pragma once
// Decimal numbers in vbXML's texts: always a full stop as the decimal point, whatever the
// locale.

#include <cstddef>
#include <string_view>

namespace xmlnumber {

// Reads the longest decimal number at the start of text (sign, digits, a decimal point, an
// exponent) into number and returns how many characters it used; 0 when text does not begin
// with a number. A number too large for a double reads as an infinity.
std::size_t ReadLeadingNumber(std::wstring_view text, double& number);

// The nearest whole number; halves go to the even neighbour.
double RoundHalfEven(double number);

}  // namespace xmlnumber
