// The host object as a COM object: its faces, its reference count, its type information and what a
// caller that gives no place for a result gets.
#include "BridgeTestSupport.h"

#include <functional>

#include "bridge/HostObjectNodeJsImpl.h"

namespace vendrak::test {
namespace {

using HostObjectTest = HostFixture;

TEST_F(HostObjectTest, QueryInterfaceAnswersTheTwoFacesAndNothingElse) {
    struct Case {
        const char* name;
        IID iid;
        HRESULT want;
        const char* face; // "interface", "dispatch" or nullptr
    };
    const Case cases[] = {
        {"IUnknown", __uuidof(IUnknown), S_OK, "interface"},
        {"IHostObjectNodeJs", __uuidof(IHostObjectNodeJs), S_OK, "interface"},
        {"IDispatch", __uuidof(IDispatch), S_OK, "dispatch"},
        {"IPersist", __uuidof(IPersist), E_NOINTERFACE, nullptr},
        {"ITypeInfo", __uuidof(ITypeInfo), E_NOINTERFACE, nullptr},
        {"IClassFactory", __uuidof(IClassFactory), E_NOINTERFACE, nullptr},
        {"IMarshal", IID_IMarshal, E_NOINTERFACE, nullptr},
        {"IID_NULL", IID_NULL, E_NOINTERFACE, nullptr},
    };
    for (IUnknown* from : {static_cast<IUnknown*>(host.Get()), static_cast<IUnknown*>(dispatch.Get())}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            void* out = reinterpret_cast<void*>(uintptr_t{1});
            EXPECT_EQ(from->QueryInterface(c.iid, &out), c.want);
            if (c.face == nullptr) {
                EXPECT_EQ(out, nullptr);
                continue;
            }
            const void* want = std::string_view(c.face) == "dispatch" ? static_cast<void*>(dispatch.Get())
                                                                      : static_cast<void*>(host.Get());
            EXPECT_EQ(out, want);
            static_cast<IUnknown*>(out)->Release();
        }
    }
    EXPECT_NE(static_cast<void*>(host.Get()), static_cast<void*>(dispatch.Get()));
    EXPECT_EQ(host->QueryInterface(__uuidof(IUnknown), nullptr), E_POINTER);
}

TEST_F(HostObjectTest, EachReferenceIsCountedOnBothFaces) {
    // The fixture holds two references (its interface pointer and its IDispatch).
    EXPECT_EQ(host->AddRef(), 3u);
    EXPECT_EQ(dispatch->AddRef(), 4u);
    EXPECT_EQ(host->Release(), 3u);
    EXPECT_EQ(dispatch->Release(), 2u);
}

TEST_F(HostObjectTest, TypeInformationCountIsOneAndOnlyIndexZeroExists) {
    UINT count = 0;
    EXPECT_EQ(dispatch->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(dispatch->GetTypeInfoCount(nullptr), E_POINTER);

    ComPtr<ITypeInfo> info;
    for (UINT index : {1u, 2u, 0xFFFFFFFFu}) {
        EXPECT_EQ(dispatch->GetTypeInfo(index, 0, info.ReleaseAndGetAddressOf()),
                  static_cast<HRESULT>(0x8002802B));
        EXPECT_EQ(info, nullptr);
    }
    ASSERT_EQ(dispatch->GetTypeInfo(0, 0x409, info.ReleaseAndGetAddressOf()), S_OK);
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->guid, __uuidof(IHostObjectNodeJs));
    info->ReleaseTypeAttr(attributes);
    EXPECT_EQ(dispatch->GetTypeInfo(0, 0, nullptr), E_POINTER);
}

TEST_F(HostObjectTest, ExampleValuesStartAsCreated) {
    EXPECT_EQ(CallByName(dispatch.Get(), L"ExampleString", DISPATCH_PROPERTYGET).Text(),
              L"Example Property String Value");
    CallResult date = CallByName(dispatch.Get(), L"ExampleDate", DISPATCH_PROPERTYGET);
    ASSERT_EQ(date.hr, S_OK);
    EXPECT_EQ(date.result.vt, VT_DATE);
    EXPECT_EQ(date.result.date, 0.0);
}

// A direct caller (not the type information, which always gives one) may pass no place for the result.
TEST_F(HostObjectTest, NullResultPointerIsRefusedWithEPointer) {
    IHostObjectNodeJs* h = host.Get();
    BSTR text = SysAllocString(L"x");
    const std::pair<const char*, std::function<HRESULT()>> cases[] = {
        {"MethodWithParametersAndReturnValue",
         [&] { return h->MethodWithParametersAndReturnValue(text, 1, nullptr); }},
        {"openVideo", [&] { return h->openVideo(text, nullptr); }},
        {"isPlaying", [&] { return h->isPlaying(nullptr); }},
        {"getVolume", [&] { return h->getVolume(nullptr); }},
        {"getDuration", [&] { return h->getDuration(nullptr); }},
        {"getTime", [&] { return h->getTime(nullptr); }},
        {"getVideoSize", [&] { return h->getVideoSize(nullptr); }},
        {"getAudioTrack", [&] { return h->getAudioTrack(nullptr); }},
        {"getAudioTracks", [&] { return h->getAudioTracks(nullptr); }},
        {"getSubtitleTrack", [&] { return h->getSubtitleTrack(nullptr); }},
        {"getSubtitleTracks", [&] { return h->getSubtitleTracks(nullptr); }},
        {"readFile", [&] { return h->readFile(text, nullptr); }},
        {"getMacAddress", [&] { return h->getMacAddress(nullptr); }},
        {"getVersionInfo", [&] { return h->getVersionInfo(nullptr); }},
        {"getWindowsVersion", [&] { return h->getWindowsVersion(nullptr); }},
        {"getStatistics", [&] { return h->getStatistics(nullptr); }},
        {"getTrackInfo", [&] { return h->getTrackInfo(nullptr); }},
        {"get_ExampleString", [&] { return h->get_ExampleString(nullptr); }},
        {"get_ExampleStringAt", [&] { return h->get_ExampleStringAt(7, nullptr); }},
        {"get_ExampleDate", [&] { return h->get_ExampleDate(nullptr); }},
    };
    for (const auto& [name, call] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(call(), E_POINTER);
    }
    SysFreeString(text);
}

} // namespace
} // namespace vendrak::test
