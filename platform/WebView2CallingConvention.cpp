// Compile-time proof that every WebView2 method the shell calls, and every handler Invoke, is stdcall.
// On i686 the calling convention is part of a member function's type, so a declaration that lost its
// STDMETHODCALLTYPE fails this build instead of crashing on a user's machine; on x86_64 there is only
// one convention and the checks hold trivially.
#include "platform/WebView2.h"

#include <type_traits>

namespace {

#define VENDRAK_STDCALL(type, method, ...)                                                                   \
    static_assert(std::is_same_v<decltype(&type::method), HRESULT (STDMETHODCALLTYPE type::*)(__VA_ARGS__)>, \
                  #type "::" #method " must be STDMETHODCALLTYPE")

VENDRAK_STDCALL(ICoreWebView2Environment, CreateCoreWebView2Controller, HWND,
                ICoreWebView2CreateCoreWebView2ControllerCompletedHandler*);
VENDRAK_STDCALL(ICoreWebView2Environment, get_BrowserVersionString, LPWSTR*);
VENDRAK_STDCALL(ICoreWebView2EnvironmentOptions, get_AdditionalBrowserArguments, LPWSTR*);
VENDRAK_STDCALL(ICoreWebView2EnvironmentOptions, put_AdditionalBrowserArguments, LPCWSTR);
VENDRAK_STDCALL(ICoreWebView2EnvironmentOptions, get_Language, LPWSTR*);
VENDRAK_STDCALL(ICoreWebView2EnvironmentOptions, put_Language, LPCWSTR);
VENDRAK_STDCALL(ICoreWebView2EnvironmentOptions, get_TargetCompatibleBrowserVersion, LPWSTR*);
VENDRAK_STDCALL(ICoreWebView2EnvironmentOptions, put_TargetCompatibleBrowserVersion, LPCWSTR);
VENDRAK_STDCALL(ICoreWebView2EnvironmentOptions, get_AllowSingleSignOnUsingOSPrimaryAccount, BOOL*);
VENDRAK_STDCALL(ICoreWebView2EnvironmentOptions, put_AllowSingleSignOnUsingOSPrimaryAccount, BOOL);
VENDRAK_STDCALL(ICoreWebView2Controller, put_Bounds, RECT);
VENDRAK_STDCALL(ICoreWebView2Controller, MoveFocus, COREWEBVIEW2_MOVE_FOCUS_REASON);
VENDRAK_STDCALL(ICoreWebView2Controller, get_CoreWebView2, ICoreWebView2**);
VENDRAK_STDCALL(ICoreWebView2Controller2, put_DefaultBackgroundColor, COREWEBVIEW2_COLOR);
VENDRAK_STDCALL(ICoreWebView2Controller3, put_BoundsMode, COREWEBVIEW2_BOUNDS_MODE);
VENDRAK_STDCALL(ICoreWebView2, get_Settings, ICoreWebView2Settings**);
VENDRAK_STDCALL(ICoreWebView2, Navigate, LPCWSTR);
VENDRAK_STDCALL(ICoreWebView2, add_NavigationStarting, ICoreWebView2NavigationStartingEventHandler*,
                EventRegistrationToken*);
VENDRAK_STDCALL(ICoreWebView2, add_NavigationCompleted, ICoreWebView2NavigationCompletedEventHandler*,
                EventRegistrationToken*);
VENDRAK_STDCALL(ICoreWebView2, ExecuteScript, LPCWSTR, ICoreWebView2ExecuteScriptCompletedHandler*);
VENDRAK_STDCALL(ICoreWebView2, CallDevToolsProtocolMethod, LPCWSTR, LPCWSTR,
                ICoreWebView2CallDevToolsProtocolMethodCompletedHandler*);
VENDRAK_STDCALL(ICoreWebView2, AddHostObjectToScript, LPCWSTR, VARIANT*);
VENDRAK_STDCALL(ICoreWebView2, RemoveHostObjectFromScript, LPCWSTR);
VENDRAK_STDCALL(ICoreWebView2Settings, put_IsScriptEnabled, BOOL);
VENDRAK_STDCALL(ICoreWebView2Settings, put_IsWebMessageEnabled, BOOL);
VENDRAK_STDCALL(ICoreWebView2Settings, put_AreDefaultScriptDialogsEnabled, BOOL);
VENDRAK_STDCALL(ICoreWebView2Settings, put_AreDefaultContextMenusEnabled, BOOL);
VENDRAK_STDCALL(ICoreWebView2Settings2, get_UserAgent, LPWSTR*);
VENDRAK_STDCALL(ICoreWebView2Settings2, put_UserAgent, LPCWSTR);
VENDRAK_STDCALL(ICoreWebView2Settings3, put_AreBrowserAcceleratorKeysEnabled, BOOL);
VENDRAK_STDCALL(ICoreWebView2NavigationStartingEventArgs, get_Uri, LPWSTR*);
VENDRAK_STDCALL(ICoreWebView2NavigationCompletedEventArgs, get_IsSuccess, BOOL*);
VENDRAK_STDCALL(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler, Invoke, HRESULT,
                ICoreWebView2Environment*);
VENDRAK_STDCALL(ICoreWebView2CreateCoreWebView2ControllerCompletedHandler, Invoke, HRESULT,
                ICoreWebView2Controller*);
VENDRAK_STDCALL(ICoreWebView2NavigationStartingEventHandler, Invoke, ICoreWebView2*,
                ICoreWebView2NavigationStartingEventArgs*);
VENDRAK_STDCALL(ICoreWebView2NavigationCompletedEventHandler, Invoke, ICoreWebView2*,
                ICoreWebView2NavigationCompletedEventArgs*);
VENDRAK_STDCALL(ICoreWebView2ExecuteScriptCompletedHandler, Invoke, HRESULT, LPCWSTR);
VENDRAK_STDCALL(ICoreWebView2CallDevToolsProtocolMethodCompletedHandler, Invoke, HRESULT, LPCWSTR);

static_assert(
    std::is_same_v<CreateCoreWebView2EnvironmentWithOptionsFunction,
                   HRESULT(STDAPICALLTYPE*)(PCWSTR, PCWSTR, ICoreWebView2EnvironmentOptions*,
                                            ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler*)>);

} // namespace
