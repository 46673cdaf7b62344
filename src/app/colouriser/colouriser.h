// Control colouriser: own text and background colours for single standard controls.
//
// One ColourRecord per coloured runtime control. The controls' parent windows are
// subclassed with ColouriserParentProc, which answers the colour and custom-draw messages
// of recorded controls from their records; combo boxes and list views with alternating
// colours are subclassed themselves as well.
//
// Colours are 0x00BBGGRR values or one of the sentinels below. Everything here belongs
// to the GUI thread; the lists have no lock.
#ifndef ZK_APP_COLOURISER_COLOURISER_H
#define ZK_APP_COLOURISER_COLOURISER_H

#include <windows.h>
#include <commctrl.h>

#include <stdint.h>
#include <string>

// For a control already recorded the colour stays as it is; for a new record the default
// of the control's kind is used.
constexpr int32_t kColourNone = -0xFFFFFF;
// As a background: the control is drawn on a null brush with its visual style off.
constexpr int32_t kColourTransparent = -0x1000000;
// The system default of the control's kind.
constexpr int32_t kColourDefault = -1;

// Modes of SetControlColours; a record's mode bits are the union of those set so far.
constexpr int kColourModeOwn = 1;            // the control's own text and background
constexpr int kColourModeAlternateRows = 2;  // list views (tree views: level 1)
constexpr int kColourModeAbove = 4;          // list views: numeric cells above a threshold (trees: level 2)
constexpr int kColourModeBelow = 8;          // list views: numeric cells below a threshold (trees: level 3)
constexpr int kColourModeSelection = 16;     // list and tree views: selection colours
constexpr int kColourModeSurfacePixel = 32;  // background from a pixel of a drawing surface (HDC)
constexpr int kColourModeAlternateColumns = 64;
constexpr int kColourModePattern = 128;  // background from a pattern bitmap (HBITMAP)

// Kinds, from the control's window class.
enum ColourKind {
  kColourKindOther = 0,
  kColourKindButton = 1,
  kColourKindEdit = 2,
  kColourKindListBox = 3,
  kColourKindComboBox = 4,
  kColourKindListView = 5,
  kColourKindContainer = 6,
  kColourKindScrollArea = 7,
  kColourKindTreeView = 8,
  kColourKindProgress = 9,
  kColourKindRichEdit = 10,
  kColourKindTab = 11,
};

// Three 32-bit values whose meaning depends on the kind (see ColourRecord).
struct ColourGroup {
  int32_t a = 0;
  int32_t b = 0;
  int32_t c = 0;
};

struct ColourRecord {
  int control = 0;
  HWND window = nullptr;  // for a scroll area its first child window
  int kind = 0;
  // Base group. The brush answers the colour messages; `skip` (tree views with a
  // transparent level background) makes those answers empty.
  int32_t text = 0;
  int32_t background = 0;
  int skip = 0;
  HBRUSH brush = nullptr;
  // List views: group 1 B/C = even/odd background; groups 2 and 3 = text colour A,
  // background B and threshold C (a float's bits) for numeric cells above / below it.
  // Tree views: group n = text A, background B and set-flag C of tree level n.
  ColourGroup group1;
  ColourGroup group2;
  ColourGroup group3;
  int32_t selectionText = 0;
  int32_t selectionBackground = 0;
  int selectionEnabled = 0;
  int modeBits = 0;
  HWND topWindow = nullptr;  // first ancestor that is a runtime window (else the top of the chain)
  // The class background brush that this record's brush replaced (containers, scroll
  // areas, tab controls), put back before the record's brush is deleted.
  HBRUSH replacedClassBrush = nullptr;
  bool classBrushReplaced = false;
};

void InitControlColouriser();
void InitControlColouriserStandalone();
void EndControlColouriser();

// Creates or updates the record of runtime control `control`. `extra` is, by mode, a
// second colour (2, 64), the address of three 32-bit values (4, 8), a device context
// (32) or a bitmap (128). Returns the record's mode bits; 0 when the control does not
// exist.
int SetControlColours(int control, int32_t text, int32_t background, intptr_t extra, int mode);
void ReleaseControlColours();
void ForgetColouredControl(int control);
void RemoveControlColourRecord(int control);

std::string GetControlClassName(HWND window);
int GetControlKind(const std::string& className);
// Whether a window of this class is one of the runtime's windows, where the walk up from
// a coloured control ends.
bool IsRuntimeWindowClass(const std::string& className);
// which: 0 text, 1 background, 2 a new solid brush of the background (owned by the caller).
intptr_t GetDefaultKindColour(int32_t colour, int which, const std::string& className);
// Fills the defaults into a record that has not had its own colours set (mode 1).
void FillDefaultColours(ColourRecord* record, const std::string& className);
int AreThemesActive();
void DisableControlTheme(int control);
// The colouriser's subclasses go through comctl32's chain, under this id.
constexpr UINT_PTR kColouriserSubclass = 1;
void SubclassColouredParent(HWND window, SUBCLASSPROC procedure);
void SubclassColouredControl(int control, SUBCLASSPROC procedure, int useParent);
int IsNumericText(const std::string& text);

LRESULT CALLBACK ColouriserParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR data);
LRESULT CALLBACK ColouriserChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR data);
LRESULT CALLBACK ColouriserControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data);

// The record of a control, or nullptr; valid until the next call that changes records.
const ColourRecord* FindColourRecord(int control);

#endif
