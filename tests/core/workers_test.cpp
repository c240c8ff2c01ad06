#include "core/workers.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr UINT kDone = WM_APP + 7;

// A window of this thread's own that only receives posted messages.
class MessageWindow {
public:
    MessageWindow()
        : window_(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}
    ~MessageWindow() { DestroyWindow(window_); }
    HWND Get() const { return window_; }
    // Whether `message` waits in the queue for the window; takes it out.
    bool Received(UINT message) {
        MSG posted{};
        return PeekMessageA(&posted, window_, message, message, PM_REMOVE) != FALSE;
    }

private:
    HWND window_;
};

}  // namespace

TEST(PostedResultTest, AResultDeliveredOnAWorkerReachesTheWindowThreadOnce) {
    MessageWindow window;
    auto result = std::make_shared<PostedResult<std::string>>(window.Get(), kDone);
    Workers workers;
    workers.Start([result] { result->Deliver("compared"); });
    ASSERT_TRUE(workers.WaitForAll(std::chrono::milliseconds(5000)));
    EXPECT_TRUE(window.Received(kDone));
    EXPECT_EQ(result->Take(), "compared");
    EXPECT_EQ(result->Take(), std::nullopt) << "taken once";
}

TEST(PostedResultTest, NothingReachesTheWindowOnceCancelled) {
    MessageWindow window;
    auto result = std::make_shared<PostedResult<std::string>>(window.Get(), kDone);
    result->Cancel();
    Workers workers;
    workers.Start([result] { result->Deliver("too late"); });
    ASSERT_TRUE(workers.WaitForAll(std::chrono::milliseconds(5000)));
    EXPECT_FALSE(window.Received(kDone));
    EXPECT_EQ(result->Take(), std::nullopt);
}
