// The host object's construction and its IDispatch face, delegated to the type library's information.
#include "bridge/HostObjectNodeJsImpl.h"

#include <oleauto.h>

#include <utility>

#include "app/AppState.h"
#include "app/FailureLog.h"
#include "bridge/GuardHostCall.h"
#include "platform/ModulePath.h"

namespace vendrak {

std::wstring TypeLibraryPath() {
    const std::wstring folder = ProgramFolder();
    return folder.empty() ? std::wstring() : folder + L'\\' + kTypeLibraryName;
}

HostObjectNodeJs::HostObjectNodeJs(VlcPlayer* mainPlayer, VlcPlayer* pipPlayer,
                                   RunCallbackAsync runCallbackAsync)
    : mainPlayer_(mainPlayer), pipPlayer_(pipPlayer), runCallbackAsync_(std::move(runCallbackAsync)) {}

Microsoft::WRL::ComPtr<IHostObjectNodeJs> CreateHostObjectNodeJs(RunCallbackAsync runCallbackAsync) {
    AppState& app = App();
    try {
        return MakeCom<HostObjectNodeJs>(app.mainPlayer, app.pipPlayer, std::move(runCallbackAsync));
    } catch (const std::bad_alloc&) {
        // Copying the dispatcher may allocate too; the browser host treats a null object as out of memory.
        return nullptr;
    }
}

HRESULT HostObjectNodeJs::TypeInfo(ITypeInfo** info) {
    *info = nullptr;
    if (typeLib_ == nullptr) {
        // Never by bare name: LoadTypeLib then also registers the library under HKLM's Typelib key, which
        // a standard user cannot write, and a failed registration fails the load (Windows and Wine
        // alike). A full path with REGKIND_NONE writes nothing, and the working folder is never searched.
        const std::wstring path = TypeLibraryPath();
        const HRESULT loaded =
            path.empty() ? HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)
                         : LoadTypeLibEx(path.c_str(), REGKIND_NONE, typeLib_.ReleaseAndGetAddressOf());
        if (FAILED(loaded)) {
            typeLib_.Reset();
            VENDRAK_LOG_FAILURE(kHostObjectSource, loaded, "LoadTypeLibEx vendrak.tlb");
            return loaded;
        }
    }
    const HRESULT found = typeLib_->GetTypeInfoOfGuid(__uuidof(IHostObjectNodeJs), info);
    if (FAILED(found))
        VENDRAK_LOG_FAILURE(kHostObjectSource, found, "GetTypeInfoOfGuid IHostObjectNodeJs");
    return found;
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::GetTypeInfoCount(UINT* count) {
    if (count == nullptr)
        return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    return GuardHostCall(kHostObjectSource, __LINE__, [&]() -> HRESULT {
        if (info == nullptr)
            return E_POINTER;
        *info = nullptr;
        if (index != 0)
            return TYPE_E_ELEMENTNOTFOUND;
        return TypeInfo(info);
    });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                                          DISPID* ids) {
    return GuardHostCall(kHostObjectSource, __LINE__, [&]() -> HRESULT {
        Microsoft::WRL::ComPtr<ITypeInfo> info;
        HRESULT hr = TypeInfo(info.GetAddressOf());
        if (FAILED(hr)) {
            VENDRAK_LOG_FAILURE(kHostObjectSource, hr, "GetIDsOfNames without type information");
            return hr;
        }
        hr = info->GetIDsOfNames(names, count, ids);
        if (FAILED(hr))
            VENDRAK_LOG_FAILURE(kHostObjectSource, hr, "GetIDsOfNames");
        return hr;
    });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::Invoke(DISPID member, REFIID, LCID, WORD flags,
                                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                                   UINT* argumentError) {
    return GuardHostCall(kHostObjectSource, __LINE__, [&]() -> HRESULT {
        Microsoft::WRL::ComPtr<ITypeInfo> info;
        HRESULT hr = TypeInfo(info.GetAddressOf());
        if (FAILED(hr)) {
            VENDRAK_LOG_FAILURE(kHostObjectSource, hr, "Invoke without type information");
            return hr;
        }
        // The type information calls the slot on the interface face, not on IDispatch.
        hr = info->Invoke(static_cast<IHostObjectNodeJs*>(this), member, flags, params, result, exception,
                          argumentError);
        if (FAILED(hr))
            VENDRAK_LOG_FAILURE(kHostObjectSource, hr, "Invoke");
        return hr;
    });
}

} // namespace vendrak
