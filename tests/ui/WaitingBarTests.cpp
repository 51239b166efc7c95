// The moving bar: frames come from its own thread and are painted by the interface thread;
// a run ends after its length; a run can start the next; destruction stops the thread.
#include <gtest/gtest.h>
#include <memory>
#include <vector>
#include "UiHost.h"
#include "ui/Controls.h"

using uitest::HostForm;
using uitest::PumpFor;
using uitest::PumpUntil;

TEST(WaitingBarTest, FramesArePaintedOnlyWhileMessagesArePumped) {
    HostForm host;
    ui::WaitingBar bar;
    ASSERT_TRUE(bar.Create(host, 110, {16, 88, 314, 8}));
    bar.SetLength(10000);
    bar.SetRefreshInterval(10);
    bar.SetActive(true);
    EXPECT_TRUE(bar.Active());
    Sleep(150);
    EXPECT_EQ(0, bar.Frame());
    PumpFor(100);
    EXPECT_GT(bar.Frame(), 0);

    Sleep(60);  // frames pile up in the queue
    bar.SetActive(false);
    EXPECT_FALSE(bar.Active());
    PumpFor(50);  // frames still queued from the stopped run are dropped
    EXPECT_EQ(0, bar.Frame());
}

TEST(WaitingBarTest, RunEndsAfterItsLengthOnTheInterfaceThread) {
    HostForm host;
    ui::WaitingBar bar;
    ASSERT_TRUE(bar.Create(host, 111, {16, 88, 314, 8}));
    bar.SetLength(200);
    bar.SetRefreshInterval(10);
    int ended = 0, framesAtEnd = 0;
    DWORD endedOn = 0, endedAt = 0;
    bar.onEnded = [&] {
        ++ended;
        endedOn = GetCurrentThreadId();
        endedAt = GetTickCount();
        framesAtEnd = bar.Frame();
    };
    DWORD start = GetTickCount();
    bar.SetActive(true);
    ASSERT_TRUE(PumpUntil([&] { return ended == 1; }));
    EXPECT_GE(endedAt - start, 180u);  // the clock ticks in steps of up to 16 ms
    EXPECT_EQ(GetCurrentThreadId(), endedOn);
    EXPECT_GT(framesAtEnd, 0);
    EXPECT_FALSE(bar.Active());
    PumpFor(300);
    EXPECT_EQ(1, ended);
}

TEST(WaitingBarTest, RestartFromTheEndHandlerKeepsItMoving) {
    HostForm host;
    ui::WaitingBar bar;
    ASSERT_TRUE(bar.Create(host, 112, {16, 88, 314, 8}));
    bar.SetLength(100);
    bar.SetRefreshInterval(10);
    std::vector<int> framesPerRun;
    bar.onEnded = [&] {
        framesPerRun.push_back(bar.Frame());
        bar.SetActive(false);
        if (framesPerRun.size() < 3) bar.SetActive(true);
    };
    bar.SetActive(true);
    ASSERT_TRUE(PumpUntil([&] { return framesPerRun.size() == 3; }));
    for (int frames : framesPerRun) EXPECT_GT(frames, 0);
    EXPECT_FALSE(bar.Active());
}

TEST(WaitingBarTest, DestroyedWhileRunning) {
    HostForm host;
    for (int i = 0; i < 5; ++i) {
        auto bar = std::make_unique<ui::WaitingBar>();
        ASSERT_TRUE(bar->Create(host, 113, {16, 88, 314, 8}));
        bar->SetLength(10000);
        bar->SetRefreshInterval(1);
        bar->SetActive(true);
        PumpFor(10);
        Sleep(20);  // frames pile up in the queue
        bar.reset();
        PumpFor(10);
    }
    // Its window gone first, with the window that held it.
    auto lone = std::make_unique<HostForm>();
    ui::WaitingBar bar;
    ASSERT_TRUE(bar.Create(*lone, 114, {16, 88, 314, 8}));
    bar.SetRefreshInterval(1);
    bar.SetActive(true);
    PumpFor(10);
    lone.reset();
    PumpFor(10);
    bar.SetActive(false);
    EXPECT_FALSE(bar.Active());
}
