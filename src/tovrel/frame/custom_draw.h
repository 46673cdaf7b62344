// The custom drawing of tool bars, menu-bar titles and rebar grippers in every UI style,
// answered by the parent window procedure for NM_CUSTOMDRAW.
#ifndef ZK_TOVREL_FRAME_CUSTOM_DRAW_H
#define ZK_TOVREL_FRAME_CUSTOM_DRAW_H

#include <windows.h>
#include <commctrl.h>

namespace tovrel {

// `previous` is the previous window procedure's answer. -> the custom-draw result.
LRESULT HandleCustomDraw(NMCUSTOMDRAW& draw, LRESULT previous);

}  // namespace tovrel

#endif
