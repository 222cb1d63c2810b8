// The handle owners close exactly once, never a failure value or a predefined key (under Wine).
#include "platform/Handles.h"
#include "platform/NeverDestroyed.h"

#include <gtest/gtest.h>

namespace vendrak {
namespace {

// True while the kernel still knows the handle.
bool IsLive(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

// The owner closes any kernel handle with CloseHandle; events are the cheapest to make.
TEST(FileHandle, ClosesOnceWhenItsOwnerEnds) {
    HANDLE raw = nullptr;
    {
        FileHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        ASSERT_TRUE(event);
        raw = event.Get();
        EXPECT_TRUE(IsLive(raw));
        FileHandle moved(std::move(event));
        EXPECT_FALSE(event);
        EXPECT_EQ(moved.Get(), raw);
    }
    EXPECT_FALSE(IsLive(raw));
}

TEST(FileHandle, FailureValuesAreNeverClosed) {
    struct Case {
        const char* name;
        HANDLE value;
    } cases[] = {
        {"null", nullptr},
        // Also the current-process pseudo handle: closing it would be wrong, owning it is harmless.
        {"INVALID_HANDLE_VALUE", INVALID_HANDLE_VALUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileHandle handle(c.value);
        EXPECT_FALSE(handle);
    }
    EXPECT_NE(WaitForSingleObject(GetCurrentProcess(), 0), WAIT_FAILED);
}

TEST(FileHandle, ResetPutAndReleaseHandOverProperly) {
    FileHandle handle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const HANDLE first = handle.Get();
    handle.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    EXPECT_FALSE(IsLive(first));

    const HANDLE second = handle.Get();
    HANDLE* slot = handle.Put();
    EXPECT_FALSE(IsLive(second)); // Put closed the old handle before any call fills the slot
    EXPECT_FALSE(handle);
    const FileHandle source(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), source.Get(), GetCurrentProcess(), slot, 0, FALSE,
                                DUPLICATE_SAME_ACCESS));
    EXPECT_TRUE(IsLive(handle.Get()));
    EXPECT_NE(handle.Get(), source.Get());

    FileHandle third(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const HANDLE released = third.Release();
    EXPECT_FALSE(third);
    EXPECT_TRUE(IsLive(released)); // now the caller's to close
    CloseHandle(released);
}

TEST(FileHandle, FailedOpenIsNotOpen) {
    FileHandle missing(CreateFileW(L"Z:\\no\\such\\folder\\file.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.Get(), INVALID_HANDLE_VALUE);
    FileHandle none;
    EXPECT_FALSE(none);
    FileHandle null(nullptr);
    EXPECT_FALSE(null);
}

TEST(FileHandle, ClosesTheFileSoItCanBeDeleted) {
    wchar_t folder[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, folder);
    const std::wstring path =
        std::wstring(folder) + L"vendrak-handles-" + std::to_wstring(GetCurrentProcessId());
    HANDLE raw = nullptr;
    {
        FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        raw = file.Get();
    }
    EXPECT_FALSE(IsLive(raw));
    EXPECT_TRUE(DeleteFileW(path.c_str()));
}

TEST(RegistryKey, OpenedKeyClosedPredefinedRootsLeftAlone) {
    const wchar_t* subKey = L"Software\\VendrakHandlesTest";
    HKEY raw = nullptr;
    {
        RegistryKey key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, subKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  key.Put(), nullptr),
                  ERROR_SUCCESS);
        ASSERT_TRUE(key);
        raw = key.Get();
    }
    EXPECT_EQ(RegQueryInfoKeyW(raw, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr),
              ERROR_INVALID_HANDLE);
    for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS,
                      HKEY_CURRENT_USER_LOCAL_SETTINGS}) {
        RegistryKey owner(root);
        EXPECT_FALSE(owner);
    }
    // The root still works after its owner ended.
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, subKey), ERROR_SUCCESS);
}

// Process-lifetime objects stay usable while the process exits: the holder registers no destructor
// and never runs the one of what it holds.
TEST(NeverDestroyed, HoldsWithoutEverDestroying) {
    static int destroyed = 0;
    struct Counted {
        explicit Counted(int v) : value(v) {}
        ~Counted() { ++destroyed; }
        int value;
    };
    {
        NeverDestroyed<Counted> held(7);
        EXPECT_EQ(7, held.Get().value);
    }
    EXPECT_EQ(0, destroyed);
}

} // namespace
} // namespace vendrak
