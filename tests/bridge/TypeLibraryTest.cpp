// Pins the type library the build makes to the page's method table: every name resolves to the
// member whose vtable slot, accessor kind and parameter kinds the table gives.
#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <string>

#include "IHostObjectNodeJs.h"
#include "bridge/HostObjectNodeJsImpl.h"
#include "services/TextHelpers.h"
#include "tests/bridge/BridgeTestSupport.h"

namespace {

using Microsoft::WRL::ComPtr;

enum class Kind { Method, Get, Put };

struct Slot {
    const wchar_t* name;
    Kind kind;
    int slot;
    const char* parameters; // automation types of the inputs, then "->" and the result's, if any
};

// The page's vocabulary, in slot order.
constexpr Slot kSlots[] = {
    {L"MethodWithParametersAndReturnValue", Kind::Method, 3, "BSTR,I4->BSTR"},
    {L"presKey", Kind::Method, 4, "I4,I4"},
    {L"setHardwareDecoding", Kind::Method, 5, "I4"},
    {L"setNetworkCaching", Kind::Method, 6, "I4"},
    {L"openVideo", Kind::Method, 7, "BSTR->BSTR"},
    {L"playVideo", Kind::Method, 8, ""},
    {L"stopVideo", Kind::Method, 9, ""},
    {L"pauseVideo", Kind::Method, 10, ""},
    {L"togglePause", Kind::Method, 11, ""},
    {L"openPipVideo", Kind::Method, 12, "BSTR"},
    {L"playPipVideo", Kind::Method, 13, ""},
    {L"stopPipVideo", Kind::Method, 14, ""},
    {L"setPipRect", Kind::Method, 15, "I4,I4,I4,I4"},
    {L"isPlaying", Kind::Method, 16, "->I4"},
    {L"getVolume", Kind::Method, 17, "->I4"},
    {L"setVolume", Kind::Method, 18, "I4"},
    {L"getDuration", Kind::Method, 19, "->I4"},
    {L"getTime", Kind::Method, 20, "->I4"},
    {L"setTime", Kind::Method, 21, "I4"},
    {L"getVideoSize", Kind::Method, 22, "->BSTR"},
    {L"setScaleMode", Kind::Method, 23, "I4"},
    {L"setAudioTrack", Kind::Method, 24, "I4"},
    {L"getAudioTrack", Kind::Method, 25, "->I4"},
    {L"getAudioTracks", Kind::Method, 26, "->BSTR"},
    {L"setSubtitleTrack", Kind::Method, 27, "I4"},
    {L"getSubtitleTrack", Kind::Method, 28, "->I4"},
    {L"getSubtitleTracks", Kind::Method, 29, "->BSTR"},
    {L"fitVideo", Kind::Method, 30, ""},
    {L"setVideoRect", Kind::Method, 31, "I4,I4,I4,I4"},
    {L"closeApp", Kind::Method, 32, ""},
    {L"saveFileDialog", Kind::Method, 33, "BSTR,BSTR,DISPATCH"},
    {L"showFileDialog", Kind::Method, 34, "BSTR,BSTR,DISPATCH"},
    {L"writeFile", Kind::Method, 35, "BSTR,BSTR"},
    {L"readFile", Kind::Method, 36, "BSTR->BSTR"},
    {L"getMacAddress", Kind::Method, 37, "->BSTR"},
    {L"getVersionInfo", Kind::Method, 38, "->BSTR"},
    {L"getWindowsVersion", Kind::Method, 39, "->BSTR"},
    {L"getStatistics", Kind::Method, 40, "->BSTR"},
    {L"getTrackInfo", Kind::Method, 41, "->BSTR"},
    {L"ExampleString", Kind::Get, 42, "->BSTR"},
    {L"ExampleString", Kind::Put, 43, "BSTR"},
    {L"ExampleStringAt", Kind::Get, 44, "I4->BSTR"},
    {L"ExampleStringAt", Kind::Put, 45, "I4,BSTR"},
    {L"CallCallbackAsynchronously", Kind::Method, 46, "DISPATCH"},
    {L"ExampleDate", Kind::Get, 47, "->DATE"},
    {L"ExampleDate", Kind::Put, 48, "DATE"},
    {L"SetExampleDateToNow", Kind::Method, 49, ""},
};

INVOKEKIND InvokeKind(Kind kind) {
    switch (kind) {
    case Kind::Get:
        return INVOKE_PROPERTYGET;
    case Kind::Put:
        return INVOKE_PROPERTYPUT;
    default:
        return INVOKE_FUNC;
    }
}

std::string TypeName(const TYPEDESC& type) {
    switch (type.vt) {
    case VT_BSTR:
        return "BSTR";
    case VT_I4:
        return "I4";
    case VT_DATE:
        return "DATE";
    case VT_DISPATCH:
        return "DISPATCH";
    case VT_PTR:
        return TypeName(*type.lptdesc);
    default:
        return "vt" + std::to_string(type.vt);
    }
}

std::string Parameters(const FUNCDESC& function) {
    std::string inputs;
    std::string result;
    for (SHORT i = 0; i < function.cParams; ++i) {
        const ELEMDESC& parameter = function.lprgelemdescParam[i];
        if (parameter.paramdesc.wParamFlags & PARAMFLAG_FRETVAL) {
            result = "->" + TypeName(parameter.tdesc);
            continue;
        }
        inputs += (inputs.empty() ? "" : ",") + TypeName(parameter.tdesc);
    }
    return inputs + result;
}

class TypeLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Loaded from beside the program without registering it, as the host object loads it.
        ASSERT_EQ(LoadTypeLibEx(vendrak::TypeLibraryPath().c_str(), REGKIND_NONE, library.GetAddressOf()),
                  S_OK);
        ASSERT_EQ(library->GetTypeInfoOfGuid(__uuidof(IHostObjectNodeJs), info.GetAddressOf()), S_OK);
    }
    ComPtr<ITypeLib> library;
    ComPtr<ITypeInfo> info;
};

TEST_F(TypeLibraryTest, DescribesAnInterfaceOnIUnknownWithFortySevenMembers) {
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->typekind, TKIND_INTERFACE);
    EXPECT_EQ(attributes->cFuncs, 47);
    EXPECT_EQ(attributes->cbSizeVft, 50 * sizeof(void*));
    EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FOLEAUTOMATION);
    EXPECT_EQ(attributes->guid, __uuidof(IHostObjectNodeJs));
    info->ReleaseTypeAttr(attributes);
    // The shipped i686 program needs a 32-bit library (slots 4 bytes apart), the x86_64 one a 64-bit one.
    TLIBATTR* libraryAttributes = nullptr;
    ASSERT_EQ(library->GetLibAttr(&libraryAttributes), S_OK);
    EXPECT_EQ(libraryAttributes->syskind, sizeof(void*) == 4 ? SYS_WIN32 : SYS_WIN64);
    library->ReleaseTLibAttr(libraryAttributes);
}

TEST_F(TypeLibraryTest, EveryNameResolvesToItsSlotWithItsParameters) {
    for (const Slot& row : kSlots) {
        SCOPED_TRACE(testing::Message()
                     << std::string(row.name, row.name + wcslen(row.name)) << " slot " << row.slot);
        std::wstring name = row.name;
        LPOLESTR names[] = {name.data()};
        MEMBERID member = MEMBERID_NIL;
        ASSERT_EQ(info->GetIDsOfNames(names, 1, &member), S_OK);
        bool found = false;
        for (UINT index = 0; index < 47 && !found; ++index) {
            FUNCDESC* function = nullptr;
            ASSERT_EQ(info->GetFuncDesc(index, &function), S_OK);
            if (function->memid == member && function->invkind == InvokeKind(row.kind)) {
                found = true;
                EXPECT_EQ(function->oVft / static_cast<SHORT>(sizeof(void*)), row.slot);
                EXPECT_EQ(function->funckind, FUNC_PUREVIRTUAL);
                EXPECT_EQ(function->callconv, CC_STDCALL);
                EXPECT_EQ(function->elemdescFunc.tdesc.vt, VT_HRESULT);
                EXPECT_EQ(Parameters(*function), row.parameters);
            }
            info->ReleaseFuncDesc(function);
        }
        EXPECT_TRUE(found);
    }
}

TEST_F(TypeLibraryTest, UnknownNamesAreRefused) {
    for (const wchar_t* unknown : {L"presKeys", L"", L"PRESKEY_", L"then"}) {
        std::wstring name = unknown;
        LPOLESTR names[] = {name.data()};
        MEMBERID member = 0;
        EXPECT_EQ(info->GetIDsOfNames(names, 1, &member), DISP_E_UNKNOWNNAME);
    }
}

using TypeLibraryRegistryTest = vendrak::test::HostFixture;

// A library loaded by bare name would be registered under HKLM's Typelib key (which a standard Windows
// user cannot write). Starting from a prefix without the key, neither the host object's load nor a
// full-path load may create it, for any version, locale or win32/win64 subkey.
TEST_F(TypeLibraryRegistryTest, LoadingWritesNoRegistryValue) {
    ComPtr<ITypeLib> library;
    ASSERT_EQ(LoadTypeLibEx(vendrak::TypeLibraryPath().c_str(), REGKIND_NONE, library.GetAddressOf()), S_OK);
    TLIBATTR* attributes = nullptr;
    ASSERT_EQ(library->GetLibAttr(&attributes), S_OK);
    wchar_t libraryId[64] = {};
    StringFromGUID2(attributes->guid, libraryId, 64);
    library->ReleaseTLibAttr(attributes);
    const std::wstring key = std::wstring(L"Software\\Classes\\Typelib\\") + libraryId;
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        RegDeleteTreeW(root, key.c_str());

    EXPECT_EQ(vendrak::test::Call(dispatch.Get(), L"presKey",
                                  vendrak::test::Args(vendrak::test::Arg::I4(0), vendrak::test::Arg::I4(0)))
                  .hr,
              S_OK);
    library.Reset();
    ASSERT_EQ(LoadTypeLibEx(vendrak::TypeLibraryPath().c_str(), REGKIND_NONE, library.GetAddressOf()), S_OK);
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        HKEY opened = nullptr;
        EXPECT_EQ(RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &opened), ERROR_FILE_NOT_FOUND)
            << "registered under " << vendrak::WideToUtf8(key);
        if (opened != nullptr)
            RegCloseKey(opened);
    }
}

} // namespace
