#include "common/fonts.h"

#include <windows.h>

#include "common/dpi.h"

namespace {

struct FontRecord {
  HFONT font = nullptr;
};

void ReleaseFont(FontRecord& f) {
  if (f.font) DeleteObject(f.font);
  f.font = nullptr;
}

// Automatic numbers start above the small fixed numbers the programs choose themselves.
// Never destroyed, like the other tables: the system frees GDI objects at process end.
ObjectTable<FontRecord>& Fonts() {
  static ObjectTable<FontRecord>* table = new ObjectTable<FontRecord>(ReleaseFont, 10000);
  return *table;
}

}  // namespace

intptr_t LoadRuntimeFont(int number, const std::string& face, int pointSize, unsigned flags) {
  if (!Fonts().PrepareNumber(number)) return 0;
  // A negative height asks for the character height (without internal leading), which is
  // what a point size means.
  int height = -MulDiv(pointSize, ScreenDpi(), 72);
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfWeight = (flags & kFontBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (flags & kFontItalic) ? TRUE : FALSE;
  lf.lfUnderline = (flags & kFontUnderline) ? TRUE : FALSE;
  lf.lfStrikeOut = (flags & kFontStrikeOut) ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = (flags & kFontHighQuality) ? CLEARTYPE_QUALITY : DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  // Longer names are no font's name; the system would cut them just the same.
  lstrcpynA(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  HFONT font = CreateFontIndirectA(&lf);
  if (!font) return 0;
  FontRecord rec;
  rec.font = font;
  int used = 0;
  if (!Fonts().Add(number, rec, &used)) return 0;
  return CreateAnswer(number, used, reinterpret_cast<intptr_t>(font));
}

HFONT RuntimeFontHandle(int number) {
  HFONT f = nullptr;
  Fonts().With(number, [&](FontRecord& r) { f = r.font; });
  return f;
}

int IsRuntimeFont(int number) { return Fonts().Has(number) ? 1 : 0; }

int FreeRuntimeFont(int number) { return Fonts().Free(number) ? 1 : 0; }
