#pragma once
// The xscreensaver conventions beside the saver's own command line: "-root", "-window-id ID"
// and $XSCREENSAVER_WINDOW name a window that the clocks are drawn into, leaving input and the
// end of the program to xscreensaver.

#include <optional>
#include <string>
#include <vector>

// Where the clocks go when xscreensaver runs the program.
struct XScreenSaverTarget {
    bool root = false;         // the root window
    unsigned long window = 0;  // otherwise this window
};

// A window id in decimal or with "0x" in hexadecimal; no value for anything else (zero, signs,
// trailing text, values above 32 bits).
std::optional<unsigned long> ParseWindowId(const std::string& text);

// The target the arguments and $XSCREENSAVER_WINDOW (`environmentWindow`, null when unset)
// name, or no value when the saver's own modes apply: "-window-id ID" first, then "-root"
// (xscreensaver passes it with the real window in the environment), then the environment
// alone when no argument is given. A "/"-mode argument always selects the saver's own modes.
// Throws AppError for a window id that is missing or not a number.
std::optional<XScreenSaverTarget> FindXScreenSaverTarget(const std::vector<std::string>& args,
                                                         const char* environmentWindow);
