// The language window: shown first by a setup with several languages; the chosen
// language's file becomes the wizard's texts.
#ifndef ZK_SETUPRUNTIME_LANGUAGE_WINDOW_H
#define ZK_SETUPRUNTIME_LANGUAGE_WINDOW_H

#include <windows.h>

#include <string>

// Control numbers of the language window.
constexpr int kLanguageList = 0x46;
constexpr int kLanguageOk = 0x48;
constexpr int kLanguageCancel = 0x4A;

// The window's own texts: the language file is not chosen yet, so they come in the
// user's language from a built-in table.
struct LanguageWindowTexts {
  std::wstring title, prompt, ok, cancel, abortQuestion, loadError;
};

// The texts for a primary language id (the low 10 bits of a language id).
LanguageWindowTexts LanguageWindowTextsFor(WORD primaryLanguage);

void OpenLanguageWindow();
// Handles a control event of window 1.
void HandleLanguageWindowEvent(int control);

#endif
