// Builds the page's script calls and their number texts.
#include "player/ScriptTexts.h"

#include <cwchar>

namespace vendrak {
namespace {

// The two calls whose newer texts supersede older ones; each opens its text here and nowhere else.
constexpr std::wstring_view kStateChangeCall = L"StateChange(";
constexpr std::wstring_view kBitrateCall = L"vlc_bitrate(";

std::wstring FormatFixed(double value) {
    wchar_t buffer[400]; // "%f" of the largest double has 309 digits before the point
    int length = std::swprintf(buffer, std::size(buffer), L"%f", value);
    return length > 0 ? std::wstring(buffer, static_cast<size_t>(length)) : std::wstring();
}

std::wstring CutAtPoint(std::wstring text, size_t minimumPosition) {
    size_t point = text.find(L'.');
    if (point != std::wstring::npos && point >= minimumPosition) {
        text.resize(point);
    }
    return text;
}

} // namespace

std::wstring CutText(double value) {
    return CutAtPoint(FormatFixed(value), 1);
}

std::wstring FrameRateText(float framesPerSecond) {
    return CutAtPoint(FormatFixed(framesPerSecond), 2);
}

std::wstring StateChangeScript(std::wstring_view word, std::wstring_view suffix, std::wstring_view detail) {
    std::wstring script(kStateChangeCall);
    script.append(L"'").append(word).append(suffix).append(L"', '").append(detail).append(L"');");
    return script;
}

std::wstring BitrateScript(float demuxBitrate) {
    float bitsPerSecond = demuxBitrate * 8.0f; // float multiplication, as the counters are floats
    return std::wstring(kBitrateCall) + CutText(bitsPerSecond) + L");";
}

bool IsSupersededScript(std::wstring_view script) {
    return script.starts_with(kStateChangeCall) || script.starts_with(kBitrateCall);
}

std::wstring VideoResolutionScript(uint32_t width, uint32_t height, float framesPerSecond) {
    return L"vlc_video_res(" + std::to_wstring(width) + L"," + std::to_wstring(height) + L"," +
           FrameRateText(framesPerSecond) + L");";
}

} // namespace vendrak
