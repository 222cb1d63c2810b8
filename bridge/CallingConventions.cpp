// Fails the build when a host-object method lacks the COM calling convention: on i686 stdcall is part
// of a function's type, and the browser calls every slot as stdcall (a mismatch corrupts the stack at
// run time on a user's machine, and the x86_64 test build cannot notice it).
#include "bridge/HostObjectNodeJsImpl.h"

namespace vendrak {
namespace {

// Compiles only when the member converts to exactly the given pointer-to-member type.
template <typename Exact>
constexpr bool Check(Exact) {
    return true;
}

[[maybe_unused]] void CheckCallingConventions() {
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(REFIID, void**)>(&HostObjectNodeJs::QueryInterface);
    Check<ULONG (STDMETHODCALLTYPE HostObjectNodeJs::*)()>(&HostObjectNodeJs::AddRef);
    Check<ULONG (STDMETHODCALLTYPE HostObjectNodeJs::*)()>(&HostObjectNodeJs::Release);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(UINT*)>(&HostObjectNodeJs::GetTypeInfoCount);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(UINT, LCID, ITypeInfo**)>(
        &HostObjectNodeJs::GetTypeInfo);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(REFIID, LPOLESTR*, UINT, LCID, DISPID*)>(
        &HostObjectNodeJs::GetIDsOfNames);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                                          EXCEPINFO*, UINT*)>(&HostObjectNodeJs::Invoke);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(BSTR, LONG, BSTR*)>(
        &HostObjectNodeJs::MethodWithParametersAndReturnValue);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(LONG, LONG)>(&HostObjectNodeJs::presKey);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(LONG)>(&HostObjectNodeJs::setHardwareDecoding);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(LONG)>(&HostObjectNodeJs::setNetworkCaching);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(BSTR, BSTR*)>(&HostObjectNodeJs::openVideo);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)()>(&HostObjectNodeJs::playVideo);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)()>(&HostObjectNodeJs::stopVideo);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)()>(&HostObjectNodeJs::pauseVideo);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)()>(&HostObjectNodeJs::togglePause);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(BSTR)>(&HostObjectNodeJs::openPipVideo);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)()>(&HostObjectNodeJs::playPipVideo);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)()>(&HostObjectNodeJs::stopPipVideo);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(LONG, LONG, LONG, LONG)>(
        &HostObjectNodeJs::setPipRect);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(LONG*)>(&HostObjectNodeJs::isPlaying);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(LONG*)>(&HostObjectNodeJs::getVolume);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(LONG)>(&HostObjectNodeJs::setVolume);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(LONG*)>(&HostObjectNodeJs::getDuration);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(LONG*)>(&HostObjectNodeJs::getTime);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(LONG)>(&HostObjectNodeJs::setTime);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(BSTR*)>(&HostObjectNodeJs::getVideoSize);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(LONG)>(&HostObjectNodeJs::setScaleMode);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(LONG)>(&HostObjectNodeJs::setAudioTrack);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(LONG*)>(&HostObjectNodeJs::getAudioTrack);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(BSTR*)>(&HostObjectNodeJs::getAudioTracks);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(LONG)>(&HostObjectNodeJs::setSubtitleTrack);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(LONG*)>(&HostObjectNodeJs::getSubtitleTrack);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(BSTR*)>(&HostObjectNodeJs::getSubtitleTracks);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)()>(&HostObjectNodeJs::fitVideo);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(LONG, LONG, LONG, LONG)>(
        &HostObjectNodeJs::setVideoRect);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)()>(&HostObjectNodeJs::closeApp);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(BSTR, BSTR, IDispatch*)>(
        &HostObjectNodeJs::saveFileDialog);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(BSTR, BSTR, IDispatch*)>(
        &HostObjectNodeJs::showFileDialog);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(BSTR, BSTR)>(&HostObjectNodeJs::writeFile);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(BSTR, BSTR*)>(&HostObjectNodeJs::readFile);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(BSTR*)>(&HostObjectNodeJs::getMacAddress);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(BSTR*)>(&HostObjectNodeJs::getVersionInfo);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(BSTR*)>(&HostObjectNodeJs::getWindowsVersion);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(BSTR*)>(&HostObjectNodeJs::getStatistics);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(BSTR*)>(&HostObjectNodeJs::getTrackInfo);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(BSTR*)>(&HostObjectNodeJs::get_ExampleString);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(BSTR)>(&HostObjectNodeJs::put_ExampleString);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(LONG, BSTR*)>(
        &HostObjectNodeJs::get_ExampleStringAt);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(LONG, BSTR)>(
        &HostObjectNodeJs::put_ExampleStringAt);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(IDispatch*)>(
        &HostObjectNodeJs::CallCallbackAsynchronously);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(DATE*)>(&HostObjectNodeJs::get_ExampleDate);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)(DATE)>(&HostObjectNodeJs::put_ExampleDate);
    Check<HRESULT (STDMETHODCALLTYPE HostObjectNodeJs::*)()>(&HostObjectNodeJs::SetExampleDateToNow);
}

} // namespace
} // namespace vendrak
