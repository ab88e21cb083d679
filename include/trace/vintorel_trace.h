// The trace switch of the platform layer and the tuner card filters, Linux's counterpart of
// Wine's WINEDEBUG channels: VINTOREL_TRACE=user32,gdi32,dsound,ole32,tuner (any subset, or "all")
// writes one line per traced call or message of those channels to standard error,
//   <ms of the monotonic clock, 3 decimals> <channel>: <call or message>
// the clock being the same in every module of a process. Unset or empty,
// a trace point costs one test of a flag. Unknown names are ignored. Never used by the program.
#pragma once

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vintorel::trace {

enum Channel : unsigned {
    USER32 = 1u << 0,
    GDI32 = 1u << 1,
    DSOUND = 1u << 2,
    OLE32 = 1u << 3,
    TUNER = 1u << 4,
};

inline constexpr struct {
    const char *name;
    unsigned bits;
} kChannels[] = {{"user32", USER32}, {"gdi32", GDI32}, {"dsound", DSOUND},
                 {"ole32", OLE32},   {"tuner", TUNER}, {"all", ~0u}};

// The channels a VINTOREL_TRACE value names: comma-separated, case as written.
inline unsigned parseChannels(const char *value) {
    unsigned bits = 0;
    while (value != nullptr && *value != '\0') {
        const char *end = std::strchr(value, ',');
        const size_t length = end ? static_cast<size_t>(end - value) : std::strlen(value);
        for (const auto &channel : kChannels) {
            if (std::strlen(channel.name) == length &&
                std::strncmp(channel.name, value, length) == 0) {
                bits |= channel.bits;
            }
        }
        value = end ? end + 1 : nullptr;
    }
    return bits;
}

// Read once per module, when it is loaded.
inline const unsigned enabled = parseChannels(std::getenv("VINTOREL_TRACE"));

inline const char *channelName(unsigned channel) {
    for (const auto &c : kChannels) {
        if (c.bits == channel) {
            return c.name;
        }
    }
    return "?";
}

// A GUID as {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}, for trace and log lines.
template <class Guid> struct GuidText {
    char text[40];
    explicit GuidText(const Guid &g) {
        std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                      static_cast<unsigned long>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1],
                      g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    }
};

[[gnu::format(printf, 2, 3)]] inline void line(unsigned channel, const char *format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    const double ms = std::chrono::duration<double, std::milli>(
                          std::chrono::steady_clock::now().time_since_epoch())
                          .count();
    // One write per line, so lines of two threads never interleave.
    std::fprintf(stderr, "%.3f %s: %s\n", ms, channelName(channel), text);
}

} // namespace vintorel::trace

// A trace point: formats and writes only when its channel is on.
#define VINTOREL_TRACE(channel, ...)                                                               \
    do {                                                                                           \
        if (::vintorel::trace::enabled & ::vintorel::trace::channel) {                             \
            ::vintorel::trace::line(::vintorel::trace::channel, __VA_ARGS__);                      \
        }                                                                                          \
    } while (0)
