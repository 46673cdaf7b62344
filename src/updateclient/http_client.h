// The client's HTTP requests, through WinINet (agent "Update", the system's proxy
// settings, nothing read from or written to the cache).
#ifndef ZK_UPDATECLIENT_HTTP_CLIENT_H
#define ZK_UPDATECLIENT_HTTP_CLIENT_H

#include <stdint.h>

#include <string>

// The answer to a request, as far as the status line goes.
struct HttpStatus {
  bool received = false;  // a status line came back
  int code = 0;           // its status code; 0 when none could be read
};

HttpStatus QueryHttpStatus(const std::string& url);

// Whether a probed address counts as present: a status line was received and its code is
// neither 404 nor 5xx, nor 401 when `updatesFolder` (the "Updates/" address).
bool ServerAnswerCounts(const HttpStatus& status, bool updatesFolder);

// A 2xx answer: only then are a script or a file taken from the body.
bool IsSuccessStatus(const HttpStatus& status);

// The Content-Length of a 2xx answer; -1 when it is missing, unreadable, 0 (counted as
// unknown), the answer is not 2xx or the request failed.
int64_t GetDownloadSize(const std::string& url);

// What a download reports after every block it writes. `fileSize` is -1 when unknown.
struct DownloadProgress {
  std::string fileName;  // ANSI, the name shown in the progress line
  int64_t fileDone = 0;
  int64_t fileSize = -1;
  int64_t blockBytes = 0;      // bytes of the block just written
  int64_t bytesPerSecond = 0;  // the last measured speed; 0 before the first measurement
};

class DownloadObserver {
 public:
  virtual ~DownloadObserver() = default;
  // After every block; false stops the download (the target stays as it was).
  virtual bool OnProgress(const DownloadProgress& progress) = 0;
  // Once, when the download failed (request, answer, file, short body or network error).
  // Not called when OnProgress stopped it.
  virtual void OnError(const DownloadProgress& progress) = 0;
};

// Downloads `url` into `destination` through a temporary file in the same folder that
// replaces the destination only when the body is complete (the Content-Length, when
// given, reached) and the answer was 2xx. A failure or a stop leaves the destination as it
// was and no temporary file. `observer` may be null.
bool DownloadWithProgress(const std::string& url, const std::wstring& destination, const std::string& fileName,
                          DownloadObserver* observer);

// Tests only: the time limit of connecting, sending and receiving (0 restores the
// product's half minute), so a test of a silent server need not wait that long.
void SetRequestTimeoutForTest(unsigned long ms);

#endif
