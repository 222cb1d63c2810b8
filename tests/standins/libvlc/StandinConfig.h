// A stand-in libvlc.dll for the Windows tests (never shipped): it plays no media but answers the
// player's libvlc calls from a configuration and delivers the media-player events libvlc 3.0 delivers,
// from its own threads, and while "playing" creates a child window of class "VLC video main <pointer>"
// inside the window given to libvlc_media_player_set_hwnd.
//
// Configuration: "key=value" settings, one per line, read from the file named by the environment
// variable VENDRAK_LIBVLC_STANDIN when libvlc_new is called, and changeable at any time in-process
// through the exported function
//     extern "C" void libvlc_standin_control(const char* key, const char* value);
// (a null or empty value restores the key's default; key "reset" restores all), and
//     extern "C" int libvlc_standin_count(const char* kind);
// answers how many objects of a kind are alive ("media", "players", "tracks" arrays, "descriptions"
// lists), so a test can check that everything handed out was released. Keys and defaults:
//   width=1920 height=1080 fps=25      picture size and frame rate once playing (0x0 for "audio-only")
//   duration=10000                     media length in ms; end of media comes when the time reaches it
//   tick=250                           ms between the position/time events while playing
//   buffering_step=20                  ms between buffering events at play
//   audio=Disable:-1,Track 1:1,Track 2:2    audio descriptions "name:id", in list order; audio_current=1
//   spu=Disable:-1,Track 1:3           subtitle descriptions; spu_current=-1
//   volume=100                         initial volume (set_volume accepts 0..200)
//   stats=read_bytes,input_bitrate,demux_read_bytes,demux_bitrate,demux_corrupted,demux_discontinuity,
//         decoded_video,decoded_audio,displayed_pictures,lost_pictures,played_abuffers,lost_abuffers,
//         sent_packets,sent_bytes,send_bitrate     15 comma-separated numbers; default all 0 but
//         read_bytes=1000 and demux_bitrate=1.5
//   fail_new=0 fail_player=0 fail_media=0 fail_stats=0 no_event_manager=0   1 makes that call fail
//   version=3.0.24 Vetinari            libvlc_get_version's text
//   log=<path>                         append one line per libvlc call (name and arguments)
// A media location containing "error" plays as an unreadable input: opening, then error and stopped.
// Events (libvlc_MediaPlayer...): set_media MediaChanged; play Opening, Buffering (0), SeekableChanged,
// PausableChanged, LengthChanged, Playing, Buffering with 0 25 50 75 100 100, then PositionChanged and
// TimeChanged alternating each tick; pause Paused; resume Playing; stop Stopped; end of media EndReached
// then Stopped.
#pragma once

#include <string>

namespace standin {

// Any thread. The current value of a key (its default when unset).
std::string Setting(const std::string& key);
int IntSetting(const std::string& key);
double NumberSetting(const std::string& key);
bool Flag(const std::string& key);
// Any thread. Reads the file named by VENDRAK_LIBVLC_STANDIN, if any.
void LoadSettingsFile();
// Any thread. Appends one line to the call log when "log" is set.
void Log(const std::string& line);

} // namespace standin
