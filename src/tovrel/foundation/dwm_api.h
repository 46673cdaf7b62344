// The desktop-composition library, opened by name: it is missing before Vista, and every
// address may be 0.
#ifndef ZK_TOVREL_FOUNDATION_DWM_API_H
#define ZK_TOVREL_FOUNDATION_DWM_API_H

#include <windows.h>
#include <dwmapi.h>

namespace tovrel {

struct DwmFunctions {
  HMODULE library = nullptr;
  decltype(&::DwmIsCompositionEnabled) dwmIsCompositionEnabled = nullptr;
  decltype(&::DwmEnableComposition) dwmEnableComposition = nullptr;
  decltype(&::DwmSetWindowAttribute) dwmSetWindowAttribute = nullptr;
  decltype(&::DwmFlush) dwmFlush = nullptr;
  decltype(&::DwmSetPresentParameters) dwmSetPresentParameters = nullptr;
};

extern DwmFunctions DwmApi;
// Whether the desktop composes windows, as read at start; FALSE without the library.
extern BOOL DwmCompositionEnabled;

// Opens the library and reads the composition state. Returns 0.
int LoadDwmApi();

// Closes the library when it is open and forgets its addresses.
void FreeDwmApi();

}  // namespace tovrel

#endif
