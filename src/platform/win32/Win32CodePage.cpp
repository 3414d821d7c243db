// The system's ANSI code page, as the "A" entry points convert.
#include <windows.h>

#include "platform/win32/Win32Ports.h"

namespace {

class AnsiCodePage final : public CodePage {
  public:
    std::string FromWide(const std::wstring& text) const override {
        if (text.empty()) return {};
        const int length = static_cast<int>(text.size());
        const int size =
            WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
        std::string bytes(static_cast<std::size_t>(size), '\0');
        WideCharToMultiByte(CP_ACP, 0, text.data(), length, bytes.data(), size, nullptr, nullptr);
        return bytes;
    }

    std::wstring ToWide(const std::string& bytes) const override {
        if (bytes.empty()) return {};
        const int length = static_cast<int>(bytes.size());
        const int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
        std::wstring text(static_cast<std::size_t>(size), L'\0');
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, text.data(), size);
        return text;
    }
};

}  // namespace

const CodePage& Win32AnsiCodePage() {
    static const AnsiCodePage codePage;
    return codePage;
}
