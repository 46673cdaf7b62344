// Painting benchmark: the toolkit's painters against the plain GDI call a programmer would
// write instead, each pair timed in the same run, alternately, on the same 32-bit DIB, so
// that both meet the same machine state. Each sample times a batch of calls; the median
// time per call of each side counts.
//
// A row is one measurement: what the toolkit does, its baseline, and a goal for the
// ratio (0: shown for comparison only).
//
//   zk_bench_paint.exe [SAMPLES]     (default 21)
//
// Prints one line per row, "row NAME case_ns=N baseline_ns=N ratio=R goal=G verdict",
// and exits 1 when a goal was missed.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <vector>

#include "bench_timing.h"
#include "common/image_pixels.h"
#include "common/images.h"
#include "tovrel/foundation/blit_cache.h"
#include "tovrel/foundation/colour_tables.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/image_recolour.h"
#include "tovrel/foundation/style_backgrounds.h"
#include "tovrel/foundation/styled_text.h"
#include "tovrel/foundation/ui_styles.h"

namespace {

const int kTargetWidth = 400, kTargetHeight = 100;

// A 32-bit top-down DIB in a memory DC, as the toolkit's paint buffers are.
struct Surface {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;

  Surface(int width, int height) {
    dc = CreateCompatibleDC(nullptr);
    uint32_t* bits = nullptr;
    bitmap = CreatePixelBitmap(width, height, &bits);
    old = SelectObject(dc, bitmap);
  }
  ~Surface() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
};

// Tool-bar and menu icons, half of them 16 and half 32 pixels: 32-bit colour with a soft
// alpha edge and a transparent corner, as the toolkit's images come. Made once, outside
// the timed calls.
struct IconSet {
  static const int kCount = 200;
  HICON icons[kCount] = {};
  HBITMAP masks[kCount] = {};

  IconSet() {
    for (int i = 0; i < kCount; ++i) {
      int size = i % 2 ? 32 : 16;
      Surface colour(size, size);
      BITMAP measured;
      GetObjectA(colour.bitmap, sizeof(measured), &measured);
      uint32_t* bits = static_cast<uint32_t*>(measured.bmBits);
      for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
          uint32_t alpha = x + y < size / 4 ? 0 : (x == 0 || y == 0 ? 0x80 : 0xFF);
          bits[y * size + x] = alpha << 24 | ((x * 255 / size + i) & 0xFF) << 16 | (y * 255 / size) << 8 | (i & 0xFF);
        }
      }
      std::vector<uint8_t> maskBits(static_cast<size_t>((size + 15) / 16 * 2) * size, 0);
      masks[i] = CreateBitmap(size, size, 1, 1, maskBits.data());
      SelectObject(colour.dc, colour.old);
      ICONINFO info = {TRUE, 0, 0, masks[i], colour.bitmap};
      icons[i] = CreateIconIndirect(&info);
      colour.old = SelectObject(colour.dc, colour.bitmap);
    }
  }
  ~IconSet() {
    for (int i = 0; i < kCount; ++i) {
      DestroyIcon(icons[i]);
      DeleteObject(masks[i]);
    }
  }
};

// What every row draws into and copies from.
struct Bench {
  Surface target{kTargetWidth, kTargetHeight};
  Surface prepared{kTargetWidth, kTargetHeight};
  IconSet icons;
  Surface disabled16{16, 16};
  Surface disabled32{32, 32};
};

using Step = void (*)(Bench& bench, int call);

struct Row {
  const char* name;
  Step run;
  Step baseline;
  int callsPerSample;
  double goal;  // highest acceptable ratio; 0 = no goal
};

void Blit(Bench& bench, int width, int height) {
  BitBlt(bench.target.dc, 0, 0, width, height, bench.prepared.dc, 0, 0, SRCCOPY);
}

void MenuHighlight(Bench& bench, int) {
  RECT rect = {0, 0, 200, 22};
  tovrel::PaintStyleBackground(bench.target.dc, tovrel::UISTYLE_OFFICE2007, 6, &rect, 0x1000);
}
void BlitMenuHighlight(Bench& bench, int) { Blit(bench, 200, 22); }

// The tool-bar background of a caller that alternates between two widths.
int AlternatingWidth(int call) { return call % 2 ? 180 : 200; }
void ToolbarBackground(Bench& bench, int call) {
  RECT rect = {0, 0, AlternatingWidth(call), 26};
  tovrel::PaintStyleBackground(bench.target.dc, tovrel::UISTYLE_OFFICE2007, 33, &rect, 0x11000);
}
void BlitToolbarBackground(Bench& bench, int call) { Blit(bench, AlternatingWidth(call), 26); }

// Every call builds the cache again, as after each colour change.
void RebuiltMenuHighlight(Bench& bench, int call) {
  tovrel::FreeBlitCaches();
  MenuHighlight(bench, call);
}

// The same vertical gradient drawn by GDI on every call, without a cache.
void GradientFillHighlight(Bench& bench, int) {
  TRIVERTEX vertices[2] = {{0, 0, 0xFF00, 0xF500, 0xCC00, 0}, {200, 22, 0xFF00, 0xD900, 0x9200, 0}};
  GRADIENT_RECT rect = {0, 1};
  GradientFill(bench.target.dc, vertices, 2, &rect, 1, GRADIENT_FILL_RECT_V);
}

// A PanelEx paint buffer: a runtime image the toolkit knows as a PanelEx's buffer, so that
// every styled text drawn into it also gets its alpha repaired.
struct PanelBuffer {
  int image = 0;
  HDC dc = nullptr;
  HFONT font = nullptr;
};
PanelBuffer gPanel;

void MakePanelBuffer() {
  gPanel.image = static_cast<int>(CreateRuntimeImage(-1, kTargetWidth, kTargetHeight, RGB(255, 255, 255)));
  gPanel.dc = StartRuntimeImageDrawing(gPanel.image);
  gPanel.font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                            DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Tahoma");
  tovrel::PanelExList.Add().bufferImage = gPanel.image;
  tovrel::PanelExPageList.Add();
}

const char kStyledSample[] = "Open the \\bproject\\b file, then \\cC00000build\\n it";
const char kPlainSample[] = "Open the project file, then build it";

void StyledTextOnPanel(Bench&, int) {
  RECT rect = {4, 4, 300, 24};
  tovrel::DrawStyledText(gPanel.dc, kStyledSample, &rect, gPanel.font, 1);
}
void PlainTextOnPanel(Bench&, int) {
  RECT rect = {4, 4, 300, 24};
  tovrel::DrawStyledText(gPanel.dc, kPlainSample, &rect, gPanel.font, 1);
}
void DrawTextOnPanel(Bench&, int) {
  RECT rect = {4, 4, 300, 24};
  HGDIOBJ old = SelectObject(gPanel.dc, gPanel.font);
  DrawTextA(gPanel.dc, kPlainSample, -1, &rect, DT_SINGLELINE | DT_NOCLIP | DT_EXPANDTABS);
  SelectObject(gPanel.dc, old);
}

// The disabled image of a tool-bar button in the OFFICE2007 style, made and thrown away.
void RecolourIcon(Bench& bench, int call) {
  HICON made = tovrel::RecolourImageForStyle(bench.icons.icons[call % IconSet::kCount], tovrel::UISTYLE_OFFICE2007);
  DestroyIcon(made);
}

// What a programmer would write instead: the system's disabled drawing of the same icon
// into a 32-bit DIB, and an icon made of that.
void DrawStateIcon(Bench& bench, int call) {
  int index = call % IconSet::kCount;
  Surface& surface = index % 2 ? bench.disabled32 : bench.disabled16;
  int size = index % 2 ? 32 : 16;
  PatBlt(surface.dc, 0, 0, size, size, BLACKNESS);
  DrawStateA(surface.dc, nullptr, nullptr, reinterpret_cast<LPARAM>(bench.icons.icons[index]), 0, 0, 0, size, size,
             DST_ICON | DSS_DISABLED);
  // A bitmap is given to CreateIconIndirect unselected.
  SelectObject(surface.dc, surface.old);
  ICONINFO info = {TRUE, 0, 0, bench.icons.masks[index], surface.bitmap};
  HICON made = CreateIconIndirect(&info);
  surface.old = SelectObject(surface.dc, surface.bitmap);
  DestroyIcon(made);
}

const Row kRows[] = {
    {"background 6, 200x22, 0x1000", MenuHighlight, BlitMenuHighlight, 2000, 1.5},
    {"background 33, 200/180x26, 0x11000", ToolbarBackground, BlitToolbarBackground, 2000, 1.5},
    {"background 6 rebuilt every call", RebuiltMenuHighlight, BlitMenuHighlight, 50, 0},
    {"GradientFill 200x22 every call", GradientFillHighlight, BlitMenuHighlight, 500, 0},
    {"plain text on a PanelEx buffer", PlainTextOnPanel, DrawTextOnPanel, 200, 3.0},
    {"styled text on a PanelEx buffer", StyledTextOnPanel, DrawTextOnPanel, 200, 3.0},
    {"RecolourImageForStyle 16/32 px, 2007", RecolourIcon, DrawStateIcon, IconSet::kCount, 3.0},
};

// Time per call of one batch.
double TimeBatch(Bench& bench, Step step, int calls) {
  double start = NowNs();
  for (int call = 0; call < calls; ++call) step(bench, call);
  GdiFlush();
  return (NowNs() - start) / calls;
}

}  // namespace

int main(int argc, char** argv) {
  const int samples = argc > 1 ? std::max(1, atoi(argv[1])) : 21;
  tovrel::InitColourTables();
  MakePanelBuffer();
  Bench bench;
  // The baseline copies a real background, not an empty bitmap.
  RECT whole = {0, 0, kTargetWidth, kTargetHeight};
  tovrel::PaintStyleBackground(bench.prepared.dc, tovrel::UISTYLE_OFFICE2007, 33, &whole, 0x1100);

  bool allMet = true;
  for (const Row& row : kRows) {
    // One unmeasured batch each: the first calls build caches and start libraries.
    TimeBatch(bench, row.run, row.callsPerSample);
    TimeBatch(bench, row.baseline, row.callsPerSample);
    std::vector<double> runs, baselines;
    for (int sample = 0; sample < samples; ++sample) {
      // Alternate which side goes first, so neither always follows the other.
      if (sample % 2) runs.push_back(TimeBatch(bench, row.run, row.callsPerSample));
      baselines.push_back(TimeBatch(bench, row.baseline, row.callsPerSample));
      if (!(sample % 2)) runs.push_back(TimeBatch(bench, row.run, row.callsPerSample));
    }
    const double run = Median(runs), baseline = Median(baselines);
    const double ratio = run / baseline;
    const bool met = row.goal == 0 || ratio <= row.goal;
    allMet = allMet && met;
    printf("row %-38s case_ns=%.0f baseline_ns=%.0f ratio=%.2f goal=%.2f %s\n", row.name, run, baseline, ratio,
           row.goal,
           row.goal == 0 ? "shown"
           : met         ? "met"
                         : "MISSED");
  }
  return allMet ? 0 : 1;
}
