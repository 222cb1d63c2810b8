// Whole-file text reading and writing for the page, by the paths the page hands back.
#include "services/TextHelpers.h"

#include "platform/Handles.h"
#include "services/FileReplace.h"
#include "services/PagePath.h"
#include "services/TextLines.h"

#include <algorithm>
#include <climits>
#include <exception>

namespace vendrak {
namespace {

constexpr DWORD kPieceBytes = 64 * 1024;
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The page's path is UTF-8; the wide file calls take it whole, so names outside the ANSI code page
// still reach the right file. The path ends at its first zero byte, as a C string would.
std::wstring WidePath(std::string_view utf8) {
    return Utf8ToWide(utf8.substr(0, utf8.find('\0')));
}

// The file's bytes, never more than its size at opening, so a file that keeps growing cannot make us
// read for ever. Device names ("CON", "COM1", pipes) are refused: a read from them can block the UI
// thread for ever. What was read so far when reading fails.
std::string ReadFileBytes(const std::wstring& path) {
    std::string bytes;
    if (path.empty())
        return bytes;
    const FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || GetFileType(file.Get()) != FILE_TYPE_DISK || !GetFileSizeEx(file.Get(), &size))
        return bytes;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        const auto wanted = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, kPieceBytes));
        DWORD got = 0;
        if (!ReadFile(file.Get(), bytes.data() + done, wanted, &got, nullptr) || got == 0)
            break;
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

bool IsUtf8(std::string_view bytes) {
    return bytes.size() <= INT_MAX && MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                                          static_cast<int>(bytes.size()), nullptr, 0) > 0;
}

} // namespace

std::wstring ReadTextFile(const std::string& path) {
    std::wstring text;
    // Anything thrown (memory running out on a very large file) ends the reading; what was read stays.
    try {
        std::string bytes = ReadFileBytes(WidePath(CutPagePath(path)));
        std::string_view content = bytes;
        // A playlist mixes scripts and the page writes UTF-8; a file that is not UTF-8 was written by
        // an older tool on this machine, in its ANSI code page.
        UINT codePage = CP_ACP;
        if (IsUtf8(content)) {
            codePage = CP_UTF8;
            if (content.starts_with(kUtf8ByteOrderMark))
                content.remove_prefix(kUtf8ByteOrderMark.size());
        }
        TextLineSplitter splitter;
        const LineSink appendLine = [&text, codePage](const std::string& line) {
            // A zero byte ends the line, as it ends a C string.
            text += CodePageToWide(codePage, std::string_view(line).substr(0, line.find('\0')));
            text += L'\n';
        };
        splitter.Feed(content, appendLine);
        splitter.Finish(appendLine);
    } catch (const std::exception&) {
    }
    return text;
}

void WriteTextFile(const std::string& path, const std::string& content) {
    try {
        ReplaceFileContent(WidePath(CutPagePath(path)), ToCrLf(content));
    } catch (const std::exception&) {
    }
}

} // namespace vendrak
