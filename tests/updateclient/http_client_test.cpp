// The client's HTTP requests against the loopback test server: which answers count as a
// present server or a usable body, sizes that are unknown, and downloads that replace a
// file only when the whole body arrived.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "support/file_bytes.h"
#include "support/folders.h"
#include "support/http_server.h"
#include "updateclient/http_client.h"

namespace {

struct RecordingObserver : DownloadObserver {
  bool OnProgress(const DownloadProgress& progress) override {
    calls.push_back(progress);
    return stopAfter < 0 || static_cast<int>(calls.size()) < stopAfter;
  }
  void OnError(const DownloadProgress& progress) override {
    ++errors;
    lastError = progress;
  }
  std::vector<DownloadProgress> calls;
  int errors = 0;
  DownloadProgress lastError;
  int stopAfter = -1;  // OnProgress answers false at this call
};

// Bytes that show a block written twice, skipped or out of order.
std::string Pattern(size_t size) {
  std::string bytes(size, '\0');
  uint32_t x = 2463534242u;
  for (size_t i = 0; i < size; ++i) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    bytes[i] = static_cast<char>(x);
  }
  return bytes;
}

// A port on which nothing listens: one the system just gave out and took back.
uint16_t ClosedPort() {
  TestHttpServer probe;
  if (!probe.Start()) return 0;
  uint16_t port = probe.Port();
  probe.Stop();
  return port;
}

std::string ClosedPortUrl(const std::string& path) { return "http://127.0.0.1:" + std::to_string(ClosedPort()) + path; }

class HttpClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.Start());
    folder = TestFolder(L"http_client_test");
  }

  // A destination that already holds "old bytes", as a file about to be updated does.
  std::wstring OldFile(const std::wstring& name) {
    std::wstring path = folder + name;
    EXPECT_TRUE(PutBytes(path, "old bytes"));
    return path;
  }

  TestHttpServer server;
  std::wstring folder;
};

TEST(HttpAnswerRules, CountsAndSuccessByCode) {
  struct Case {
    HttpStatus status;
    bool countsForScript, countsForUpdates, success;
  };
  const Case cases[] = {
      {{false, 0}, false, false, false},   {{true, 200}, true, true, true},    {{true, 199}, true, true, false},
      {{true, 299}, true, true, true},     {{true, 300}, true, true, false},   {{true, 401}, true, false, false},
      {{true, 403}, true, true, false},    {{true, 404}, false, false, false}, {{true, 499}, true, true, false},
      {{true, 500}, false, false, false},  {{true, 503}, false, false, false}, {{true, 599}, false, false, false},
      {{false, 200}, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.status.received) + " " + std::to_string(c.status.code));
    EXPECT_EQ(ServerAnswerCounts(c.status, false), c.countsForScript);
    EXPECT_EQ(ServerAnswerCounts(c.status, true), c.countsForUpdates);
    EXPECT_EQ(IsSuccessStatus(c.status), c.success);
  }
}

TEST_F(HttpClientTest, ProbesReadTheStatusLine) {
  server.SetAnswer("/a/updatescript.ini", OkAnswer("[Releases]\r\n"));
  server.SetAnswer("/a/Updates/", StatusAnswer(403, "Forbidden"));
  HttpAnswer challenge = StatusAnswer(401, "Unauthorized");
  challenge.headers.push_back("WWW-Authenticate: Basic realm=\"updates\"");
  server.SetAnswer("/locked/Updates/", challenge);
  server.SetAnswer("/locked/updatescript.ini", challenge);
  server.SetAnswer("/broken/updatescript.ini", StatusAnswer(500, "Internal Server Error"));
  server.SetAnswer("/busy/updatescript.ini", StatusAnswer(503, "Service Unavailable"));
  HttpAnswer silent;
  silent.delivery = HttpDelivery::CloseWithoutAnswer;
  server.SetAnswer("/silent/updatescript.ini", silent);

  struct Case {
    std::string url;
    bool updatesFolder;
    HttpStatus expected;
    bool counts;
  };
  const Case cases[] = {
      {server.Url("/a/updatescript.ini"), false, {true, 200}, true},
      {server.Url("/a/Updates/"), true, {true, 403}, true},
      {server.Url("/gone/updatescript.ini"), false, {true, 404}, false},
      {server.Url("/locked/Updates/"), true, {true, 401}, false},
      {server.Url("/locked/updatescript.ini"), false, {true, 401}, true},
      {server.Url("/broken/updatescript.ini"), false, {true, 500}, false},
      {server.Url("/busy/updatescript.ini"), false, {true, 503}, false},
      {server.Url("/silent/updatescript.ini"), false, {false, 0}, false},
      {ClosedPortUrl("/a/updatescript.ini"), false, {false, 0}, false},
      // Spoken to with TLS, which this server does not speak, rather than as plain HTTP.
      {"https" + server.Url("/a/updatescript.ini").substr(4), false, {false, 0}, false},
      {"http://", false, {false, 0}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    HttpStatus status = QueryHttpStatus(c.url);
    EXPECT_EQ(status.received, c.expected.received);
    EXPECT_EQ(status.code, c.expected.code);
    EXPECT_EQ(ServerAnswerCounts(status, c.updatesFolder), c.counts);
  }

  // Each probe asked its own address, once, with nothing else in between.
  std::vector<std::string> paths;
  for (const HttpRequestLine& line : server.Requests()) {
    EXPECT_EQ(line.method, "GET");
    paths.push_back(line.path);
  }
  const std::vector<std::string> expected = {"/a/updatescript.ini",      "/a/Updates/",
                                             "/gone/updatescript.ini",   "/locked/Updates/",
                                             "/locked/updatescript.ini", "/broken/updatescript.ini",
                                             "/busy/updatescript.ini",   "/silent/updatescript.ini"};
  EXPECT_EQ(paths, expected);
}

// A server that takes the request and never answers ends the probe after the client's
// time limit, not never. The limit (half a minute in the product) is cut for the test.
TEST_F(HttpClientTest, ProbeOfAServerThatNeverAnswersEnds) {
  HttpAnswer mute;
  mute.delivery = HttpDelivery::NeverAnswer;
  server.SetAnswer("/mute/updatescript.ini", mute);
  SetRequestTimeoutForTest(2000);
  ULONGLONG start = GetTickCount64();
  HttpStatus status = QueryHttpStatus(server.Url("/mute/updatescript.ini"));
  ULONGLONG spent = GetTickCount64() - start;
  SetRequestTimeoutForTest(0);
  EXPECT_FALSE(status.received);
  EXPECT_GE(spent, 1500u);
  EXPECT_LT(spent, 20000u);
}

TEST_F(HttpClientTest, DownloadSizeOnlyFromAPositiveLengthOfASuccess) {
  server.SetAnswer("/sized.bin", OkAnswer(Pattern(12345)));
  HttpAnswer chunked = OkAnswer(Pattern(12345));
  chunked.delivery = HttpDelivery::Chunked;
  server.SetAnswer("/chunked.bin", chunked);
  server.SetAnswer("/empty.bin", OkAnswer(""));
  server.SetAnswer("/error.bin", StatusAnswer(500, "Internal Server Error"));
  struct Case {
    std::string url;
    int64_t size;
  };
  const Case cases[] = {
      {server.Url("/sized.bin"), 12345}, {server.Url("/chunked.bin"), -1}, {server.Url("/empty.bin"), -1},
      {server.Url("/missing.bin"), -1},  {server.Url("/error.bin"), -1},   {ClosedPortUrl("/sized.bin"), -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(GetDownloadSize(c.url), c.size);
  }
}

TEST_F(HttpClientTest, CompleteDownloadReplacesTheFileByteForByte) {
  // Several read blocks, the last one partial; the folder's name is outside the ANSI code page.
  std::string body = Pattern(3 * 65536 + 1234);
  server.SetAnswer("/a/Updates/app.exe", OkAnswer(body));
  folder += L"\u0416\u4e2d\\";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  std::wstring target = OldFile(L"app.exe");

  RecordingObserver observer;
  EXPECT_TRUE(DownloadWithProgress(server.Url("/a/Updates/app.exe"), target, "app.exe", &observer));
  // Compared with == so that a failure does not print a quarter of a megabyte.
  EXPECT_TRUE(GetBytes(target) == body) << "the file does not hold the body";
  EXPECT_EQ(FolderEntries(folder), std::vector<std::wstring>{L"app.exe"});
  EXPECT_EQ(observer.errors, 0);
  ASSERT_FALSE(observer.calls.empty());
  int64_t blocks = 0, previous = 0;
  for (const DownloadProgress& p : observer.calls) {
    EXPECT_EQ(p.fileName, "app.exe");
    EXPECT_EQ(p.fileSize, static_cast<int64_t>(body.size()));
    EXPECT_GT(p.blockBytes, 0);
    EXPECT_EQ(p.fileDone, previous + p.blockBytes);
    previous = p.fileDone;
    blocks += p.blockBytes;
  }
  EXPECT_EQ(blocks, static_cast<int64_t>(body.size()));
  EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(HttpClientTest, ChunkedDownloadCompletesWithAnUnknownSize) {
  std::string body = Pattern(100000);
  HttpAnswer chunked = OkAnswer(body);
  chunked.delivery = HttpDelivery::Chunked;
  server.SetAnswer("/chunked.bin", chunked);
  std::wstring target = OldFile(L"chunked.bin");

  RecordingObserver observer;
  EXPECT_TRUE(DownloadWithProgress(server.Url("/chunked.bin"), target, "chunked.bin", &observer));
  EXPECT_TRUE(GetBytes(target) == body) << "the file does not hold the body";
  EXPECT_EQ(observer.errors, 0);
  ASSERT_FALSE(observer.calls.empty());
  for (const DownloadProgress& p : observer.calls) EXPECT_EQ(p.fileSize, -1);
  EXPECT_EQ(observer.calls.back().fileDone, static_cast<int64_t>(body.size()));
}

// Every failure leaves the old file as it was, no temporary file beside it, and one error
// report.
TEST_F(HttpClientTest, FailedDownloadsLeaveTheOldFile) {
  server.SetAnswer("/error.bin", StatusAnswer(500, "Internal Server Error"));
  HttpAnswer cut = OkAnswer(Pattern(150000));
  cut.delivery = HttpDelivery::ShortThenClose;
  cut.missingBytes = 5000;
  server.SetAnswer("/cut.bin", cut);
  HttpAnswer silent;
  silent.delivery = HttpDelivery::CloseWithoutAnswer;
  server.SetAnswer("/silent.bin", silent);
  struct Case {
    const char* name;
    std::string url;
  };
  const Case cases[] = {
      {"404 page", server.Url("/missing.bin")},
      {"500 page", server.Url("/error.bin")},
      {"body shorter than its length", server.Url("/cut.bin")},
      {"no answer", server.Url("/silent.bin")},
      {"nothing listening", ClosedPortUrl("/file.bin")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EmptyFolder(folder);
    std::wstring target = OldFile(L"file.bin");
    RecordingObserver observer;
    EXPECT_FALSE(DownloadWithProgress(c.url, target, "file.bin", &observer));
    EXPECT_TRUE(GetBytes(target) == "old bytes") << "the old file changed";
    EXPECT_EQ(FolderEntries(folder), std::vector<std::wstring>{L"file.bin"});
    EXPECT_EQ(observer.errors, 1);
    EXPECT_EQ(observer.lastError.fileName, "file.bin");
  }
}

TEST_F(HttpClientTest, DownloadIntoAMissingFolderFailsCleanly) {
  server.SetAnswer("/file.bin", OkAnswer(Pattern(1000)));
  RecordingObserver observer;
  EXPECT_FALSE(DownloadWithProgress(server.Url("/file.bin"), folder + L"missing\\file.bin", "file.bin", &observer));
  EXPECT_EQ(observer.errors, 1);
  EXPECT_TRUE(FolderEntries(folder).empty());
  // Without an observer the failure is only the result.
  EXPECT_FALSE(DownloadWithProgress(server.Url("/file.bin"), folder + L"missing\\file.bin", "file.bin", nullptr));
}

TEST_F(HttpClientTest, StopFromProgressKeepsTheOldFileAndReportsNoError) {
  // A drip that would take half a minute: the stop must end it long before.
  HttpAnswer drip = OkAnswer(Pattern(16 * 1024 * 300));
  drip.delivery = HttpDelivery::Drip;
  drip.dripBytes = 16 * 1024;
  drip.dripEveryMs = 100;
  server.SetAnswer("/slow.bin", drip);
  std::wstring target = OldFile(L"slow.bin");

  RecordingObserver observer;
  observer.stopAfter = 2;
  ULONGLONG start = GetTickCount64();
  EXPECT_FALSE(DownloadWithProgress(server.Url("/slow.bin"), target, "slow.bin", &observer));
  EXPECT_LT(GetTickCount64() - start, 10000u);
  EXPECT_EQ(observer.calls.size(), 2u);
  EXPECT_EQ(observer.errors, 0);
  EXPECT_TRUE(GetBytes(target) == "old bytes") << "the old file changed";
  EXPECT_EQ(FolderEntries(folder), std::vector<std::wstring>{L"slow.bin"});
}

// On a slow line the progress still comes several times a second, not once a read block.
TEST_F(HttpClientTest, SlowLineReportsProgressOften) {
  HttpAnswer drip = OkAnswer(Pattern(2048 * 60));
  drip.delivery = HttpDelivery::Drip;
  drip.dripBytes = 2048;
  drip.dripEveryMs = 50;
  server.SetAnswer("/slow.bin", drip);
  RecordingObserver observer;
  ULONGLONG start = GetTickCount64();
  ASSERT_TRUE(DownloadWithProgress(server.Url("/slow.bin"), folder + L"slow.bin", "slow.bin", &observer));
  double seconds = (GetTickCount64() - start) / 1000.0;
  EXPECT_GE(observer.calls.size(), static_cast<size_t>(seconds * 4)) << seconds << " s";
  EXPECT_TRUE(GetBytes(folder + L"slow.bin") == Pattern(2048 * 60)) << "the file does not hold the body";
}

TEST_F(HttpClientTest, SpeedIsMeasuredInBytesPerSecond) {
  // About 320 KB a second for two seconds.
  HttpAnswer drip = OkAnswer(Pattern(16 * 1024 * 40));
  drip.delivery = HttpDelivery::Drip;
  drip.dripBytes = 16 * 1024;
  drip.dripEveryMs = 50;
  server.SetAnswer("/slow.bin", drip);
  RecordingObserver observer;
  ASSERT_TRUE(DownloadWithProgress(server.Url("/slow.bin"), folder + L"slow.bin", "slow.bin", &observer));
  int64_t speed = observer.calls.back().bytesPerSecond;
  EXPECT_GT(speed, 100 * 1024);
  EXPECT_LT(speed, 700 * 1024);
}

}  // namespace
