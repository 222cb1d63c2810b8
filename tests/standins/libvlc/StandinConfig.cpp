// The stand-in libvlc's settings and call log.
#include "StandinConfig.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>

namespace standin {
namespace {

const std::map<std::string, std::string>& Defaults() {
    static const std::map<std::string, std::string> defaults = {
        {"width", "1920"},
        {"height", "1080"},
        {"fps", "25"},
        {"duration", "10000"},
        {"tick", "250"},
        {"buffering_step", "20"},
        {"audio", "Disable:-1,Track 1:1,Track 2:2"},
        {"audio_current", "1"},
        {"spu", "Disable:-1,Track 1:3"},
        {"spu_current", "-1"},
        {"volume", "100"},
        {"stats", "1000,0,0,1.5,0,0,0,0,0,0,0,0,0,0,0"},
        {"fail_new", "0"},
        {"fail_player", "0"},
        {"fail_media", "0"},
        {"fail_stats", "0"},
        {"no_event_manager", "0"},
        {"version", "3.0.24 Vetinari"},
        {"log", ""},
    };
    return defaults;
}

std::mutex& Lock() {
    static std::mutex lock;
    return lock;
}

std::map<std::string, std::string>& Values() {
    static std::map<std::string, std::string> values;
    return values;
}

void Set(const std::string& key, const std::string& value) {
    std::lock_guard guard(Lock());
    if (key == "reset") {
        Values().clear();
    } else if (value.empty()) {
        Values().erase(key);
    } else {
        Values()[key] = value;
    }
}

} // namespace

std::string Setting(const std::string& key) {
    std::lock_guard guard(Lock());
    auto found = Values().find(key);
    if (found != Values().end()) {
        return found->second;
    }
    auto fallback = Defaults().find(key);
    return fallback != Defaults().end() ? fallback->second : std::string();
}

int IntSetting(const std::string& key) {
    return std::atoi(Setting(key).c_str());
}

double NumberSetting(const std::string& key) {
    return std::atof(Setting(key).c_str());
}

bool Flag(const std::string& key) {
    return IntSetting(key) != 0;
}

void LoadSettingsFile() {
    const char* path = std::getenv("VENDRAK_LIBVLC_STANDIN");
    if (path == nullptr || *path == '\0') {
        return;
    }
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        size_t equals = line.find('=');
        if (equals != std::string::npos && line[0] != '#') {
            Set(line.substr(0, equals), line.substr(equals + 1));
        }
    }
}

void Log(const std::string& line) {
    std::string path = Setting("log");
    if (path.empty()) {
        return;
    }
    static std::mutex logLock;
    std::lock_guard guard(logLock);
    if (FILE* file = std::fopen(path.c_str(), "a")) {
        std::fprintf(file, "%s\n", line.c_str());
        std::fclose(file);
    }
}

} // namespace standin

extern "C" __declspec(dllexport) void libvlc_standin_control(const char* key, const char* value) {
    if (key != nullptr) {
        standin::Set(key, value != nullptr ? value : "");
    }
}
