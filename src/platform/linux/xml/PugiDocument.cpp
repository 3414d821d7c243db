// vbXML's document on pugixml. Queries go through the XPath translator; the parser expands
// only the predefined entities and character references, never an external one, and a
// document with a DOCTYPE is refused as a whole.
#include <pugixml.hpp>

#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/AppError.h"
#include "platform/Platform.h"
#include "platform/TextEncoding.h"
#include "platform/linux/PosixFiles.h"
#include "xml/XPathQuery.h"
#include "xml/XmlDom.h"
#include "xml/XmlName.h"

namespace {

constexpr unsigned ParseOptions = pugi::parse_default | pugi::parse_declaration | pugi::parse_pi |
                                  pugi::parse_comments | pugi::parse_doctype;

[[noreturn]] void ComponentFailure(const std::wstring& what) {
    throw AppError(errnum::AutomationError, L"The XML component failed: " + what);
}

std::string ToUtf8(const std::wstring& text) {
    return utf8::FromWide(text);
}
std::wstring FromUtf8(const char* text) {
    return utf8::ToWide(text);
}

struct StringWriter : pugi::xml_writer {
    std::string text;
    void write(const void* data, std::size_t size) override {
        text.append(static_cast<const char*>(data), size);
    }
};

// The component the program was made for takes XML names only; so does this one.
void RequireName(const std::wstring& name) {
    if (!xmlname::IsValid(name)) ComponentFailure(L"\"" + name + L"\" is not an XML name");
}

std::string EscapeAttribute(const char* value) {
    std::string out;
    for (const char* p = value; *p; ++p) {
        switch (*p) {
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
                out += *p;
        }
    }
    return out;
}

// Text content: the text and CDATA of all descendants in document order, without recursion
// (documents may nest deeply).
std::string TextContent(pugi::xml_node node) {
    switch (node.type()) {
        case pugi::node_element:
        case pugi::node_document:
            break;
        default:
            return node.value();
    }
    std::string text;
    pugi::xml_node current = node.first_child();
    while (current) {
        if (current.type() == pugi::node_pcdata || current.type() == pugi::node_cdata) {
            text += current.value();
        }
        if (current.first_child()) {
            current = current.first_child();
            continue;
        }
        while (current != node && !current.next_sibling()) current = current.parent();
        if (current == node) break;
        current = current.next_sibling();
    }
    return text;
}

class PugiNode : public XmlNode {
  public:
    explicit PugiNode(pugi::xpath_node node) : node_(node) {}

    pugi::xml_node Node() const { return node_.node(); }

    bool IsElement() const override {
        return !node_.attribute() && node_.node().type() == pugi::node_element;
    }

    std::wstring Text() const override {
        if (node_.attribute()) return FromUtf8(node_.attribute().value());
        return utf8::ToWide(TextContent(node_.node()));
    }

    void SetText(const std::wstring& text) override {
        const std::string value = ToUtf8(text);
        if (node_.attribute()) {
            pugi::xml_attribute attribute = node_.attribute();
            if (!attribute.set_value(value.c_str())) ComponentFailure(L"cannot set the value");
            return;
        }
        pugi::xml_node node = node_.node();
        switch (node.type()) {
            case pugi::node_element:
                while (node.first_child()) node.remove_child(node.first_child());
                if (!value.empty() &&
                    !node.append_child(pugi::node_pcdata).set_value(value.c_str())) {
                    ComponentFailure(L"cannot set the text");
                }
                return;
            case pugi::node_pcdata:
            case pugi::node_cdata:
            case pugi::node_comment:
            case pugi::node_pi:
                if (!node.set_value(value.c_str())) ComponentFailure(L"cannot set the text");
                return;
            default:
                ComponentFailure(L"this node's text cannot be set");
        }
    }

    std::wstring Markup() const override {
        if (node_.attribute()) {
            return utf8::ToWide(std::string(node_.attribute().name()) + "=\"" +
                                EscapeAttribute(node_.attribute().value()) + "\"");
        }
        StringWriter writer;
        node_.node().print(writer, "", pugi::format_raw | pugi::format_no_declaration,
                           pugi::encoding_utf8);
        return utf8::ToWide(writer.text);
    }

    std::wstring Name() const override {
        if (node_.attribute()) return FromUtf8(node_.attribute().name());
        const pugi::xml_node node = node_.node();
        switch (node.type()) {
            case pugi::node_document:
                return L"#document";
            case pugi::node_pcdata:
                return L"#text";
            case pugi::node_cdata:
                return L"#cdata-section";
            case pugi::node_comment:
                return L"#comment";
            case pugi::node_declaration:
                return L"xml";
            default:
                return FromUtf8(node.name());
        }
    }

    std::int32_t ChildCount() const override {
        if (node_.attribute()) return 0;
        std::int32_t count = 0;
        for (pugi::xml_node child = node_.node().first_child(); child;
             child = child.next_sibling()) {
            ++count;
        }
        return count;
    }

    std::unique_ptr<XmlNode> Child(std::int32_t index) const override {
        if (node_.attribute() || index < 0) return nullptr;
        pugi::xml_node child = node_.node().first_child();
        for (std::int32_t i = 0; child && i < index; ++i) child = child.next_sibling();
        if (!child) return nullptr;
        return std::make_unique<PugiNode>(pugi::xpath_node(child));
    }

    std::unique_ptr<XmlNode> Parent() const override {
        if (node_.attribute()) return nullptr;
        const pugi::xml_node parent = node_.node().parent();
        if (!parent) return nullptr;
        return std::make_unique<PugiNode>(pugi::xpath_node(parent));
    }

    void RemoveChild(XmlNode& child) override {
        const auto& other = static_cast<PugiNode&>(child);
        if (node_.attribute() || other.node_.attribute() ||
            !node_.node().remove_child(other.Node())) {
            ComponentFailure(L"the node is not a child of this node");
        }
    }

    std::optional<std::wstring> NamedAttribute(const std::wstring& name) const override {
        if (node_.attribute()) return std::nullopt;
        const pugi::xml_node node = node_.node();
        if (node.type() != pugi::node_element && node.type() != pugi::node_declaration) {
            return std::nullopt;
        }
        const pugi::xml_attribute attribute = node.attribute(ToUtf8(name).c_str());
        if (!attribute) return std::nullopt;
        return FromUtf8(attribute.value());
    }

    std::optional<std::wstring> GetAttribute(const std::wstring& name) const override {
        return NamedAttribute(name);
    }

    void SetAttribute(const std::wstring& name, const std::wstring& value) override {
        RequireName(name);
        pugi::xml_node node = node_.node();
        const std::string key = ToUtf8(name);
        pugi::xml_attribute attribute = node.attribute(key.c_str());
        if (!attribute) attribute = node.append_attribute(key.c_str());
        if (!attribute || !attribute.set_value(ToUtf8(value).c_str())) {
            ComponentFailure(L"cannot set the attribute \"" + name + L"\"");
        }
    }

    void RemoveAttribute(const std::wstring& name) override {
        node_.node().remove_attribute(ToUtf8(name).c_str());
    }

  private:
    pugi::xpath_node node_;
};

bool IsValidUtf8(const std::string& bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        std::size_t length;
        std::uint32_t code;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            length = 2, code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3, code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4, code = c & 0x07;
        } else {
            return false;
        }
        if (i + length > bytes.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        if ((length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
            (length == 4 && (code < 0x10000 || code > 0x10FFFF))) {
            return false;
        }
        i += length;
    }
    return true;
}

// A file without a byte-order mark or a declared encoding is UTF-8 and must be valid UTF-8,
// as the component on Windows demands.
bool MustBeUtf8(const std::string& bytes) {
    if (bytes.size() >= 2) {
        const auto b0 = static_cast<unsigned char>(bytes[0]);
        const auto b1 = static_cast<unsigned char>(bytes[1]);
        if ((b0 == 0xFE && b1 == 0xFF) || (b0 == 0xFF && b1 == 0xFE) || b0 == 0 || b1 == 0) {
            return false;
        }
    }
    if (bytes.starts_with("<?xml")) {
        const std::size_t end = bytes.find("?>");
        if (bytes.substr(0, end).find("encoding") != std::string::npos) return false;
    }
    return true;
}

class PugiDocument : public XmlDocument {
  public:
    bool Load(const std::wstring& path) override {
        std::ifstream file(NativePath(path), std::ios::binary);
        if (!file) return false;
        std::ostringstream content;
        content << file.rdbuf();
        if (!file.good() && !file.eof()) return Fail();
        const std::string bytes = content.str();
        if (MustBeUtf8(bytes) && !IsValidUtf8(bytes)) return Fail();
        return Accept(
            document_.load_buffer(bytes.data(), bytes.size(), ParseOptions, pugi::encoding_auto));
    }

    bool LoadXml(const std::wstring& text) override {
        const std::string bytes = ToUtf8(text);
        return Accept(
            document_.load_buffer(bytes.data(), bytes.size(), ParseOptions, pugi::encoding_utf8));
    }

    std::unique_ptr<XmlNode> Root() const override {
        const pugi::xml_node root = document_.document_element();
        if (!root) return nullptr;
        return std::make_unique<PugiNode>(pugi::xpath_node(root));
    }

    std::unique_ptr<XmlNode> DocumentNode() const override {
        return std::make_unique<PugiNode>(pugi::xpath_node(document_));
    }

    std::unique_ptr<XmlNode> SelectSingle(const XmlNode& context,
                                          const std::wstring& query) const override {
        const std::optional<std::wstring> xpath = xpathquery::ToXPath(query);
        if (!xpath) ComponentFailure(L"the query \"" + query + L"\" is not supported");
        try {
            const pugi::xpath_query compiled(ToUtf8(*xpath).c_str());
            const pugi::xpath_node found =
                static_cast<const PugiNode&>(context).Node().select_node(compiled);
            if (!found) return nullptr;
            return std::make_unique<PugiNode>(found);
        } catch (const pugi::xpath_exception& error) {
            ComponentFailure(L"the query \"" + query + L"\" is rejected: " +
                             utf8::ToWide(error.what()));
        }
    }

    std::wstring Xml() const override {
        StringWriter writer;
        document_.save(writer, "", pugi::format_raw | pugi::format_no_declaration,
                       pugi::encoding_utf8);
        return utf8::ToWide(writer.text);
    }

    void Save(const std::wstring& path) const override {
        // The file is written in UTF-8; a declaration that names another encoding would
        // misdescribe it, so the saved declaration names UTF-8.
        const pugi::xml_node declaration = document_.first_child();
        bool ok;
        if (declaration.type() == pugi::node_declaration && declaration.attribute("encoding")) {
            pugi::xml_document copy;
            copy.reset(document_);
            copy.first_child().attribute("encoding").set_value("UTF-8");
            ok =
                copy.save_file(NativePath(path).c_str(), "\t",
                               pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
        } else {
            ok = document_.save_file(NativePath(path).c_str(), "\t",
                                     pugi::format_raw | pugi::format_no_declaration,
                                     pugi::encoding_utf8);
        }
        if (!ok) {
            throw AppError(errnum::PathFileAccess,
                           L"Path/File access error: cannot write \"" + path + L"\"");
        }
    }

    void AppendElement(XmlNode& parent, const std::wstring& name,
                       const std::optional<std::wstring>& text) override {
        RequireName(name);
        // Elements go under an element, or under a document that has no root element yet.
        // (An attribute's handle has no node of its own and is refused here too.)
        pugi::xml_node node = static_cast<PugiNode&>(parent).Node();
        const bool under_element = node.type() == pugi::node_element;
        const bool under_empty_document =
            node.type() == pugi::node_document && !document_.document_element();
        if (!under_element && !under_empty_document) {
            ComponentFailure(L"an element cannot be appended here");
        }
        pugi::xml_node element = node.append_child(ToUtf8(name).c_str());
        if (!element) ComponentFailure(L"cannot append the element");
        if (text && !text->empty()) {
            element.append_child(pugi::node_pcdata).set_value(ToUtf8(*text).c_str());
        }
    }

  private:
    bool Fail() {
        document_.reset();
        return false;
    }

    // A document is accepted with exactly one root element, no DOCTYPE (no DTD is read) and
    // nothing but declaration, comments and processing instructions beside the root.
    bool Accept(const pugi::xml_parse_result& result) {
        if (!result) return Fail();
        int elements = 0;
        for (pugi::xml_node child = document_.first_child(); child; child = child.next_sibling()) {
            switch (child.type()) {
                case pugi::node_element:
                    ++elements;
                    break;
                case pugi::node_declaration:
                    if (child != document_.first_child()) return Fail();
                    break;
                case pugi::node_comment:
                case pugi::node_pi:
                    break;
                default:
                    return Fail();
            }
        }
        if (elements != 1) return Fail();
        return true;
    }

    pugi::xml_document document_;
};

class PugiComponent final : public XmlComponent {
  public:
    std::unique_ptr<XmlDocument> CreateDocument() const override {
        return std::make_unique<PugiDocument>();
    }
    // Linux has no ANSI code page; Windows-1252, the usual western one, stands in.
    const CodePage& SingleByteCodePage() const override { return codePage_; }

  private:
    Windows1252CodePage codePage_;
};

}  // namespace

const XmlComponent& PlatformXmlComponent() {
    static const PugiComponent component;
    return component;
}
