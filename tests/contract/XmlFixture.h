#pragma once
// The vbXML suites' pieces: the clock file, a folder of the test's own, and markup without what
// serialisers may vary (the declaration, white space between tags: Wine's MSXML indents).

#include <gtest/gtest.h>

#include <regex>

#include "platform/Platform.h"
#include "support/TempFolder.h"
#include "xml/vbXML.h"

inline const std::string kClockXml =
    "<?xml version=\"1.0\"?><serie><value name=\"LONDON\">GMT+00:00</value>"
    "<value name=\"NEW YORK\">GMT-05:00</value><value name=\"TOKYO\">GMT+09:00</value>"
    "<value name=\"SYDNEY\">GMT+10:00</value><value name=\"Local\">GMT+01:00</value></serie>";

class XmlFiles : public testing::Test {
  protected:
    std::wstring Write(const std::string& name, const std::string& bytes) {
        return folder_.Write(name, bytes).wstring();
    }
    std::wstring PathOf(const std::string& name) const { return (folder_ / name).wstring(); }
    TempFolder folder_{"xml"};
};

inline std::wstring Canonical(std::wstring markup) {
    if (markup.starts_with(L"<?xml")) markup.erase(0, markup.find(L"?>") + 2);
    markup = std::regex_replace(markup, std::wregex(L">\\s+<"), L"><");
    return std::regex_replace(markup, std::wregex(L"^\\s+|\\s+$"), L"");
}
