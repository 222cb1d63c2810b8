// The page-script queue: order, the bound and what it drops, and one wake-up per batch.
#include "player/ScriptQueue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vendrak {
namespace {

using Texts = std::vector<std::wstring>;

TEST(ScriptQueue, KeepsOrderAndDropsOnlyTheOldestStateOrBitrateAtTheBound) {
    const std::wstring bridge = L"window.addEventListener('keydown', e => {});";
    const std::wstring size = L"vlc_video_res(1920,1080,25);";
    struct Case {
        const char* name;
        Texts posts;
        Texts want;
    };
    const Case cases[] = {
        {"under the bound: all, in order",
         {L"vlc_bitrate(0);", L"StateChange('opening', '');", size},
         {L"vlc_bitrate(0);", L"StateChange('opening', '');", size}},
        {"the oldest state or bit rate goes first",
         {L"StateChange('opening', '');", L"vlc_bitrate(0);", L"StateChange('buffering', '0');",
          L"StateChange('buffering', '50');"},
         {L"vlc_bitrate(0);", L"StateChange('buffering', '0');", L"StateChange('buffering', '50');"}},
        {"the bridge script and a size report stay, older than the dropped text",
         {bridge, size, L"StateChange('playing', '');", L"vlc_bitrate(8);"},
         {bridge, size, L"vlc_bitrate(8);"}},
        {"nothing to drop: the queue holds more than the bound",
         {bridge, size, size, bridge},
         {bridge, size, size, bridge}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int wakes = 0;
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

} // namespace
} // namespace vendrak
