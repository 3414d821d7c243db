#include "platform/linux/app/XScreenSaverOptions.h"

#include <cstdint>

#include "platform/AppError.h"
#include "platform/TextEncoding.h"

std::optional<unsigned long> ParseWindowId(const std::string& text) {
    std::size_t i = 0;
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        i = 2;
    }
    if (i >= text.size()) return std::nullopt;
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) return std::nullopt;
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFFu) return std::nullopt;  // X ids have 29 bits
    }
    if (value == 0) return std::nullopt;
    return static_cast<unsigned long>(value);
}

namespace {

unsigned long RequireWindowId(const std::string& text, const std::string& source) {
    const std::optional<unsigned long> id = ParseWindowId(text);
    if (!id) {
        throw AppError(errnum::InvalidProcedureCall,
                       utf8::ToWide(source + ": \"" + text +
                                    "\" is not a window id (decimal, or hexadecimal with 0x)"));
    }
    return *id;
}

}  // namespace

std::optional<XScreenSaverTarget> FindXScreenSaverTarget(const std::vector<std::string>& args,
                                                         const char* environmentWindow) {
    bool root = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!arg.empty() && arg[0] == '/') return std::nullopt;
        if (arg == "-window-id" || arg == "--window-id") {
            if (i + 1 >= args.size()) {
                throw AppError(errnum::InvalidProcedureCall,
                               L"-window-id: the window id is missing");
            }
            return XScreenSaverTarget{false, RequireWindowId(args[i + 1], "-window-id")};
        }
        if (arg == "-root" || arg == "--root") root = true;
    }
    const bool environment = environmentWindow && *environmentWindow;
    if (environment && (root || args.empty())) {
        return XScreenSaverTarget{false, RequireWindowId(environmentWindow, "XSCREENSAVER_WINDOW")};
    }
    if (root) return XScreenSaverTarget{true, 0};
    return std::nullopt;
}
