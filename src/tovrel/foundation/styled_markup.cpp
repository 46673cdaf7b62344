#include "tovrel/foundation/styled_markup.h"

#include <ctype.h>

namespace tovrel {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// A colour channel from two characters, read like a hexadecimal number: the digits up to
// the first character that is none.
uint32_t HexPair(char high, char low) {
  int h = HexDigit(high);
  if (h < 0) return 0;
  int l = HexDigit(low);
  return l < 0 ? static_cast<uint32_t>(h) : static_cast<uint32_t>(h * 16 + l);
}

// The six characters after "\c" at `at`; past the end of the text they count as "0".
uint32_t ColourAt(const std::string& text, size_t at) {
  char digits[6];
  for (size_t i = 0; i < 6; ++i) digits[i] = at + i < text.size() ? text[at + i] : '0';
  uint32_t red = HexPair(digits[0], digits[1]);
  uint32_t green = HexPair(digits[2], digits[3]);
  uint32_t blue = HexPair(digits[4], digits[5]);
  return red | green << 8 | blue << 16;
}

bool IsDigit(const std::string& text, size_t at) { return at < text.size() && text[at] >= '0' && text[at] <= '9'; }

// The characters from `start` to `end` with each "\\" made one "\"; a run holds no other
// backslash, as every other one starts a code.
std::string RunText(const std::string& text, size_t start, size_t end) {
  std::string run;
  for (size_t i = start; i < end; ++i) {
    run += text[i];
    if (text[i] == '\\') ++i;
  }
  return run;
}

}  // namespace

std::vector<MarkupToken> ReadStyledMarkup(const std::string& text) {
  std::vector<MarkupToken> tokens;
  const size_t n = text.size();
  size_t runStart = 0;
  size_t pos = 0;
  while ((pos = text.find('\\', pos)) != std::string::npos) {
    if (pos + 1 < n && text[pos + 1] == '\\') {
      pos += 2;
      continue;
    }
    tokens.push_back({MarkupKind::Run, RunText(text, runStart, pos)});
    const char code = pos + 1 < n ? static_cast<char>(tolower(static_cast<unsigned char>(text[pos + 1]))) : '\0';
    runStart = pos + 2;
    switch (code) {
      case 'b':
        tokens.push_back({MarkupKind::Bold, ""});
        break;
      case 'i':
        tokens.push_back({MarkupKind::Italic, ""});
        break;
      case 'u':
        tokens.push_back({MarkupKind::Underline, ""});
        break;
      case 's':
        tokens.push_back({MarkupKind::StrikeOut, ""});
        break;
      case 'n':
        tokens.push_back({MarkupKind::Normal, ""});
        break;
      case '|':
        tokens.push_back({MarkupKind::LineBreak, ""});
        break;
      case 'c':
        tokens.push_back({MarkupKind::Colour, "", ColourAt(text, pos + 2)});
        runStart = pos + 8;
        break;
      case 'l':
        if (IsDigit(text, pos + 2)) {
          uint64_t number = 0;
          size_t at = pos + 2;
          for (; IsDigit(text, at); ++at) {
            number = number * 10 + static_cast<uint64_t>(text[at] - '0');
            if (number > 0x7FFFFFFF) number = 0x7FFFFFFF;
          }
          tokens.push_back({MarkupKind::LinkStart, "", static_cast<uint32_t>(number)});
          runStart = at;
        } else {
          tokens.push_back({MarkupKind::LinkEnd, ""});
        }
        break;
      default:
        // The character itself (if any) starts the next run.
        runStart = pos + 1;
        break;
    }
    // Scanning goes on after what the code took, so a "\" among a colour's digits is
    // part of the colour and never a code of its own.
    pos = runStart > pos + 1 ? runStart : pos + 1;
  }
  if (runStart < n) tokens.push_back({MarkupKind::Run, RunText(text, runStart, n)});
  return tokens;
}

bool HasLineBreak(const std::vector<MarkupToken>& tokens) {
  for (const MarkupToken& t : tokens) {
    if (t.kind == MarkupKind::LineBreak) return true;
  }
  return false;
}

}  // namespace tovrel
