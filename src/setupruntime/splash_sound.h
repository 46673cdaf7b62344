// A WAVE sound played once through DirectSound, which is loaded from the system folder
// by name: a machine without it, or without a sound device, plays nothing and says nothing.
#ifndef ZK_SETUPRUNTIME_SPLASH_SOUND_H
#define ZK_SETUPRUNTIME_SPLASH_SOUND_H

#include <windows.h>

#include <string>

struct SplashSound;

// Starts playing the WAVE file path; nullptr when it cannot be played.
SplashSound* PlaySplashSound(HWND window, const std::wstring& path);
// Stops the sound and frees everything it held; null is allowed.
void FreeSplashSound(SplashSound* sound);

#endif
