#include "tovrel/frame/rebar_layout.h"

#include <windows.h>

#include <expat.h>

#include "tovrel/frame/rebar_rules.h"

namespace tovrel {

std::string FormatRebarLayout(const std::vector<LayoutBand>& bands) {
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Layout>\r\n";
  for (const LayoutBand& band : bands) {
    text += "   <Band ID=\"" + std::to_string(band.id) + "\" cx=\"" + std::to_string(band.cx) + "\" fStyle=\"" +
            std::to_string(band.style) + "\"/>\r\n";
  }
  text += "</Layout>\r\n";
  return text;
}

namespace {

struct ParseState {
  int depth = 0;
  bool rootIsLayout = false;
  std::vector<LayoutBand>* bands = nullptr;
};

void XMLCALL StartElement(void* data, const XML_Char* name, const XML_Char** attributes) {
  ParseState& state = *static_cast<ParseState*>(data);
  if (state.depth == 0) state.rootIsLayout = lstrcmpiA(name, "layout") == 0;
  if (state.depth == 1) {
    LayoutBand band = {};
    for (const XML_Char** a = attributes; a[0]; a += 2) {
      const std::string key = a[0];
      if (key == "ID") band.id = ReadDecimal(a[1]);
      if (key == "cx") band.cx = ReadDecimal(a[1]);
      if (key == "fStyle") band.style = static_cast<uint32_t>(ReadDecimal(a[1]));
    }
    state.bands->push_back(band);
  }
  ++state.depth;
}

void XMLCALL EndElement(void* data, const XML_Char*) { --static_cast<ParseState*>(data)->depth; }

}  // namespace

bool ParseRebarLayout(const std::string& text, std::vector<LayoutBand>* bands) {
  bands->clear();
  XML_Parser parser = XML_ParserCreate(nullptr);
  if (!parser) return false;
  ParseState state;
  state.bands = bands;
  XML_SetUserData(parser, &state);
  XML_SetElementHandler(parser, &StartElement, &EndElement);
  const bool parsed =
      XML_Parse(parser, text.data(), static_cast<int>(text.size()), XML_TRUE) == XML_STATUS_OK && state.rootIsLayout;
  XML_ParserFree(parser);
  if (!parsed) bands->clear();
  return parsed;
}

}  // namespace tovrel
