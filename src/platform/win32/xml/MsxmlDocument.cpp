// vbXML's document on MSXML through COM. COM must already be initialised on the calling
// thread (by the program's entry, or by a test's main).
#include <windows.h>

#include <msxml2.h>
#include <wctype.h>

#include "platform/AppError.h"
#include "platform/Platform.h"
#include "platform/win32/Win32Ports.h"
#include "platform/win32/xml/ComObjects.h"
#include "xml/XmlDom.h"

namespace {

// The MSXML document class and the interfaces used, by their fixed identifiers.
constexpr CLSID ClsidDomDocument = {
    0x2933BF90, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
constexpr IID IidDomDocument = {
    0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
constexpr IID IidDomDocument2 = {
    0x2933BF95, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
constexpr IID IidDomNode = {
    0x2933BF80, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
constexpr IID IidDomElement = {
    0x2933BF86, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

void Check(HRESULT result, const wchar_t* what) {
    if (FAILED(result)) {
        wchar_t code[16];
        wsprintfW(code, L"0x%08lX", static_cast<unsigned long>(result));
        throw AppError(errnum::AutomationError,
                       std::wstring(L"The XML component failed: ") + what + L" (" + code + L")");
    }
}

class MsxmlNode : public XmlNode {
  public:
    explicit MsxmlNode(ComPtr<IXMLDOMNode> node) : node_(std::move(node)) {}

    IXMLDOMNode* Get() const { return node_.Get(); }

    bool IsElement() const override { return static_cast<bool>(Element()); }

    std::wstring Text() const override {
        Bstr text;
        Check(node_->get_text(text.Put()), L"text");
        return text.Text();
    }

    void SetText(const std::wstring& text) override {
        Check(node_->put_text(Bstr(text).Get()), L"text");
    }

    std::wstring Markup() const override {
        Bstr xml;
        Check(node_->get_xml(xml.Put()), L"xml");
        return xml.Text();
    }

    std::wstring Name() const override {
        Bstr name;
        Check(node_->get_nodeName(name.Put()), L"nodeName");
        return name.Text();
    }

    std::int32_t ChildCount() const override {
        long length = 0;
        Check(Children()->get_length(&length), L"length");
        return static_cast<std::int32_t>(length);
    }

    std::unique_ptr<XmlNode> Child(std::int32_t index) const override {
        ComPtr<IXMLDOMNode> child;
        // Out of range: S_FALSE (or a failure) without a node.
        if (FAILED(Children()->get_item(index, child.Put())) || !child) return nullptr;
        return std::make_unique<MsxmlNode>(std::move(child));
    }

    std::unique_ptr<XmlNode> Parent() const override {
        ComPtr<IXMLDOMNode> parent;
        Check(node_->get_parentNode(parent.Put()), L"parentNode");
        if (!parent) return nullptr;
        return std::make_unique<MsxmlNode>(std::move(parent));
    }

    void RemoveChild(XmlNode& child) override {
        ComPtr<IXMLDOMNode> removed;
        Check(node_->removeChild(static_cast<MsxmlNode&>(child).Get(), removed.Put()),
              L"removeChild");
    }

    std::optional<std::wstring> NamedAttribute(const std::wstring& name) const override {
        ComPtr<IXMLDOMNamedNodeMap> attributes;
        Check(node_->get_attributes(attributes.Put()), L"attributes");
        ComPtr<IXMLDOMNode> attribute;
        if (attributes && SUCCEEDED(attributes->getNamedItem(Bstr(name).Get(), attribute.Put())) &&
            attribute) {
            Bstr text;
            Check(attribute->get_text(text.Put()), L"text");
            return text.Text();
        }
        // Some versions of the component (Wine's among them) offer no attributes on the XML
        // declaration; its fields are then read from the declaration's text.
        if (IsDeclaration()) return DeclarationField(name);
        return std::nullopt;
    }

    std::optional<std::wstring> GetAttribute(const std::wstring& name) const override {
        Variant value;
        Check(RequireElement()->getAttribute(Bstr(name).Get(), value.Put()), L"getAttribute");
        if (value.Get().vt != VT_BSTR) return std::nullopt;  // VT_NULL: absent
        return value.Get().bstrVal
                   ? std::wstring(value.Get().bstrVal, SysStringLen(value.Get().bstrVal))
                   : std::wstring();
    }

    void SetAttribute(const std::wstring& name, const std::wstring& value) override {
        Check(RequireElement()->setAttribute(Bstr(name).Get(), Variant(value).Get()),
              L"setAttribute");
    }

    void RemoveAttribute(const std::wstring& name) override {
        ComPtr<IXMLDOMNamedNodeMap> attributes;
        Check(node_->get_attributes(attributes.Put()), L"attributes");
        if (!attributes) Check(E_POINTER, L"attributes");
        ComPtr<IXMLDOMNode> removed;
        Check(attributes->removeNamedItem(Bstr(name).Get(), removed.Put()), L"removeNamedItem");
    }

  private:
    bool IsDeclaration() const {
        DOMNodeType type = NODE_INVALID;
        if (FAILED(node_->get_nodeType(&type)) || type != NODE_PROCESSING_INSTRUCTION) {
            return false;
        }
        return Name() == L"xml";
    }

    // A field of the declaration's text: name="value" or name='value'.
    std::optional<std::wstring> DeclarationField(const std::wstring& name) const {
        if (name.empty()) return std::nullopt;
        Bstr value;
        Check(node_->get_text(value.Put()), L"text");
        const std::wstring text = value.Text();
        std::size_t at = 0;
        while ((at = text.find(name, at)) != std::wstring::npos) {
            const bool starts = at == 0 || iswspace(text[at - 1]);
            std::size_t i = at + name.size();
            while (i < text.size() && iswspace(text[i])) ++i;
            if (starts && i < text.size() && text[i] == L'=') {
                ++i;
                while (i < text.size() && iswspace(text[i])) ++i;
                if (i < text.size() && (text[i] == L'"' || text[i] == L'\'')) {
                    const std::size_t end = text.find(text[i], i + 1);
                    if (end == std::wstring::npos) return std::nullopt;
                    return text.substr(i + 1, end - i - 1);
                }
            }
            at += name.size();
        }
        return std::nullopt;
    }

    ComPtr<IXMLDOMElement> Element() const {
        return node_.template As<IXMLDOMElement>(IidDomElement);
    }

    ComPtr<IXMLDOMElement> RequireElement() const {
        ComPtr<IXMLDOMElement> element = Element();
        if (!element) Check(E_NOINTERFACE, L"the node is not an element");
        return element;
    }

    ComPtr<IXMLDOMNodeList> Children() const {
        ComPtr<IXMLDOMNodeList> children;
        Check(node_->get_childNodes(children.Put()), L"childNodes");
        if (!children) Check(E_POINTER, L"childNodes");
        return children;
    }

    ComPtr<IXMLDOMNode> node_;
};

class MsxmlDocument : public XmlDocument {
  public:
    MsxmlDocument() {
        Check(CoCreateInstance(ClsidDomDocument, nullptr, CLSCTX_INPROC_SERVER, IidDomDocument,
                               reinterpret_cast<void**>(document_.Put())),
              L"creating the DOMDocument");
        // Loads finish before load returns, and no external entity or DTD is fetched: a
        // crafted file must not make the program read other files or reach the network.
        Check(document_->put_async(VARIANT_FALSE), L"async");
        Check(document_->put_resolveExternals(VARIANT_FALSE), L"resolveExternals");
        Check(document_->put_validateOnParse(VARIANT_FALSE), L"validateOnParse");
        const ComPtr<IXMLDOMDocument2> document2 = document_.As<IXMLDOMDocument2>(IidDomDocument2);
        if (document2) {
            // Not every version of the component knows this property; the settings above
            // already keep external content out.
            document2->setProperty(Bstr(L"ProhibitDTD").Get(), Variant(true).Get());
        }
    }

    bool Load(const std::wstring& path) override {
        VARIANT_BOOL success = VARIANT_FALSE;
        Check(document_->load(Variant(path).Get(), &success), L"load");
        return success == VARIANT_TRUE;
    }

    bool LoadXml(const std::wstring& text) override {
        VARIANT_BOOL success = VARIANT_FALSE;
        Check(document_->loadXML(Bstr(text).Get(), &success), L"loadXML");
        return success == VARIANT_TRUE;
    }

    std::unique_ptr<XmlNode> Root() const override {
        ComPtr<IXMLDOMElement> root;
        Check(document_->get_documentElement(root.Put()), L"documentElement");
        if (!root) return nullptr;
        return std::make_unique<MsxmlNode>(root.As<IXMLDOMNode>(IidDomNode));
    }

    std::unique_ptr<XmlNode> DocumentNode() const override {
        return std::make_unique<MsxmlNode>(ComPtr<IXMLDOMNode>::Share(document_.Get()));
    }

    std::unique_ptr<XmlNode> SelectSingle(const XmlNode& context,
                                          const std::wstring& query) const override {
        ComPtr<IXMLDOMNode> found;
        Check(static_cast<const MsxmlNode&>(context).Get()->selectSingleNode(Bstr(query).Get(),
                                                                             found.Put()),
              L"selectSingleNode");
        if (!found) return nullptr;
        return std::make_unique<MsxmlNode>(std::move(found));
    }

    std::wstring Xml() const override {
        Bstr xml;
        Check(document_->get_xml(xml.Put()), L"xml");
        return xml.Text();
    }

    void Save(const std::wstring& path) const override {
        const HRESULT result = document_->save(Variant(path).Get());
        if (FAILED(result)) {
            throw AppError(errnum::PathFileAccess,
                           L"Path/File access error: cannot write \"" + path + L"\"");
        }
    }

    void AppendElement(XmlNode& parent, const std::wstring& name,
                       const std::optional<std::wstring>& text) override {
        ComPtr<IXMLDOMElement> element;
        Check(document_->createElement(Bstr(name).Get(), element.Put()), L"createElement");
        if (!element) Check(E_FAIL, L"createElement");
        if (text) Check(element->put_text(Bstr(*text).Get()), L"text");
        ComPtr<IXMLDOMNode> appended;
        Check(static_cast<MsxmlNode&>(parent).Get()->appendChild(element.Get(), appended.Put()),
              L"appendChild");
    }

  private:
    ComPtr<IXMLDOMDocument> document_;
};

class MsxmlComponent final : public XmlComponent {
  public:
    std::unique_ptr<XmlDocument> CreateDocument() const override {
        return std::make_unique<MsxmlDocument>();
    }
    const CodePage& SingleByteCodePage() const override { return Win32AnsiCodePage(); }
};

}  // namespace

const XmlComponent& PlatformXmlComponent() {
    static const MsxmlComponent component;
    return component;
}
