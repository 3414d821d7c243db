#pragma once
// The registry port: the four advapi32 calls the time-zone catalogue makes, in their ANSI
// forms. Names and text values are bytes in the ANSI code page, as on the wire of the
// "A" entry points; the portable code converts them.

#include <cstdint>
#include <string>

namespace reg {

// An opaque key handle; 0 means "no key".
using Key = std::uintptr_t;

inline constexpr Key LocalMachine = 0x80000002u;  // HKEY_LOCAL_MACHINE
inline constexpr Key CurrentUser = 0x80000001u;   // HKEY_CURRENT_USER

// Access rights (winnt.h values).
inline constexpr std::uint32_t KeyRead = 0x20019;       // KEY_READ
inline constexpr std::uint32_t KeyAllAccess = 0xF003F;  // KEY_ALL_ACCESS
inline constexpr std::uint32_t KeyWriteBits = 0x00006;  // KEY_SET_VALUE | KEY_CREATE_SUB_KEY

// Status codes (winerror.h values).
inline constexpr long Success = 0;
inline constexpr long FileNotFound = 2;
inline constexpr long AccessDenied = 5;
inline constexpr long InvalidHandle = 6;
inline constexpr long MoreData = 234;
inline constexpr long NoMoreItems = 259;

// Value types.
inline constexpr std::uint32_t TypeSz = 1;      // REG_SZ
inline constexpr std::uint32_t TypeBinary = 3;  // REG_BINARY
inline constexpr std::uint32_t TypeDword = 4;   // REG_DWORD

}  // namespace reg

class mRegistry {
  public:
    virtual ~mRegistry() = default;

    virtual long RegOpenKeyExA(reg::Key root, const std::string& subKey, std::uint32_t options,
                               std::uint32_t samDesired, reg::Key& result) = 0;
    // Writes the index-th subkey name, NUL-terminated, into name[0..cchName).
    virtual long RegEnumKeyA(reg::Key key, std::uint32_t index, char* name,
                             std::uint32_t cchName) = 0;
    // Writes at most *cbData bytes of the value into data and sets *cbData to the size.
    virtual long RegQueryValueExA(reg::Key key, const std::string& valueName, std::uint32_t* type,
                                  std::uint8_t* data, std::uint32_t* cbData) = 0;
    virtual long RegCloseKey(reg::Key key) = 0;
};

// Closes a key through the port when it goes out of scope.
class RegKeyGuard {
  public:
    RegKeyGuard(mRegistry& registry, reg::Key key) : registry_(registry), key_(key) {}
    ~RegKeyGuard() { Close(); }
    RegKeyGuard(const RegKeyGuard&) = delete;
    RegKeyGuard& operator=(const RegKeyGuard&) = delete;

    reg::Key Get() const { return key_; }
    void Close() {
        if (key_ != 0) registry_.RegCloseKey(key_);
        key_ = 0;
    }

  private:
    mRegistry& registry_;
    reg::Key key_;
};
