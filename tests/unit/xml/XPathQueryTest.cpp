// The translation of queries into XPath: positions from 0 become positions from 1, and only
// the accepted forms pass.
#include <gtest/gtest.h>

#include "xml/XPathQuery.h"

namespace {

TEST(XPathQueryTest, TranslatesTheAcceptedFormsAndRejectsTheRest) {
    // clang-format off
    const std::pair<const wchar_t*, const wchar_t*> accepted[] = {
        {L"/serie/value[0]", L"/serie/value[1]"}, {L"/serie/value[4]", L"/serie/value[5]"},
        {L"value[9]", L"value[10]"}, {L"Zone[0]", L"Zone[1]"}, {L"/", L"/"}, {L"/serie", L"/serie"},
        {L"//value[@name='x'][2]", L"//value[@name='x'][3]"},
        {L"value[ @name = \"a b\" ]", L"value[@name=\"a b\"]"},
        {L"value[note='[0]']", L"value[note='[0]']"},  // brackets inside a literal stay
        {L"*[0]/@*", L"*[1]/@*"}, {L"a:b/c-d.e_f[@x:y]", L"a:b/c-d.e_f[@x:y]"},
        {L"../value[0]/text()", L"../value[1]/text()"},
        {L"./node()//comment()", L"./node()//comment()"}, {L"value[0]/node()", L"value[1]/node()"},
        {L"value[2147483646]", L"value[2147483647]"}};
    // clang-format on
    for (const auto& [query, xpath] : accepted)
        EXPECT_EQ(xpathquery::ToXPath(query), std::wstring(xpath)) << query;
    // clang-format off
    const wchar_t* const rejected[] = {
        L"", L"/serie/", L"///a", L"a//", L"a[", L"a[]", L"a[0", L"a[-1]", L"a[1.5]", L"a[@]",
        L"a[b]", L"a[@b=c]", L"a[@b='x]", L"a[@b='x' or 1]", L"a b", L"a|b", L"a[last()]",
        L"count(a)", L"a[99999999999]", L"1a", L"a/@b/c[0", L"$not$ a", L"a[@b!='x']", L"a::b",
        L"@", L"text()[0]x"};
    // clang-format on
    for (const wchar_t* query : rejected)
        EXPECT_FALSE(xpathquery::ToXPath(query).has_value()) << query;
}

}  // namespace
