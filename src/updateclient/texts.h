// The client's 26 interface texts in English (language 0) and German (language 1); any
// other language gives empty texts. "<ParamA>" stands for the value named where a text is
// used.
#ifndef ZK_UPDATECLIENT_TEXTS_H
#define ZK_UPDATECLIENT_TEXTS_H

#include <string>

enum ClientText {
  kTextConnected = 0,
  kTextNotConnected = 1,
  kTextNewVersion = 2,
  kTextNoNewVersion = 3,
  kTextDataReceived = 4,
  kTextDataNotReceived = 5,
  kTextTotalSize = 6,
  kTextDownloading = 7,
  kTextSpeed = 8,
  kTextCancelling = 9,
  kTextFinish = 10,
  kTextCancelled = 11,
  kTextFailed = 12,
  kTextNext = 13,
  kTextCancel = 14,
  kTextSearchIntro = 15,
  kTextConnecting = 16,
  kTextSearching = 17,
  kTextRetrieving = 18,
  kTextSearchTitle = 19,
  kTextDownloadIntro = 20,
  kTextTotalProgress = 21,
  kTextDownloadTitle = 22,
  kTextAllDownloaded = 23,
  kTextFinishTitle = 24,
  kTextExitQuestion = 25,
  kClientTextCount = 26
};

std::wstring ClientTextOf(int language, int number);

// `text` with every "<ParamA>" (exact letter case) replaced by `value`.
std::wstring WithParamA(const std::wstring& text, const std::wstring& value);

#endif
