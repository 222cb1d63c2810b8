// The project's small COM class template (mingw-w64's WRL has only ComPtr, no RuntimeClass).
#pragma once

#include <windows.h>
#include <unknwn.h>
#include <wrl/client.h>

#include <atomic>
#include <new>
#include <utility>

namespace vendrak {

using Microsoft::WRL::ComPtr;

// Implements IUnknown for a class that derives from the listed interfaces. The reference count starts
// at 1 (the creator's reference, see MakeCom); the Release that brings it to zero deletes the object.
// QueryInterface answers IUnknown (as the first interface) and each listed interface; a class that also
// answers for base interfaces of the listed ones (Controller for Controller3, say) overrides QueryExtra.
// Objects of these classes live on the heap only: never construct one on the stack.
template <typename First, typename... Rest>
class ComClass : public First, public Rest... {
public:
    ComClass(const ComClass&) = delete;
    ComClass& operator=(const ComClass&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr)
            return E_POINTER;
        *out = nullptr;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(First))
            *out = static_cast<First*>(this);
        else
            // The cast keeps a class with a single interface (an empty fold, plain `false`) warning-free.
            static_cast<void>(((iid == __uuidof(Rest) ? (*out = static_cast<Rest*>(this), true) : false) || ...));
        if (*out == nullptr)
            *out = QueryExtra(iid);
        if (*out == nullptr)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }

    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }

    ULONG STDMETHODCALLTYPE Release() override {
        // One atomic decrement: testing the count first and decrementing after would race.
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    ComClass() = default;
    virtual ~ComClass() = default;

    // Further interface identifiers this object answers for; the pointer returned is not yet AddRef'd.
    virtual void* QueryExtra(REFIID) { return nullptr; }

private:
    std::atomic<ULONG> references_{1};
};

// Takes over a reference the caller already owns (an out parameter filled by a C API, a fresh object).
// Beware: mingw-w64's ComPtr::Attach adds a reference, unlike Microsoft's, so Attach would leak one.
template <typename T>
[[nodiscard]] ComPtr<T> Adopt(T* owned) noexcept {
    ComPtr<T> pointer;
    *pointer.GetAddressOf() = owned;
    return pointer;
}

// Creates a COM object holding the creator's single reference, or null when memory runs out.
template <typename T, typename... Args>
[[nodiscard]] ComPtr<T> MakeCom(Args&&... args) {
    return Adopt(new (std::nothrow) T(std::forward<Args>(args)...));
}

} // namespace vendrak
