#include "updateclient/texts.h"

namespace {

const wchar_t* const kEnglish[kClientTextCount] = {
    L"Connection to the update server has been successfully established.",
    L"Connection to the update server could not be established.",
    L"A new version is available:",
    L"There is no new version available.",
    L"Update data has been received.",
    L"Update data could not be received.",
    L"The total update download size is <ParamA>. Click Next in order to continue.",
    L"Downloading <ParamA>...",
    L"Download speed:",
    L"The update progress is being canceled...",
    L"Finish",
    L"The update progress has been canceled. Please click Finish in order to exit the update wizard.",
    L"<ParamA> could not be updated successfully. Please click Finish in order to exit the update wizard and contact "
    L"the technical support.",
    L"Next >",
    L"Cancel",
    L"Please wait while the update wizard is searching for available updates.",
    L"Connecting to update server...",
    L"Searching for available updates...",
    L"Retrieving update data...",
    L"Searching for updates",
    L"Please wait while the wizard is downloading all available updates.",
    L"Total progress:",
    L"Updates are being downloaded",
    L"All updates have been successfully downloaded. Please click Finish in order to close the update wizard.",
    L"Completing the update wizard",
    L"Are you sure you want to exit the update wizard?",
};

const wchar_t* const kGerman[kClientTextCount] = {
    L"Verbindung zum Update-Server wurde erfolgreich hergestellt.",
    L"Verbindung zum Update-Server konnte nicht hergestellt werden.",
    L"Eine neue Version ist verf\u00fcgbar:",
    L"Es ist keine neue Version verf\u00fcgbar.",
    L"Update-Informationen wurden empfangen.",
    L"Update-Informationen konnten nicht empfangen werden.",
    L"Die Gr\u00f6\u00dfe der Updates betr\u00e4gt <ParamA>. Klicken Sie auf Weiter, um fortzufahren.",
    L"<ParamA> wird heruntergeladen...",
    L"Geschwindigkeit:",
    L"Der Update-Vorgang wird in K\u00fcrze abgebrochen.",
    L"Fertigstellen",
    L"Der Update-Vorgang wurde abgebrochen. Bitte klicken Sie auf Fertigstellen, um den Update-Assistenten zu "
    L"beenden.",
    L"<ParamA> konnte nicht erfolgreich aktualisiert werden. Bitte klicken Sie auf Fertigstellen, um den "
    L"Update-Assistenten zu beenden, und kontaktieren Sie anschlie\u00dfend den technischen Support.",
    L"Weiter >",
    L"Abbrechen",
    L"Bitte warten Sie, w\u00e4hrend der Assistent nach verf\u00fcgbaren Updates sucht.",
    L"Verbindung zum Update-Server wird aufgebaut...",
    L"Es wird nach einer neuen Version gesucht...",
    L"Update-Informationen werden empfangen...",
    L"Es wird nach verf\u00fcgbaren Updates gesucht",
    L"Bitte warten Sie, w\u00e4hrend alle verf\u00fcgbaren Updates heruntergeladen werden.",
    L"Gesamtfortschritt:",
    L"Updates werden heruntergeladen",
    L"Alle Updates wurden erfolgreich heruntergeladen. Bitte klicken Sie auf Fertigstellen, um den "
    L"Update-Assistenten zu beenden.",
    L"Fertigstellen des Update-Assistenten",
    L"Sind Sie sicher, dass Sie den Update-Vorgang abbrechen m\u00f6chten?",
};

}  // namespace

std::wstring ClientTextOf(int language, int number) {
  if (number < 0 || number >= kClientTextCount) return std::wstring();
  if (language == 0) return kEnglish[number];
  if (language == 1) return kGerman[number];
  return std::wstring();
}

std::wstring WithParamA(const std::wstring& text, const std::wstring& value) {
  static const std::wstring kParam = L"<ParamA>";
  std::wstring out;
  size_t from = 0;
  for (size_t at; (at = text.find(kParam, from)) != std::wstring::npos; from = at + kParam.size()) {
    out.append(text, from, at - from);
    out += value;
  }
  out.append(text, from, std::wstring::npos);
  return out;
}
