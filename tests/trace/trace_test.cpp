// The trace switch: which channels a VINTOREL_TRACE value turns on, and that a traced call
// writes its line only when its channel is on (this test runs with VINTOREL_TRACE=user32).
#include "vintorel_trace.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace vintorel::trace;

TEST(Trace, ChannelsOfAValue) {
    const struct {
        const char *value;
        unsigned channels;
    } rows[] = {
        {nullptr, 0},           {"", 0},
        {"user32", USER32},     {"gdi32,dsound", GDI32 | DSOUND},
        {"ole32,bogus", OLE32}, {"tuner,user32", TUNER | USER32},
        {"all", ~0u},           {"user3", 0},
        {"user32,", USER32},    {"USER32", 0},
        {",,gdi32", GDI32},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(parseChannels(row.value), row.channels) << (row.value ? row.value : "(null)");
    }
}

TEST(Trace, WritesOnlyTheChannelsTurnedOn) {
    ASSERT_EQ(enabled, USER32);
    testing::internal::CaptureStderr();
    KillTimer(nullptr, 77);          // user32: on
    TextOutA(nullptr, 0, 0, "x", 1); // gdi32: off
    const std::string out = testing::internal::GetCapturedStderr();
    EXPECT_NE(out.find(" user32: KillTimer "), std::string::npos) << out;
    EXPECT_NE(out.find(" id 77\n"), std::string::npos) << out;
    EXPECT_EQ(out.find("gdi32"), std::string::npos) << out;
}

} // namespace
