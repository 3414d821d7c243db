#pragma once
// Translates vbXML's queries into XPath 1.0 for backends whose component speaks XPath.
//
// Accepted forms (anything else is rejected):
//   query      := "/" | ["/" | "//"] step (("/" | "//") step)*
//   step       := name-test predicate* | "@" (name | "*") | "." | ".." |
//                 "text()" | "node()" | "comment()"
//   name-test  := name | "*"                 (names may hold a prefix: "a:b")
//   predicate  := "[" number "]"             a position counted from 0 (XPath: from 1)
//               | "[" "@" name "]"           the attribute exists
//               | "[" "@" name "=" literal "]"
//               | "[" name "=" literal "]"   a child element's text equals the literal
//   literal    := '"' text '"' | "'" text "'"
// Blanks are allowed around the tokens inside brackets.

#include <optional>
#include <string>
#include <string_view>

namespace xpathquery {

// The XPath expression, or nothing when the query is not one of the accepted forms.
std::optional<std::wstring> ToXPath(std::wstring_view query);

}  // namespace xpathquery
