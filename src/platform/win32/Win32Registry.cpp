// The registry port on advapi32: each call made exactly as the portable code asks.
#include <windows.h>

#include "platform/win32/Win32Ports.h"

namespace {

HKEY ToHkey(reg::Key key) {
    // The predefined keys are sign-extended handle values on 64-bit Windows.
    if (key == reg::LocalMachine) return HKEY_LOCAL_MACHINE;
    if (key == reg::CurrentUser) return HKEY_CURRENT_USER;
    return reinterpret_cast<HKEY>(key);
}

class Win32Registry final : public mRegistry {
  public:
    long RegOpenKeyExA(reg::Key root, const std::string& subKey, std::uint32_t options,
                       std::uint32_t samDesired, reg::Key& result) override {
        HKEY opened = nullptr;
        const LONG status =
            ::RegOpenKeyExA(ToHkey(root), subKey.c_str(), options, samDesired, &opened);
        result = reinterpret_cast<reg::Key>(opened);
        return status;
    }

    long RegEnumKeyA(reg::Key key, std::uint32_t index, char* name,
                     std::uint32_t cchName) override {
        return ::RegEnumKeyA(ToHkey(key), index, name, cchName);
    }

    long RegQueryValueExA(reg::Key key, const std::string& valueName, std::uint32_t* type,
                          std::uint8_t* data, std::uint32_t* cbData) override {
        DWORD valueType = 0;
        DWORD size = cbData ? *cbData : 0;
        const LONG status = ::RegQueryValueExA(ToHkey(key), valueName.c_str(), nullptr, &valueType,
                                               data, cbData ? &size : nullptr);
        if (type) *type = valueType;
        if (cbData) *cbData = size;
        return status;
    }

    long RegCloseKey(reg::Key key) override { return ::RegCloseKey(ToHkey(key)); }
};

}  // namespace

std::unique_ptr<mRegistry> MakeWin32Registry() {
    return std::make_unique<Win32Registry>();
}
