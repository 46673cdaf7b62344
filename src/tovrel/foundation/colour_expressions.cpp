// Colour arithmetic and the parser of colour expressions.
#include "tovrel/foundation/colour_expressions.h"

#include <windows.h>

#include <ctype.h>
#include <math.h>
#include <stdlib.h>
#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <vector>

#include "tovrel/foundation/colour_lookup.h"
#include "tovrel/foundation/colour_tables.h"

namespace tovrel {

namespace {

uint32_t ClampChannel(int channel) { return static_cast<uint32_t>(std::clamp(channel, 0, 255)); }

uint32_t MakeClampedRGB(int red, int green, int blue) {
  return ClampChannel(red) | ClampChannel(green) << 8 | ClampChannel(blue) << 16;
}

std::string Lower(std::string text) {
  for (char& ch : text) ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
  return text;
}

std::string Upper(std::string text) {
  for (char& ch : text) ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
  return text;
}

std::string RemoveAll(std::string text, const std::string& part) {
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at)) text.erase(at, part.size());
  return text;
}

std::string RemoveEach(std::string text, std::initializer_list<const char*> parts) {
  for (const char* part : parts) text = RemoveAll(text, part);
  return text;
}

std::vector<std::string> SplitFields(const std::string& text) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    size_t comma = text.find(',', start);
    fields.push_back(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (comma == std::string::npos) return fields;
    start = comma + 1;
  }
}

std::string Field(const std::vector<std::string>& fields, size_t number) {
  return number <= fields.size() ? fields[number - 1] : std::string();
}

bool IsBlank(char ch) { return ch == ' ' || ch == '\t'; }

int DigitValue(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  return 99;
}

// Leading blanks, an optional sign, then "$" hexadecimal, "%" binary or decimal digits up to
// the first other character; no digits read as 0. The value wraps at 32 bits rather than
// overflowing.
int32_t ReadInteger(const std::string& text) {
  size_t at = 0;
  while (at < text.size() && IsBlank(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
  uint32_t base = 10;
  if (at < text.size() && text[at] == '$') {
    base = 16;
    ++at;
  } else if (at < text.size() && text[at] == '%') {
    base = 2;
    ++at;
  }
  uint32_t value = 0;
  for (; at < text.size(); ++at) {
    int digit = DigitValue(text[at]);
    if (digit >= static_cast<int>(base)) break;
    value = value * base + static_cast<uint32_t>(digit);
  }
  return static_cast<int32_t>(negative ? 0u - value : value);
}

// A decimal fraction such as "0.5" (sign, digits, ".", digits; the rest ignored).
double ReadFraction(const std::string& text) {
  size_t at = 0;
  while (at < text.size() && IsBlank(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
  double value = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) value = value * 10 + (text[at] - '0');
  if (at < text.size() && text[at] == '.') {
    double scale = 0.1;
    for (++at; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, scale /= 10) {
      value += (text[at] - '0') * scale;
    }
  }
  return negative ? -value : value;
}

// An alpha written with "." is a fraction of 255, rounded to the nearest integer with halves
// to even (0.5 gives 128); otherwise an integer.
uint32_t ReadAlpha(const std::string& field) {
  if (field.find('.') == std::string::npos) return static_cast<uint32_t>(ReadInteger(field));
  // Only the low byte reaches the colour; reducing first keeps the conversion defined for
  // any size of fraction.
  double scaled = nearbyint(ReadFraction(field) * 255.0);
  return static_cast<uint32_t>(static_cast<int64_t>(fmod(scaled, 4294967296.0)));
}

// 1-based position of the first `part`, 0 when absent.
size_t Position(const std::string& text, const char* part) {
  size_t at = text.find(part);
  return at == std::string::npos ? 0 : at + 1;
}

bool HasBracketedArguments(const std::string& text) { return Position(text, ")") > Position(text, "("); }

int StyleByName(const std::string& name) {
  if (name == "UISTYLE_WHIDBEY") return UISTYLE_WHIDBEY;
  if (name == "UISTYLE_OFFICE2003") return UISTYLE_OFFICE2003;
  if (name == "UISTYLE_OFFICE2007") return UISTYLE_OFFICE2007;
  return 0;
}

int ModeByName(const std::string& name) {
  static const char* const kModes[] = {
      "UICOLOURMODE_DEFAULT",        "UICOLOURMODE_DEFAULT_BLUE", "UICOLOURMODE_DEFAULT_OLIVE",
      "UICOLOURMODE_DEFAULT_SILVER", "UICOLOURMODE_DEFAULT_GREY", "UICOLOURMODE_CUSTOM",
      "UICOLOURMODE_CUSTOM_BLUE",    "UICOLOURMODE_CUSTOM_OLIVE", "UICOLOURMODE_CUSTOM_SILVER",
      "UICOLOURMODE_CUSTOM_GREY",
  };
  for (int mode = 0; mode < static_cast<int>(std::size(kModes)); ++mode) {
    if (name == kModes[mode]) return mode;
  }
  return UICOLOURMODE_DEFAULT;
}

struct SystemColourName {
  const char* name;
  int index;
};

constexpr SystemColourName kSystemColours[] = {
    {"COLOR_3DDKSHADOW", COLOR_3DDKSHADOW},
    {"COLOR_3DFACE", COLOR_3DFACE},
    {"COLOR_3DHIGHLIGHT", COLOR_3DHIGHLIGHT},
    {"COLOR_3DLIGHT", COLOR_3DLIGHT},
    {"COLOR_3DSHADOW", COLOR_3DSHADOW},
    {"COLOR_ACTIVEBORDER", COLOR_ACTIVEBORDER},
    {"COLOR_ACTIVECAPTION", COLOR_ACTIVECAPTION},
    {"COLOR_APPWORKSPACE", COLOR_APPWORKSPACE},
    {"COLOR_BACKGROUND", COLOR_BACKGROUND},
    {"COLOR_BTNFACE", COLOR_BTNFACE},
    {"COLOR_BTNHIGHLIGHT", COLOR_BTNHIGHLIGHT},
    {"COLOR_BTNHILIGHT", COLOR_BTNHILIGHT},
    {"COLOR_BTNSHADOW", COLOR_BTNSHADOW},
    {"COLOR_BTNTEXT", COLOR_BTNTEXT},
    {"COLOR_CAPTIONTEXT", COLOR_CAPTIONTEXT},
    {"COLOR_DESKTOP", COLOR_DESKTOP},
    {"COLOR_GRADIENTACTIVECAPTION", COLOR_GRADIENTACTIVECAPTION},
    {"COLOR_GRADIENTINACTIVECAPTION", COLOR_GRADIENTINACTIVECAPTION},
    {"COLOR_GRAYTEXT", COLOR_GRAYTEXT},
    {"COLOR_HIGHLIGHT", COLOR_HIGHLIGHT},
    {"COLOR_HIGHLIGHTTEXT", COLOR_HIGHLIGHTTEXT},
    {"COLOR_HOTLIGHT", COLOR_HOTLIGHT},
    {"COLOR_INACTIVEBORDER", COLOR_INACTIVEBORDER},
    {"COLOR_INACTIVECAPTION", COLOR_INACTIVECAPTION},
    {"COLOR_INACTIVECAPTIONTEXT", COLOR_INACTIVECAPTIONTEXT},
    {"COLOR_INFOBK", COLOR_INFOBK},
    {"COLOR_INFOTEXT", COLOR_INFOTEXT},
    {"COLOR_MENU", COLOR_MENU},
    {"COLOR_MENUHILIGHT", COLOR_MENUHILIGHT},
    {"COLOR_MENUBAR", COLOR_MENUBAR},
    {"COLOR_MENUTEXT", COLOR_MENUTEXT},
    {"COLOR_SCROLLBAR", COLOR_SCROLLBAR},
    {"COLOR_WINDOW", COLOR_WINDOW},
    {"COLOR_WINDOWFRAME", COLOR_WINDOWFRAME},
    {"COLOR_WINDOWTEXT", COLOR_WINDOWTEXT},
};

int32_t ParseRgba(const std::string& s) {
  std::vector<std::string> fields = SplitFields(RemoveEach(s, {" ", "rgba", "(", ")", ";"}));
  uint32_t red = static_cast<uint32_t>(ReadInteger(Field(fields, 1)));
  uint32_t green = static_cast<uint32_t>(ReadInteger(Field(fields, 2)));
  uint32_t blue = static_cast<uint32_t>(ReadInteger(Field(fields, 3)));
  // Only the alpha's low byte lands in the top byte: when that byte is 0 (alpha 0, missing,
  // or 256), 1 takes its place so that the result is always read as a GDI+ colour.
  uint32_t alpha = ReadAlpha(Field(fields, 4)) & 0xFF;
  if (alpha == 0) alpha = 1;
  return static_cast<int32_t>(alpha << 24 | red << 16 | green << 8 | blue);
}

int32_t ParseRgb(const std::string& s) {
  std::vector<std::string> fields = SplitFields(RemoveEach(s, {" ", "rgb", "(", ")", ";"}));
  uint32_t red = static_cast<uint32_t>(ReadInteger(Field(fields, 1)));
  uint32_t green = static_cast<uint32_t>(ReadInteger(Field(fields, 2)));
  uint32_t blue = static_cast<uint32_t>(ReadInteger(Field(fields, 3)));
  return static_cast<int32_t>(red + (green << 8) + (blue << 16));
}

int32_t ParseGetUIColour(const std::string& s) {
  std::vector<std::string> fields = SplitFields(RemoveEach(s, {" ", "#", "getuicolour", "(", ")", ";"}));
  int style = StyleByName(Upper(Field(fields, 1)));
  int index = FindUIColourIndex(Field(fields, 2));
  if (index < 0) index = 0;
  int mode = ModeByName(Upper(Field(fields, 3)));
  return static_cast<int32_t>(GetUIColour(style, index, mode));
}

// Exactly six hexadecimal digits right after the first "#"; a seventh makes it no colour.
int32_t ParseHex(const std::string& s) {
  size_t start = s.find('#') + 1;
  size_t count = 0;
  while (count < 7 && start + count < s.size() && DigitValue(s[start + count]) < 16) ++count;
  if (count != 6) return -1;
  uint32_t rrggbb = static_cast<uint32_t>(strtoul(s.substr(start, 6).c_str(), nullptr, 16));
  return static_cast<int32_t>(MakeRGB(rrggbb >> 16, rrggbb >> 8 & 0xFF, rrggbb & 0xFF));
}

int32_t ParseName(const std::string& s) {
  size_t first = s.find_first_not_of(" \t");
  size_t last = s.find_last_not_of(" \t");
  std::string trimmed = first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
  std::string systemName = Upper(RemoveAll(trimmed, ";"));
  for (const SystemColourName& entry : kSystemColours) {
    if (systemName == entry.name) return static_cast<int32_t>(GetSysColor(entry.index));
  }
  // Keywords match the text exactly as given (lower-cased only).
  uint32_t rrggbb = 0;
  if (!FindColourName(s, &rrggbb)) return -1;
  return static_cast<int32_t>(MakeRGB(rrggbb >> 16, rrggbb >> 8 & 0xFF, rrggbb & 0xFF));
}

}  // namespace

uint32_t BlendColours(uint32_t a, uint32_t b, int weight) {
  auto blend = [weight](uint32_t ca, uint32_t cb) {
    return (static_cast<int>(cb) * weight + static_cast<int>(ca) * (256 - weight)) / 256;
  };
  return MakeClampedRGB(blend(a & 0xFF, b & 0xFF), blend(a >> 8 & 0xFF, b >> 8 & 0xFF),
                        blend(a >> 16 & 0xFF, b >> 16 & 0xFF));
}

int DarkenChannel(int amount, int channel) {
  return channel - static_cast<int>(trunc(channel * static_cast<double>(amount) / 255.0));
}

uint32_t DarkenColour(int amount, uint32_t colour) {
  return MakeClampedRGB(DarkenChannel(amount, colour & 0xFF), DarkenChannel(amount, colour >> 8 & 0xFF),
                        DarkenChannel(amount, colour >> 16 & 0xFF));
}

int32_t ParseColour(const std::string& text) {
  std::string s = Lower(text);
  if (s.find("rgba") != std::string::npos && HasBracketedArguments(s)) return ParseRgba(s);
  if (s.find("rgb") != std::string::npos && HasBracketedArguments(s)) return ParseRgb(s);
  if (s.find("getuicolour") != std::string::npos && HasBracketedArguments(s)) return ParseGetUIColour(s);
  if (s.find('#') != std::string::npos) return ParseHex(s);
  return ParseName(s);
}

}  // namespace tovrel
