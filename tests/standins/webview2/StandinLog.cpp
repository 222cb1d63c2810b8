// Writes the stand-in's call log beside the DLL.
#include "tests/standins/webview2/StandinLog.h"

#include "services/TextHelpers.h"

#include <cstdio>
#include <mutex>

namespace standin {
namespace {

HMODULE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

const ULONGLONG loadTime = GetTickCount64();

} // namespace

const std::wstring& StandinFolder() {
    static const std::wstring folder = [] {
        wchar_t path[MAX_PATH * 4] = {};
        GetModuleFileNameW(ThisModule(), path, static_cast<DWORD>(std::size(path)));
        std::wstring text(path);
        return text.substr(0, text.find_last_of(L"\\/") + 1);
    }();
    return folder;
}

std::string Utf8(std::wstring_view text) {
    return vendrak::WideToUtf8(text);
}

std::string Utf8(const wchar_t* text) {
    return text == nullptr ? std::string("(null)") : Utf8(std::wstring_view(text));
}

std::string Hex(unsigned long value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08lx", value);
    return buffer;
}

std::string Escape(std::string_view text) {
    std::string out;
    for (unsigned char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            if (c < 0x20) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
                out += buffer;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out;
}

void Log(std::string_view call, std::initializer_list<std::string> arguments) {
    static std::mutex lock;
    std::string line = std::to_string(GetTickCount64() - loadTime);
    line += '\t';
    line += call;
    for (const std::string& argument : arguments) {
        line += '\t';
        line += Escape(argument);
    }
    line += '\n';
    std::lock_guard guard(lock);
    const std::wstring path = StandinFolder() + L"webview2-standin.log";
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

} // namespace standin
