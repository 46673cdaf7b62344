#include "setupruntime/install_ui.h"

#include <windows.h>
#include <commctrl.h>

#include "common/carried.h"
#include "common/gui.h"
#include "common/gui_thread.h"
#include "common/resource_data.h"
#include "common/scoped.h"
#include "setupruntime/install.h"
#include "setupruntime/runtime_state.h"
#include "setupruntime/wizard.h"

namespace {

// Every call comes from the install thread. What changes the wizard is posted to the GUI
// thread, which applies it in order while it takes events; the message boxes are the
// install thread's own and touch no control.
class WizardInstallUi : public InstallUi {
 public:
  void SetStatusText(const std::wstring& text) override {
    PostToGuiThread([text] { SetControlTextW(kStatusText, text); });
  }
  void SetProgressRange(int maximum) override {
    PostToGuiThread([maximum] { SendMessageW(ControlHandle(kProgressBar), PBM_SETRANGE32, 0, maximum); });
  }
  void SetProgressValue(int value) override {
    PostToGuiThread([value] { SetControlState(kProgressBar, value); });
  }
  void ShowError(const std::wstring& title, const std::wstring& text) override {
    SetupMessage(title, text, MB_OK | MB_ICONSTOP);
  }
  int AskExtractFailure(const std::wstring& title, const std::wstring& text) override {
    return SetupMessage(title, text, MB_ABORTRETRYIGNORE | MB_ICONSTOP);
  }
  void ShowInfo(const std::wstring& title, const std::wstring& text) override {
    SetupMessage(title, text, MB_OK | MB_ICONINFORMATION);
  }
  void ShowFinishPage() override {
    PostToGuiThread([] {
      Runtime().page = kPageFinish;
      ShowWizardPage(kPageFinish);
    });
  }
  void EndSetup() override { ExitSetup(0); }
};

InstallInputs g_inputs;
WizardInstallUi g_ui;

DWORD WINAPI InstallThread(LPVOID) {
  RunInstall(g_inputs, g_ui);
  return 0;
}

}  // namespace

void StartInstallThread() {
  const RuntimeState& r = Runtime();
  InstallInputs& in = g_inputs;
  in.config = r.config;
  in.variables = r.variables;
  in.commands = r.commands;
  in.texts = r.texts;
  in.languageName = r.languageName;
  in.workFolder = r.workFolder;
  in.setupPath = r.setupPath;
  in.archive = r.archive;
  in.startMenuRoot = r.startMenuRoot;
  in.desktopFolder = r.desktopFolder;
  in.installFolderField = GetControlTextW(kInstallFolderField);
  in.startMenuField = GetControlTextW(kStartMenuField);
  in.desktopChecked = GetControlState(kDesktopCheckBox) == 1 ? 1 : 0;
  in.startMenuChecked = GetControlState(kStartMenuCheckBox) == 1 ? 1 : 0;
  const void* image = nullptr;
  size_t size = 0;
  if (RcDataResource(nullptr, ZK_RES_UNINSTALLER_IMAGE, &image, &size)) {
    in.uninstallerImage = image;
    in.uninstallerImageSize = size;
  }
  // The thread runs on by itself; its handle is not needed.
  ScopedHandle thread(CreateThread(nullptr, 0, InstallThread, nullptr, 0, nullptr));
}
