// Sound output: the sound device, the 21 clips decoded once into buffers of their own at
// start-up, the start request that sounds a clip, and their release at shutdown.
#pragma once

#include "app/win32.h"

// Opens the default output device into app.sound; without one the program stays silent.
void openSoundDevice(HWND window);
// Decodes one clip file completely into a new buffer; nullptr when it cannot be had.
IDirectSoundBuffer *loadClip(const char *fileName);
// Fills clipRu[0..9], clipEn[0..9] and clipTone; a clip that fails leaves its slot empty.
void loadClipBank();
// Starts a clip once from where the device has it; an empty slot does nothing.
void playClip(IDirectSoundBuffer *clip);
// Releases every clip that is present, then the device.
void releaseClipBank();
