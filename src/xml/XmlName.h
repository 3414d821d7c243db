#pragma once
// XML 1.0 names (element and attribute names), checked before the component is asked: not
// every component refuses an invalid name by itself.

#include <string>

namespace xmlname {

bool IsValid(const std::wstring& name);

}  // namespace xmlname
