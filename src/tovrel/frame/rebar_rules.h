// The rebar decisions that need no window: which window style a rebar is made with, which
// layout file names are accepted, how the layout file's numbers read, and which rows
// count towards the height above and below a band.
#ifndef ZK_TOVREL_FRAME_REBAR_RULES_H
#define ZK_TOVREL_FRAME_REBAR_RULES_H

#include <windows.h>

#include <stdint.h>
#include <string>
#include <vector>

namespace tovrel {

// The flag bits that belong to the toolkit and never reach a window style: as window
// styles they would be WS_BORDER, WS_MAXIMIZE, WS_CLIPCHILDREN and WS_MINIMIZE.
constexpr DWORD kRebarToolkitFlagBits = 0x800000 | 0x1000000 | 0x2000000 | 0x4000000;

struct RebarCreationStyle {
  DWORD windowStyle;  // for CreateWindowExA
  bool bandBorders;   // RBS_BANDBORDERS was held back
  int uiStyle;        // 0, UISTYLE_OFFICE2003 or UISTYLE_OFFICE2007
};

// RBS_BANDBORDERS is held back when the rebar has a background of its own or the
// OFFICE2003 style, whose bands share one background image.
RebarCreationStyle RebarCreationStyleOf(int flags, bool hasBackground);

// False when the file part of the path holds a control character or one of " * / : < > ? \ |
// or is empty.
bool IsValidLayoutFileName(const std::string& path);

// The runtime's decimal reading: blanks, an optional sign, then digits up to the first
// other character; 0 when there are none. Values beyond 32 bits keep their low 32 bits,
// so an fStyle written unsigned reads back as the same bits.
int32_t ReadDecimal(const char* text);

// One band as MeasureBandRow sees it, in band order.
struct BandRowEntry {
  int32_t id;
  bool visible;
  int top;      // of RB_GETRECT
  int height;   // of RB_GETRECT
  int borders;  // top + bottom of RB_GETBANDBORDERS
};

// The height of the visible rows other than the row that holds the band with that id,
// each counted once with the band borders of the band that starts it. Visible bands in a
// row share their top; the row is as high as its highest band.
int OtherRowsHeight(const std::vector<BandRowEntry>& bands, int32_t bandId);

}  // namespace tovrel

#endif
