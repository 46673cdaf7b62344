#include "tovrel/frame/rebar_layout.h"

#include <windows.h>
#include <commctrl.h>

#include <expat.h>

#include "common/whole_file.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/frame/rebar.h"
#include "tovrel/frame/rebar_height.h"
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

int SaveRebarLayout(intptr_t rebar, const std::string& path) {
  if (!IsValidLayoutFileName(path)) return 0;
  Rebar* record = FindRebar(rebar);
  if (!record || !IsRebarWindow(record->window)) return 0;
  std::vector<LayoutBand> bands;
  const int count = static_cast<int>(SendMessageA(record->window, RB_GETBANDCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    REBARBANDINFOA band;
    if (!ReadRebarBand(record->window, i, RBBIM_STYLE | RBBIM_SIZE | RBBIM_ID, &band)) continue;
    bands.push_back({static_cast<int32_t>(band.wID), static_cast<int32_t>(band.cx), band.fStyle});
  }
  const std::string text = FormatRebarLayout(bands);
  const bool written = WriteReplacing(path, "zkl", [&text](const std::string& temp) {
    HANDLE file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD done = 0;
    bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &done, nullptr) && done == text.size();
    ok = FlushFileBuffers(file) && ok;
    return CloseHandle(file) && ok;
  });
  return written ? 1 : 0;
}

namespace {

// A tool bar in the rebar whose buttons now wrap into another number of rows: its band
// grows or shrinks by whole button rows, keeping what it had beyond them.
void RefitToolbarRows(HWND rebar) {
  const int count = static_cast<int>(SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0));
  for (Toolbar& toolbar : ToolbarList) {
    if (!IsWindow(toolbar.window) || GetParent(toolbar.window) != rebar) continue;
    const int rows = static_cast<int>(SendMessageA(toolbar.window, TB_GETROWS, 0, 0));
    if (rows == toolbar.rows) continue;
    const int buttonHeight = static_cast<short>(HIWORD(SendMessageA(toolbar.window, TB_GETBUTTONSIZE, 0, 0)));
    for (int i = 0; i < count; ++i) {
      REBARBANDINFOA band;
      if (!ReadRebarBand(rebar, i, RBBIM_CHILD | RBBIM_CHILDSIZE, &band) || band.hwndChild != toolbar.window) continue;
      const int extra = static_cast<int>(band.cyMinChild) - buttonHeight * toolbar.rows;
      band.fMask = RBBIM_CHILDSIZE;
      band.cyMinChild = static_cast<UINT>(buttonHeight * rows + extra);
      SendMessageA(rebar, RB_SETBANDINFOA, i, reinterpret_cast<LPARAM>(&band));
      break;
    }
    toolbar.rows = rows;
  }
}

}  // namespace

int LoadRebarLayout(intptr_t rebar, const std::string& path) {
  if (!IsValidLayoutFileName(path)) return 0;
  Rebar* record = FindRebar(rebar);
  if (!record || !IsRebarWindow(record->window)) return 0;
  // The whole file is read and parsed before anything changes.
  std::string text;
  std::vector<LayoutBand> bands;
  if (!ReadWholeFile(path, 1 << 20, &text) || !ParseRebarLayout(text, &bands)) return 0;

  HWND window = record->window;
  const int count = static_cast<int>(SendMessageA(window, RB_GETBANDCOUNT, 0, 0));
  int position = 0;
  for (const LayoutBand& saved : bands) {
    if (position >= count) break;
    const int index = static_cast<int>(SendMessageA(window, RB_IDTOINDEX, static_cast<WPARAM>(saved.id), 0));
    // A band that no longer exists takes no place: the bands after it stay in order.
    if (index == -1) continue;
    if (index != position) SendMessageA(window, RB_MOVEBAND, index, position);
    REBARBANDINFOA band = {};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_STYLE | RBBIM_SIZE;
    band.cx = static_cast<UINT>(saved.cx);
    band.fStyle = saved.style;
    SendMessageA(window, RB_SETBANDINFOA, position, reinterpret_cast<LPARAM>(&band));
    // A band the file hides is hidden as ShowRebarBand hides it.
    REBARBANDINFOA moved;
    if (ReadRebarBand(window, position, RBBIM_LPARAM, &moved)) {
      if (RebarBand* bandRecord = BandRecordOf(moved.lParam)) bandRecord->visible = !(saved.style & RBBS_HIDDEN);
    }
    ++position;
  }
  RefitToolbarRows(window);
  AnnounceRebarHeight(record);
  return 1;
}

}  // namespace tovrel
