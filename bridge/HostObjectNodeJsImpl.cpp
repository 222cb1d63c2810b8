// The host object's construction and its IDispatch face, delegated to the type library's information.
#include "bridge/HostObjectNodeJsImpl.h"

#include <oleauto.h>

#include <utility>

#include "bridge/HostCall.h"
#include "platform/Bstr.h"
#include "platform/FailureLog.h"
#include "platform/ModulePath.h"

namespace vendrak {

std::wstring TypeLibraryPath() {
    const std::wstring folder = ProgramFolder();
    return folder.empty() ? std::wstring() : folder + L'\\' + kTypeLibraryName;
}

HostObjectNodeJs::HostObjectNodeJs(HostContext context) : context_(std::move(context)) {}

Microsoft::WRL::ComPtr<IHostObjectNodeJs> CreateHostObjectNodeJs(HostContext context) {
    try {
        return MakeCom<HostObjectNodeJs>(std::move(context));
    } catch (const std::bad_alloc&) {
        // Copying the context may allocate too; the browser host treats a null object as out of memory.
        return nullptr;
    }
}

namespace {

// Member names are ASCII; any other character stays as it is and simply finds no entry. The longest
// member name fits the buffer; a longer name cannot be a member and gets an empty view.
constexpr size_t kLongestName = 64;
std::wstring_view FoldedName(const wchar_t* name, wchar_t (&buffer)[kLongestName]) {
    size_t length = 0;
    for (; name[length] != L'\0'; ++length) {
        if (length == kLongestName)
            return {};
        const wchar_t c = name[length];
        buffer[length] = (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
    }
    return {buffer, length};
}

template <typename Table>
Table MemberIds(ITypeInfo* info) {
    Table ids;
    TYPEATTR* attributes = nullptr;
    if (FAILED(info->GetTypeAttr(&attributes)))
        return ids; // every name then goes to the type information's own lookup
    for (UINT i = 0; i < attributes->cFuncs; ++i) {
        FUNCDESC* function = nullptr;
        if (FAILED(info->GetFuncDesc(i, &function)))
            continue;
        Bstr name;
        UINT got = 0;
        if (SUCCEEDED(info->GetNames(function->memid, name.Put(), 1, &got)) && got == 1) {
            wchar_t buffer[kLongestName];
            // A property's get and put share one entry.
            ids.emplace(std::wstring(FoldedName(name.Get(), buffer)), function->memid);
        }
        info->ReleaseFuncDesc(function);
    }
    info->ReleaseTypeAttr(attributes);
    return ids;
}

} // namespace

HRESULT HostObjectNodeJs::TypeInfo(ITypeInfo*& info) {
    info = typeInfo_.Get();
    if (info != nullptr)
        return S_OK;
    // Never by bare name: LoadTypeLib then also registers the library under HKLM's Typelib key, which a
    // standard user cannot write, and a failed registration fails the load (Windows and Wine alike). A
    // full path with REGKIND_NONE writes nothing, and the working folder is never searched.
    const std::wstring path = TypeLibraryPath();
    Microsoft::WRL::ComPtr<ITypeLib> library;
    const HRESULT loaded = path.empty() ? HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)
                                        : LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.GetAddressOf());
    if (FAILED(loaded)) {
        LogHostFailure(loaded, "LoadTypeLibEx vendrak.tlb");
        return loaded;
    }
    Microsoft::WRL::ComPtr<ITypeInfo> found;
    const HRESULT hr = library->GetTypeInfoOfGuid(__uuidof(IHostObjectNodeJs), found.GetAddressOf());
    if (FAILED(hr)) {
        LogHostFailure(hr, "GetTypeInfoOfGuid IHostObjectNodeJs");
        return hr;
    }
    memberIds_ = MemberIds<decltype(memberIds_)>(found.Get());
    typeInfo_ = std::move(found);
    info = typeInfo_.Get();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::GetTypeInfoCount(UINT* count) {
    if (count == nullptr)
        return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    return HostCall([&]() -> HRESULT {
        if (info == nullptr)
            return E_POINTER;
        *info = nullptr;
        if (index != 0)
            return TYPE_E_ELEMENTNOTFOUND;
        ITypeInfo* loaded = nullptr;
        const HRESULT hr = TypeInfo(loaded);
        if (SUCCEEDED(hr)) {
            loaded->AddRef(); // the caller's reference
            *info = loaded;
        }
        return hr;
    });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                                          DISPID* ids) {
    return HostCall([&]() -> HRESULT {
        ITypeInfo* info = nullptr;
        HRESULT hr = TypeInfo(info);
        if (FAILED(hr)) {
            LogHostFailure(hr, "GetIDsOfNames without type information");
            return hr;
        }
        // One member name, as the page's calls have, comes from the table; named arguments, unknown
        // names and bad pointers go to the type information, which answers them as COM prescribes.
        if (count == 1 && names != nullptr && names[0] != nullptr && ids != nullptr) {
            wchar_t buffer[kLongestName];
            const auto found = memberIds_.find(FoldedName(names[0], buffer));
            if (found != memberIds_.end()) {
                ids[0] = found->second;
                return S_OK;
            }
        }
        hr = info->GetIDsOfNames(names, count, ids);
        if (FAILED(hr))
            LogHostFailure(hr, "GetIDsOfNames");
        return hr;
    });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::Invoke(DISPID member, REFIID, LCID, WORD flags,
                                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                                   UINT* argumentError) {
    return HostCall([&]() -> HRESULT {
        ITypeInfo* info = nullptr;
        HRESULT hr = TypeInfo(info);
        if (FAILED(hr)) {
            LogHostFailure(hr, "Invoke without type information");
            return hr;
        }
        // The type information calls the slot on the interface face, not on IDispatch.
        hr = info->Invoke(static_cast<IHostObjectNodeJs*>(this), member, flags, params, result, exception,
                          argumentError);
        if (FAILED(hr))
            LogHostFailure(hr, "Invoke");
        return hr;
    });
}

} // namespace vendrak
