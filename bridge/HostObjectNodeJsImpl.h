// The host object's class: both faces (the slot-ordered interface and IDispatch) on one COM object.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <map>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "IHostObjectNodeJs.h"
#include "bridge/HostObjectNodeJs.h"
#include "platform/ComClass.h"

namespace vendrak {

struct VlcPlayer;

// The type library's file, loaded only from the program's folder.
inline constexpr wchar_t kTypeLibraryName[] = L"vendrak.tlb";

// Any thread. The full path of kTypeLibraryName beside the program; empty when the program's folder
// cannot be read.
[[nodiscard]] std::wstring TypeLibraryPath();

// All members run on the UI thread (the browser calls host objects on the thread that created them).
// Every method body runs inside HostCall: no exception leaves the object.
class HostObjectNodeJs final : public ComClass<IHostObjectNodeJs, IDispatch> {
public:
    explicit HostObjectNodeJs(HostContext context);

    // IDispatch, by the type information of kTypeLibraryName.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    // General methods (HostObjectGeneralMethods.cpp).
    HRESULT STDMETHODCALLTYPE MethodWithParametersAndReturnValue(BSTR text, LONG number,
                                                                 BSTR* result) override;
    HRESULT STDMETHODCALLTYPE presKey(LONG upFlag, LONG keyCode) override;
    HRESULT STDMETHODCALLTYPE setHardwareDecoding(LONG enabled) override;
    HRESULT STDMETHODCALLTYPE setNetworkCaching(LONG milliseconds) override;
    HRESULT STDMETHODCALLTYPE openVideo(BSTR address, BSTR* result) override;
    HRESULT STDMETHODCALLTYPE closeApp() override;
    HRESULT STDMETHODCALLTYPE getMacAddress(BSTR* text) override;
    HRESULT STDMETHODCALLTYPE getVersionInfo(BSTR* text) override;
    HRESULT STDMETHODCALLTYPE getWindowsVersion(BSTR* text) override;
    HRESULT STDMETHODCALLTYPE get_ExampleString(BSTR* value) override;
    HRESULT STDMETHODCALLTYPE put_ExampleString(BSTR value) override;
    HRESULT STDMETHODCALLTYPE get_ExampleStringAt(LONG index, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE put_ExampleStringAt(LONG index, BSTR value) override;
    HRESULT STDMETHODCALLTYPE get_ExampleDate(DATE* value) override;
    HRESULT STDMETHODCALLTYPE put_ExampleDate(DATE value) override;
    HRESULT STDMETHODCALLTYPE SetExampleDateToNow() override;

    // Player methods (HostObjectPlayerMethods.cpp).
    HRESULT STDMETHODCALLTYPE playVideo() override;
    HRESULT STDMETHODCALLTYPE stopVideo() override;
    HRESULT STDMETHODCALLTYPE pauseVideo() override;
    HRESULT STDMETHODCALLTYPE togglePause() override;
    HRESULT STDMETHODCALLTYPE openPipVideo(BSTR address) override;
    HRESULT STDMETHODCALLTYPE playPipVideo() override;
    HRESULT STDMETHODCALLTYPE stopPipVideo() override;
    HRESULT STDMETHODCALLTYPE setPipRect(LONG x, LONG y, LONG width, LONG height) override;
    HRESULT STDMETHODCALLTYPE isPlaying(LONG* playing) override;
    HRESULT STDMETHODCALLTYPE getVolume(LONG* volume) override;
    HRESULT STDMETHODCALLTYPE setVolume(LONG volume) override;
    HRESULT STDMETHODCALLTYPE getDuration(LONG* milliseconds) override;
    HRESULT STDMETHODCALLTYPE getTime(LONG* milliseconds) override;
    HRESULT STDMETHODCALLTYPE setTime(LONG milliseconds) override;
    HRESULT STDMETHODCALLTYPE getVideoSize(BSTR* size) override;
    HRESULT STDMETHODCALLTYPE setScaleMode(LONG mode) override;
    HRESULT STDMETHODCALLTYPE setAudioTrack(LONG position) override;
    HRESULT STDMETHODCALLTYPE getAudioTrack(LONG* position) override;
    HRESULT STDMETHODCALLTYPE getAudioTracks(BSTR* names) override;
    HRESULT STDMETHODCALLTYPE setSubtitleTrack(LONG position) override;
    HRESULT STDMETHODCALLTYPE getSubtitleTrack(LONG* position) override;
    HRESULT STDMETHODCALLTYPE getSubtitleTracks(BSTR* names) override;
    HRESULT STDMETHODCALLTYPE fitVideo() override;
    HRESULT STDMETHODCALLTYPE setVideoRect(LONG x, LONG y, LONG width, LONG height) override;
    HRESULT STDMETHODCALLTYPE getStatistics(BSTR* text) override;
    HRESULT STDMETHODCALLTYPE getTrackInfo(BSTR* text) override;

    // Callbacks, dialogs and files (HostObjectFileMethods.cpp).
    HRESULT STDMETHODCALLTYPE saveFileDialog(BSTR folder, BSTR extensions, IDispatch* callback) override;
    HRESULT STDMETHODCALLTYPE showFileDialog(BSTR folder, BSTR extensions, IDispatch* callback) override;
    HRESULT STDMETHODCALLTYPE writeFile(BSTR path, BSTR text) override;
    HRESULT STDMETHODCALLTYPE readFile(BSTR path, BSTR* text) override;
    HRESULT STDMETHODCALLTYPE CallCallbackAsynchronously(IDispatch* callback) override;

private:
    // Loads the interface's type information on first need and keeps it with a table of its member names;
    // a failure is logged and retried next time. The returned pointer is borrowed from typeInfo_.
    HRESULT TypeInfo(ITypeInfo*& info);

    HostContext context_;
    std::wstring exampleString_ = L"Example Property String Value";
    std::map<LONG, std::wstring> exampleStrings_;
    Microsoft::WRL::ComPtr<ITypeInfo> typeInfo_; // holds its type library too
    // Member names folded to ASCII lower case, and their DISPIDs: the page calls every method by name, and
    // the type information's own lookup compares the name with each member in turn.
    struct NameHash {
        using is_transparent = void; // looked up by a folded view, without allocating
        size_t operator()(std::wstring_view name) const { return std::hash<std::wstring_view>{}(name); }
    };
    std::unordered_map<std::wstring, DISPID, NameHash, std::equal_to<>> memberIds_;
    DATE exampleDate_ = 0;
};

} // namespace vendrak
