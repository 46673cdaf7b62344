// Switching a toolkit rebar between the system look and the OFFICE styles.
#ifndef ZK_TOVREL_FRAME_REBAR_STYLE_H
#define ZK_TOVREL_FRAME_REBAR_STYLE_H

#include <stdint.h>

namespace tovrel {

// Gives the rebar (number or window) the UI style: 0, UISTYLE_OFFICE2003 or
// UISTYLE_OFFICE2007. An OFFICE style switches the visual style and the band borders off
// and gives the bands the style's background; 0 gives them the rebar's own background
// (or none) and, when the rebar has none, the visual style and band borders back.
// -> 1, or 0 for an unknown rebar.
int SetRebarStyle(intptr_t rebar, int uiStyle);

}  // namespace tovrel

#endif
