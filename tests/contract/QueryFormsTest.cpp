// Every query form the wrapper accepts selects the same node on each platform's component;
// any other form is a failing step everywhere.
#include "XmlFixture.h"

namespace {

TEST(QueryFormsTest, AcceptedFormsSelectTheSameNodes) {
    vbXML xml{PlatformXmlComponent()};
    ASSERT_TRUE(
        xml.OpenXML(L"<serie id=\"s\"><value name=\"A\" zone=\"z1\">GMT+01:00</value>"
                    L"<value name=\"B\">GMT+02:00<note>n1</note></value>"
                    L"<group><value name=\"C\">GMT+03:00</value></group>"
                    L"<!--remark--></serie>",
                    1));
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        // nullptr: selects nothing
        {L"/serie/value[1]", L"GMT+02:00n1"},
        {L"value[0]", L"GMT+01:00"},
        {L"/serie/*[2]", L"GMT+03:00"},
        {L"//value[2]", nullptr},
        {L"//value[@name='C']", L"GMT+03:00"},
        {L"/serie/value[@name=\"B\"]", L"GMT+02:00n1"},
        {L"value[ @zone ]", L"GMT+01:00"},
        {L"value[note='n1']", L"GMT+02:00n1"},
        {L"value[@name='B'][0]", L"GMT+02:00n1"},
        {L"/serie/@id", L"s"},
        {L"value[0]/@zone", L"z1"},
        {L"group/value/../value", L"GMT+03:00"},
        {L"/serie/value[0]/text()", L"GMT+01:00"},
        {L"/serie/comment()", L"remark"},
        {L"group//value", L"GMT+03:00"},
        {L"/serie/value[7]", nullptr},
        {L"/other", nullptr}};
    for (const auto& [query, text] : cases) {
        EXPECT_EQ(xml.ReadNode(query).value_or(L"<none>"), text ? text : L"<none>")
            << utf8::FromWide(query);
    }
    for (const wchar_t* query : {L"", L"/serie/[", L"value[-1]", L"value[last()]",
                                 L"value[@name!='A']", L"value | group", L"$not$ value"}) {
        EXPECT_FALSE(xml.ReadNode(query).has_value()) << utf8::FromWide(query);
        EXPECT_THROW(xml.ReadNodeXML(query), AppError) << utf8::FromWide(query);
    }
}

}  // namespace
