// Hostile input from script for every text and number parameter: no crash, the documented result.
#include "BridgeTestSupport.h"

#include <climits>

namespace vendrak::test {
namespace {

using BadInputTest = HostFixture;

const std::wstring kSixteenMegabytes(16u << 20, L'x');

struct TextCase {
    const char* name;
    std::function<Arg()> make;
    std::wstring asKept; // the text a wide member keeps (cut at the first zero)
};

const std::vector<TextCase>& TextCases() {
    static const std::vector<TextCase> cases = {
        {"null BSTR", [] { return Arg::NullStr(); }, L""},
        {"empty", [] { return Arg::Str(L""); }, L""},
        {"embedded zero", [] { return Arg::Str(std::wstring_view(L"ab\0cd", 5)); }, L"ab"},
        {"unpaired high surrogate", [] { return Arg::Str(L"a\xD800z"); }, L"a\xD800z"},
        {"unpaired low surrogate", [] { return Arg::Str(L"\xDC00"); }, L"\xDC00"},
        {"16 MB", [] { return Arg::Str(kSixteenMegabytes); }, kSixteenMegabytes},
    };
    return cases;
}

TEST_F(BadInputTest, WideTextMembersKeepTheTextUpToItsFirstZero) {
    for (const TextCase& c : TextCases()) {
        SCOPED_TRACE(c.name);
        CallResult greeting =
            Call(dispatch.Get(), L"MethodWithParametersAndReturnValue", Args(c.make(), Arg::I4(0)));
        ASSERT_EQ(greeting.hr, S_OK);
        EXPECT_TRUE(greeting.Text() == L"MethodWithParametersAndReturnValue(" + c.asKept + L", 0) called.");

        ASSERT_EQ(CallByName(dispatch.Get(), L"ExampleString", DISPATCH_PROPERTYPUT, Args(c.make())).hr,
                  S_OK);
        EXPECT_TRUE(CallByName(dispatch.Get(), L"ExampleString", DISPATCH_PROPERTYGET).Text() == c.asKept);

        ASSERT_EQ(
            CallByName(dispatch.Get(), L"ExampleStringAt", DISPATCH_PROPERTYPUT, Args(Arg::I4(1), c.make()))
                .hr,
            S_OK);
        EXPECT_TRUE(
            CallByName(dispatch.Get(), L"ExampleStringAt", DISPATCH_PROPERTYGET, Args(Arg::I4(1))).Text() ==
            L"[1] is " + c.asKept + L".");
    }
}

TEST_F(BadInputTest, TextsForThePlayerAndFilesNeverFail) {
    for (const TextCase& c : TextCases()) {
        SCOPED_TRACE(c.name);
        CallResult opened = Call(dispatch.Get(), L"openVideo", Args(c.make()));
        EXPECT_EQ(opened.hr, S_OK);
        EXPECT_FALSE(opened.IsNullText());
        EXPECT_EQ(opened.Text(), L"");
        EXPECT_EQ(Call(dispatch.Get(), L"openPipVideo", Args(c.make())).hr, S_OK);
        // None of these names an existing file: reading gives the empty text.
        CallResult read = Call(dispatch.Get(), L"readFile", Args(c.make()));
        EXPECT_EQ(read.hr, S_OK);
        EXPECT_FALSE(read.IsNullText());
        EXPECT_EQ(read.Text(), L"");
        // Paths without "/" are relative to the working folder: write where nothing can be created.
        EXPECT_EQ(
            Call(dispatch.Get(), L"writeFile", Args(Arg::Str(L"/C:\\no\\such\\folder\\f.txt"), c.make())).hr,
            S_OK);
    }
}

TEST_F(BadInputTest, SixteenMegabytesCrossToAFileAndBack) {
    char temp[MAX_PATH] = {};
    ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
    const std::string path = std::string(temp) + "bridge-big-file.txt";
    const std::wstring pagePath = L"/" + std::wstring(path.begin(), path.end());
    ASSERT_EQ(Call(dispatch.Get(), L"writeFile", Args(Arg::Str(pagePath), Arg::Str(kSixteenMegabytes))).hr,
              S_OK);
    CallResult read = Call(dispatch.Get(), L"readFile", Args(Arg::Str(pagePath)));
    ASSERT_EQ(read.hr, S_OK);
    EXPECT_EQ(SysStringLen(read.result.bstrVal), kSixteenMegabytes.size() + 1);
    EXPECT_TRUE(read.Text() == kSixteenMegabytes + L"\n");
    DeleteFileA(path.c_str());
}

TEST_F(BadInputTest, ExtremeNumbersReachTheBodiesUnchanged) {
    const LONG numbers[] = {INT_MIN, INT_MAX, -1};
    for (LONG n : numbers) {
        SCOPED_TRACE(n);
        EXPECT_EQ(
            Call(dispatch.Get(), L"MethodWithParametersAndReturnValue", Args(Arg::Str(L"n"), Arg::I4(n)))
                .Text(),
            L"MethodWithParametersAndReturnValue(n, " + std::to_wstring(n) + L") called.");
        EXPECT_EQ(
            CallByName(dispatch.Get(), L"ExampleStringAt", DISPATCH_PROPERTYGET, Args(Arg::I4(n))).Text(),
            L"[" + std::to_wstring(n) + L"] is .");

        EXPECT_EQ(Call(dispatch.Get(), L"setNetworkCaching", Args(Arg::I4(n))).hr, S_OK);
        EXPECT_EQ(mainPlayer->options.networkCaching, static_cast<uint32_t>(n));
        mainPlayer->options.hardwareDecoding = true;
        EXPECT_EQ(Call(dispatch.Get(), L"setHardwareDecoding", Args(Arg::I4(n))).hr, S_OK);
        EXPECT_FALSE(mainPlayer->options.hardwareDecoding);

        // Keys: any number reaches the shell unchanged, and only a flag of 0 is a press.
        pageKeys.clear();
        EXPECT_EQ(Call(dispatch.Get(), L"presKey", Args(Arg::I4(n), Arg::I4(n))).hr, S_OK);
        EXPECT_EQ(Call(dispatch.Get(), L"presKey", Args(Arg::I4(n), Arg::I4(122))).hr, S_OK);
        const std::vector<std::pair<bool, int>> wantKeys = {{false, static_cast<int>(n)}, {false, 122}};
        EXPECT_EQ(pageKeys, wantKeys);

        for (const wchar_t* setter :
             {L"setVolume", L"setTime", L"setScaleMode", L"setAudioTrack", L"setSubtitleTrack"}) {
            SCOPED_TRACE(testing::Message() << "setter " << std::string(setter, setter + wcslen(setter)));
            EXPECT_EQ(Call(dispatch.Get(), setter, Args(Arg::I4(n))).hr, S_OK);
        }
        std::vector<Arg> rect;
        for (int i = 0; i < 4; ++i)
            rect.push_back(Arg::I4(n));
        EXPECT_EQ(Call(dispatch.Get(), L"setVideoRect", std::move(rect)).hr, S_OK);
        std::vector<Arg> pipRect;
        for (int i = 0; i < 4; ++i)
            pipRect.push_back(Arg::I4(n));
        EXPECT_EQ(Call(dispatch.Get(), L"setPipRect", std::move(pipRect)).hr, S_OK);
    }
}

TEST_F(BadInputTest, ACallbackThatIsNotAFunctionIsIgnored) {
    EXPECT_EQ(Call(dispatch.Get(), L"CallCallbackAsynchronously", Args(Arg::Disp(nullptr))).hr, S_OK);
    EXPECT_EQ(RunQueued(), 0u);
    // A script value of the wrong kind is the type information's to refuse.
    EXPECT_EQ(Call(dispatch.Get(), L"CallCallbackAsynchronously", Args(Arg::Str(L"not a function"))).hr,
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(RunQueued(), 0u);
}

} // namespace
} // namespace vendrak::test
