#include "xml/vbXML.h"

#include <limits>

#include "platform/TextEncoding.h"
#include "xml/XPathQuery.h"
#include "xml/XmlDom.h"
#include "xml/XmlName.h"
#include "xml/XmlNumber.h"

namespace {

// Name and value arrays are walked with a 16-bit position.
constexpr std::size_t MaxArrayEntries = 32767;

enum class Context { RootElement, Document };

[[noreturn]] void ObjectRequired(const std::wstring& what) {
    throw AppError(errnum::ObjectRequired, L"Object required: " + what);
}

XmlDocument& RequireDocument(const std::unique_ptr<XmlDocument>& document) {
    if (!document) ObjectRequired(L"no XML document is open");
    return *document;
}

// The first node the query selects, or null. Relative queries start at the root element (or
// at the document); a document without a root element fails here.
std::unique_ptr<XmlNode> Select(const std::unique_ptr<XmlDocument>& document,
                                const std::wstring& query, Context context = Context::RootElement) {
    XmlDocument& doc = RequireDocument(document);
    const std::unique_ptr<XmlNode> start =
        context == Context::RootElement ? doc.Root() : doc.DocumentNode();
    if (!start) ObjectRequired(L"the document has no root element");
    // Every platform takes the same query forms (XPathQuery.h); anything else is refused
    // before it reaches the component.
    if (!xpathquery::ToXPath(query)) {
        throw AppError(errnum::AutomationError,
                       L"The XML component failed: the query \"" + query + L"\" is not supported");
    }
    return doc.SelectSingle(*start, query);
}

std::unique_ptr<XmlNode> SelectNode(const std::unique_ptr<XmlDocument>& document,
                                    const std::wstring& query,
                                    Context context = Context::RootElement) {
    std::unique_ptr<XmlNode> node = Select(document, query, context);
    if (!node) ObjectRequired(L"the query \"" + query + L"\" selects no node");
    return node;
}

std::unique_ptr<XmlNode> SelectElement(const std::unique_ptr<XmlDocument>& document,
                                       const std::wstring& query) {
    std::unique_ptr<XmlNode> node = SelectNode(document, query);
    if (!node->IsElement()) {
        throw AppError(errnum::TypeMismatch,
                       L"Type mismatch: the query \"" + query + L"\" selects no element");
    }
    return node;
}

std::unique_ptr<XmlNode> SelectChild(const std::unique_ptr<XmlDocument>& document,
                                     const std::wstring& query, std::int32_t index) {
    std::unique_ptr<XmlNode> child = SelectNode(document, query)->Child(index);
    if (!child) {
        ObjectRequired(L"the node \"" + query + L"\" has no child at position " +
                       std::to_wstring(index));
    }
    return child;
}

void RequireName(const std::wstring& name) {
    if (!xmlname::IsValid(name)) {
        throw AppError(errnum::AutomationError,
                       L"The XML component failed: \"" + name + L"\" is not an XML name");
    }
}

void CheckArrayLength(const std::vector<std::wstring>& names) {
    if (names.size() > MaxArrayEntries) {
        throw AppError(errnum::Overflow, L"Overflow: more than 32767 attribute names (" +
                                             std::to_wstring(names.size()) + L")");
    }
}

// The operations whose failures end quietly with a fixed result.
template <typename Result, typename Operation>
Result Guarded(Result fixed, Operation operation) {
    try {
        return operation();
    } catch (const std::exception&) {
        return fixed;
    }
}

template <typename Operation>
void Guarded(Operation operation) {
    try {
        operation();
    } catch (const std::exception&) {
    }
}

std::int16_t ColourComponent(std::wstring_view piece) {
    // Blanks are skipped wherever they stand; reading ends at the first character that cannot
    // continue the number, and a piece without a number reads as 0.
    std::wstring compact;
    for (wchar_t c : piece) {
        if (c != L' ' && c != L'\t' && c != L'\r' && c != L'\n') compact += c;
    }
    double number = 0;
    if (xmlnumber::ReadLeadingNumber(compact, number) == 0) return 0;
    const double rounded = xmlnumber::RoundHalfEven(number);
    if (!(rounded >= std::numeric_limits<std::int16_t>::min() &&
          rounded <= std::numeric_limits<std::int16_t>::max())) {
        throw AppError(errnum::Overflow, L"Overflow: the colour component \"" +
                                             std::wstring(piece) +
                                             L"\" is outside the 16-bit range");
    }
    return static_cast<std::int16_t>(rounded);
}

std::int32_t PackComponent(std::int16_t component) {
    // Components above 255 count as 255; negative ones as 0.
    if (component > 255) return 255;
    if (component < 0) return 0;
    return component;
}

// Shifts every character code by shift in the single-byte code page.
std::wstring ShiftText(const CodePage& codePage, const std::wstring& text, std::int32_t count,
                       int shift) {
    if (count < 0 || static_cast<std::size_t>(count) > text.size()) {
        throw AppError(errnum::InvalidProcedureCall,
                       L"Invalid procedure call or argument: a count of " + std::to_wstring(count) +
                           L" characters");
    }
    std::wstring result;
    result.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        const std::string bytes =
            codePage.FromWide(std::wstring(1, text[static_cast<std::size_t>(i)]));
        const int code = bytes.size() == 1 ? static_cast<unsigned char>(bytes[0]) : '?';
        const int shifted = code + shift;
        if (shifted < 0 || shifted > 255) {
            throw AppError(errnum::InvalidProcedureCall,
                           L"Invalid procedure call or argument: the character code " +
                               std::to_wstring(code) + L" at position " + std::to_wstring(i + 1) +
                               L" cannot be shifted by " + std::to_wstring(shift));
        }
        const std::wstring character = codePage.ToWide(std::string(1, static_cast<char>(shifted)));
        if (character.size() != 1) {
            throw AppError(errnum::InvalidProcedureCall,
                           L"Invalid procedure call or argument: the code page has no character "
                           L"for the code " +
                               std::to_wstring(shifted));
        }
        result += character;
    }
    return result;
}

}  // namespace

vbXML::vbXML(const XmlComponent& component) : component_(component) {}
vbXML::~vbXML() = default;

std::wstring vbXML::XMLDocumentInfo(std::int32_t diDesiredInfo) {
    std::wstring name;
    switch (diDesiredInfo) {
        case 0:
            name = L"version";
            break;
        case 1:
            name = L"encoding";
            break;
        case 2:
            name = L"standalone";
            break;
        default:
            break;
    }
    const std::unique_ptr<XmlNode> first = RequireDocument(oDocument).DocumentNode()->Child(0);
    if (!first) ObjectRequired(L"the document is empty");
    const std::optional<std::wstring> value = first->NamedAttribute(name);
    if (!value) {
        ObjectRequired(L"the document's declaration has no field \"" + name + L"\"");
    }
    return *value;
}

bool vbXML::OpenXML(const std::wstring& strSource, std::int32_t oType) {
    oDocument.reset();
    oDocument = component_.CreateDocument();
    switch (oType) {
        case 0:
            return oDocument->Load(strSource);
        case 1:
            return oDocument->LoadXml(strSource);
        default:
            return false;
    }
}

std::optional<std::wstring> vbXML::ReadNode(const std::wstring& strQuery) {
    return Guarded(std::optional<std::wstring>(), [&]() -> std::optional<std::wstring> {
        return SelectNode(oDocument, strQuery)->Text();
    });
}

std::wstring vbXML::ReadNodeXML(const std::wstring& strQuery) {
    return SelectNode(oDocument, strQuery)->Markup();
}

std::wstring vbXML::XML() {
    return RequireDocument(oDocument).Xml();
}

void vbXML::WriteNode(const std::wstring& strQuery, const XmlValue& Value) {
    Guarded([&] {
        const std::unique_ptr<XmlNode> node = SelectNode(oDocument, strQuery);
        node->SetText(Value.ToText());
    });
}

std::wstring vbXML::ReadAttribute(const XmlValue& strQuery, const std::wstring& strName) {
    return Guarded(std::wstring(), [&] {
        const std::optional<std::wstring> value =
            SelectElement(oDocument, strQuery.ToText())->GetAttribute(strName);
        return value.value_or(std::wstring());
    });
}

void vbXML::WriteAttribute(const std::wstring& strQuery, const std::vector<std::wstring>& strNames,
                           const std::vector<std::wstring>& strValues) {
    Guarded([&] {
        const std::unique_ptr<XmlNode> element = SelectElement(oDocument, strQuery);
        CheckArrayLength(strNames);
        for (std::size_t i = 0; i < strNames.size(); ++i) {
            if (strNames[0].empty()) return;
            if (i >= strValues.size()) return;
            RequireName(strNames[i]);
            element->SetAttribute(strNames[i], strValues[i]);
        }
    });
}

std::int32_t vbXML::NodeCount(const std::wstring& strQuery) {
    return Guarded(std::int32_t{-1}, [&] { return SelectNode(oDocument, strQuery)->ChildCount(); });
}

void vbXML::Save(const std::wstring& strFileName) {
    RequireDocument(oDocument).Save(strFileName);
}

void vbXML::DeleteNode(const std::wstring& strQuery) {
    Guarded([&] {
        const std::unique_ptr<XmlNode> node = SelectNode(oDocument, strQuery);
        const std::unique_ptr<XmlNode> parent = node->Parent();
        if (parent) parent->RemoveChild(*node);
    });
}

void vbXML::MakeNode(const std::wstring& strQuery, const std::wstring& strName,
                     const std::vector<std::wstring>& strAttrNames,
                     const std::vector<std::wstring>& /*strAttrValues*/,
                     const XmlValue& NodeValue) {
    const std::unique_ptr<XmlNode> parent = SelectNode(oDocument, strQuery);
    std::optional<std::wstring> text;
    if (!NodeValue.IsEmpty()) text = NodeValue.ToText();
    // Checked before the element is appended, so that a failure changes nothing.
    CheckArrayLength(strAttrNames);
    RequireName(strName);
    oDocument->AppendElement(*parent, strName, text);
}

void vbXML::DeleteAttribute(const std::wstring& strQuery, const std::wstring& strAttributeName) {
    SelectElement(oDocument, strQuery)->RemoveAttribute(strAttributeName);
}

std::int32_t vbXML::GetColorValue(const std::wstring& strQuery) {
    const std::wstring text = SelectNode(oDocument, strQuery)->Text();
    std::vector<std::wstring_view> pieces;
    std::size_t start = 0;
    while (true) {
        const std::size_t separator = text.find(L", ", start);
        if (separator == std::wstring::npos) {
            pieces.emplace_back(text.data() + start, text.size() - start);
            break;
        }
        pieces.emplace_back(text.data() + start, separator - start);
        start = separator + 2;
    }
    if (pieces.size() < 3) {
        throw AppError(errnum::InvalidProcedureCall, L"Invalid procedure call or argument: \"" +
                                                         text +
                                                         L"\" is not a colour of three components");
    }
    if (pieces[0].empty() || pieces[2].empty()) {
        throw AppError(errnum::InvalidProcedureCall,
                       L"Invalid procedure call or argument: \"" + text +
                           L"\" has an empty first or last component");
    }
    const std::int16_t red = ColourComponent(pieces[0].substr(1));
    const std::int16_t green = ColourComponent(pieces[1]);
    const std::int16_t blue = ColourComponent(pieces[2].substr(0, pieces[2].size() - 1));
    return PackComponent(red) + PackComponent(green) * 256 + PackComponent(blue) * 65536;
}

void vbXML::SetColorValue(const std::wstring& strQuery, std::int16_t Red, std::int16_t Green,
                          std::int16_t Blue) {
    WriteNode(strQuery, L"(" + std::to_wstring(Red) + L", " + std::to_wstring(Green) + L", " +
                            std::to_wstring(Blue) + L")");
}

std::wstring vbXML::GetChildValue(const std::wstring& strQuery, const XmlValue& Index) {
    return Guarded(std::wstring(), [&] {
        const std::unique_ptr<XmlNode> node = SelectNode(oDocument, strQuery);
        const std::unique_ptr<XmlNode> child = node->Child(Index.ToInt32());
        return child ? child->Text() : std::wstring();
    });
}

std::wstring vbXML::GetChildAttribute(const std::wstring& strQuery, const XmlValue& strName,
                                      std::int32_t Index) {
    return Guarded(std::wstring(), [&] {
        return SelectChild(oDocument, strQuery, Index)
            ->NamedAttribute(strName.ToText())
            .value_or(std::wstring());
    });
}

std::wstring vbXML::GetChildName(const std::wstring& strQuery, std::int32_t Index) {
    return SelectChild(oDocument, strQuery, Index)->Name();
}

void vbXML::WriteChildAttr(const std::wstring& strQuery, std::int32_t /*Index*/,
                           const std::vector<std::wstring>& strAttrNames,
                           const std::vector<std::wstring>& /*strAttrValues*/) {
    // The selection is made (and fails without a root element) but not used.
    Select(oDocument, strQuery);
    CheckArrayLength(strAttrNames);
}

void vbXML::EncryptNode(const std::wstring& strQuery) {
    const std::unique_ptr<XmlNode> node = SelectNode(oDocument, strQuery, Context::Document);
    const std::wstring text = node->Text();
    node->SetText(EncryptText(text, static_cast<std::int32_t>(text.size())));
}

void vbXML::DecryptNode(const std::wstring& strQuery) {
    const std::unique_ptr<XmlNode> node = SelectNode(oDocument, strQuery, Context::Document);
    const std::wstring text = node->Text();
    node->SetText(DecryptText(text, static_cast<std::int32_t>(text.size())));
}

std::wstring vbXML::EncryptText(const std::wstring& text, std::int32_t count) {
    return ShiftText(component_.SingleByteCodePage(), text, count, 13);
}

std::wstring vbXML::DecryptText(const std::wstring& text, std::int32_t count) {
    return ShiftText(component_.SingleByteCodePage(), text, count, -13);
}
