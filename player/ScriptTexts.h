// The script calls the player pushes into the page, and the number texts inside them; each text is
// built here and nowhere else.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vendrak {

// State words of StateChange (the picture-in-picture player appends its suffix).
inline constexpr std::wstring_view kStateOpening = L"opening";
inline constexpr std::wstring_view kStateBuffering = L"buffering";
inline constexpr std::wstring_view kStatePlaying = L"playing";
inline constexpr std::wstring_view kStatePaused = L"plaused"; // the page matches this spelling
inline constexpr std::wstring_view kStateStopped = L"stopped";

// Sent by play and pause before the first measured report.
inline constexpr std::wstring_view kBitrateZeroScript = L"vlc_bitrate(0);";

// "%f" of the value with the decimals cut off: 45.5 -> "45", 2.9999997f -> "3" (rounds to six
// decimals first). Wide for the page's scripts, narrow (the same characters) for the statistics text.
template <typename Char = wchar_t>
std::basic_string<Char> CutText(double value);
extern template std::string CutText<char>(double value);
extern template std::wstring CutText<wchar_t>(double value);
// Frame rate: "%f" cut only when the point stands at position 2 or later: 25 -> "25", 29.97 -> "29",
// 5 -> "5.000000", 0 -> "0.000000".
std::wstring FrameRateText(float framesPerSecond);

// StateChange('<word><suffix>', '<detail>');
std::wstring StateChangeScript(std::wstring_view word, std::wstring_view suffix, std::wstring_view detail);
// vlc_bitrate(<demux bit rate * 8, cut>);
std::wstring BitrateScript(float demuxBitrate);
// vlc_video_res(<width>,<height>,<frame rate text>);
std::wstring VideoResolutionScript(uint32_t width, uint32_t height, float framesPerSecond);

// What a newer text replaces: a StateChange of the same player (the same suffix) tells the page that
// player's current state, a vlc_bitrate the current bit rate (its text names no player). Everything else
// (picture-size reports, the keyboard bridge) replaces nothing and is never replaced.
enum class ScriptKind { kOther, kMainState, kPipState, kBitrate };
ScriptKind KindOfScript(std::wstring_view script);

} // namespace vendrak
