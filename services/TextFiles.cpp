// Whole-file text reading and writing for the page, by the paths the page hands back.
#include "services/TextHelpers.h"

#include "platform/Handles.h"
#include "services/PagePath.h"
#include "services/TextLines.h"

#include <algorithm>
#include <exception>
#include <vector>

namespace vendrak {
namespace {

constexpr DWORD kPieceBytes = 64 * 1024;

// The page's path is UTF-8; the wide file calls take it whole, so names outside the ANSI code page
// still reach the right file. The path ends at its first zero byte, as a C string would.
std::wstring WidePath(std::string_view utf8) {
    return Utf8ToWide(utf8.substr(0, utf8.find('\0')));
}

// Opens an existing or new disk file. Device names ("CON", "COM1", pipes) are refused: a read from
// them can block the UI thread for ever.
FileHandle OpenDiskFile(const std::string& pagePath, DWORD access, DWORD disposition,
                        bool forWriting = false) {
    const std::wstring path = WidePath(CutPagePath(pagePath));
    if (path.empty())
        return {};
    // Windows refuses to write a read-only file; Wine running as root would write it anyway.
    if (forWriting) {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
            return {};
    }
    FileHandle file(CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file && GetFileType(file.Get()) != FILE_TYPE_DISK)
        file.Reset();
    return file;
}

} // namespace

std::string ReadTextFile(const std::string& path) {
    std::string text;
    // Anything thrown (memory running out on a very large file) ends the reading; what was read stays.
    try {
        FileHandle file = OpenDiskFile(path, GENERIC_READ, OPEN_EXISTING);
        LARGE_INTEGER size{};
        if (!file || !GetFileSizeEx(file.Get(), &size))
            return text;
        // Never more than the size at opening, so a file that keeps growing cannot make us read for ever.
        auto remaining = static_cast<unsigned long long>(size.QuadPart);
        std::vector<char> piece(static_cast<size_t>(std::min<unsigned long long>(remaining, kPieceBytes)));
        TextLineSplitter splitter;
        const LineSink appendLine = [&text](const std::string& line) {
            text += Utf8ToAnsi(line);
            text += '\n';
        };
        while (remaining > 0) {
            const auto wanted = static_cast<DWORD>(std::min<unsigned long long>(remaining, kPieceBytes));
            DWORD got = 0;
            if (!ReadFile(file.Get(), piece.data(), wanted, &got, nullptr) || got == 0)
                break;
            remaining -= got;
            splitter.Feed({piece.data(), got}, appendLine);
        }
        splitter.Finish(appendLine);
    } catch (const std::exception&) {
    }
    return text;
}

void WriteTextFile(const std::string& path, const std::string& content) {
    try {
        // Opened before truncating, so a folder, a read-only file or a missing folder leaves everything
        // as it was; OPEN_ALWAYS also keeps a hidden file's attributes, where CREATE_ALWAYS would fail.
        FileHandle file = OpenDiskFile(path, GENERIC_WRITE, OPEN_ALWAYS, true);
        if (!file || !SetEndOfFile(file.Get()))
            return;
        std::string_view rest = content;
        while (!rest.empty()) {
            const std::string bytes = ToCrLf(rest.substr(0, kPieceBytes / 2));
            rest.remove_prefix(std::min<size_t>(rest.size(), kPieceBytes / 2));
            DWORD written = 0;
            if (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
                written != bytes.size())
                return;
        }
    } catch (const std::exception&) {
    }
}

} // namespace vendrak
