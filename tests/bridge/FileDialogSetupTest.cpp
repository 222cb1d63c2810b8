// What the page's file dialogs are built from: the filter bytes, the initial folder, the dialog record
// and its owner. Every build runs these; the real dialogs run only where Wine can show them.
#include "BridgeTestSupport.h"

#include <commdlg.h>

#include <utility>

#include "bridge/FileDialogs.h"

namespace vendrak::test {
namespace {

TEST(DialogFilter, BytesForExtensionLists) {
    using namespace std::string_literals;
    struct Case {
        const char* name;
        std::string extensions;
        std::string wantPattern;
        std::string wantFilter;
    };
    const Case cases[] = {
        {"two", "cfg,json", "*.cfg;*.json",
         "Config Files (*.cfg;*.json)\0*.cfg;*.json\0All Files(*.*)\0*\0\0\0"s},
        {"empty", "", "", "Config Files ()\0\0All Files(*.*)\0*\0\0\0"s},
        {"leading comma", ",cfg", "*.;*.cfg", "Config Files (*.;*.cfg)\0*.;*.cfg\0All Files(*.*)\0*\0\0\0"s},
        {"one", "cfg", "*.cfg", "Config Files (*.cfg)\0*.cfg\0All Files(*.*)\0*\0\0\0"s},
        {"trailing comma", "cfg,", "*.cfg;", "Config Files (*.cfg;)\0*.cfg;\0All Files(*.*)\0*\0\0\0"s},
        {"blanks stay", " a, b", "*. a;*. b",
         "Config Files (*. a;*. b)\0*. a;*. b\0All Files(*.*)\0*\0\0\0"s},
        {"lone comma", ",", "*.;", "Config Files (*.;)\0*.;\0All Files(*.*)\0*\0\0\0"s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string pattern = ExtensionsToPattern(c.extensions);
        EXPECT_EQ(pattern, c.wantPattern);
        const std::string filter = BuildDialogFilter(pattern);
        EXPECT_EQ(filter, c.wantFilter);
        // As large as its content: description + pattern + 21 bytes.
        EXPECT_EQ(filter.size(), std::string("Config Files (" + pattern + ")").size() + pattern.size() + 21);
    }
}

// The overwrite question must see the name with its extension, and the dialog must belong to the window
// that keeps it above the main window; both answer the same record.
TEST(FileDialogSetup, DefaultExtensionAndOwner) {
    using namespace std::string_literals;
    const HWND owner = reinterpret_cast<HWND>(0x1234);
    const std::pair<std::string, const wchar_t*> cases[] = {
        {"cfg,json", L"cfg"}, {"\xD1\x82\xD0\xB2", L"\u0442\u0432"},
        {"", nullptr},        {",cfg", nullptr},
        {"*", nullptr},       {"tar.gz", nullptr},
        {"\0cfg"s, nullptr},
    };
    for (const auto& [extensions, want] : cases) {
        SCOPED_TRACE(extensions);
        for (const FileDialogKind kind : {FileDialogKind::Save, FileDialogKind::Open}) {
            const auto setup = MakeFileDialogSetup(kind, "/C:\\cfg", extensions, owner);
            EXPECT_EQ(setup->record.hwndOwner, owner);
            if (want == nullptr)
                EXPECT_EQ(setup->record.lpstrDefExt, nullptr);
            else
                EXPECT_STREQ(setup->record.lpstrDefExt, want);
        }
    }
}

// A dialog owned by a hidden window above the main window opens above it even when the main window is
// always on top, and leaves the main window enabled.
TEST(FileDialogSetup, OwnerIsTopmostExactlyWhenTheMainWindowIs) {
    for (const DWORD style : {DWORD{0}, DWORD{WS_EX_TOPMOST}}) {
        const WindowHandle main(CreateWindowExW(style, L"STATIC", L"main", WS_OVERLAPPEDWINDOW, 10, 20, 300,
                                                200, nullptr, nullptr, nullptr, nullptr));
        const WindowHandle owner = MakeDialogOwner(main.Get());
        ASSERT_TRUE(owner);
        EXPECT_EQ(GetWindowLongPtrW(owner.Get(), GWL_EXSTYLE) & WS_EX_TOPMOST, static_cast<LONG_PTR>(style));
        EXPECT_EQ(GetWindow(owner.Get(), GW_OWNER), main.Get());
        EXPECT_FALSE(IsWindowVisible(owner.Get()));
    }
}

TEST(DialogInitialFolder, CutsAfterTheFirstSlashAndRefusesWhatCannotFit) {
    struct Case {
        const char* name;
        std::string folder;
        std::wstring want;
    };
    const Case cases[] = {
        {"page path", "/D:\\cfg", L"D:\\cfg"},
        {"text before the slash", "x/D:\\cfg", L"D:\\cfg"},
        {"only the first slash", "a/b/c", L"b/c"},
        {"lone slash", "/", L""},
        {"no slash", "C:\\cfg", L"C:\\cfg"},
        {"empty", "", L""},
        {"ANSI letter", "/C:\\caf\xC3\xA9", L"C:\\caf\u00E9"},
        {"outside the code page", "/C:\\\xE6\x97\xA5\xE6\x9C\xAC", L"C:\\\u65E5\u672C"},
        {"259 units fit", "/" + std::string(259, 'a'), std::wstring(259, L'a')},
        {"260 units do not", "/" + std::string(260, 'a'), L""},
        {"far too long", "/" + std::string(100000, 'a'), L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DialogInitialFolder(c.folder), c.want);
    }
}

} // namespace
} // namespace vendrak::test
