#include "xml/XPathQuery.h"

#include <cstdint>
#include <limits>

namespace xpathquery {
namespace {

bool IsNameStart(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_' || c >= 0xC0;
}

bool IsNameChar(wchar_t c) {
    return IsNameStart(c) || (c >= L'0' && c <= L'9') || c == L'-' || c == L'.' || c == 0xB7;
}

class Translator {
  public:
    explicit Translator(std::wstring_view query) : query_(query) {}

    std::optional<std::wstring> Run() {
        if (query_.empty()) return std::nullopt;
        if (query_ == L"/") return std::wstring(L"/");
        if (Peek(L"//")) {
            out_ += L"//";
            pos_ += 2;
        } else if (Peek(L"/")) {
            out_ += L"/";
            ++pos_;
        }
        while (true) {
            if (!Step()) return std::nullopt;
            if (AtEnd()) return out_;
            if (Peek(L"//")) {
                out_ += L"//";
                pos_ += 2;
            } else if (Peek(L"/")) {
                out_ += L"/";
                ++pos_;
            } else {
                return std::nullopt;
            }
        }
    }

  private:
    bool AtEnd() const { return pos_ >= query_.size(); }
    bool Peek(std::wstring_view text) const { return query_.substr(pos_).starts_with(text); }

    void SkipBlanks() {
        while (!AtEnd() && (query_[pos_] == L' ' || query_[pos_] == L'\t')) ++pos_;
    }

    // A name, with at most one prefix separator.
    std::optional<std::wstring> Name() {
        const std::size_t start = pos_;
        if (AtEnd() || !IsNameStart(query_[pos_])) return std::nullopt;
        bool prefixed = false;
        while (!AtEnd()) {
            const wchar_t c = query_[pos_];
            if (IsNameChar(c)) {
                ++pos_;
            } else if (c == L':' && !prefixed && pos_ + 1 < query_.size() &&
                       IsNameStart(query_[pos_ + 1])) {
                prefixed = true;
                ++pos_;
            } else {
                break;
            }
        }
        return std::wstring(query_.substr(start, pos_ - start));
    }

    bool Step() {
        for (const wchar_t* test : {L"text()", L"node()", L"comment()", L"..", L"."}) {
            if (Peek(test)) {
                out_ += test;
                pos_ += std::wstring_view(test).size();
                return true;
            }
        }
        if (Peek(L"@")) {
            ++pos_;
            out_ += L"@";
            if (Peek(L"*")) {
                ++pos_;
                out_ += L"*";
                return true;
            }
            const auto name = Name();
            if (!name) return false;
            out_ += *name;
            return true;
        }
        if (Peek(L"*")) {
            ++pos_;
            out_ += L"*";
        } else {
            const auto name = Name();
            if (!name) return false;
            out_ += *name;
        }
        while (Peek(L"[")) {
            if (!Predicate()) return false;
        }
        return true;
    }

    bool Predicate() {
        ++pos_;  // '['
        SkipBlanks();
        if (AtEnd()) return false;
        if (query_[pos_] >= L'0' && query_[pos_] <= L'9') {
            std::int64_t position = 0;
            while (!AtEnd() && query_[pos_] >= L'0' && query_[pos_] <= L'9') {
                position = position * 10 + (query_[pos_++] - L'0');
                if (position > std::numeric_limits<std::int32_t>::max()) return false;
            }
            out_ += L"[" + std::to_wstring(position + 1) + L"]";
        } else {
            std::wstring test;
            if (Peek(L"@")) {
                ++pos_;
                test = L"@";
            }
            const auto name = Name();
            if (!name) return false;
            test += *name;
            SkipBlanks();
            if (Peek(L"=")) {
                ++pos_;
                SkipBlanks();
                const auto literal = Literal();
                if (!literal) return false;
                test += L"=" + *literal;
            } else if (test[0] != L'@') {
                return false;  // a bare child name: not one of the accepted tests
            }
            out_ += L"[" + test + L"]";
        }
        SkipBlanks();
        if (!Peek(L"]")) return false;
        ++pos_;
        return true;
    }

    std::optional<std::wstring> Literal() {
        if (AtEnd() || (query_[pos_] != L'"' && query_[pos_] != L'\'')) return std::nullopt;
        const wchar_t quote = query_[pos_];
        const std::size_t end = query_.find(quote, pos_ + 1);
        if (end == std::wstring_view::npos) return std::nullopt;
        std::wstring literal(query_.substr(pos_, end - pos_ + 1));
        pos_ = end + 1;
        return literal;
    }

    std::wstring_view query_;
    std::size_t pos_ = 0;
    std::wstring out_;
};

}  // namespace

std::optional<std::wstring> ToXPath(std::wstring_view query) {
    return Translator(query).Run();
}

}  // namespace xpathquery
