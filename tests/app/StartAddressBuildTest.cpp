// A start address set by the build comes back whole at run time and never stands in the program as text.
#include "app/StartAddress.h"
#include "platform/ModulePath.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace vendrak {
namespace {

// The address this test program was built with (see CMakeLists.txt), kept reversed here so that the
// test itself does not put the text into the program it searches.
std::wstring BuiltAddress() {
    std::wstring text = L"4e%=nahc?lmth.xedni/ts9A%3C%T02%kardneV/moc.elpmaxe.vt//:sptth";
    std::reverse(text.begin(), text.end());
    return text;
}

std::string ProgramBytes() {
    std::string bytes;
    if (FILE* file = _wfopen(ProgramPath().c_str(), L"rb")) {
        char buffer[65536];
        for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            bytes.append(buffer, got);
        std::fclose(file);
    }
    return bytes;
}

TEST(StartAddressBuild, AssembledAddressIsTheConfiguredOne) {
    EXPECT_EQ(BuiltAddress(), AssembleStartAddress());
}

TEST(StartAddressBuild, AddressIsNotReadableInTheProgram) {
    const std::string bytes = ProgramBytes();
    ASSERT_GT(bytes.size(), 10000u);
    // The needles are built at run time too, or the search would find itself.
    std::string narrow = "moc.elpmaxe.vt";
    std::reverse(narrow.begin(), narrow.end());
    std::string pathPart = "T02%kardneV";
    std::reverse(pathPart.begin(), pathPart.end());
    std::string wide;
    for (char c : narrow)
        wide += std::string{c, '\0'};
    struct Case {
        const char* name;
        std::string text;
    };
    const Case cases[] = {{"8-bit", narrow}, {"UTF-16", wide}, {"path part", pathPart}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(std::string::npos, bytes.find(c.text));
    }
}

} // namespace
} // namespace vendrak
