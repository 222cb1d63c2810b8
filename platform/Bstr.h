// Owns one BSTR, the automation string the page exchanges with the host object.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <string_view>
#include <utility>

namespace vendrak {

// RAII owner of a BSTR. Any thread may use it (BSTRs are process-wide task memory); one owner at a time.
// The text keeps embedded zero characters: the length prefix, not the first zero, says where it ends.
class Bstr {
public:
    Bstr() noexcept = default;

    // Copies the text, embedded zeros included. An empty view gives an empty (non-null) BSTR; Get() is
    // null only when memory runs out or the text is longer than a BSTR can hold.
    explicit Bstr(std::wstring_view text) noexcept : value_(Allocate(text)) {}

    // Takes over a BSTR that the caller owned (for example one returned by a COM call).
    static Bstr Adopt(BSTR owned) noexcept {
        Bstr bstr;
        bstr.value_ = owned;
        return bstr;
    }

    Bstr(Bstr&& other) noexcept : value_(std::exchange(other.value_, nullptr)) {}
    Bstr& operator=(Bstr&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.value_, nullptr));
        return *this;
    }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { Reset(); }

    // Still owned by this object.
    BSTR Get() const noexcept { return value_; }

    // Hands the BSTR to the caller (an out parameter towards the page); this object is left empty.
    [[nodiscard]] BSTR Detach() noexcept { return std::exchange(value_, nullptr); }

    // Frees the current text first, then gives the slot for a COM out parameter to fill.
    BSTR* Put() noexcept {
        Reset();
        return &value_;
    }

    void Reset(BSTR owned = nullptr) noexcept {
        if (value_ != nullptr)
            SysFreeString(value_);
        value_ = owned;
    }

    // Code units, embedded zeros included; 0 for a null BSTR.
    UINT Length() const noexcept { return SysStringLen(value_); }

    // The whole text, embedded zeros included; valid while this object owns it unchanged.
    std::wstring_view View() const noexcept { return {value_ == nullptr ? L"" : value_, Length()}; }

private:
    static BSTR Allocate(std::wstring_view text) noexcept {
        // The length prefix counts bytes in 32 bits.
        if (text.size() > (UINT32_MAX / sizeof(wchar_t)) - 1)
            return nullptr;
        return SysAllocStringLen(text.empty() ? L"" : text.data(), static_cast<UINT>(text.size()));
    }

    BSTR value_ = nullptr;
};

} // namespace vendrak
