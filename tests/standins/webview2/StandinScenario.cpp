// Parses the stand-in browser's scenario file.
#include "tests/standins/webview2/StandinScenario.h"

#include "services/TextHelpers.h"
#include "tests/standins/webview2/StandinLog.h"

#include <cstdio>
#include <sstream>

namespace standin {
namespace {

std::vector<std::wstring> SplitTabs(const std::wstring& line) {
    std::vector<std::wstring> fields;
    size_t begin = 0;
    for (;;) {
        const size_t tab = line.find(L'\t', begin);
        fields.push_back(line.substr(begin, tab == std::wstring::npos ? std::wstring::npos : tab - begin));
        if (tab == std::wstring::npos)
            return fields;
        begin = tab + 1;
    }
}

HRESULT ParseResult(const std::wstring& text) {
    return static_cast<HRESULT>(std::wcstoul(text.c_str(), nullptr, 0));
}

} // namespace

Scenario LoadScenario() {
    Scenario scenario;
    std::string content;
    if (FILE* file = _wfopen((StandinFolder() + L"webview2-standin.txt").c_str(), L"rb")) {
        char buffer[4096];
        for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            content.append(buffer, got);
        std::fclose(file);
    }
    std::istringstream lines(content);
    std::string raw;
    while (std::getline(lines, raw)) {
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        if (raw.empty() || raw[0] == '#')
            continue;
        std::vector<std::wstring> f = SplitTabs(vendrak::Utf8ToWide(raw));
        const std::wstring& name = f[0];
        const std::wstring arg1 = f.size() > 1 ? f[1] : L"";
        const std::wstring arg2 = f.size() > 2 ? f[2] : L"";
        if (name == L"create-fail")
            scenario.createResult = ParseResult(arg1);
        else if (name == L"environment")
            arg1 == L"null" ? void(scenario.environmentNull = true)
                            : void(scenario.environmentResult = ParseResult(arg2));
        else if (name == L"controller")
            arg1 == L"null" ? void(scenario.controllerNull = true)
                            : void(scenario.controllerResult = ParseResult(arg2));
        else if (name == L"devtools-fail")
            scenario.devtoolsFailures.emplace_back(arg1, ParseResult(arg2));
        else if (name == L"call-fail")
            scenario.callFailures.emplace_back(vendrak::WideToUtf8(arg1), ParseResult(arg2));
        else if (name == L"navigation-fail")
            scenario.failingNavigations.push_back(
                {arg1, arg2.empty() ? 12 : std::stoi(arg2), f.size() > 3 ? std::stoi(f[3]) : -1});
        else if (name == L"restart-fail")
            scenario.restartFailures = std::stoi(arg1);
        else if (name == L"user-agent")
            scenario.userAgent = arg1;
        else if (name == L"browser-version")
            scenario.browserVersion = arg1;
        else
            scenario.steps.push_back(std::move(f));
    }
    return scenario;
}

} // namespace standin
