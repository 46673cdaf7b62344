// Placeholder until the installation is written: goes straight to the finish page.
#include "setupruntime/install.h"

int RunInstall(const InstallInputs&, InstallUi& ui) {
  ui.ShowFinishPage();
  return 1;
}
