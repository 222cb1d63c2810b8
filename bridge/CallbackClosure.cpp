// Page-function calls queued for later (see CallbackClosure.h).
#include "bridge/CallbackClosure.h"

#include <oleauto.h>

#include <memory>
#include <new>
#include <utility>


namespace vendrak {
namespace {

// The arguments of one dialog callback, last argument first as IDispatch expects, and the result
// holder. Clearing the variants frees the answer text.
struct ArgumentBlock {
    VARIANT arguments[2];
    VARIANT result;
    DISPPARAMS params{};

    ArgumentBlock() {
        VariantInit(&arguments[0]);
        VariantInit(&arguments[1]);
        VariantInit(&result);
        params.rgvarg = arguments;
        params.cArgs = 2;
    }
    ArgumentBlock(const ArgumentBlock&) = delete;
    ArgumentBlock& operator=(const ArgumentBlock&) = delete;
    ~ArgumentBlock() {
        VariantClear(&arguments[0]);
        VariantClear(&arguments[1]);
        VariantClear(&result);
    }
};

} // namespace

std::function<void()> MakeCallbackClosure(Microsoft::WRL::ComPtr<IDispatch> callback) {
    return [callback = std::move(callback)] {
        // IDispatch implementations may read the descriptor unconditionally, so an empty one is
        // passed rather than none: the page function still receives no arguments.
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        // A failing page function is the page's business: the result is deliberately ignored.
        (void)callback->Invoke(kCallbackMember, IID_NULL, kCallbackLocale, DISPATCH_METHOD, &none, nullptr,
                               nullptr, nullptr);
    };
}

std::function<void()> MakeDialogCallbackClosure(Microsoft::WRL::ComPtr<IDispatch> callback,
                                                const std::wstring& answer) {
    auto block = std::make_shared<ArgumentBlock>();
    BSTR text = SysAllocStringLen(answer.data(), static_cast<UINT>(answer.size()));
    if (text == nullptr)
        throw std::bad_alloc();
    block->arguments[0].vt = VT_BSTR;
    block->arguments[0].bstrVal = text;
    block->arguments[1].vt = VT_I4;
    block->arguments[1].lVal = answer.empty() ? 0 : 1;
    return [callback = std::move(callback), block = std::move(block)] {
        (void)callback->Invoke(kCallbackMember, IID_NULL, kCallbackLocale, DISPATCH_METHOD, &block->params,
                               &block->result, nullptr, nullptr);
    };
}

} // namespace vendrak
