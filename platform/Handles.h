// RAII owners for the Win32 handle kinds the shell opens: kernel objects, files, modules, registry keys.
#pragma once

#include <windows.h>

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

// Events, threads, mutexes, processes: the creating calls return null on failure.
struct KernelHandleTraits {
    using Type = HANDLE;
    static Type None() noexcept { return nullptr; }
    // INVALID_HANDLE_VALUE is also the current-process pseudo handle, which must not be closed.
    static bool IsOpen(Type value) noexcept { return value != nullptr && value != INVALID_HANDLE_VALUE; }
    static void Close(Type value) noexcept { CloseHandle(value); }
};
using KernelHandle = UniqueHandle<KernelHandleTraits>;

// CreateFile and FindFirstChangeNotification return INVALID_HANDLE_VALUE on failure, not null.
struct FileHandleTraits {
    using Type = HANDLE;
    static Type None() noexcept { return INVALID_HANDLE_VALUE; }
    static bool IsOpen(Type value) noexcept { return value != nullptr && value != INVALID_HANDLE_VALUE; }
    static void Close(Type value) noexcept { CloseHandle(value); }
};
using FileHandle = UniqueHandle<FileHandleTraits>;

// A module loaded with LoadLibrary (not one found with GetModuleHandle, which holds no reference).
struct ModuleHandleTraits {
    using Type = HMODULE;
    static Type None() noexcept { return nullptr; }
    static bool IsOpen(Type value) noexcept { return value != nullptr; }
    static void Close(Type value) noexcept { FreeLibrary(value); }
};
using ModuleHandle = UniqueHandle<ModuleHandleTraits>;

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

} // namespace vendrak
