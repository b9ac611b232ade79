// Exit ends the game by itself: whatever holds the game (the window, its clock driver, a fuzz run) learns
// it from the game and stops feeding it, so a key typed in the same moment no longer steers a car.
#include "headless/headless_platform.h"
#include "headless/temp_folder.h"
#include "rules/events.h"
#include "rules/state.h"
#include "rules/window_ops.h"

#include <gtest/gtest.h>

using namespace squeakrun;

TEST(Exit, EndsTheGameAtOnceWithoutWaitingForThePlatform) {
    TempFolder folder("squeakrun-exit");
    HeadlessPlatform platform(folder.path(), nullptr);
    Game g(platform, 1);
    startUp(g);
    pressStartButton(g);
    chooseExit(g);
    EXPECT_TRUE(g.exited);
    pressKey(g, "s");
    EXPECT_EQ(g.players[0].heading, None);
}
