// The built-in colours of the three UI styles and the CSS colour keywords, as data.
#include "tovrel/foundation/colour_tables.h"

#include <iterator>

#include "tovrel/foundation/colour_expressions.h"
#include "tovrel/foundation/maps.h"

namespace tovrel {

ColourTableEntry WhidbeyColourTable[kUIColourIndexCount];
ColourTableEntry Office2003ColourTable[kUIColourIndexCount];
ColourTableEntry Office2007ColourTable[kUIColourIndexCount];

namespace {

// The rows below write colours as 0xRRGGBB; C() stores a GDI colour, A() a GDI+ colour
// with the alpha given (opaque when none is).
constexpr uint32_t C(uint32_t rrggbb) { return MakeRGB(rrggbb >> 16, rrggbb >> 8 & 0xFF, rrggbb & 0xFF); }
constexpr uint32_t A(uint32_t rrggbb, int alpha = 255) {
  return PackRGBA(alpha, rrggbb >> 16, rrggbb >> 8 & 0xFF, rrggbb & 0xFF);
}

struct FourColumns {
  uint32_t blue, olive, silver, grey;
};
constexpr FourColumns All(uint32_t colour) { return {colour, colour, colour, colour}; }
constexpr FourColumns kZero = {0, 0, 0, 0};

// OFFICE2007 has no olive colours of its own: its olive column repeats the blue one.
struct ThreeColumns {
  uint32_t blue, silver, grey;
};
constexpr ThreeColumns All3(uint32_t colour) { return {colour, colour, colour}; }
constexpr ThreeColumns kZero3 = {0, 0, 0};

constexpr FourColumns kWhidbeyDefaults[kNamedUIColourCount] = {
    kZero,                                                 // 0 menutitletextcolor
    kZero,                                                 // 1 menutitlehottextcolor
    kZero,                                                 // 2 menutitleheldtextcolor
    {C(0xACA899), C(0xACA899), C(0xACA899), C(0x808080)},  // 3 menutitleinactivetextcolor
    kZero,                                                 // 4 menutextcolor
    {C(0xC1D2EE), C(0xCED2C5), C(0xE8E8EC), C(0xB6BED3)},  // 5 menuhotcolor
    kZero,                                                 // 6 menuhotgradientcolor1
    kZero,                                                 // 7 menuhotgradientcolor2
    {C(0x316AC5), C(0x93A070), C(0xB2B4BF), C(0x0A246A)},  // 8 menuhotborder
    {C(0xEFEDDE), C(0xEFEDDE), C(0xE5E4E7), C(0xDCD8D2)},  // 9 menuheldcolor
    kZero,                                                 // 10 menuheldgradientcolor1
    kZero,                                                 // 11 menuheldgradientcolor2
    {C(0x716F64), C(0x716F64), C(0x716F64), C(0x676767)},  // 12 menuheldborder
    {C(0xEFEDDE), C(0xEFEDDE), C(0xE5E4E7), C(0xDCD8D2)},  // 13 menubarcolor
    {C(0xE3E7E9), C(0xEDECE1), C(0xEBEAED), C(0xD5D6DA)},  // 14 menucheckboxbackground
    {C(0x316AC5), C(0x93A070), C(0xB2B4BF), C(0x0A246A)},  // 15 menucheckboxborder
    {C(0x99B5E3), C(0xCAD0B8), C(0xD4D4DA), C(0x8592B5)},  // 16 menucheckboxselectedbackground
    {C(0x316AC5), C(0x8C996B), C(0x999BA4), C(0x0A246A)},  // 17 menucheckboxselectedborder
    {C(0xF6F5EE), C(0xF6F5EE), C(0xF1F1F2), C(0xECEAE7)},  // 18 menucheckboxdisabledbackground
    {C(0xACA899), C(0xACA899), C(0x9D9DA1), C(0x808080)},  // 19 menucheckboxdisabledborder
    All(A(0x000000, 50)),                                  // 20 menudropshadow
    kZero,                                                 // 21 bargradientcolor1
    kZero,                                                 // 22 bargradientcolor2
    kZero,                                                 // 23 bargradientcolor3
    kZero,                                                 // 24 bargradientcolor4
    {C(0xC6C5BA), C(0xC6C5BA), C(0xBDBAC4), C(0xA7A7A7)},  // 25 separatorbar
    {C(0xC1D2EE), C(0xCED2C5), C(0xE8E8EC), C(0xB6BED3)},  // 26 selectedcolor
    kZero,                                                 // 27 selectedtextcolor
    {C(0x316AC5), C(0x93A070), C(0xB2B4BF), C(0x0A246A)},  // 28 selectedborder
    {C(0xC5C3B8), C(0xC5C3B8), C(0xC5C3B8), C(0xA7A7A7)},  // 29 disabledcolor
    {C(0xFDFCFA), C(0xFDFCFA), C(0xFBFBFB), C(0xF9F9F8)},  // 30 background
                                                           // 31 to 55 are not used by this style.
};

constexpr FourColumns kOffice2003Defaults[kNamedUIColourCount] = {
    kZero,                                                                  // 0
    kZero,                                                                  // 1
    kZero,                                                                  // 2
    {C(0x000080), C(0x3F5D38), C(0x4B4B6F), C(0x0A246A)},                   // 3
    kZero,                                                                  // 4
    kZero,                                                                  // 5
    {A(0xFFF4CC), A(0xFFF4CC), A(0xFFF4CC), A(0xB6BDD2)},                   // 6
    {A(0xFFD69A), A(0xFFD69A), A(0xFFD69A), A(0xB6BDD2)},                   // 7
    {C(0x000080), C(0x3F5D38), C(0x4B4B6F), C(0x0A246A)},                   // 8
    kZero,                                                                  // 9
    {A(0xE3EFFF), A(0xECF0D5), A(0xE8E9F1), A(0xF9F7F6)},                   // 10
    {A(0x93B5E7), A(0xC2CE9F), A(0xBAB9CD), A(0xEDEBE8)},                   // 11
    {C(0x002D96), C(0x758D5E), C(0x7C7C94), C(0x666666)},                   // 12
    kZero,                                                                  // 13
    {C(0xFFC06F), C(0xFFC06F), C(0xFFC06F), C(0xD4D5D8)},                   // 14
    {C(0x000080), C(0x3F5D38), C(0x4B4B6F), C(0x0A246A)},                   // 15
    {C(0xFE803E), C(0xFE803E), C(0xFE803E), C(0x8592B5)},                   // 16
    {C(0x000080), C(0x3F5D38), C(0x4B4B6F), C(0x0A246A)},                   // 17
    kZero,                                                                  // 18
    {C(0x6582AB), C(0x8A956D), C(0x76768B), C(0x9F9C96)},                   // 19
    {A(0x6A8CCB, 87), A(0x608058, 63), A(0x6E6D8F, 63), A(0x666666, 125)},  // 20
    {A(0xE3EFFF), A(0xFFFFED), A(0xF9F9FF), A(0xF9F8F7)},                   // 21
    {A(0xCAE0FB), A(0xCDDBA6), A(0xE0E1EC), A(0xE9E7E4)},                   // 22
    {A(0xCBE1FC), A(0xCEDCA7), A(0xE1E2EC), A(0xEAE8E4)},                   // 23
    {A(0x87ADE4), A(0xB8C792), A(0x9F9DB9), A(0xD7D3CC)},                   // 24
    {C(0x6A8CCB), C(0x608058), C(0x6E6D8F), C(0xA6A6A6)},                   // 25
    {C(0xFFEEC2), C(0xFFEEC2), C(0xFFEEC2), C(0xB6BDD2)},                   // 26
    kZero,                                                                  // 27
    {C(0x000080), C(0x3F5D38), C(0x4B4B6F), C(0x0A246A)},                   // 28
    {C(0x8D8D8D), C(0x8D8D8D), C(0x8D8D8D), C(0xA6A6A6)},                   // 29
    {C(0xF6F6F6), C(0xF4F4EE), C(0xFDFAFF), C(0xF9F8F7)},                   // 30
    {A(0x9EBEF5), A(0xD9D9A7), A(0xD7D7E5), A(0xD4D0C8)},                   // 31
    {A(0xC3DAF9), A(0xF2F0E4), A(0xF3F3F7), A(0xF5F5F4)},                   // 32
    {A(0xDDECFE), A(0xF4F7DE), A(0xF3F4FA), A(0xF5F4F2)},                   // 33
    {A(0xCAE1FC), A(0xCEDCA7), A(0xE1E2EC), A(0xEAE8E4)},                   // 34
    {A(0xC4DBF9), A(0xCEDCA7), A(0xDADBE7), A(0xE8E6E1)},                   // 35
    {A(0x81A9E2), A(0xB7C691), A(0x9997B5), A(0xD5D2CA)},                   // 36
    {A(0x75A6F1), A(0xB0C28C), A(0xB3B2C8), A(0xA0A0A0)},                   // 37
    {A(0x527FD0), A(0x8DA06B), A(0x9B9BB4), A(0x8D8D8D)},                   // 38
    {A(0x4B78CA), A(0x899C6B), A(0x9897B1), A(0x8B8B8B)},                   // 39
    {A(0x003591), A(0x60776B), A(0x767492), A(0x808080)},                   // 40
    {A(0x3B619C), A(0x608058), A(0x7C7C94), A(0xDBD8D1)},                   // 41
    {C(0x274176), C(0x515E33), C(0x545475), C(0xA0A0A0)},                   // 42
    All(C(0xFFFFFF)),                                                       // 43
    {A(0xFE914E), A(0xFE914E), A(0xFE914E), A(0x8592B5)},                   // 44
    {A(0xFFD38E), A(0xFFD38E), A(0xFFD38E), A(0x8592B5)},                   // 45
    {A(0xFFD58C), A(0xFFD58C), A(0xFFD58C), A(0xD4D5D8)},                   // 46
    {A(0xFFAD55), A(0xFFAD55), A(0xFFAD55), A(0xD4D5D8)},                   // 47
    {C(0x000080), C(0x3F5D38), C(0x4B4B6F), C(0x0A246A)},                   // 48
    kZero,                                                                  // 49
    kZero,                                                                  // 50
    {C(0x8D8D8D), C(0x8D8D8D), C(0x8D8D8D), C(0xA6A6A6)},                   // 51
    {A(0xFFF4CC), A(0xFFF4CC), A(0xFFF4CC), A(0xB6BDD2)},                   // 52
    {A(0xFFD69A), A(0xFFD69A), A(0xFFD69A), A(0xB6BDD2)},                   // 53
    {C(0x6A8CCB), C(0x608058), C(0x6E6D8F), C(0xA6A6A6)},                   // 54
    All(C(0xFFFFFF)),                                                       // 55
};

constexpr ThreeColumns kOffice2007Defaults[kNamedUIColourCount] = {
    {C(0x000000), C(0x000000), C(0xFFFFFF)},                 // 0
    kZero3,                                                  // 1
    kZero3,                                                  // 2
    {C(0x4B4B6F), C(0x4B4B6F), C(0xF0F0F0)},                 // 3
    kZero3,                                                  // 4
    kZero3,                                                  // 5
    All3(A(0xFFF5CC)),                                       // 6
    All3(A(0xFFDC7A)),                                       // 7
    All3(C(0xFFBD69)),                                       // 8
    kZero3,                                                  // 9
    {A(0xE3EFFE), A(0xE8E9F1), A(0x9199A4)},                 // 10
    {A(0x90B9EE), A(0xB4B3C8), A(0x67707C)},                 // 11
    {C(0x6593CF), C(0x7C7C94), C(0x9199A4)},                 // 12
    kZero3,                                                  // 13
    {C(0xFFBD69), C(0xFFC06F), C(0xFFBD69)},                 // 14
    All3(C(0xFFAB3F)),                                       // 15
    {C(0xFFAB3F), C(0xFE803E), C(0xFFAB3F)},                 // 16
    All3(C(0xFB8C3C)),                                       // 17
    kZero3,                                                  // 18
    All3(C(0x8D8D8D)),                                       // 19
    {A(0x000000, 155), A(0x736C8C, 120), A(0x000000, 155)},  // 20
    {A(0xE9EEEE), A(0xEFEFEF), A(0xEFEFEF)},                 // 21
    {A(0xE9EEEE), A(0xEFEFEF), A(0xEFEFEF)},                 // 22
    {A(0xE9EEEE), A(0xEFEFEF), A(0xEFEFEF)},                 // 23
    {A(0xE9EEEE), A(0xEFEFEF), A(0xEFEFEF)},                 // 24
    {C(0x9AC6FF), C(0x6E6D8F), C(0x9199A4)},                 // 25
    {C(0xFFE7A2), C(0xFFEEC2), C(0xFFE7A2)},                 // 26
    kZero3,                                                  // 27
    All3(C(0xFFBD69)),                                       // 28
    All3(C(0x8D8D8D)),                                       // 29
    {C(0xF6F6F6), C(0xFDFAFF), C(0xF6F6F6)},                 // 30
    {A(0xBFDBFF), A(0xD7D7E5), A(0x535353)},                 // 31
    {A(0xBFDBFF), A(0xF3F3F7), A(0x535353)},                 // 32
    {A(0xE3EFFF), A(0xF3F4FA), A(0xCDD0D5)},                 // 33
    {A(0xE3EFFF), A(0xE1E2EC), A(0xBBC0C6)},                 // 34
    {A(0xDEECFF), A(0xDADBE7), A(0xB7BCC4)},                 // 35
    {A(0xB1D3FF), A(0x9997B5), A(0x949CA6)},                 // 36
    All3(A(0xB3B2C8)),                                       // 37
    All3(A(0x9B9BB4)),                                       // 38
    All3(A(0x9897B1)),                                       // 39
    All3(A(0x767492)),                                       // 40
    {A(0x6F9DD9), A(0x7C7C94), A(0x4C535C)},                 // 41
    {C(0x6F9DD9), C(0x545475), C(0x373C43)},                 // 42
    All3(C(0xFFFFFF)),                                       // 43
    All3(A(0xFC973D)),                                       // 44
    All3(A(0xFFB85E)),                                       // 45
    All3(A(0xFFCF92)),                                       // 46
    All3(A(0xFFAF49)),                                       // 47
    All3(A(0xFFAB3F)),                                       // 48
    kZero3,                                                  // 49
    {C(0x000000), C(0xFF0000), C(0x000000)},                 // 50
    All3(C(0x8D8D8D)),                                       // 51
    All3(A(0xFFF5CC)),                                       // 52
    All3(A(0xFFDB75)),                                       // 53
    {C(0x9AC6FF), C(0x6E6D8F), C(0x9199A4)},                 // 54
    {C(0xFFFFFF), C(0xFFFFFF), C(0xDDE0E3)},                 // 55
};

struct NamedColour {
  const char* name;
  uint32_t rrggbb;
};

// The CSS colour keywords. Two rows keep the values skins were written against, which
// differ from the CSS list: mediumpurple and palevioletred.
constexpr NamedColour kColourNameMap[] = {
    {"aliceblue", 0xF0F8FF},
    {"antiquewhite", 0xFAEBD7},
    {"aqua", 0x00FFFF},
    {"aquamarine", 0x7FFFD4},
    {"azure", 0xF0FFFF},
    {"beige", 0xF5F5DC},
    {"bisque", 0xFFE4C4},
    {"black", 0x000000},
    {"blanchedalmond", 0xFFEBCD},
    {"blue", 0x0000FF},
    {"blueviolet", 0x8A2BE2},
    {"brown", 0xA52A2A},
    {"burlywood", 0xDEB887},
    {"cadetblue", 0x5F9EA0},
    {"chartreuse", 0x7FFF00},
    {"chocolate", 0xD2691E},
    {"coral", 0xFF7F50},
    {"cornflowerblue", 0x6495ED},
    {"cornsilk", 0xFFF8DC},
    {"crimson", 0xDC143C},
    {"cyan", 0x00FFFF},
    {"darkblue", 0x00008B},
    {"darkcyan", 0x008B8B},
    {"darkgoldenrod", 0xB8860B},
    {"darkgray", 0xA9A9A9},
    {"darkgreen", 0x006400},
    {"darkgrey", 0xA9A9A9},
    {"darkkhaki", 0xBDB76B},
    {"darkmagenta", 0x8B008B},
    {"darkolivegreen", 0x556B2F},
    {"darkorange", 0xFF8C00},
    {"darkorchid", 0x9932CC},
    {"darkred", 0x8B0000},
    {"darksalmon", 0xE9967A},
    {"darkseagreen", 0x8FBC8F},
    {"darkslateblue", 0x483D8B},
    {"darkslategray", 0x2F4F4F},
    {"darkslategrey", 0x2F4F4F},
    {"darkturquoise", 0x00CED1},
    {"darkviolet", 0x9400D3},
    {"deeppink", 0xFF1493},
    {"deepskyblue", 0x00BFFF},
    {"dimgray", 0x696969},
    {"dimgrey", 0x696969},
    {"dodgerblue", 0x1E90FF},
    {"firebrick", 0xB22222},
    {"floralwhite", 0xFFFAF0},
    {"forestgreen", 0x228B22},
    {"fuchsia", 0xFF00FF},
    {"gainsboro", 0xDCDCDC},
    {"ghostwhite", 0xF8F8FF},
    {"gold", 0xFFD700},
    {"goldenrod", 0xDAA520},
    {"gray", 0x808080},
    {"green", 0x008000},
    {"greenyellow", 0xADFF2F},
    {"grey", 0x808080},
    {"honeydew", 0xF0FFF0},
    {"hotpink", 0xFF69B4},
    {"indianred", 0xCD5C5C},
    {"indigo", 0x4B0082},
    {"ivory", 0xFFFFF0},
    {"khaki", 0xF0E68C},
    {"lavender", 0xE6E6FA},
    {"lavenderblush", 0xFFF0F5},
    {"lawngreen", 0x7CFC00},
    {"lemonchiffon", 0xFFFACD},
    {"lightblue", 0xADD8E6},
    {"lightcoral", 0xF08080},
    {"lightcyan", 0xE0FFFF},
    {"lightgoldenrodyellow", 0xFAFAD2},
    {"lightgray", 0xD3D3D3},
    {"lightgreen", 0x90EE90},
    {"lightgrey", 0xD3D3D3},
    {"lightpink", 0xFFB6C1},
    {"lightsalmon", 0xFFA07A},
    {"lightseagreen", 0x20B2AA},
    {"lightskyblue", 0x87CEFA},
    {"lightslategray", 0x778899},
    {"lightslategrey", 0x778899},
    {"lightsteelblue", 0xB0C4DE},
    {"lightyellow", 0xFFFFE0},
    {"lime", 0x00FF00},
    {"limegreen", 0x32CD32},
    {"linen", 0xFAF0E6},
    {"magenta", 0xFF00FF},
    {"maroon", 0x800000},
    {"mediumaquamarine", 0x66CDAA},
    {"mediumblue", 0x0000CD},
    {"mediumorchid", 0xBA55D3},
    {"mediumpurple", 0x9370D8},
    {"mediumseagreen", 0x3CB371},
    {"mediumslateblue", 0x7B68EE},
    {"mediumspringgreen", 0x00FA9A},
    {"mediumturquoise", 0x48D1CC},
    {"mediumvioletred", 0xC71585},
    {"midnightblue", 0x191970},
    {"mintcream", 0xF5FFFA},
    {"mistyrose", 0xFFE4E1},
    {"moccasin", 0xFFE4B5},
    {"navajowhite", 0xFFDEAD},
    {"navy", 0x000080},
    {"oldlace", 0xFDF5E6},
    {"olive", 0x808000},
    {"olivedrab", 0x6B8E23},
    {"orange", 0xFFA500},
    {"orangered", 0xFF4500},
    {"orchid", 0xDA70D6},
    {"palegoldenrod", 0xEEE8AA},
    {"palegreen", 0x98FB98},
    {"paleturquoise", 0xAFEEEE},
    {"palevioletred", 0xD87093},
    {"papayawhip", 0xFFEFD5},
    {"peachpuff", 0xFFDAB9},
    {"peru", 0xCD853F},
    {"pink", 0xFFC0CB},
    {"plum", 0xDDA0DD},
    {"powderblue", 0xB0E0E6},
    {"purple", 0x800080},
    {"red", 0xFF0000},
    {"rosybrown", 0xBC8F8F},
    {"royalblue", 0x4169E1},
    {"saddlebrown", 0x8B4513},
    {"salmon", 0xFA8072},
    {"sandybrown", 0xF4A460},
    {"seagreen", 0x2E8B57},
    {"seashell", 0xFFF5EE},
    {"sienna", 0xA0522D},
    {"silver", 0xC0C0C0},
    {"skyblue", 0x87CEEB},
    {"slateblue", 0x6A5ACD},
    {"slategray", 0x708090},
    {"slategrey", 0x708090},
    {"snow", 0xFFFAFA},
    {"springgreen", 0x00FF7F},
    {"steelblue", 0x4682B4},
    {"tan", 0xD2B48C},
    {"teal", 0x008080},
    {"thistle", 0xD8BFD8},
    {"tomato", 0xFF6347},
    {"turquoise", 0x40E0D0},
    {"violet", 0xEE82EE},
    {"wheat", 0xF5DEB3},
    {"white", 0xFFFFFF},
    {"whitesmoke", 0xF5F5F5},
    {"yellow", 0xFFFF00},
    {"yellowgreen", 0x9ACD32},
};
static_assert(std::size(kColourNameMap) == 147, "every CSS colour keyword, in both grey spellings");

void FillDefaults(ColourTableEntry* table, const FourColumns* defaults) {
  for (int i = 0; i < kNamedUIColourCount; ++i) {
    uint32_t* c = table[i].colours;
    c[kColumnDefaultBlue] = defaults[i].blue;
    c[kColumnDefaultOlive] = defaults[i].olive;
    c[kColumnDefaultSilver] = defaults[i].silver;
    c[kColumnDefaultGrey] = defaults[i].grey;
  }
}

// The custom columns start as copies of the default ones.
void CopyDefaultsToCustom(ColourTableEntry* table) {
  for (int i = 0; i < kUIColourIndexCount; ++i) {
    for (int column = kColumnDefaultBlue; column <= kColumnDefaultGrey; ++column) {
      table[i].colours[kColumnCustomBlue + column] = table[i].colours[column];
    }
  }
}

}  // namespace

const char* const kUIColourNames[kNamedUIColourCount] = {
    "menutitletextcolor",
    "menutitlehottextcolor",
    "menutitleheldtextcolor",
    "menutitleinactivetextcolor",
    "menutextcolor",
    "menuhotcolor",
    "menuhotgradientcolor1",
    "menuhotgradientcolor2",
    "menuhotborder",
    "menuheldcolor",
    "menuheldgradientcolor1",
    "menuheldgradientcolor2",
    "menuheldborder",
    "menubarcolor",
    "menucheckboxbackground",
    "menucheckboxborder",
    "menucheckboxselectedbackground",
    "menucheckboxselectedborder",
    "menucheckboxdisabledbackground",
    "menucheckboxdisabledborder",
    "menudropshadow",
    "bargradientcolor1",
    "bargradientcolor2",
    "bargradientcolor3",
    "bargradientcolor4",
    "separatorbar",
    "selectedcolor",
    "selectedtextcolor",
    "selectedborder",
    "disabledcolor",
    "background",
    "rebarbackground1",
    "rebarbackground2",
    "toolstripbackground1",
    "toolstripbackground2",
    "toolstripbackground3",
    "toolstripbackground4",
    "toolstripdropdowngradient1",
    "toolstripdropdowngradient2",
    "toolstripdropdowngradient3",
    "toolstripdropdowngradient4",
    "toolstripshadow",
    "grippersolid",
    "grippershadow",
    "selectgradientcolor1",
    "selectgradientcolor2",
    "stickyselectgradientcolor1",
    "stickyselectgradientcolor2",
    "stickyselectbordercolor",
    "toolbarbuttontextcolor",
    "toolbarbuttonhottextcolor",
    "toolbarbuttondisabledtextcolor",
    "toolbarhotgradientcolor1",
    "toolbarhotgradientcolor2",
    "toolbarseparator",
    "toolbarseparatorshadow",
};

int InitColourTables() {
  for (const NamedColour& entry : kColourNameMap) ColourNameMap.Add(entry.name) = entry.rrggbb;
  FillDefaults(WhidbeyColourTable, kWhidbeyDefaults);
  FillDefaults(Office2003ColourTable, kOffice2003Defaults);
  for (int i = 0; i < kNamedUIColourCount; ++i) {
    uint32_t* c = Office2007ColourTable[i].colours;
    c[kColumnDefaultBlue] = kOffice2007Defaults[i].blue;
    c[kColumnDefaultOlive] = kOffice2007Defaults[i].blue;
    c[kColumnDefaultSilver] = kOffice2007Defaults[i].silver;
    c[kColumnDefaultGrey] = kOffice2007Defaults[i].grey;
  }
  CopyDefaultsToCustom(WhidbeyColourTable);
  CopyDefaultsToCustom(Office2003ColourTable);
  CopyDefaultsToCustom(Office2007ColourTable);
  return 0;
}

int FindUIColourIndex(const std::string& name) {
  for (int i = 0; i < kNamedUIColourCount; ++i) {
    if (name == kUIColourNames[i]) return i;
  }
  return -1;
}

bool FindColourName(const std::string& name, uint32_t* rrggbb) {
  const uint32_t* value = ColourNameMap.Find(name);
  if (!value) return false;
  *rrggbb = *value;
  return true;
}

}  // namespace tovrel
