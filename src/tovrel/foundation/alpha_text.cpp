#include "tovrel/foundation/alpha_text.h"

namespace tovrel {

// No buffers yet: every DC is left as GDI drew it.
int DrawTextOnAlphaSurface(HDC, const std::string&, RECT*, HFONT, int) { return 0; }

}  // namespace tovrel
