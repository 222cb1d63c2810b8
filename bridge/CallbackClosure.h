// Calls of page functions that run later: the closures the host object hands to its dispatcher.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <functional>
#include <string>

namespace vendrak {

// How a page function is called: member -1, IID_NULL, the user's default locale, as a method.
inline constexpr DISPID kCallbackMember = DISPID_UNKNOWN;
inline constexpr LCID kCallbackLocale = LOCALE_USER_DEFAULT;

// Any thread may make a closure; it must run on the UI thread (the page's objects live there).
// The closure owns a reference to `callback` and, for the dialog form, its argument block; both are
// released when the closure is destroyed, whether or not it ran. The outcome of the call is not looked at.

// Calls callback() with no arguments.
std::function<void()> MakeCallbackClosure(Microsoft::WRL::ComPtr<IDispatch> callback);

// Calls callback(status, text): the 8-bit answer text read in the ANSI code page, status 1 when it is
// not empty, else 0. Throws std::bad_alloc when the text cannot be made.
std::function<void()> MakeDialogCallbackClosure(Microsoft::WRL::ComPtr<IDispatch> callback,
                                                const std::wstring& answer);

} // namespace vendrak
