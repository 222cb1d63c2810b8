// Page functions handed to the host object are called later, never inside the call that received them,
// exactly as IDispatch callers of script functions must call them.
#include "BridgeTestSupport.h"

#include "bridge/CallbackClosure.h"

namespace vendrak::test {
namespace {

using CallbackTest = HostFixture;

TEST_F(CallbackTest, CallCallbackAsynchronouslyCallsWithNoArgumentsAfterReturning) {
    auto function = MakeCom<RecordingFunction>();
    ASSERT_EQ(Call(dispatch.Get(), L"CallCallbackAsynchronously", Args(Arg::Disp(function.Get()))).hr, S_OK);
    EXPECT_TRUE(function->calls.empty()) << "called inside the page's call";
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(RunQueued(), 1u);
    ASSERT_EQ(function->calls.size(), 1u);
    const RecordedCall& call = function->calls[0];
    EXPECT_EQ(call.member, -1);
    EXPECT_EQ(call.iid, IID_NULL);
    EXPECT_EQ(call.locale, 0x400u);
    EXPECT_EQ(call.flags, DISPATCH_METHOD);
    EXPECT_TRUE(call.types.empty());
    EXPECT_EQ(call.namedCount, 0u);
    EXPECT_FALSE(call.hadResult);
    EXPECT_FALSE(call.hadException);
    EXPECT_FALSE(call.hadArgumentError);
}

TEST_F(CallbackTest, ClosuresRunOnceInTheOrderQueued) {
    auto first = MakeCom<RecordingFunction>();
    auto second = MakeCom<RecordingFunction>();
    std::vector<int> order;
    first->onCall = [&] { order.push_back(1); };
    second->onCall = [&] { order.push_back(2); };
    for (auto* function : {first.Get(), second.Get(), first.Get()})
        ASSERT_EQ(Call(dispatch.Get(), L"CallCallbackAsynchronously", Args(Arg::Disp(function))).hr, S_OK);
    EXPECT_EQ(RunQueued(), 3u);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 1}));
    EXPECT_EQ(RunQueued(), 0u);
}

TEST_F(CallbackTest, AClosureOwnsItsReferenceUntilItIsDestroyed) {
    auto function = MakeCom<RecordingFunction>();
    const ULONG baseline = function->AddRef() - 1;
    function->Release();
    ASSERT_EQ(Call(dispatch.Get(), L"CallCallbackAsynchronously", Args(Arg::Disp(function.Get()))).hr, S_OK);
    // The page may drop its own reference: the queued closure keeps the function alive.
    EXPECT_EQ(function->AddRef() - 1, baseline + 1);
    function->Release();
    // Released with the host object gone and the closure never run (the window closed first, say).
    dispatch.Reset();
    host.Reset();
    queued.clear();
    EXPECT_EQ(function->AddRef() - 1, baseline);
    function->Release();
    EXPECT_TRUE(function->calls.empty());
}

TEST(DialogCallbackClosure, PassesStatusAndTextLastArgumentFirst) {
    struct Case {
        const char* name;
        std::wstring answer;
        std::wstring wantStatus;
    };
    const Case cases[] = {
        {"chosen path", L"/C:\\cfg\\a.cfg", L"1"},
        {"cancelled", L"", L"0"},
        // Every unit crosses as it is: letters of any script, a pair for one character.
        {"a path in three scripts", L"/C:\\\u041A\u0430\u043D\u0430\u043B\\\u4E2D\\caf\u00E9 \U0001F4FA.cfg",
         L"1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto function = MakeCom<RecordingFunction>();
        {
            auto closure = MakeDialogCallbackClosure(function, c.answer);
            EXPECT_TRUE(function->calls.empty());
            closure();
        }
        ASSERT_EQ(function->calls.size(), 1u);
        const RecordedCall& call = function->calls[0];
        EXPECT_EQ(call.member, -1);
        EXPECT_EQ(call.iid, IID_NULL);
        EXPECT_EQ(call.locale, 0x400u);
        EXPECT_EQ(call.flags, DISPATCH_METHOD);
        EXPECT_EQ(call.namedCount, 0u);
        ASSERT_EQ(call.types, (std::vector<VARTYPE>{VT_BSTR, VT_I4}));
        EXPECT_EQ(call.values[0], c.answer);
        EXPECT_EQ(call.values[1], c.wantStatus);
        EXPECT_TRUE(call.hadResult);
        EXPECT_FALSE(call.hadException);
        EXPECT_FALSE(call.hadArgumentError);
    }
}

} // namespace
} // namespace vendrak::test
