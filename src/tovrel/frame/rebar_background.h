// The OFFICE2003 and OFFICE2007 rebar backgrounds: one wide image per style, rendered from
// the style's colours and shared by every band of every rebar of that style.
#ifndef ZK_TOVREL_FRAME_REBAR_BACKGROUND_H
#define ZK_TOVREL_FRAME_REBAR_BACKGROUND_H

#include <windows.h>

namespace tovrel {

// Renders the style backgrounds that need it (all of them with force) and gives them to
// the bands. -> 0
int RenderRebarBackground(int force);

}  // namespace tovrel

#endif
