// A small HTTP server on the loopback address for tests and benchmarks of the update
// client: answers programmed per request path, including the broken ones a real network
// gives (a body cut short, a connection closed without an answer, a slow drip), and a log
// of what was asked.
//
// Every answer carries "Connection: close" and the connection ends after it, so a client
// never waits on a kept-alive connection and each request is one connection.
#ifndef ZK_TESTS_SUPPORT_HTTP_SERVER_H
#define ZK_TESTS_SUPPORT_HTTP_SERVER_H

#include <windows.h>

#include <stdint.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

enum class HttpDelivery {
  Whole,               // Content-Length and the whole body
  Chunked,             // Transfer-Encoding: chunked, no Content-Length
  ShortThenClose,      // Content-Length promises `missingBytes` more than is sent, then the end
  Drip,                // Content-Length, then `dripBytes` every `dripEveryMs` ms
  CloseWithoutAnswer,  // the request is read and the connection closed, nothing sent
  NeverAnswer,         // the request is read and the connection held open, nothing sent
};

struct HttpAnswer {
  int status = 200;
  std::string reason = "OK";
  std::vector<std::string> headers;  // extra header lines, without CR LF
  std::string body;
  std::wstring bodyFile;  // when not empty, the body is this file, read while it is sent
  HttpDelivery delivery = HttpDelivery::Whole;
  int64_t missingBytes = 1000;
  size_t dripBytes = 1024;
  DWORD dripEveryMs = 50;
};

HttpAnswer OkAnswer(const std::string& body);
HttpAnswer StatusAnswer(int status, const std::string& reason);

struct HttpRequestLine {
  std::string method;
  std::string path;  // as the request line gives it, e.g. "/a/updatescript.ini"
};

class TestHttpServer {
 public:
  TestHttpServer() = default;
  ~TestHttpServer() { Stop(); }
  TestHttpServer(const TestHttpServer&) = delete;
  TestHttpServer& operator=(const TestHttpServer&) = delete;

  // Listens on 127.0.0.1 at a port the system chooses; false when that failed.
  bool Start();
  // Ends every connection, including drips in progress, and waits for their threads.
  void Stop();

  uint16_t Port() const { return port_; }
  // "http://127.0.0.1:PORT" + path.
  std::string Url(const std::string& path) const;

  // Paths without an answer get 404 with a small HTML page.
  void SetAnswer(const std::string& path, const HttpAnswer& answer);
  // Every request so far, in the order they arrived.
  std::vector<HttpRequestLine> Requests() const;
  void ClearRequests();

 private:
  // Sockets are kept as their integer value, so that this header does not need Winsock's,
  // which must come before <windows.h> wherever it is included.
  using Socket = uintptr_t;
  static constexpr Socket kNoSocket = ~static_cast<Socket>(0);

  struct Connection {
    Socket socket = kNoSocket;
    std::thread thread;
  };

  void AcceptLoop();
  void Serve(Connection* connection);
  HttpAnswer AnswerFor(const std::string& path) const;
  bool SendAnswer(Socket s, const HttpAnswer& answer, bool withBody);
  bool SendBody(Socket s, const HttpAnswer& answer, int64_t limit);
  void CloseConnection(Connection* connection);

  bool started_ = false;
  Socket listener_ = kNoSocket;
  uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread acceptThread_;

  mutable std::mutex mutex_;  // guards everything below
  std::map<std::string, HttpAnswer> answers_;
  std::vector<HttpRequestLine> requests_;
  std::vector<std::unique_ptr<Connection>> connections_;
};

#endif
