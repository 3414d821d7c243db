#pragma once
// The text-comparison port: the user locale's collation, ignoring case.

#include <string>

class TextCompare {
  public:
    virtual ~TextCompare() = default;
    // -1, 0 or 1 as a sorts before, equal to or after b, without regard to case.
    virtual int CompareIgnoringCase(const std::wstring& a, const std::wstring& b) const = 0;
};
