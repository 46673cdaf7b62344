#include "updateclient/http_client.h"

#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <vector>

#include "common/failure_log.h"
#include "common/scoped.h"
#include "common/whole_file.h"
#include "updateclient/wininet_library.h"

namespace {

// Long enough for a slow server, short enough that a dead one does not hold the client
// for minutes.
const DWORD kTimeoutMs = 30000;
std::atomic<DWORD> g_timeoutMs{kTimeoutMs};
const DWORD kReadBlock = 64 * 1024;
const ULONGLONG kSpeedIntervalMs = 500;
const int64_t kSlowLineBytesPerSecond = int64_t{kReadBlock} * 1000 / kSpeedIntervalMs;

// Kept from file to file: a file too short to measure shows the last speed measured.
std::atomic<int64_t> g_lastSpeed{0};

struct InternetTraits {
  using Type = HINTERNET;
  static Type Empty() { return nullptr; }
  static bool IsEmpty(Type h) { return h == nullptr; }
  static bool Close(Type h) { return LoadWinInet()->InternetCloseHandle(h) != 0; }
};
using ScopedInternet = Scoped<InternetTraits>;

// One request: the session, the connection to the server and the request on it, closed
// in the reverse order.
struct Request {
  ScopedInternet session;
  ScopedInternet connection;
  ScopedInternet url;
};

// A GET of `url`, sent and its answer's header read. Built from its parts rather than by
// InternetOpenUrlA: the timeouts for sending and receiving must be set on the request
// itself, which InternetOpenUrlA sends before it hands the request back, and a server
// that accepts the connection but never answers would otherwise hold the client forever.
bool OpenRequest(const std::string& url, Request* request) {
  const WinInet* net = LoadWinInet();
  if (!net) return false;
  request->session.reset(net->InternetOpenA("Update", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!request->session) return false;
  DWORD timeout = g_timeoutMs;
  net->InternetSetOptionA(request->session.get(), INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof(timeout));

  // Lengths of 1 with no buffers ask for pointers into `url` itself.
  URL_COMPONENTSA parts = {};
  parts.dwStructSize = sizeof(parts);
  parts.dwHostNameLength = parts.dwUserNameLength = parts.dwPasswordLength = 1;
  parts.dwUrlPathLength = parts.dwExtraInfoLength = 1;
  if (!net->InternetCrackUrlA(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) return false;
  bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  if ((!secure && parts.nScheme != INTERNET_SCHEME_HTTP) || parts.dwHostNameLength == 0) return false;
  std::string host(parts.lpszHostName, parts.dwHostNameLength);
  std::string user(parts.lpszUserName ? parts.lpszUserName : "", parts.lpszUserName ? parts.dwUserNameLength : 0);
  std::string password(parts.lpszPassword ? parts.lpszPassword : "", parts.lpszPassword ? parts.dwPasswordLength : 0);
  std::string object(parts.lpszUrlPath ? parts.lpszUrlPath : "", parts.lpszUrlPath ? parts.dwUrlPathLength : 0);
  if (parts.lpszExtraInfo) object.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (object.empty()) object = "/";

  request->connection.reset(
      net->InternetConnectA(request->session.get(), host.c_str(), parts.nPort, user.empty() ? nullptr : user.c_str(),
                            password.empty() ? nullptr : password.c_str(), INTERNET_SERVICE_HTTP, 0, 0));
  if (!request->connection) return false;
  // A stale copy from the cache would hide a new release, so every answer comes from the
  // server and none is kept.
  DWORD flags = INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_RELOAD;
  if (secure) flags |= INTERNET_FLAG_SECURE;
  request->url.reset(
      net->HttpOpenRequestA(request->connection.get(), "GET", object.c_str(), nullptr, nullptr, nullptr, flags, 0));
  if (!request->url) return false;
  for (DWORD option : {INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
    net->InternetSetOptionA(request->url.get(), option, &timeout, sizeof(timeout));
  return net->HttpSendRequestA(request->url.get(), nullptr, 0, nullptr, 0) != 0;
}

// The header's text; "" when the answer has none. The buffer grows to what the header needs.
std::string QueryHeader(HINTERNET url, DWORD what) {
  const WinInet* net = LoadWinInet();
  std::vector<char> buffer(1024);
  for (;;) {
    DWORD size = static_cast<DWORD>(buffer.size());
    if (net->HttpQueryInfoA(url, what, buffer.data(), &size, nullptr)) return std::string(buffer.data(), size);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= buffer.size()) return "";
    buffer.resize(size + 1);
  }
}

// The status line is "HTTP/<version> <code> <reason>"; anything else is no answer.
HttpStatus StatusOf(HINTERNET url) {
  HttpStatus status;
  std::string headers = QueryHeader(url, HTTP_QUERY_RAW_HEADERS_CRLF);
  std::string line = headers.substr(0, headers.find("\r\n"));
  size_t space = line.find(' ');
  if (line.compare(0, 5, "HTTP/") != 0 || space == std::string::npos || line.size() < space + 4) return status;
  int code = 0;
  for (size_t i = space + 1; i < space + 4; ++i) {
    if (line[i] < '0' || line[i] > '9') return status;
    code = code * 10 + (line[i] - '0');
  }
  if (line.size() > space + 4 && line[space + 4] != ' ') return status;
  status.received = true;
  status.code = code;
  return status;
}

// The Content-Length as a positive number; -1 when it is missing, 0 or not a number.
int64_t ContentLengthOf(HINTERNET url) {
  std::string text = QueryHeader(url, HTTP_QUERY_CONTENT_LENGTH);
  if (text.empty() || text.size() > 18) return -1;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value > 0 ? value : -1;
}

bool WriteAll(HANDLE file, const char* data, DWORD size) {
  DWORD written = 0;
  return WriteFile(file, data, size, &written, nullptr) && written == size;
}

// Reads the answer's body into `temp`. *stopped tells a stop by the observer from a failure.
bool ReceiveInto(HINTERNET url, const std::wstring& temp, DownloadProgress* progress, DownloadObserver* observer,
                 bool* stopped) {
  // Written through, so the data is on the disk before the move makes it the destination;
  // a flush of the whole file at its end instead would cost a quarter more time per update.
  ScopedHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr));
  if (!file) return false;
  const WinInet* net = LoadWinInet();
  std::vector<char> buffer(kReadBlock);
  ULONGLONG mark = GetTickCount64();
  int64_t doneAtMark = 0;
  for (;;) {
    // A read waits until its whole block has arrived. On a line too slow to fill a block
    // within a progress interval that would hold the progress (and a stop) for seconds, so
    // there it asks only for what has arrived; elsewhere whole blocks keep the calls few.
    DWORD want = kReadBlock, read = 0;
    int64_t speed = g_lastSpeed;
    if (speed > 0 && speed < kSlowLineBytesPerSecond) {
      DWORD available = 0;
      if (!net->InternetQueryDataAvailable(url, &available, 0, 0)) return false;
      if (available > 0 && available < want) want = available;
    }
    if (!net->InternetReadFile(url, buffer.data(), want, &read)) return false;
    if (read == 0) break;
    if (!WriteAll(file.get(), buffer.data(), read)) return false;
    progress->fileDone += read;
    progress->blockBytes = read;
    ULONGLONG now = GetTickCount64();
    if (now - mark >= kSpeedIntervalMs) {
      g_lastSpeed = (progress->fileDone - doneAtMark) * 1000 / static_cast<int64_t>(now - mark);
      mark = now;
      doneAtMark = progress->fileDone;
    }
    progress->bytesPerSecond = g_lastSpeed;
    if (observer && !observer->OnProgress(*progress)) {
      *stopped = true;
      return false;
    }
  }
  if (g_lastSpeed == 0) {
    // Nothing measured yet: the whole of this file over its time, at least 1 ms.
    ULONGLONG elapsed = GetTickCount64() - mark;
    g_lastSpeed = (progress->fileDone - doneAtMark) * 1000 / static_cast<int64_t>(elapsed ? elapsed : 1);
  }
  // A connection that ends early looks like the end of the body; only the length tells.
  if (progress->fileSize >= 0 && progress->fileDone < progress->fileSize) return false;
  // The close is where a delayed write error shows.
  return file.reset();
}

}  // namespace

void SetRequestTimeoutForTest(unsigned long ms) { g_timeoutMs = ms ? ms : kTimeoutMs; }

HttpStatus QueryHttpStatus(const std::string& url) {
  Request request;
  if (!OpenRequest(url, &request)) return HttpStatus();
  return StatusOf(request.url.get());
}

bool ServerAnswerCounts(const HttpStatus& status, bool updatesFolder) {
  if (!status.received) return false;
  if (status.code == 404 || (status.code >= 500 && status.code <= 599)) return false;
  return !(updatesFolder && status.code == 401);
}

bool IsSuccessStatus(const HttpStatus& status) { return status.received && status.code >= 200 && status.code <= 299; }

int64_t GetDownloadSize(const std::string& url) {
  Request request;
  if (!OpenRequest(url, &request) || !IsSuccessStatus(StatusOf(request.url.get()))) return -1;
  return ContentLengthOf(request.url.get());
}

bool DownloadWithProgress(const std::string& url, const std::wstring& destination, const std::string& fileName,
                          DownloadObserver* observer) {
  DownloadProgress progress;
  progress.fileName = fileName;
  progress.bytesPerSecond = g_lastSpeed;
  bool stopped = false;
  Request request;
  bool opened = OpenRequest(url, &request);
  HttpStatus status = opened ? StatusOf(request.url.get()) : HttpStatus();
  bool ok = IsSuccessStatus(status);
  if (!ok)
    ReportFailureAnsi("download", url, opened ? 0 : GetLastError(),
                      status.received ? "status " + std::to_string(status.code) : "no answer");
  if (ok) {
    progress.fileSize = ContentLengthOf(request.url.get());
    ok = WriteReplacing(destination, L"upd", [&](const std::wstring& temp) {
      return ReceiveInto(request.url.get(), temp, &progress, observer, &stopped);
    });
  }
  if (!ok && !stopped && status.received)
    ReportFailureAnsi("download", url, GetLastError(),
                      std::to_string(progress.fileDone) + " of " + std::to_string(progress.fileSize) + " bytes");
  if (!ok && !stopped && observer) observer->OnError(progress);
  return ok;
}
