#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "toolkit/application.h"

namespace {

// Hands out the listed answers of GetMessageA in turn, each with its message.
class ScriptedMessages {
public:
    struct Answer {
        int result;
        MSG message;
    };
    explicit ScriptedMessages(std::vector<Answer> answers) : answers_(std::move(answers)) {}

    int operator()(MSG& message) {
        const Answer& answer = answers_.at(next_++);
        message = answer.message;
        return answer.result;
    }
    size_t taken() const { return next_; }

private:
    std::vector<Answer> answers_;
    size_t next_ = 0;
};

MSG threadMessage(UINT id, WPARAM wParam) {
    MSG message{};
    message.message = id;
    message.wParam = wParam;
    return message;
}

TEST(MessageLoop, EndsWithTheQuitMessagesExitCode) {
    PostQuitMessage(7);
    EXPECT_EQ(Application::instance().run(), 7);
    EXPECT_FALSE(Application::instance().running());
}

TEST(MessageLoop, FailedRetrievalEndsWithAFailureNotTheLastMessagesWParam) {
    ScriptedMessages source(
        {{1, threadMessage(WM_NULL, 0)}, {1, threadMessage(WM_USER, 42)}, {-1, threadMessage(WM_USER, 42)}});
    EXPECT_EQ(Application::instance().run([&](MSG& message) { return source(message); }),
              Application::kMessageLoopFailed);
    EXPECT_EQ(source.taken(), 3u) << "the loop ends at the failure";
    EXPECT_FALSE(Application::instance().running());
}

TEST(MessageLoop, FailedRetrievalAfterAMessageWithoutWParamIsNoSuccess) {
    ScriptedMessages source({{1, threadMessage(WM_NULL, 0)}, {-1, MSG{}}});
    EXPECT_EQ(Application::instance().run([&](MSG& message) { return source(message); }),
              Application::kMessageLoopFailed);
}

}  // namespace
