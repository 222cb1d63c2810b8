// The cut of the paths the page hands back.
#include "services/PagePath.h"

#include <gtest/gtest.h>

#include <string>

namespace vendrak {
namespace {

TEST(CutPagePath, RemovesUpToAndIncludingTheFirstSlash) {
    struct Case {
        const char* name;
        std::string_view input;
        std::string_view want;
    } cases[] = {
        {"dialog path", "/C:\\x\\a.txt", "C:\\x\\a.txt"},
        {"no slash is used whole", "C:\\x\\a.txt", "C:\\x\\a.txt"},
        {"drive then slash becomes relative", "C:/x/a.txt", "x/a.txt"},
        {"only the first slash", "//server/share", "/server/share"},
        {"slash only", "/", ""},
        {"trailing slash", "abc/", ""},
        {"empty", "", ""},
        {"dot-m is not special", "/.m/x.txt", ".m/x.txt"},
        {"dot-m without slash", ".m", ".m"},
        {"backslashes are not cut", "\\\\server\\x", "\\\\server\\x"},
        {"embedded zero before the slash is kept", std::string_view("a\0/b", 4), "b"},
        {"multibyte before slash", "\xC3\xA9/\xC3\xA9.txt", "\xC3\xA9.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CutPagePath(c.input), c.want);
    }
}

TEST(CutPagePath, ViewsIntoTheArgument) {
    const std::string path = "/C:\\long\\" + std::string(1 << 16, 'x');
    const std::string_view cut = CutPagePath(path);
    EXPECT_EQ(cut.data(), path.data() + 1);
    EXPECT_EQ(cut.size(), path.size() - 1);
}

} // namespace
} // namespace vendrak
