// Pins our WebView2 declarations to Microsoft's: every interface identifier and the vtable slot of every
// method the shell (or a handler the shell implements) uses.
#include "platform/WebView2.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// With the Itanium C++ ABI that g++ uses on mingw too, a pointer to a virtual member function holds
// 1 + the byte offset of its vtable entry; dividing by the entry size gives the slot.
template <typename Method>
std::ptrdiff_t SlotOf(Method method) {
    struct Representation {
        std::uintptr_t pointer;
        std::ptrdiff_t adjustment;
    } representation{};
    static_assert(sizeof(method) == sizeof(representation));
    std::memcpy(&representation, &method, sizeof(method));
    if ((representation.pointer & 1) == 0)
        return -1; // not virtual
    return static_cast<std::ptrdiff_t>((representation.pointer - 1) / sizeof(void*));
}

struct IidCase {
    const char* name;
    GUID declared;
    const wchar_t* published;
};

#define VENDRAK_IID(type, text)                                                                              \
    IidCase {                                                                                                \
#type, __uuidof(type), L"{" text L"}"                                                                \
    }

TEST(WebView2Abi, InterfaceIdentifiersMatchPublishedOnes) {
    const IidCase cases[] = {
        VENDRAK_IID(ICoreWebView2Environment, L"b96d755e-0319-4e92-a296-23436f46a1fc"),
        VENDRAK_IID(ICoreWebView2EnvironmentOptions, L"2fde08a8-1e9a-4766-8c05-95a9ceb9d1c5"),
        VENDRAK_IID(ICoreWebView2Controller, L"4d00c0d1-9434-4eb6-8078-8697a560334f"),
        VENDRAK_IID(ICoreWebView2Controller2, L"c979903e-d4ca-4228-92eb-47ee3fa96eab"),
        VENDRAK_IID(ICoreWebView2Controller3, L"f9614724-5d2b-41dc-aef7-73d62b51543b"),
        VENDRAK_IID(ICoreWebView2, L"76eceacb-0462-4d94-ac83-423a6793775e"),
        VENDRAK_IID(ICoreWebView2Settings, L"e562e4f0-d7fa-43ac-8d71-c05150499f00"),
        VENDRAK_IID(ICoreWebView2Settings2, L"ee9a0f68-f46c-4e32-ac23-ef8cac224d2a"),
        VENDRAK_IID(ICoreWebView2Settings3, L"fdb5ab74-af33-4854-84f0-0a631deb5eba"),
        VENDRAK_IID(ICoreWebView2NavigationStartingEventArgs, L"5b495469-e119-438a-9b18-7604f25f2e49"),
        VENDRAK_IID(ICoreWebView2NavigationCompletedEventArgs, L"30d68b7d-20d9-4752-a9ca-ec8448fbb5c1"),
        VENDRAK_IID(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler,
                    L"4e8a3389-c9d8-4bd2-b6b5-124fee6cc14d"),
        VENDRAK_IID(ICoreWebView2CreateCoreWebView2ControllerCompletedHandler,
                    L"6c4819f3-c9b7-4260-8127-c9f5bde7f68c"),
        VENDRAK_IID(ICoreWebView2NavigationStartingEventHandler, L"9adbe429-f36d-432b-9ddc-f8881fbd76e3"),
        VENDRAK_IID(ICoreWebView2NavigationCompletedEventHandler, L"d33a35bf-1c49-4f98-93ab-006e0533fe1c"),
        VENDRAK_IID(ICoreWebView2ProcessFailedEventHandler, L"79e0aea4-990b-42d9-aa1d-0fcc2e5bc7f1"),
        VENDRAK_IID(ICoreWebView2ProcessFailedEventArgs, L"8155a9a4-1474-4a86-8cae-151b0fa6b8ca"),
        VENDRAK_IID(ICoreWebView2ExecuteScriptCompletedHandler, L"49511172-cc67-4bca-9923-137112f4c4cc"),
        VENDRAK_IID(ICoreWebView2CallDevToolsProtocolMethodCompletedHandler,
                    L"5c4889f0-5ef6-4c5a-952c-d8f1b92d0574"),
    };
    for (const IidCase& c : cases) {
        SCOPED_TRACE(c.name);
        GUID published{};
        ASSERT_EQ(S_OK, IIDFromString(c.published, &published));
        EXPECT_TRUE(IsEqualGUID(published, c.declared));
    }
}

struct SlotCase {
    const char* name;
    std::ptrdiff_t declared;
    std::ptrdiff_t published;
};

#define VENDRAK_SLOT(type, method, slot)                                                                     \
    SlotCase {                                                                                               \
#type "::" #method, SlotOf(&type::method), slot                                                      \
    }

TEST(WebView2Abi, MethodsSitInTheirPublishedVtableSlots) {
    const SlotCase cases[] = {
        VENDRAK_SLOT(ICoreWebView2Environment, CreateCoreWebView2Controller, 3),
        VENDRAK_SLOT(ICoreWebView2Environment, get_BrowserVersionString, 5),
        VENDRAK_SLOT(ICoreWebView2EnvironmentOptions, get_AdditionalBrowserArguments, 3),
        VENDRAK_SLOT(ICoreWebView2EnvironmentOptions, put_AdditionalBrowserArguments, 4),
        VENDRAK_SLOT(ICoreWebView2EnvironmentOptions, get_Language, 5),
        VENDRAK_SLOT(ICoreWebView2EnvironmentOptions, put_Language, 6),
        VENDRAK_SLOT(ICoreWebView2EnvironmentOptions, get_TargetCompatibleBrowserVersion, 7),
        VENDRAK_SLOT(ICoreWebView2EnvironmentOptions, put_TargetCompatibleBrowserVersion, 8),
        VENDRAK_SLOT(ICoreWebView2EnvironmentOptions, get_AllowSingleSignOnUsingOSPrimaryAccount, 9),
        VENDRAK_SLOT(ICoreWebView2EnvironmentOptions, put_AllowSingleSignOnUsingOSPrimaryAccount, 10),
        VENDRAK_SLOT(ICoreWebView2Controller, get_Bounds, 5),
        VENDRAK_SLOT(ICoreWebView2Controller, put_Bounds, 6),
        VENDRAK_SLOT(ICoreWebView2Controller, MoveFocus, 12),
        VENDRAK_SLOT(ICoreWebView2Controller, Close, 24),
        VENDRAK_SLOT(ICoreWebView2Controller, get_CoreWebView2, 25),
        VENDRAK_SLOT(ICoreWebView2Controller2, put_DefaultBackgroundColor, 27),
        VENDRAK_SLOT(ICoreWebView2Controller3, put_BoundsMode, 35),
        VENDRAK_SLOT(ICoreWebView2, get_Settings, 3),
        VENDRAK_SLOT(ICoreWebView2, Navigate, 5),
        VENDRAK_SLOT(ICoreWebView2, add_NavigationStarting, 7),
        VENDRAK_SLOT(ICoreWebView2, add_NavigationCompleted, 15),
        VENDRAK_SLOT(ICoreWebView2, add_ProcessFailed, 25),
        VENDRAK_SLOT(ICoreWebView2, ExecuteScript, 29),
        VENDRAK_SLOT(ICoreWebView2, Reload, 31),
        VENDRAK_SLOT(ICoreWebView2, CallDevToolsProtocolMethod, 36),
        VENDRAK_SLOT(ICoreWebView2, AddHostObjectToScript, 49),
        VENDRAK_SLOT(ICoreWebView2, RemoveHostObjectFromScript, 50),
        VENDRAK_SLOT(ICoreWebView2Settings, put_IsScriptEnabled, 4),
        VENDRAK_SLOT(ICoreWebView2Settings, put_IsWebMessageEnabled, 6),
        VENDRAK_SLOT(ICoreWebView2Settings, put_AreDefaultScriptDialogsEnabled, 8),
        VENDRAK_SLOT(ICoreWebView2Settings, put_AreDefaultContextMenusEnabled, 14),
        VENDRAK_SLOT(ICoreWebView2Settings, put_IsBuiltInErrorPageEnabled, 20),
        VENDRAK_SLOT(ICoreWebView2Settings2, get_UserAgent, 21),
        VENDRAK_SLOT(ICoreWebView2Settings2, put_UserAgent, 22),
        VENDRAK_SLOT(ICoreWebView2Settings3, put_AreBrowserAcceleratorKeysEnabled, 24),
        VENDRAK_SLOT(ICoreWebView2NavigationStartingEventArgs, get_Uri, 3),
        VENDRAK_SLOT(ICoreWebView2NavigationStartingEventArgs, get_NavigationId, 9),
        VENDRAK_SLOT(ICoreWebView2NavigationCompletedEventArgs, get_IsSuccess, 3),
        VENDRAK_SLOT(ICoreWebView2NavigationCompletedEventArgs, get_WebErrorStatus, 4),
        VENDRAK_SLOT(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler, Invoke, 3),
        VENDRAK_SLOT(ICoreWebView2CreateCoreWebView2ControllerCompletedHandler, Invoke, 3),
        VENDRAK_SLOT(ICoreWebView2NavigationStartingEventHandler, Invoke, 3),
        VENDRAK_SLOT(ICoreWebView2NavigationCompletedEventHandler, Invoke, 3),
        VENDRAK_SLOT(ICoreWebView2ProcessFailedEventHandler, Invoke, 3),
        VENDRAK_SLOT(ICoreWebView2ProcessFailedEventArgs, get_ProcessFailedKind, 3),
        VENDRAK_SLOT(ICoreWebView2ExecuteScriptCompletedHandler, Invoke, 3),
        VENDRAK_SLOT(ICoreWebView2CallDevToolsProtocolMethodCompletedHandler, Invoke, 3),
    };
    for (const SlotCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.published, c.declared);
    }
}

TEST(WebView2Abi, ValueTypesHaveTheirWireSizes) {
    EXPECT_EQ(4u, sizeof(COREWEBVIEW2_COLOR));
    EXPECT_EQ(8u, sizeof(EventRegistrationToken));
    EXPECT_EQ(4u, sizeof(COREWEBVIEW2_BOUNDS_MODE));
    EXPECT_EQ(4u, sizeof(COREWEBVIEW2_MOVE_FOCUS_REASON));
    EXPECT_EQ(4u, sizeof(COREWEBVIEW2_WEB_ERROR_STATUS));
    const COREWEBVIEW2_COLOR color{1, 2, 3, 4};
    unsigned char bytes[4];
    std::memcpy(bytes, &color, 4);
    EXPECT_EQ(std::string("\x01\x02\x03\x04", 4), std::string(reinterpret_cast<char*>(bytes), 4));
}

} // namespace
