// The wizard preview (1): the first page of the setup's wizard with the chosen wizard
// image and the texts' placeholders.
#include <windows.h>

#include <string>

#include "app/controls.h"
#include "app/windows/container.h"
#include "app/windows/secondary_windows.h"
#include "app/windows/window_images.h"
#include "common/fonts.h"
#include "common/gui.h"
#include "common/images.h"

using namespace ctl;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kImageWidth = 164;
constexpr int kImageHeight = 314;

// The picture and title font of the preview on screen; they must outlive its window.
int PreviewImage = 0;
int PreviewFont = 0;

void FreePreviewResources() {
  if (PreviewImage) FreeRuntimeImage(PreviewImage);
  if (PreviewFont) FreeRuntimeFont(PreviewFont);
  PreviewImage = 0;
  PreviewFont = 0;
}

// The wizard image at the wizard's size; 0 when the file cannot be loaded.
int LoadWizardImage(const std::string& field) {
  int image = field == "<main>" ? LoadBuiltinWizardImage() : static_cast<int>(LoadRuntimeImage(kAnyNumber, field));
  if (image) ResizeRuntimeImage(image, kImageWidth, kImageHeight);
  return image;
}

// Makes `upper` and `lower` paint only where the other does not cover them, with `upper`
// above `lower`.
void KeepOnTop(int upper, int lower) {
  for (int control : {upper, lower}) {
    HWND w = ControlHandle(control);
    if (w) SetWindowLongPtrW(w, GWL_STYLE, GetWindowLongPtrW(w, GWL_STYLE) | WS_CLIPSIBLINGS);
  }
  SetWindowPos(ControlHandle(upper), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

void OpenWizardPreview() {
  const std::string field = GetControlText(kWizardImage);
  const bool showLabel = GetControlState(kShowLabel) == 1;
  // The old window goes before its picture and font are freed.
  CloseRuntimeWindow(kWizardPreviewWindow);
  FreePreviewResources();

  if (!OpenRuntimeWindow(
          kWizardPreviewWindow, 0, 0, 497, 362, "View",
          kWindowSystemMenu | kWindowMinimizeBox | kWindowTitleBar | kWindowScreenCentered | kWindowInvisible))
    return;
  HWND area = CreateContainer(WindowHandle(kWizardPreviewWindow), kPreviewWizardArea, 0, 0, 497, 313);

  PreviewImage = LoadWizardImage(field);
  CreateImageControl(kPreviewPicture, 0, 0, kImageWidth, kImageHeight,
                     PreviewImage ? RuntimeImageHandle(PreviewImage) : nullptr);
  MoveIntoContainer(kPreviewPicture, area);

  HWND text = CreateContainer(area, kPreviewTextArea, 165, 0, 335, 315);
  SetContainerBackground(text, kWhite);
  PreviewFont = static_cast<int>(LoadRuntimeFont(kAnyNumber, "Verdana", 12, kFontBold));
  CreateLabel(kPreviewTitle, 14, 14, 305, 70, "$Title$");
  SetControlFont(kPreviewTitle, RuntimeFontHandle(PreviewFont));
  SetControlBackColour(kPreviewTitle, kWhite);
  MoveIntoContainer(kPreviewTitle, text);
  CreateLabel(kPreviewStartText, 14, 79, 305, 205, "$StartText$");
  SetControlBackColour(kPreviewStartText, kWhite);
  MoveIntoContainer(kPreviewStartText, text);
  // The title's box reaches 5 pixels into the start text's; the text stays on top there
  // instead of being painted over by the title's empty lower edge.
  KeepOnTop(kPreviewStartText, kPreviewTitle);

  if (showLabel) CreateImageControl(kPreviewLabelStrip, 0, 313, 497, 2, LabelStripPicture());
  // The preview shows the page; its Back and Next lead nowhere.
  CreateButton(kPreviewBack, 253, 327, 75, 23, "< Back");
  HideControl(kPreviewBack, true);
  DisableControl(kPreviewBack, true);
  CreateButton(kPreviewNext, 330, 327, 75, 23, "Next >");
  DisableControl(kPreviewNext, true);
  CreateButton(kPreviewCancel, 410, 327, 75, 23, "Cancel");
  ShowRuntimeWindow(kWizardPreviewWindow, true);
}
