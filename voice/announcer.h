// The voice announcer: speaks the two leading digits of the quality on the announce timer, and
// the tone that follows each successful poll in tone mode.
#pragma once

// One ANNOUNCE_TIMER tick of the four-phase cycle: first digit, second digit, two silent ticks;
// the S/N text is refreshed at the last phase.
void announceTick();
// Starts the tone clip in tone mode; does nothing in voice mode.
void playTone();
