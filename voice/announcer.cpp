// Voice announcer: a four-tick cycle that speaks the first two characters of qualityText, each
// digit from the bank of the current language, then keeps silent for two ticks. Both digits of
// a cycle come from the reading taken at its first tick.
#include "voice/announcer.h"

#include "app/app_state.h"
#include "tuner/signal_monitor.h"
#include "voice/sound.h"

namespace {

constexpr LONG kPhases = 4;

void speak(char digit) {
    if (digit < '0' || digit > '9') {
        return; // the end of a one-digit text
    }
    IDirectSoundBuffer **bank = app.language == 0 ? app.clipRu : app.clipEn;
    const int index = digit - '0';
    // A spoken zero belongs to the measuring step only ("three", "zero" for 30).
    if (index == 0 && app.step != STEP_MEASURING) {
        return;
    }
    playClip(bank[index]);
}

} // namespace

void announceTick() {
    if (app.announcePhase == 3) {
        formatSnr();
    }
    if (app.announcePhase < 2 && app.voiceMode == 1 && app.quality > 0) {
        if (app.announcePhase == 0) {
            app.currentDigit = app.qualityText[0];
            app.pendingDigit = app.qualityText[1];
        } else {
            app.currentDigit = app.pendingDigit;
        }
        speak(app.currentDigit);
    }
    app.announcePhase = app.announcePhase + 1;
    if (app.announcePhase >= kPhases) {
        app.announcePhase = 0;
    }
}

void playTone() {
    if (app.voiceMode == 0) {
        playClip(app.clipTone);
    }
}
