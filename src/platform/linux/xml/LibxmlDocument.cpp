// vbXML's document on libxml2. Only well-formed documents load: libxml2 checks every
// well-formedness rule of XML 1.0 (and namespace well-formedness, as MSXML does). Nothing but
// the document is ever read: no network, no DTD, no external entity; a document with a DOCTYPE
// is refused as a whole, so no entity declared in one is ever expanded. libxml2's limits on
// depth, name and text sizes stay on.
//
// After parsing, the tree is given the shape that vbXML's callers know from MSXML: white-space-
// only text is dropped, the XML declaration is the document's first child, and elements of a
// default namespace answer to their plain names in queries.
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlsave.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <climits>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <sstream>

#include "platform/AppError.h"
#include "platform/Platform.h"
#include "platform/TextEncoding.h"
#include "platform/linux/PosixFiles.h"
#include "xml/XPathQuery.h"
#include "xml/XmlDom.h"
#include "xml/XmlName.h"

namespace {

constexpr int ParseOptions =
    XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NODICT;

[[noreturn]] void ComponentFailure(const std::wstring& what) {
    throw AppError(errnum::AutomationError, L"The XML component failed: " + what);
}

const xmlChar* X(const std::string& text) {
    return reinterpret_cast<const xmlChar*>(text.c_str());
}
std::string S(const xmlChar* text) {
    return text ? reinterpret_cast<const char*>(text) : "";
}
// A string that libxml2 allocated, taken over and freed.
std::string Take(xmlChar* text) {
    std::string result = S(text);
    xmlFree(text);
    return result;
}

void RequireName(const std::wstring& name) {
    if (!xmlname::IsValid(name)) ComponentFailure(L"\"" + name + L"\" is not an XML name");
}

std::string QualifiedName(const xmlChar* name, const xmlNs* ns) {
    return ns && ns->prefix ? S(ns->prefix) + ":" + S(name) : S(name);
}

std::string EscapeAttribute(const std::string& value) {
    std::string out;
    for (const char c : value) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// The node and its descendants as UTF-8 markup, without line breaks or indentation added.
std::string Serialise(xmlNode* node) {
    xmlBuffer* buffer = xmlBufferCreate();
    if (!buffer) ComponentFailure(L"out of memory");
    xmlSaveCtxt* save = xmlSaveToBuffer(buffer, "UTF-8", XML_SAVE_NO_DECL | XML_SAVE_AS_XML);
    if (save) {
        xmlSaveTree(save, node);
        xmlSaveClose(save);
    }
    std::string text(reinterpret_cast<const char*>(xmlBufferContent(buffer)),
                     static_cast<std::size_t>(xmlBufferLength(buffer)));
    xmlBufferFree(buffer);
    if (!save) ComponentFailure(L"cannot serialise the node");
    return text;
}

// The XML declaration's fields, kept beside libxml2's tree (which holds no node for it).
struct Declaration {
    std::string version, encoding, standalone;  // empty: the field is absent
    std::string Markup(const std::string& encodingShown) const {
        std::string text = "<?xml version=\"" + version + "\"";
        if (!encodingShown.empty()) text += " encoding=\"" + encodingShown + "\"";
        if (!standalone.empty()) text += " standalone=\"" + standalone + "\"";
        return text + "?>";
    }
    std::optional<std::string> Field(const std::string& name) const {
        const std::string* value = name == "version"      ? &version
                                   : name == "encoding"   ? &encoding
                                   : name == "standalone" ? &standalone
                                                          : nullptr;
        if (!value || value->empty()) return std::nullopt;
        return *value;
    }
};

class LibxmlDocument;

// A node of the tree, an attribute (libxml2's attribute shares the node's first fields), or the
// declaration (node_ is then the document).
class LibxmlNode : public XmlNode {
  public:
    LibxmlNode(const LibxmlDocument& owner, xmlNode* node, bool declaration = false)
        : owner_(owner), node_(node), declaration_(declaration) {}

    xmlNode* Node() const { return node_; }
    bool IsDeclaration() const { return declaration_; }
    bool IsAttribute() const { return !declaration_ && node_->type == XML_ATTRIBUTE_NODE; }
    xmlAttr* Attribute() const { return reinterpret_cast<xmlAttr*>(node_); }

    bool IsElement() const override { return !declaration_ && node_->type == XML_ELEMENT_NODE; }
    std::wstring Text() const override;
    void SetText(const std::wstring& text) override;
    std::wstring Markup() const override;
    std::wstring Name() const override;
    std::int32_t ChildCount() const override;
    std::unique_ptr<XmlNode> Child(std::int32_t index) const override;
    std::unique_ptr<XmlNode> Parent() const override;
    void RemoveChild(XmlNode& child) override;
    std::optional<std::wstring> NamedAttribute(const std::wstring& name) const override;
    std::optional<std::wstring> GetAttribute(const std::wstring& name) const override {
        return NamedAttribute(name);
    }
    void SetAttribute(const std::wstring& name, const std::wstring& value) override;
    void RemoveAttribute(const std::wstring& name) override;

  private:
    xmlAttr* FindAttribute(const std::string& name) const {
        for (xmlAttr* attribute = node_->properties; attribute; attribute = attribute->next)
            if (QualifiedName(attribute->name, attribute->ns) == name) return attribute;
        return nullptr;
    }

    const LibxmlDocument& owner_;
    xmlNode* node_;
    bool declaration_;
};

class LibxmlDocument : public XmlDocument {
  public:
    ~LibxmlDocument() override { Reset(); }

    bool Load(const std::wstring& path) override {
        Reset();
        std::ifstream file(NativePath(path), std::ios::binary);
        if (!file) return false;
        std::ostringstream content;
        content << file.rdbuf();
        if (!file.good() && !file.eof()) return false;
        return Parse(content.str(), 0);
    }

    bool LoadXml(const std::wstring& text) override {
        Reset();
        // The text is already characters: a declared encoding describes nothing and is ignored
        // (it still counts as one of the declaration's fields).
        const std::string bytes = utf8::FromWide(text);
        if (!Parse(bytes, XML_PARSE_IGNORE_ENC)) return false;
        std::smatch field;
        const std::string head = bytes.substr(0, bytes.find("?>"));
        if (declaration_ &&
            std::regex_search(head, field, std::regex("\\sencoding\\s*=\\s*([\"'])([^\"']*)\\1")))
            declaration_->encoding = field[2];
        return true;
    }

    std::unique_ptr<XmlNode> Root() const override {
        xmlNode* root = document_ ? xmlDocGetRootElement(document_) : nullptr;
        if (!root) return nullptr;
        return std::make_unique<LibxmlNode>(*this, root);
    }

    std::unique_ptr<XmlNode> DocumentNode() const override {
        if (!document_) ComponentFailure(L"no document");
        return std::make_unique<LibxmlNode>(*this, reinterpret_cast<xmlNode*>(document_));
    }

    std::unique_ptr<XmlNode> SelectSingle(const XmlNode& context,
                                          const std::wstring& query) const override {
        const std::optional<std::wstring> xpath = xpathquery::ToXPath(query);
        if (!xpath) ComponentFailure(L"the query \"" + query + L"\" is not supported");
        const auto& start = static_cast<const LibxmlNode&>(context);
        if (start.IsDeclaration()) return nullptr;
        xmlXPathContext* evaluation = xmlXPathNewContext(document_);
        if (!evaluation) ComponentFailure(L"out of memory");
        evaluation->node = start.Node();
        for (const auto& [prefix, uri] : prefixes_)
            xmlXPathRegisterNs(evaluation, X(prefix), X(uri));
        xmlXPathObject* result = xmlXPathEvalExpression(X(utf8::FromWide(*xpath)), evaluation);
        xmlXPathFreeContext(evaluation);
        if (!result) ComponentFailure(L"the query \"" + query + L"\" is rejected");
        xmlNode* found = nullptr;
        if (result->type == XPATH_NODESET && result->nodesetval && result->nodesetval->nodeNr > 0) {
            xmlXPathNodeSetSort(result->nodesetval);  // the first in document order
            found = result->nodesetval->nodeTab[0];
        }
        xmlXPathFreeObject(result);
        if (!found || found->type == XML_NAMESPACE_DECL) return nullptr;
        return std::make_unique<LibxmlNode>(*this, found);
    }

    std::wstring Xml() const override {
        if (!document_) ComponentFailure(L"no document");
        return utf8::ToWide(Markup(false));
    }

    void Save(const std::wstring& path) const override {
        // The file is written in UTF-8; a declaration that names another encoding would
        // misdescribe it, so the saved declaration names UTF-8.
        std::ofstream file;
        if (document_) file.open(NativePath(path), std::ios::binary | std::ios::trunc);
        if (!file || !(file << Markup(true)) || !file.flush()) {
            throw AppError(errnum::PathFileAccess,
                           L"Path/File access error: cannot write \"" + path + L"\"");
        }
    }

    void AppendElement(XmlNode& parent, const std::wstring& name,
                       const std::optional<std::wstring>& text) override {
        RequireName(name);
        // Elements go under an element, or under a document that has no root element yet.
        const auto& target = static_cast<LibxmlNode&>(parent);
        const bool under_element = target.IsElement();
        const bool under_empty_document = !target.IsDeclaration() &&
                                          target.Node()->type == XML_DOCUMENT_NODE &&
                                          !xmlDocGetRootElement(document_);
        if (!under_element && !under_empty_document) {
            ComponentFailure(L"an element cannot be appended here");
        }
        xmlNode* element = xmlNewDocNode(document_, nullptr, X(utf8::FromWide(name)), nullptr);
        if (!element) ComponentFailure(L"cannot append the element");
        if (text && !text->empty()) {
            xmlAddChild(element, xmlNewDocText(document_, X(utf8::FromWide(*text))));
        }
        xmlAddChild(target.Node(), element);
    }

    xmlDoc* Document() const { return document_; }
    const std::optional<Declaration>& DeclarationFields() const { return declaration_; }

  private:
    void Reset() {
        if (document_) xmlFreeDoc(document_);
        document_ = nullptr;
        declaration_.reset();
        prefixes_.clear();
    }

    // A DOCTYPE stops the parser at once: its declarations are never read.
    static void RefuseDoctype(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
        auto* parser = static_cast<xmlParserCtxt*>(context);
        *static_cast<bool*>(parser->_private) = true;
        xmlStopParser(parser);
    }

    bool Parse(const std::string& bytes, int options) {
        if (bytes.size() > INT_MAX) return false;
        xmlParserCtxt* parser = xmlNewParserCtxt();
        if (!parser) return false;
        bool doctype = false;
        parser->_private = &doctype;
        parser->sax->internalSubset = RefuseDoctype;
        xmlDoc* document = xmlCtxtReadMemory(parser, bytes.data(), static_cast<int>(bytes.size()),
                                             nullptr, nullptr, ParseOptions | options);
        const bool accepted = document && parser->wellFormed && parser->nsWellFormed && !doctype &&
                              !document->intSubset && xmlDocGetRootElement(document);
        xmlFreeParserCtxt(parser);
        if (!accepted) {
            if (document) xmlFreeDoc(document);
            return false;
        }
        document_ = document;
        if (document->standalone != -1) {  // -1: the document has no declaration
            declaration_ = Declaration{S(document->version), S(document->encoding),
                                       document->standalone == 1   ? "yes"
                                       : document->standalone == 0 ? "no"
                                                                   : ""};
        }
        Tidy();
        return true;
    }

    static bool IsBlank(const xmlChar* text) {
        for (; text && *text; ++text)
            if (*text != ' ' && *text != '\t' && *text != '\r' && *text != '\n') return false;
        return true;
    }

    // Drops white-space-only text, takes elements out of a default namespace (they answer to
    // their plain names, as the component on Windows has them) and notes every prefix declared,
    // for queries that name one. Walks without recursion.
    void Tidy() {
        xmlNode* top = reinterpret_cast<xmlNode*>(document_);
        xmlNode* node = top->children;
        while (node) {
            xmlNode* next = nullptr;
            if (node->type == XML_TEXT_NODE && IsBlank(node->content)) {
                next = node->next;
                xmlNode* up = node->parent;
                xmlUnlinkNode(node);
                xmlFreeNode(node);
                node = next ? next : Climb(up, top);
                continue;
            }
            if (node->type == XML_ELEMENT_NODE) {
                if (node->ns && !node->ns->prefix) node->ns = nullptr;
                for (xmlNs* ns = node->nsDef; ns; ns = ns->next)
                    if (ns->prefix) prefixes_.emplace(S(ns->prefix), S(ns->href));
            }
            node = node->children && node->type == XML_ELEMENT_NODE ? node->children
                   : node->next                                     ? node->next
                                                                    : Climb(node->parent, top);
        }
    }

    // The next sibling of the nearest ancestor (from node up) that has one, below top.
    static xmlNode* Climb(xmlNode* node, xmlNode* top) {
        while (node && node != top && !node->next) node = node->parent;
        return node && node != top ? node->next : nullptr;
    }

    std::string Markup(bool forSaving) const {
        std::string text;
        if (declaration_) {
            const std::string& encoding = declaration_->encoding;
            text = declaration_->Markup(forSaving && !encoding.empty() ? "UTF-8" : encoding);
        }
        for (xmlNode* child = document_->children; child; child = child->next)
            text += Serialise(child);
        return text;
    }

    xmlDoc* document_ = nullptr;
    std::optional<Declaration> declaration_;
    std::map<std::string, std::string> prefixes_;
};

std::wstring LibxmlNode::Text() const {
    if (declaration_) {
        const std::string markup =
            owner_.DeclarationFields()->Markup(owner_.DeclarationFields()->encoding);
        return utf8::ToWide(markup.substr(6, markup.size() - 8));  // between "<?xml " and "?>"
    }
    return utf8::ToWide(Take(xmlNodeGetContent(node_)));
}

void LibxmlNode::SetText(const std::wstring& text) {
    const std::string value = utf8::FromWide(text);
    if (IsAttribute()) {
        xmlAttr* attribute = Attribute();
        if (!xmlSetNsProp(attribute->parent, attribute->ns, attribute->name, X(value)))
            ComponentFailure(L"cannot set the value");
        return;
    }
    switch (declaration_ ? XML_DOCUMENT_NODE : node_->type) {
        case XML_ELEMENT_NODE:
            while (xmlNode* child = node_->children) {
                xmlUnlinkNode(child);
                xmlFreeNode(child);
            }
            if (!value.empty() && !xmlAddChild(node_, xmlNewDocText(owner_.Document(), X(value)))) {
                ComponentFailure(L"cannot set the text");
            }
            return;
        case XML_TEXT_NODE:
        case XML_CDATA_SECTION_NODE:
        case XML_COMMENT_NODE:
        case XML_PI_NODE:
            xmlNodeSetContent(node_, X(value));
            return;
        default:
            ComponentFailure(L"this node's text cannot be set");
    }
}

std::wstring LibxmlNode::Markup() const {
    if (declaration_) {
        return utf8::ToWide(
            owner_.DeclarationFields()->Markup(owner_.DeclarationFields()->encoding));
    }
    if (IsAttribute()) {
        return utf8::ToWide(QualifiedName(node_->name, node_->ns) + "=\"" +
                            EscapeAttribute(Take(xmlNodeGetContent(node_))) + "\"");
    }
    if (node_->type == XML_DOCUMENT_NODE) return owner_.Xml();
    return utf8::ToWide(Serialise(node_));
}

std::wstring LibxmlNode::Name() const {
    if (declaration_) return L"xml";
    switch (node_->type) {
        case XML_DOCUMENT_NODE:
            return L"#document";
        case XML_TEXT_NODE:
            return L"#text";
        case XML_CDATA_SECTION_NODE:
            return L"#cdata-section";
        case XML_COMMENT_NODE:
            return L"#comment";
        default:
            return utf8::ToWide(QualifiedName(node_->name, node_->ns));
    }
}

// The document's children begin with the declaration when it has one.
std::int32_t LibxmlNode::ChildCount() const {
    if (declaration_ || IsAttribute()) return 0;
    std::int32_t count = node_->type == XML_DOCUMENT_NODE && owner_.DeclarationFields() ? 1 : 0;
    for (xmlNode* child = node_->children; child; child = child->next) ++count;
    return count;
}

std::unique_ptr<XmlNode> LibxmlNode::Child(std::int32_t index) const {
    if (declaration_ || IsAttribute() || index < 0) return nullptr;
    if (node_->type == XML_DOCUMENT_NODE && owner_.DeclarationFields()) {
        if (index == 0) return std::make_unique<LibxmlNode>(owner_, node_, true);
        --index;
    }
    xmlNode* child = node_->children;
    for (std::int32_t i = 0; child && i < index; ++i) child = child->next;
    if (!child) return nullptr;
    return std::make_unique<LibxmlNode>(owner_, child);
}

std::unique_ptr<XmlNode> LibxmlNode::Parent() const {
    if (declaration_) return std::make_unique<LibxmlNode>(owner_, node_);
    if (IsAttribute() || !node_->parent) return nullptr;
    return std::make_unique<LibxmlNode>(owner_, node_->parent);
}

void LibxmlNode::RemoveChild(XmlNode& child) {
    auto& other = static_cast<LibxmlNode&>(child);
    if (declaration_ || IsAttribute() || other.declaration_ || other.IsAttribute() ||
        other.node_->parent != node_) {
        ComponentFailure(L"the node is not a child of this node");
    }
    xmlUnlinkNode(other.node_);
    xmlFreeNode(other.node_);
}

std::optional<std::wstring> LibxmlNode::NamedAttribute(const std::wstring& name) const {
    const std::string key = utf8::FromWide(name);
    if (declaration_) {
        const auto field = owner_.DeclarationFields()->Field(key);
        return field ? std::optional(utf8::ToWide(*field)) : std::nullopt;
    }
    if (node_->type != XML_ELEMENT_NODE) return std::nullopt;
    if (xmlAttr* attribute = FindAttribute(key))
        return utf8::ToWide(Take(xmlNodeGetContent(reinterpret_cast<xmlNode*>(attribute))));
    // Namespace declarations read as the attributes they are written as.
    for (xmlNs* ns = node_->nsDef; ns; ns = ns->next)
        if (key == (ns->prefix ? "xmlns:" + S(ns->prefix) : std::string("xmlns")))
            return utf8::ToWide(S(ns->href));
    return std::nullopt;
}

void LibxmlNode::SetAttribute(const std::wstring& name, const std::wstring& value) {
    RequireName(name);
    const std::string key = utf8::FromWide(name);
    xmlAttr* attribute = FindAttribute(key);
    const bool done =
        attribute ? xmlSetNsProp(node_, attribute->ns, attribute->name, X(utf8::FromWide(value)))
                  : xmlNewProp(node_, X(key), X(utf8::FromWide(value)));
    if (!done) ComponentFailure(L"cannot set the attribute \"" + name + L"\"");
}

void LibxmlNode::RemoveAttribute(const std::wstring& name) {
    if (IsElement())
        if (xmlAttr* attribute = FindAttribute(utf8::FromWide(name))) xmlRemoveProp(attribute);
}

void IgnoreError(void*, xmlError*) {}

class LibxmlComponent final : public XmlComponent {
  public:
    LibxmlComponent() {
        xmlInitParser();
        // Failures are results here, never lines on the terminal.
        xmlSetStructuredErrorFunc(nullptr, IgnoreError);
    }
    std::unique_ptr<XmlDocument> CreateDocument() const override {
        return std::make_unique<LibxmlDocument>();
    }
    // Linux has no ANSI code page; Windows-1252, the usual western one, stands in.
    const CodePage& SingleByteCodePage() const override { return codePage_; }

  private:
    Windows1252CodePage codePage_;
};

}  // namespace

const XmlComponent& PlatformXmlComponent() {
    static const LibxmlComponent component;
    return component;
}
