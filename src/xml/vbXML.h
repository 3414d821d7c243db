#pragma once
// vbXML: one XML document of the platform's XML component, read and edited by query.
// Windows: MSXML's DOMDocument through COM (COM must be initialised on the calling thread by
// the program's entry; the wrapper does not do it). Linux: libxml2. Both load well-formed
// documents only.
//
// Queries are location paths whose bracketed positions count from 0 ("/serie/value[0]" is the
// first value element); relative queries start at the root element (EncryptNode and
// DecryptNode: at the document); only the first selected node is used. The forms accepted on
// every platform are listed in xml/XPathQuery.h: names, "*", "@name", "@*", ".", "..",
// "text()", "node()", "comment()", "/" and "//" steps, and the predicates [position],
// [@name], [@name='text'] and [child='text']. Any other query is refused as a failing step.
//
// Guarded operations (ReadNode, ReadAttribute, NodeCount, GetChildValue, GetChildAttribute,
// WriteNode, WriteAttribute, DeleteNode) return a fixed result on failure; the others throw
// AppError with a number and a description.
//
// Where the two components legitimately differ:
//  - serialisation (ReadNodeXML, XML, Save): MSXML indents and ends lines with CR LF, libxml2
//    writes the document as one line; Save writes UTF-8 on Linux, and a declared encoding is
//    rewritten to UTF-8 there so that it describes the file;
//  - white space of text content: MSXML trims and normalises it, libxml2 keeps it as parsed
//    (white-space-only text between elements is dropped by both);
//  - DOCTYPE: libxml2 refuses any document with one; MSXML loads it without reading external
//    entities or an external DTD. Neither ever reads anything but the document itself.
//
// Choices made here:
//  - element and attribute names are checked as XML names before the component is asked;
//  - MakeNode and WriteChildAttr accept attribute names and values but write none; a names
//    array longer than 32767 entries is refused before anything changes;
//  - GetColorValue counts a negative colour component as 0 (and one above 255 as 255);
//  - an empty XmlValue reads as the empty text and as 0;
//  - scrambling uses the component's single-byte code page: the system's ANSI code page on
//    Windows, Windows-1252 on Linux.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/AppError.h"

// A parameter that takes any value: empty, a whole number, a floating number or a text.
class XmlValue {
  public:
    XmlValue() = default;
    XmlValue(const wchar_t* text) : value_(std::wstring(text)) {}
    XmlValue(std::wstring text) : value_(std::move(text)) {}
    XmlValue(int number) : value_(static_cast<long long>(number)) {}
    XmlValue(long long number) : value_(number) {}
    XmlValue(double number) : value_(number) {}

    bool IsEmpty() const { return std::holds_alternative<std::monostate>(value_); }
    // The value as text; throws AppError when it has no text form.
    std::wstring ToText() const;
    // The value as a 32-bit integer, rounded to the nearest, halves to even; throws AppError
    // (type mismatch, overflow) when it cannot be converted.
    std::int32_t ToInt32() const;

  private:
    std::variant<std::monostate, long long, double, std::wstring> value_;
};

class XmlDocument;   // the component's document, behind the backend
class XmlComponent;  // the platform's XML component (xml/XmlDom.h)

class vbXML {
  public:
    explicit vbXML(const XmlComponent& component);
    ~vbXML();
    vbXML(const vbXML&) = delete;
    vbXML& operator=(const vbXML&) = delete;

    // Reading
    std::wstring XMLDocumentInfo(std::int32_t diDesiredInfo);
    bool OpenXML(const std::wstring& strSource, std::int32_t oType = 0);
    std::optional<std::wstring> ReadNode(const std::wstring& strQuery);
    std::wstring ReadNodeXML(const std::wstring& strQuery);
    std::wstring XML();
    // Editing
    void WriteNode(const std::wstring& strQuery, const XmlValue& Value);
    std::wstring ReadAttribute(const XmlValue& strQuery, const std::wstring& strName);
    void WriteAttribute(const std::wstring& strQuery, const std::vector<std::wstring>& strNames,
                        const std::vector<std::wstring>& strValues);
    std::int32_t NodeCount(const std::wstring& strQuery);
    void Save(const std::wstring& strFileName);
    void DeleteNode(const std::wstring& strQuery);
    void MakeNode(const std::wstring& strQuery, const std::wstring& strName,
                  const std::vector<std::wstring>& strAttrNames,
                  const std::vector<std::wstring>& strAttrValues,
                  const XmlValue& NodeValue = XmlValue());
    void DeleteAttribute(const std::wstring& strQuery, const std::wstring& strAttributeName);
    // Colours and scrambling
    std::int32_t GetColorValue(const std::wstring& strQuery);
    void SetColorValue(const std::wstring& strQuery, std::int16_t Red, std::int16_t Green,
                       std::int16_t Blue);
    // Children
    std::wstring GetChildValue(const std::wstring& strQuery, const XmlValue& Index);
    std::wstring GetChildAttribute(const std::wstring& strQuery, const XmlValue& strName,
                                   std::int32_t Index);
    std::wstring GetChildName(const std::wstring& strQuery, std::int32_t Index);
    void WriteChildAttr(const std::wstring& strQuery, std::int32_t Index,
                        const std::vector<std::wstring>& strAttrNames,
                        const std::vector<std::wstring>& strAttrValues);
    void EncryptNode(const std::wstring& strQuery);
    void DecryptNode(const std::wstring& strQuery);

  private:
    std::wstring EncryptText(const std::wstring& text, std::int32_t count);
    std::wstring DecryptText(const std::wstring& text, std::int32_t count);

    const XmlComponent& component_;
    std::unique_ptr<XmlDocument> oDocument;
};
