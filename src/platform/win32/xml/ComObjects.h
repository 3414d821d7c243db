#pragma once
// Owners of COM references, BSTRs and VARIANTs for the MSXML backend.

#include <oaidl.h>
#include <objbase.h>
#include <oleauto.h>

#include <string>
#include <utility>

// One counted reference to a COM interface, released when the owner goes.
template <typename Interface>
class ComPtr {
  public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            pointer_ = std::exchange(other.pointer_, nullptr);
        }
        return *this;
    }

    // A new owner of an existing reference: the count goes up.
    static ComPtr Share(Interface* pointer) {
        ComPtr owner;
        owner.pointer_ = pointer;
        if (pointer) pointer->AddRef();
        return owner;
    }

    Interface* Get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    // For out parameters: releases what is held first.
    Interface** Put() {
        Reset();
        return &pointer_;
    }
    void Reset() {
        if (pointer_) std::exchange(pointer_, nullptr)->Release();
    }

    template <typename Other>
    ComPtr<Other> As(const IID& iid) const {
        ComPtr<Other> other;
        if (pointer_) pointer_->QueryInterface(iid, reinterpret_cast<void**>(other.Put()));
        return other;
    }

  private:
    Interface* pointer_ = nullptr;
};

class Bstr {
  public:
    Bstr() = default;
    explicit Bstr(const std::wstring& text)
        : text_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    ~Bstr() { SysFreeString(text_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    BSTR Get() const { return text_; }
    BSTR* Put() {
        SysFreeString(std::exchange(text_, nullptr));
        return &text_;
    }
    std::wstring Text() const { return text_ ? std::wstring(text_, SysStringLen(text_)) : L""; }

  private:
    BSTR text_ = nullptr;
};

class Variant {
  public:
    Variant() { VariantInit(&value_); }
    explicit Variant(const std::wstring& text) {
        VariantInit(&value_);
        value_.vt = VT_BSTR;
        value_.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    }
    explicit Variant(bool flag) {
        VariantInit(&value_);
        value_.vt = VT_BOOL;
        value_.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
    }
    ~Variant() { VariantClear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    const VARIANT& Get() const { return value_; }
    VARIANT* Put() {
        VariantClear(&value_);
        return &value_;
    }

  private:
    VARIANT value_;
};
