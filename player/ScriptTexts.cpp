// Builds the page's script calls and their number texts.
#include "player/ScriptTexts.h"

#include <cstdio>

namespace vendrak {
namespace {

// The two calls whose newer texts supersede older ones; each opens its text here and nowhere else.
constexpr std::wstring_view kStateChangeCall = L"StateChange(";
constexpr std::wstring_view kBitrateCall = L"vlc_bitrate(";

// "%f" of the value, cut at its point when the point stands at minimumPosition or later. "%f" writes
// only ASCII (digits, sign, point, "inf", "nan"), so the narrow and the wide text hold the same characters.
template <typename Char>
std::basic_string<Char> CutAtPoint(double value, size_t minimumPosition) {
    char buffer[400]; // "%f" of the largest double has 309 digits before the point
    const int length = std::snprintf(buffer, sizeof buffer, "%f", value);
    std::basic_string<Char> text(buffer, buffer + (length > 0 ? length : 0));
    const size_t point = text.find(Char('.'));
    if (point != std::basic_string<Char>::npos && point >= minimumPosition) {
        text.resize(point);
    }
    return text;
}

} // namespace

template <typename Char>
std::basic_string<Char> CutText(double value) {
    return CutAtPoint<Char>(value, 1);
}
template std::string CutText<char>(double value);
template std::wstring CutText<wchar_t>(double value);

std::wstring FrameRateText(float framesPerSecond) {
    return CutAtPoint<wchar_t>(framesPerSecond, 2);
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

ScriptKind KindOfScript(std::wstring_view script) {
    if (script.starts_with(kBitrateCall)) {
        return ScriptKind::kBitrate;
    }
    if (!script.starts_with(kStateChangeCall)) {
        return ScriptKind::kOther;
    }
    // StateChange('<word><suffix>', ...): the word's end tells the player.
    std::wstring_view word = script.substr(kStateChangeCall.size());
    word = word.substr(0, word.find(L'\'', 1));
    return word.ends_with(L"_pip") ? ScriptKind::kPipState : ScriptKind::kMainState;
}

std::wstring VideoResolutionScript(uint32_t width, uint32_t height, float framesPerSecond) {
    return L"vlc_video_res(" + std::to_wstring(width) + L"," + std::to_wstring(height) + L"," +
           FrameRateText(framesPerSecond) + L");";
}

} // namespace vendrak
