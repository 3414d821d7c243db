#pragma once
// An in-memory registry below HKEY_LOCAL_MACHINE that refuses write access to its keys, as
// HKEY_LOCAL_MACHINE does to a standard user, and counts the keys left open.

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/mRegistry.h"

class FakeRegistry : public mRegistry {
  public:
    struct Value {
        std::uint32_t type = reg::TypeSz;
        std::string data;  // REG_SZ data includes its terminating NUL
    };
    struct KeyNode {
        std::vector<std::string> subkeys;  // enumeration order; names may hold NULs
        std::map<std::string, Value> values;
        bool unopenable = false;
    };

    KeyNode& Key(const std::string& path) { return keys_[path]; }
    void AddSubkey(const std::string& parent, const std::string& name) {
        Key(parent).subkeys.push_back(name);
    }
    void SetText(const std::string& path, const std::string& name, const std::string& text) {
        Key(path).values[name] = Value{reg::TypeSz, text + '\0'};
    }
    void SetBinary(const std::string& path, const std::string& name, const std::string& bytes) {
        Key(path).values[name] = Value{reg::TypeBinary, bytes};
    }
    std::size_t OpenKeyCount() const { return open_.size(); }

    long RegOpenKeyExA(reg::Key root, const std::string& subKey, std::uint32_t,
                       std::uint32_t samDesired, reg::Key& result) override {
        result = 0;
        if (samDesired & reg::KeyWriteBits) return reg::AccessDenied;
        const auto it = keys_.find(subKey);
        if (root != reg::LocalMachine || it == keys_.end()) return reg::FileNotFound;
        if (it->second.unopenable) return reg::AccessDenied;
        result = nextHandle_++;
        open_[result] = subKey;
        return reg::Success;
    }
    long RegEnumKeyA(reg::Key key, std::uint32_t index, char* name,
                     std::uint32_t cchName) override {
        const auto it = open_.find(key);
        if (it == open_.end()) return reg::InvalidHandle;
        const auto& subkeys = keys_[it->second].subkeys;
        if (index >= subkeys.size()) return reg::NoMoreItems;
        const std::string& s = subkeys[index];
        if (s.size() + 1 > cchName) return reg::MoreData;
        std::memcpy(name, s.c_str(), s.size() + 1);
        return reg::Success;
    }
    long RegQueryValueExA(reg::Key key, const std::string& valueName, std::uint32_t* type,
                          std::uint8_t* data, std::uint32_t* cbData) override {
        const auto it = open_.find(key);
        if (it == open_.end()) return reg::InvalidHandle;
        const auto& values = keys_[it->second].values;
        const auto v = values.find(valueName);
        if (v == values.end()) return reg::FileNotFound;
        if (type) *type = v->second.type;
        const auto size = static_cast<std::uint32_t>(v->second.data.size());
        if (data && cbData && *cbData < size) {
            *cbData = size;
            return reg::MoreData;
        }
        if (data) std::memcpy(data, v->second.data.data(), size);
        if (cbData) *cbData = size;
        return reg::Success;
    }
    long RegCloseKey(reg::Key key) override {
        return open_.erase(key) ? reg::Success : reg::InvalidHandle;
    }

  private:
    std::map<std::string, KeyNode> keys_;
    std::map<reg::Key, std::string> open_;
    reg::Key nextHandle_ = 0x100;
};
