#include "tovrel/frame/rebar_snapshot.h"

#include "tovrel/frame/rebar.h"

namespace tovrel {

std::vector<RebarBandSnapshot> ReadBandInformation(HWND rebar) {
  std::vector<RebarBandSnapshot> bands;
  const int count = static_cast<int>(SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    RebarBandSnapshot band = {};
    if (!ReadRebarBand(rebar, i, RBBIM_STYLE | RBBIM_CHILDSIZE | RBBIM_ID | RBBIM_LPARAM, &band.info)) break;
    band.record = BandRecordOf(band.info.lParam);
    bands.push_back(band);
  }
  return bands;
}

void AddBandGeometry(HWND rebar, std::vector<RebarBandSnapshot>& bands) {
  for (size_t i = 0; i < bands.size(); ++i) {
    SendMessageA(rebar, RB_GETRECT, i, reinterpret_cast<LPARAM>(&bands[i].rect));
    RECT borders = {};
    SendMessageA(rebar, RB_GETBANDBORDERS, i, reinterpret_cast<LPARAM>(&borders));
    bands[i].borders = borders.top + borders.bottom;
  }
}

std::vector<RebarBandSnapshot> SnapshotRebarBands(HWND rebar) {
  std::vector<RebarBandSnapshot> bands = ReadBandInformation(rebar);
  AddBandGeometry(rebar, bands);
  return bands;
}

std::vector<BandRowEntry> BandRows(const std::vector<RebarBandSnapshot>& bands) {
  std::vector<BandRowEntry> rows;
  for (const RebarBandSnapshot& band : bands) {
    BandRowEntry entry = {};
    entry.id = static_cast<int32_t>(band.info.wID);
    entry.visible = (!band.record || band.record->visible) && !(band.info.fStyle & RBBS_HIDDEN);
    // RB_GETROWHEIGHT is not used: Wine reads its argument as a row number, Windows as a
    // band index. The bands' rectangles give the rows on both.
    entry.top = band.rect.top;
    entry.height = band.rect.bottom - band.rect.top;
    entry.borders = band.borders;
    rows.push_back(entry);
  }
  return rows;
}

}  // namespace tovrel
