#pragma once
// The small DOM that vbXML's operations are written against. Two backends implement it: MSXML
// through COM on Windows, libxml2 on Linux. Nodes are short-lived handles into the document
// that made them; they must not outlive it. Failed calls into the component throw AppError;
// "no such node" is a null result, so that the caller decides whether that is a failure.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class XmlNode {
  public:
    virtual ~XmlNode() = default;

    virtual bool IsElement() const = 0;
    // Text content: the node's own text, or the text of all its descendants in order.
    virtual std::wstring Text() const = 0;
    // An element's whole content becomes one text node; an attribute's value becomes text.
    virtual void SetText(const std::wstring& text) = 0;
    // The node and its descendants serialised as markup.
    virtual std::wstring Markup() const = 0;
    virtual std::wstring Name() const = 0;

    // All child nodes of any kind, counted from 0.
    virtual std::int32_t ChildCount() const = 0;
    // Null when index is out of range.
    virtual std::unique_ptr<XmlNode> Child(std::int32_t index) const = 0;
    // Null for the document node and for attributes.
    virtual std::unique_ptr<XmlNode> Parent() const = 0;
    virtual void RemoveChild(XmlNode& child) = 0;

    // The node's attribute collection, looked up by name: nothing when the node has no
    // collection or no such attribute. The XML declaration's fields count as its attributes.
    virtual std::optional<std::wstring> NamedAttribute(const std::wstring& name) const = 0;

    // Element only (callers check IsElement first).
    virtual std::optional<std::wstring> GetAttribute(const std::wstring& name) const = 0;
    virtual void SetAttribute(const std::wstring& name, const std::wstring& value) = 0;
    // Removing an attribute the element lacks changes nothing and is no failure.
    virtual void RemoveAttribute(const std::wstring& name) = 0;
};

class XmlDocument {
  public:
    virtual ~XmlDocument() = default;

    // Both return false when the source cannot be read or is not a well-formed document.
    virtual bool Load(const std::wstring& path) = 0;
    virtual bool LoadXml(const std::wstring& text) = 0;

    // The root element, or null.
    virtual std::unique_ptr<XmlNode> Root() const = 0;
    // The document itself as a node.
    virtual std::unique_ptr<XmlNode> DocumentNode() const = 0;
    // The first node that the query selects from context, or null. A query the component
    // rejects throws.
    virtual std::unique_ptr<XmlNode> SelectSingle(const XmlNode& context,
                                                  const std::wstring& query) const = 0;
    virtual std::wstring Xml() const = 0;
    virtual void Save(const std::wstring& path) const = 0;
    // Creates an element named name (with text when given) and appends it as parent's last
    // child. Nothing changes when a step fails.
    virtual void AppendElement(XmlNode& parent, const std::wstring& name,
                               const std::optional<std::wstring>& text) = 0;
};

class CodePage;

// The platform's XML component: the port through which vbXML reaches it.
class XmlComponent {
  public:
    virtual ~XmlComponent() = default;
    // A new, empty document. Throws AppError when the component is missing.
    virtual std::unique_ptr<XmlDocument> CreateDocument() const = 0;
    // The single-byte code page in which node text scrambling shifts character codes.
    virtual const CodePage& SingleByteCodePage() const = 0;
};
