// The band layout of a rebar saved as XML and read back: root element "Layout", one
// element per band in band order with the attributes "ID", "cx" and "fStyle" as decimal
// text.
#ifndef ZK_TOVREL_FRAME_REBAR_LAYOUT_H
#define ZK_TOVREL_FRAME_REBAR_LAYOUT_H

#include <stdint.h>
#include <string>
#include <vector>

namespace tovrel {

struct LayoutBand {
  int32_t id;
  int32_t cx;
  uint32_t style;
};

// The document: an XML declaration, then the elements one a line, indented by 3 spaces a
// level, lines ending in CR LF.
std::string FormatRebarLayout(const std::vector<LayoutBand>& bands);

// Reads a whole document. False (and *bands empty) when it does not parse or its root is
// not "layout" in any case. Every child of the root is a band whatever its name; a missing
// attribute reads as 0.
bool ParseRebarLayout(const std::string& text, std::vector<LayoutBand>* bands);

// Writes the rebar's bands to the file, replacing it only once the new file is complete.
// -> 1, or 0 for an invalid file name, an unknown rebar or a failed write.
int SaveRebarLayout(intptr_t rebar, const std::string& path);

// Applies a saved layout: each band named by an ID moves to the next position and takes
// its width and style. A file that does not load or parse changes nothing; an ID that
// names no band is passed over. -> 1, or 0 (invalid name, unknown rebar, unreadable file).
int LoadRebarLayout(intptr_t rebar, const std::string& path);

}  // namespace tovrel

#endif
