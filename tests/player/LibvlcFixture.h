// Shared set-up for the tests that drive the real player code with Debian's real libvlc on media the
// build generated (bin/media): both players made by CreatePlayers over a scripted window seam, their
// texts recorded as a UI thread takes them out of the real page-script queue.
#pragma once

#include "player/PlayerMethods.h"

#include "tests/player/FakeVideoWindows.h"
#include "tests/player/RecordingSink.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace vendrak::test {

inline std::string MediaUrl(const char* name) {
    return "file://" + (std::filesystem::current_path() / "media" / name).string();
}

inline NativeWindow FakeMainWindow() {
    return reinterpret_cast<NativeWindow>(uintptr_t{0x1000});
}

class LibvlcTest : public ::testing::Test {
protected:
    void SetUp() override {
        windows.realSleep = true;
        windows.realLater = true;
        players = CreatePlayers(FakeMainWindow(), delivery.Sink(), windows);
        ASSERT_NE(players.mainPlayer->mediaPlayer, nullptr) << "libvlc refused the start arguments";
        ASSERT_NE(players.pipPlayer->mediaPlayer, nullptr);
    }
    VlcPlayer& Main() { return *players.mainPlayer; }
    VlcPlayer& Pip() { return *players.pipPlayer; }
    // Waits until the sink has received the script (10 s at most).
    bool WaitForScript(const std::wstring& script) { return sink.WaitForScript(script); }

    FakeVideoWindows windows;
    RecordingSink sink;
    QueueDelivery delivery{sink.Sink()};
    Players players; // declared last: released first, while the delivery and windows still exist
};

} // namespace vendrak::test
