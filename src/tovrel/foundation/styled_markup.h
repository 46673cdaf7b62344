// The inline markup of styled texts read into a list of runs and codes, without a device
// context, so that what a text means is decided apart from how it is drawn.
#ifndef ZK_TOVREL_FOUNDATION_STYLED_MARKUP_H
#define ZK_TOVREL_FOUNDATION_STYLED_MARKUP_H

#include <stdint.h>
#include <string>
#include <vector>

namespace tovrel {

enum class MarkupKind {
  Run,        // text drawn with one DrawTextA call; may be empty
  Bold,       // "\b": toggles
  Italic,     // "\i"
  Underline,  // "\u"
  StrikeOut,  // "\s"
  Normal,     // "\n": the start font and colour again
  Colour,     // "\c" + RRGGBB
  LinkStart,  // "\l" + digits
  LinkEnd,    // "\l" without a digit
  LineBreak,  // "\|"
};

struct MarkupToken {
  MarkupKind kind;
  std::string text;    // a run's characters, "\\" already turned into "\"
  uint32_t value = 0;  // Colour: a COLORREF (red in the low byte); LinkStart: the link number
};

// Every code is preceded by the run before it, even an empty one: an empty run still
// counts for the height of its line. The text after the last code is a run only when
// it is not empty. An unknown code drops its backslash and its character starts the
// next run. The reader never looks past the text: a "\c" with fewer than six characters
// left takes the digits there are (the missing ones 0) and ends the text, and a lone
// "\" at the end is dropped. A link number too large for 31 bits stops at 0x7FFFFFFF.
std::vector<MarkupToken> ReadStyledMarkup(const std::string& text);

// True when the text holds a "\|" line break (an escaped "\\|" is none).
bool HasLineBreak(const std::vector<MarkupToken>& tokens);

}  // namespace tovrel

#endif
