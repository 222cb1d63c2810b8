// Runs from a folder without vendrak.tlb: every call from the page fails with the loader's code and is
// logged; once the file is there, the next call loads it and succeeds.
#include "BridgeTestSupport.h"

#include "bridge/HostObjectNodeJsImpl.h"
#include "services/SettingsFile.h"
#include "services/TextHelpers.h"

namespace vendrak::test {
namespace {

// Only this program fails to load the library; other test programs sharing the log never write this.
constexpr char kLoadFailure[] = "LoadTypeLibEx vendrak.tlb";

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

using TypeLibraryAbsentTest = HostFixture;

TEST_F(TypeLibraryAbsentTest, EveryCallFailsWithTheLoadersCodeUntilTheFileIsThere) {
    const std::wstring beside = TypeLibraryPath();
    DeleteFileW(beside.c_str());
    const std::wstring folder = GetSettingsFolder();
    CreateDirectoryW(folder.c_str(), nullptr);
    DeleteFileW((folder + L"\\vendrak.log").c_str());

    ComPtr<ITypeLib> probe;
    const HRESULT loaderCode = LoadTypeLibEx(beside.c_str(), REGKIND_NONE, probe.GetAddressOf());
    ASSERT_TRUE(FAILED(loaderCode)) << "a vendrak.tlb lies at " << WideToUtf8(beside);

    // Index 1 is refused before anything is loaded: no failure is logged for it.
    ComPtr<ITypeInfo> info;
    EXPECT_EQ(dispatch->GetTypeInfo(1, 0, info.GetAddressOf()), static_cast<HRESULT>(0x8002802B));
    EXPECT_EQ(Count(ReadFailureLog(), kLoadFailure), 0u);

    EXPECT_EQ(dispatch->GetTypeInfo(0, 0, info.GetAddressOf()), loaderCode);
    EXPECT_EQ(Call(dispatch.Get(), L"presKey").hr, loaderCode);
    DISPID member = 0x60000001;
    DISPPARAMS none{};
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(dispatch->Invoke(member, IID_NULL, 0, DISPATCH_METHOD, &none, &result, nullptr, nullptr),
              loaderCode);
    const std::string log = ReadFailureLog();
    // One failed load per call, each under the host object's source name and a line.
    EXPECT_EQ(Count(log, kLoadFailure), 3u) << log;
    EXPECT_GE(Count(log, "HostObjectNodeJsImpl("), 3u) << log;

    ASSERT_TRUE(CopyFileW(Utf8ToWide(VENDRAK_BUILT_TYPE_LIBRARY).c_str(), beside.c_str(), FALSE))
        << VENDRAK_BUILT_TYPE_LIBRARY;
    std::vector<Arg> args;
    args.push_back(Arg::Str(L"back"));
    args.push_back(Arg::I4(1));
    CallResult call = Call(dispatch.Get(), L"MethodWithParametersAndReturnValue", std::move(args));
    EXPECT_EQ(call.hr, S_OK);
    EXPECT_EQ(call.Text(), L"MethodWithParametersAndReturnValue(back, 1) called.");
    dispatch.Reset();
    host.Reset();
    DeleteFileW(beside.c_str());
}

} // namespace
} // namespace vendrak::test
