// The BSTR owner: embedded zeros, hand-over to out parameters, moves (under Wine's oleaut32).
#include "platform/Bstr.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace vendrak {
namespace {

using namespace std::string_literals;

// A COM-style call that fills a BSTR out parameter, as the browser's getters do.
HRESULT FillOut(BSTR* out, const wchar_t* text) {
    *out = SysAllocString(text);
    return *out == nullptr ? E_OUTOFMEMORY : S_OK;
}

TEST(Bstr, TextKeptWholeWithEmbeddedZeros) {
    struct Case {
        const char* name;
        std::wstring text;
    } cases[] = {
        {"plain", L"nodeJs"},
        {"embedded zero", L"a\0b"s},
        {"zero at the end", L"ab\0"s},
        {"only zeros", L"\0\0\0"s},
        {"lone surrogate kept as is", L"\xD800x"},
        {"empty", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bstr bstr(c.text);
        ASSERT_NE(bstr.Get(), nullptr);
        EXPECT_EQ(bstr.Length(), c.text.size());
        EXPECT_EQ(SysStringByteLen(bstr.Get()), c.text.size() * sizeof(wchar_t));
        EXPECT_EQ(bstr.View(), c.text);
        EXPECT_EQ(bstr.Get()[c.text.size()], L'\0'); // terminated after the last unit, too
    }
}

TEST(Bstr, EmptyObjectIsNullAndHarmless) {
    Bstr none;
    EXPECT_EQ(none.Get(), nullptr);
    EXPECT_EQ(none.Length(), 0u);
    EXPECT_TRUE(none.View().empty());
    EXPECT_EQ(none.Detach(), nullptr);
    none.Reset();
}

TEST(Bstr, DetachHandsOwnershipToTheCaller) {
    Bstr bstr(L"out value");
    const BSTR raw = bstr.Get();
    const BSTR out = bstr.Detach();
    EXPECT_EQ(out, raw);
    EXPECT_EQ(bstr.Get(), nullptr);
    EXPECT_EQ(std::wstring_view(out, SysStringLen(out)), L"out value");
    SysFreeString(out);
}

TEST(Bstr, PutEmptiesBeforeAnOutParameterFillsIt) {
    Bstr bstr(L"old");
    BSTR* slot = bstr.Put();
    EXPECT_EQ(bstr.Get(), nullptr); // the old text was freed, not leaked under the new one
    ASSERT_EQ(FillOut(slot, L"new"), S_OK);
    EXPECT_EQ(bstr.View(), L"new");
}

TEST(Bstr, MovesLeaveOneOwner) {
    Bstr first(L"one");
    const BSTR raw = first.Get();
    Bstr second(std::move(first));
    EXPECT_EQ(first.Get(), nullptr);
    EXPECT_EQ(second.Get(), raw);

    Bstr third(L"three");
    third = std::move(second);
    EXPECT_EQ(second.Get(), nullptr);
    EXPECT_EQ(third.Get(), raw);

    Bstr& alias = third;
    third = std::move(alias); // self-move keeps the text
    EXPECT_EQ(third.Get(), raw);
    EXPECT_EQ(third.View(), L"one");
}

TEST(Bstr, AdoptTakesAReturnedBstr) {
    const Bstr adopted = Bstr::Adopt(SysAllocStringLen(L"x\0y", 3));
    EXPECT_EQ(adopted.View(), L"x\0y"s);
    const Bstr null = Bstr::Adopt(nullptr);
    EXPECT_EQ(null.Get(), nullptr);
}

TEST(Bstr, FreedOnAnotherThread) {
    // Page strings are made on the UI thread and may be released by whichever thread holds them last.
    Bstr bstr(std::wstring(1 << 20, L'z'));
    std::thread other([moved = std::move(bstr)]() mutable { EXPECT_EQ(moved.Length(), 1u << 20); });
    other.join();
    EXPECT_EQ(bstr.Get(), nullptr);
}

} // namespace
} // namespace vendrak
