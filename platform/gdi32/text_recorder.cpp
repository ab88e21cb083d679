// VintorelSetTextRecorder, the test hook that sees every text call with the DC's font and
// colours. One recorder at a time, on the GUI thread; no buffering of calls.
#include "gdi32/text_recorder.h"

#include "vintorel_test_gdi.h"

namespace vintorel::gdi32 {

namespace {

struct Recorder {
    VintorelTextRecorder callback = nullptr;
    void *context = nullptr;
};

Recorder &recorder() {
    static Recorder instance;
    return instance;
}

} // namespace

void recordTextCall(const DeviceContext &dc, int function, const char *text, int count, int length,
                    int x, int y, const RECT *rect, UINT format) {
    const Recorder &r = recorder();
    if (r.callback == nullptr) {
        return;
    }
    VintorelTextCall call{};
    call.window = dc.hwnd;
    call.function = function;
    call.text = text;
    call.count = count;
    call.length = length;
    call.x = x;
    call.y = y;
    if (rect != nullptr) {
        call.rect = *rect;
    }
    call.format = format;
    if (const Font *font = objectAs<Font>(dc.font)) {
        call.font = font->logFont;
    }
    call.textColor = dc.textColor;
    call.bkColor = dc.bkColor;
    call.bkMode = dc.bkMode;
    r.callback(r.context, &call);
}

} // namespace vintorel::gdi32

extern "C" void VintorelSetTextRecorder(VintorelTextRecorder callback, void *context) {
    vintorel::gdi32::recorder() = {callback, context};
}
