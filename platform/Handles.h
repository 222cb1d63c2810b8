// RAII owners for what the shell gets from Windows: files, registry keys, windows and task-memory strings.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <memory>
#include <utility>

namespace vendrak {

// One owner per handle; moving hands it over, the destructor closes it once. Any thread (the handles
// are process-wide); one owner at a time. Traits say which value means "none" and how to close.
template <typename Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() noexcept = default;
    // Takes over a handle as returned by the call that opened it (its failure value included).
    explicit UniqueHandle(Type owned) noexcept : value_(owned) {}
    UniqueHandle(UniqueHandle&& other) noexcept : value_(std::exchange(other.value_, Traits::None())) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.value_, Traits::None()));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { Reset(); }

    // True when the handle is open (neither "none" nor the opening call's failure value).
    explicit operator bool() const noexcept { return Traits::IsOpen(value_); }
    // Still owned by this object.
    Type Get() const noexcept { return value_; }
    // Hands the handle to the caller, who closes it; this object is left empty.
    [[nodiscard]] Type Release() noexcept { return std::exchange(value_, Traits::None()); }
    // Closes the current handle first, then gives the slot for an out parameter to fill.
    Type* Put() noexcept {
        Reset();
        return &value_;
    }
    void Reset(Type owned = Traits::None()) noexcept {
        if (Traits::IsOpen(value_))
            Traits::Close(value_);
        value_ = owned;
    }

private:
    Type value_ = Traits::None();
};

// CreateFile and FindFirstChangeNotification return INVALID_HANDLE_VALUE on failure, not null.
struct FileHandleTraits {
    using Type = HANDLE;
    static Type None() noexcept { return INVALID_HANDLE_VALUE; }
    static bool IsOpen(Type value) noexcept { return value != nullptr && value != INVALID_HANDLE_VALUE; }
    static void Close(Type value) noexcept { CloseHandle(value); }
};
using FileHandle = UniqueHandle<FileHandleTraits>;

// A key opened or created with RegOpenKeyEx / RegCreateKeyEx. The predefined roots (HKEY_CURRENT_USER
// and its kind) are never closed: they belong to the process. They are 32-bit negative numbers, so on
// 64-bit Windows they are sign-extended (0xFFFFFFFF80000001), not 0x80000001.
struct RegistryKeyTraits {
    using Type = HKEY;
    static Type None() noexcept { return nullptr; }
    static bool IsOpen(Type value) noexcept {
        const auto bits = reinterpret_cast<ULONG_PTR>(value);
        const auto firstRoot = reinterpret_cast<ULONG_PTR>(HKEY_CLASSES_ROOT);
        const auto lastRoot = reinterpret_cast<ULONG_PTR>(HKEY_CURRENT_USER_LOCAL_SETTINGS);
        return value != nullptr && !(bits >= firstRoot && bits <= lastRoot);
    }
    static void Close(Type value) noexcept { RegCloseKey(value); }
};
using RegistryKey = UniqueHandle<RegistryKeyTraits>;

// A window the shell made for its own use (never one Windows or the browser destroys); UI thread only.
struct WindowHandleTraits {
    using Type = HWND;
    static Type None() noexcept { return nullptr; }
    static bool IsOpen(Type value) noexcept { return value != nullptr; }
    static void Close(Type value) noexcept { DestroyWindow(value); }
};
using WindowHandle = UniqueHandle<WindowHandleTraits>;

// A string that a COM call handed out in an LPWSTR out parameter, allocated with CoTaskMemAlloc. The
// caller frees it whatever the call returned (CoTaskMemFree ignores null).
struct TaskMemFree {
    void operator()(wchar_t* text) const noexcept { CoTaskMemFree(text); }
};
using TaskMemString = std::unique_ptr<wchar_t, TaskMemFree>;

} // namespace vendrak
