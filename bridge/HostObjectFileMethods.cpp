// The host object's callbacks into the page, its file dialogs and its text-file methods.
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <utility>

#include "bridge/BstrText.h"
#include "bridge/CallbackClosure.h"
#include "bridge/FileDialogs.h"
#include "bridge/HostCall.h"
#include "bridge/HostObjectNodeJsImpl.h"
#include "services/TextHelpers.h"

namespace vendrak {
namespace {

// What a dialog method returns while another dialog is open: -1, a failure the page's call rejects.
constexpr HRESULT kDialogBusyCode = static_cast<HRESULT>(0xFFFFFFFF);

HRESULT RunDialogForPage(FileDialogKind kind, BSTR folder, BSTR extensions, IDispatch* callback,
                         const HostContext& context) {
    const auto utf8Folder = BstrToUtf8(folder);
    const auto utf8Extensions = BstrToUtf8(extensions);
    // Stays inside the dialog's own message loop until the user closes it.
    const std::wstring answer =
        RunFileDialog(kind, utf8Folder.get(), utf8Extensions.get(), context.mainWindow);
    if (answer == kDialogBusy)
        return kDialogBusyCode;
    // Windows need not send the main window a focus message when the dialog closes; a remote user
    // would be left with keys going nowhere.
    if (context.focusPage)
        context.focusPage();
    const RunCallbackAsync& runCallbackAsync = context.runCallbackAsync;
    // The page function is never called inside its own call: the closure runs after we returned.
    if (callback != nullptr && runCallbackAsync)
        runCallbackAsync(MakeDialogCallbackClosure(callback, answer));
    return S_OK;
}

} // namespace

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::saveFileDialog(BSTR folder, BSTR extensions,
                                                           IDispatch* callback) {
    return HostCall([&]() -> HRESULT {
        return RunDialogForPage(FileDialogKind::Save, folder, extensions, callback, context_);
    });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::showFileDialog(BSTR folder, BSTR extensions,
                                                           IDispatch* callback) {
    return HostCall([&]() -> HRESULT {
        return RunDialogForPage(FileDialogKind::Open, folder, extensions, callback, context_);
    });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::writeFile(BSTR path, BSTR text) {
    return HostCall([&]() -> HRESULT {
        const auto utf8Path = BstrToUtf8(path);
        const auto utf8Text = BstrToUtf8(text);
        // The page learns nothing of a failed write: the method answers S_OK either way.
        WriteTextFile(utf8Path.get(), utf8Text.get());
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::readFile(BSTR path, BSTR* text) {
    return HostCall([&]() -> HRESULT {
        if (text == nullptr)
            return E_POINTER;
        const std::wstring content = ReadTextFile(BstrToUtf8(path).get());
        return StoreText(SysAllocStringLen(content.data(), static_cast<UINT>(content.size())), text);
    });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::CallCallbackAsynchronously(IDispatch* callback) {
    return HostCall([&]() -> HRESULT {
        if (callback != nullptr && context_.runCallbackAsync)
            context_.runCallbackAsync(MakeCallbackClosure(callback));
        return S_OK;
    });
}

} // namespace vendrak
