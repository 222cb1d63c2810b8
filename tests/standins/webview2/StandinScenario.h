// The scenario the stand-in browser plays: how it answers the shell, and what the "page" does.
//
// File "webview2-standin.txt" beside the DLL, one directive per line, fields separated by tabs; lines
// starting with '#' and empty lines are skipped. Set-up directives (any order):
//   create-fail  <hr>               CreateCoreWebView2EnvironmentWithOptions returns hr, never calls back
//   environment  fail <hr> | null   the environment handler gets hr and no environment (or S_OK and null)
//   controller   fail <hr> | null   the same for the controller handler
//   devtools-fail <method> <hr>     CallDevToolsProtocolMethod(method) returns hr
//   call-fail <call> <hr>           the call named as in the log (WebView.Navigate, Controller.put_Bounds,
//                                   ...) returns hr without doing anything
//   navigation-fail <address> [status [times]]
//                                   navigations to the address ({start} as below) complete with IsSuccess
//                                   FALSE and the WebErrorStatus (12, cannot connect, unless given); with
//                                   `times`, only that many of them fail
//   restart-fail <n>                after the browser process died, the next n environments fail
//   user-agent <text>               the runtime's default user agent
//   browser-version <text>          get_BrowserVersionString
// Page steps, played one after another once the first navigation has completed:
//   wait <ms>
//   navigate <address>              the page navigates ({start} is the first address the shell opened,
//                                   {START} the same with ASCII letters upper-cased)
//   call <object> <method> <arg>... a host-object call by name through IDispatch; arguments i:<int>,
//                                   d:<double>, b:<0|1>, s:<text>, cb:<name> (a recording callback)
//   key <0|1> <keyCode>             a key event: reaches presKey only if the keyboard bridge script ran
//                                   in the current document
//   process-failed <kind>           the browser raises ProcessFailed of that kind; kind 0 kills every
//                                   browser object first (any later call on one is logged as DeadCall)
//   close                           the user closes the main window (WM_CLOSE)
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace standin {

struct FailingNavigation {
    std::wstring address;
    int status = 12;
    int times = -1; // every time
};

struct Scenario {
    HRESULT createResult = S_OK;
    HRESULT environmentResult = S_OK;
    bool environmentNull = false;
    HRESULT controllerResult = S_OK;
    bool controllerNull = false;
    std::vector<std::pair<std::wstring, HRESULT>> devtoolsFailures;
    std::vector<std::pair<std::string, HRESULT>> callFailures; // by log name
    std::vector<FailingNavigation> failingNavigations;
    int restartFailures = 0;
    std::wstring userAgent =
        L"Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
        L"Chrome/122.0.0.0 Safari/537.36 Edg/122.0.2365.46";
    std::wstring browserVersion = L"122.0.2365.46";
    std::vector<std::vector<std::wstring>> steps; // each: the directive's fields
};

// Reads the scenario beside the DLL; a missing file gives the defaults and no page steps.
Scenario LoadScenario();

} // namespace standin
