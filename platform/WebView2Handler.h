// One generic COM adaptor that turns a callable into any WebView2 completion or event handler.
#pragma once

#include "platform/ComClass.h"
#include "platform/WebView2.h"

#include <exception>
#include <type_traits>
#include <utility>

namespace vendrak {

namespace detail {

// Reads the parameter list off an interface's Invoke so that the adaptor can override it exactly.
template <typename Method>
struct InvokeSignature;

template <typename Interface, typename... Args>
struct InvokeSignature<HRESULT (STDMETHODCALLTYPE Interface::*)(Args...)> {
    template <typename Callable>
    class Handler : public ComClass<Interface> {
    public:
        explicit Handler(Callable callable) : callable_(std::move(callable)) {}

        // The browser calls this on the UI thread. No exception may cross back into the runtime.
        HRESULT STDMETHODCALLTYPE Invoke(Args... args) override {
            try {
                return callable_(args...);
            } catch (...) {
                return E_UNEXPECTED;
            }
        }

    private:
        Callable callable_;
    };
};

} // namespace detail

// UI thread. Wraps `callable` (returning HRESULT, taking Invoke's parameters) as a new handler object of
// type Interface holding the caller's single reference; null when memory runs out.
template <typename Interface, typename Callable>
[[nodiscard]] ComPtr<Interface> MakeHandler(Callable callable) {
    using Handler = typename detail::InvokeSignature<decltype(&Interface::Invoke)>::template Handler<
        std::decay_t<Callable>>;
    ComPtr<Handler> handler = MakeCom<Handler>(std::move(callable));
    return Adopt<Interface>(handler.Detach());
}

} // namespace vendrak
