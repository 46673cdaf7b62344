// The splash screen: the author's picture (and sound) for a set time before the wizard.
#ifndef ZK_SETUPRUNTIME_SPLASH_H
#define ZK_SETUPRUNTIME_SPLASH_H

#include <string>

// Shows WorkFolder + "isps.dat" for "SPS_Time" seconds, playing "ssps.dat" once; returns
// at once when the picture does not load.
void ShowSplashScreen();

// The splash duration in milliseconds from the "SPS_Time" text (seconds, decimals
// allowed); 0 for a text that is no positive number.
unsigned SplashMilliseconds(const std::wstring& seconds);

#endif
