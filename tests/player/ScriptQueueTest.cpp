// The page-script queue: order, the bound and what it drops, and one wake-up per batch.
#include "player/ScriptQueue.h"

#include "player/PlayerFailures.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace vendrak {
namespace {

using Texts = std::vector<std::wstring>;

int overflowsLogged = 0;
void CountOverflow(const char*, int, long, std::string_view) {
    ++overflowsLogged;
}

TEST(ScriptQueue, KeepsOrderAndDropsOnlyWhatANewerTextReplacesAtTheBound) {
    SetPlayerFailureReport(CountOverflow);
    const std::wstring bridge = L"window.addEventListener('keydown', e => {});";
    const std::wstring size = L"vlc_video_res(1920,1080,25);";
    struct Case {
        const char* name;
        Texts posts;
        Texts want;
        int logged = 0;
    };
    const Case cases[] = {
        {"under the bound: all, in order",
         {L"vlc_bitrate(0);", L"StateChange('opening', '');", size},
         {L"vlc_bitrate(0);", L"StateChange('opening', '');", size}},
        {"the oldest state or bit rate goes first",
         {L"StateChange('opening', '');", L"vlc_bitrate(0);", L"StateChange('buffering', '0');",
          L"StateChange('buffering', '50');"},
         {L"vlc_bitrate(0);", L"StateChange('buffering', '0');", L"StateChange('buffering', '50');"}},
        {"a state and a bit rate nothing newer replaces stay, as do the bridge script and a size report",
         {bridge, size, L"StateChange('playing', '');", L"vlc_bitrate(8);"},
         {bridge, size, L"StateChange('playing', '');", L"vlc_bitrate(8);"},
         1},
        {"the main player's only state outlives the other player's",
         {L"StateChange('playing', '');", L"StateChange('buffering_pip', '0');",
          L"StateChange('buffering_pip', '50');", L"StateChange('playing_pip', '');"},
         {L"StateChange('playing', '');", L"StateChange('buffering_pip', '50');",
          L"StateChange('playing_pip', '');"}},
        {"of two main states the older goes",
         {L"StateChange('playing', '');", L"StateChange('playing_pip', '');", L"StateChange('plaused', '');",
          L"vlc_bitrate(8);"},
         {L"StateChange('playing_pip', '');", L"StateChange('plaused', '');", L"vlc_bitrate(8);"}},
        {"nothing to drop: the queue holds more than the bound and says so once",
         {bridge, size, size, bridge, size},
         {bridge, size, size, bridge, size},
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int wakes = 0;
        overflowsLogged = 0;
        ScriptQueue queue([&wakes] { return ++wakes > 0; }, 3);
        for (const std::wstring& post : c.posts) {
            queue.Post(post);
        }
        EXPECT_EQ(wakes, 1) << "one wake-up until the UI thread finds the queue empty";
        Texts taken;
        std::wstring script;
        while (queue.Take(script)) {
            taken.push_back(script);
        }
        EXPECT_EQ(taken, c.want);
        EXPECT_EQ(overflowsLogged, c.logged);
        queue.Post(L"vlc_bitrate(1);");
        EXPECT_EQ(wakes, 2) << "the queue was found empty, so the next post wakes again";
    }
}

TEST(ScriptQueue, AFailedWakeUpIsAskedForAgain) {
    int asked = 0;
    ScriptQueue queue([&asked] { return ++asked > 1; });
    queue.Post(L"vlc_bitrate(0);"); // no window yet: the wake-up fails
    queue.Post(L"vlc_bitrate(1);");
    queue.Post(L"vlc_bitrate(2);");
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(queue.Size(), 3u);
}

// The other thread relied on the wake-up being asked for; its text must not wait for some later Post.
TEST(ScriptQueue, AWakeUpThatFailsWhileAnotherThreadPostsIsAskedForAgain) {
    int asked = 0;
    ScriptQueue* self = nullptr;
    ScriptQueue queue([&] {
        if (++asked == 1) {
            std::thread([self] { self->Post(L"vlc_bitrate(2);"); }).join();
            return false;
        }
        return true;
    });
    self = &queue;
    queue.Post(L"vlc_bitrate(1);");
    EXPECT_EQ(asked, 2);
}

} // namespace
} // namespace vendrak
