// The COM class template: reference counting across threads, QueryInterface answers and misses.
#include "platform/ComClass.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace vendrak {
namespace {

int liveObjects = 0;

class Counted : public ComClass<IDispatch, IPersist> {
public:
    Counted() { ++liveObjects; }
    ~Counted() override { --liveObjects; }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID*) override { return E_NOTIMPL; }
};

TEST(ComClass, QueryInterfaceAnswersListedInterfacesOnly) {
    ComPtr<Counted> object = MakeCom<Counted>();
    ASSERT_TRUE(object);

    ComPtr<IUnknown> unknown;
    ComPtr<IDispatch> dispatch;
    ComPtr<IPersist> persist;
    ASSERT_EQ(object->QueryInterface(IID_PPV_ARGS(&unknown)), S_OK);
    ASSERT_EQ(object->QueryInterface(IID_PPV_ARGS(&dispatch)), S_OK);
    ASSERT_EQ(object->QueryInterface(IID_PPV_ARGS(&persist)), S_OK);
    // IUnknown is the first interface's face, so identity comparisons work.
    EXPECT_EQ(unknown.Get(), static_cast<IUnknown*>(dispatch.Get()));
    EXPECT_NE(static_cast<void*>(persist.Get()), static_cast<void*>(dispatch.Get()));

    void* miss = reinterpret_cast<void*>(1);
    EXPECT_EQ(object->QueryInterface(IID_IClassFactory, &miss), E_NOINTERFACE);
    EXPECT_EQ(miss, nullptr);
    EXPECT_EQ(object->QueryInterface(IID_IDispatch, nullptr), E_POINTER);
}

TEST(ComClass, LastReleaseDeletesOnceAcrossThreads) {
    IDispatch* raw = MakeCom<Counted>().Detach();
    ASSERT_EQ(liveObjects, 1);
    constexpr int kThreads = 8, kRounds = 20000;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([raw] {
            for (int i = 0; i < kRounds; ++i) {
                raw->AddRef();
                raw->Release();
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(liveObjects, 1);
    EXPECT_EQ(raw->Release(), 0u);
    EXPECT_EQ(liveObjects, 0);
}

TEST(ComClass, AdoptTakesOverWithoutAddingAReference) {
    {
        ComPtr<Counted> object = MakeCom<Counted>();
        ComPtr<Counted> copy = object;
        EXPECT_EQ(liveObjects, 1);
    }
    EXPECT_EQ(liveObjects, 0);
}

} // namespace
} // namespace vendrak
