#include "setupruntime/language_window.h"

#include "common/failure_log.h"
#include "common/gui.h"
#include "common/images.h"
#include "setupruntime/payload.h"
#include "setupruntime/resources.h"
#include "setupruntime/runtime_state.h"
#include "setupruntime/wizard.h"

LanguageWindowTexts LanguageWindowTextsFor(WORD primaryLanguage) {
  switch (primaryLanguage) {
    case 0x1F:
      return {
          L"Dil se\u00e7imi", L"L\u00fctfen kurulum i\u00e7in bir dil se\u00e7iniz.", L"Tamam",
          L"Iptal",           L"Y\u00fcklemeyi iptal etmek istiyor musunuz?",         L"Dil dosyasi y\u00fcklenemedi!"};
    case 0x07:
      return {L"Sprachenauswahl",
              L"Bitte w\u00e4hlen Sie eine Sprache aus, die f\u00fcr den Installationsvorgang benutzt werden soll.",
              L"OK",
              L"Abbrechen",
              L"M\u00f6chten Sie das Setup abbrechen?",
              L"Die Sprachdatei konnte nicht geladen werden!"};
    case 0x0C:
      return {L"Choix de la langue",
              L"Choisissez la langue pour la proc\u00e9dure d'installation",
              L"OK",
              L"Annuler",
              L"Voulez vous Annuler l'installation?",
              L"Impossible de charger le fichier de langue."};
    case 0x0A:
      return {L"Selecci\u00f3n del idioma",
              L"Por favor, selecciona un idioma para la instalaci\u00f3n.",
              L"OK",
              L"Cancelar",
              L"\u00bfDesea cancelar la instalaci\u00f3n?",
              L"No se pudo cargar el fichero de idioma."};
    default:
      return {L"Language selection",
              L"Please select a language for the installation process.",
              L"OK",
              L"Cancel",
              L"Do you want to abort the installation?",
              L"Could not load the language file!"};
  }
}

namespace {

LanguageWindowTexts UserTexts() { return LanguageWindowTextsFor(PRIMARYLANGID(GetUserDefaultLangID())); }

}  // namespace

void OpenLanguageWindow() {
  LanguageWindowTexts t = UserTexts();
  // A title bar without a system menu: the window cannot be closed but by its buttons.
  if (!OpenRuntimeWindowW(kLanguageWindow, 0, 0, 301, 128, t.title,
                          kWindowTitleBar | kWindowScreenCentered | kWindowInvisible))
    ExitSetup(1);
  CreateImageControl(kAnyNumber, 5, 10, 32, 32, RuntimeImageHandle(kImageIcon));
  // The German prompt takes three lines; the list below starts at 55, so they fit.
  CreateLabelW(kAnyNumber, 55, 10, 240, 44, t.prompt);
  CreateCombo(kLanguageList, 55, 55, 235, 20);
  for (const std::wstring& name : ReadLanguageNames(Runtime().workFolder)) AddControlItemW(kLanguageList, -1, name);
  SetControlState(kLanguageList, 0);
  CreateButtonW(kLanguageOk, 130, 95, 75, 25, t.ok, kButtonDefault);
  CreateButtonW(kLanguageCancel, 215, 95, 75, 25, t.cancel);
  ShowRuntimeWindow(kLanguageWindow, true);
}

void HandleLanguageWindowEvent(int control) {
  RuntimeState& r = Runtime();
  if (control == kLanguageOk) {
    int index = GetControlState(kLanguageList);
    std::wstring name;
    if (index >= 0) {
      HWND list = ControlHandle(kLanguageList);
      LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
      if (length > 0) {
        name.resize(static_cast<size_t>(length) + 1);
        SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&name[0]));
        name.resize(static_cast<size_t>(length));
      }
    }
    // The name comes from the setup's own list; it still may not reach outside the work folder.
    if (!IsSafeCabinetName(name + L".zkl") ||
        !ReadLanguageFile(r.workFolder + name + L".zkl", r.config.appName, r.config.version, &r.texts)) {
      std::wstring file = r.workFolder + name + L".zkl";
      ReportFailure({"read the chosen language file", file.c_str()});
      SetupMessage(L"Error", UserTexts().loadError, MB_OK | MB_ICONSTOP);
      return;
    }
    r.languageName = name;
    ShowRuntimeWindow(kLanguageWindow, false);
    r.page = 0;
    CreateWizardWindow();
  } else if (control == kLanguageCancel) {
    if (SetupMessage(L"Setup", UserTexts().abortQuestion, MB_OKCANCEL | MB_ICONQUESTION) == IDOK) ExitSetup(0);
  }
}
