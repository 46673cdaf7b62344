#include <winsock2.h>

#include "support/http_server.h"

#include <stdio.h>

#include <algorithm>
#include <functional>
#include <iterator>

namespace {

const size_t kRequestLimit = 64 * 1024;
const size_t kSendPiece = 64 * 1024;
const size_t kChunkPiece = 4000;  // several chunks even for small bodies
const DWORD kSocketTimeoutMs = 30000;

bool SendAll(SOCKET s, const char* data, size_t size) {
  while (size > 0) {
    int part = static_cast<int>(std::min<size_t>(size, 1 << 20));
    int sent = send(s, data, part, 0);
    if (sent <= 0) return false;
    data += sent;
    size -= static_cast<size_t>(sent);
  }
  return true;
}

bool SendText(SOCKET s, const std::string& text) { return SendAll(s, text.data(), text.size()); }

int64_t BodySize(const HttpAnswer& answer) {
  if (answer.bodyFile.empty()) return static_cast<int64_t>(answer.body.size());
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(answer.bodyFile.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Hands the first `limit` bytes of the body to `take` in pieces of at most `piece` bytes;
// false when `take` refused one or the file could not be read.
bool ForEachPiece(const HttpAnswer& answer, int64_t limit, size_t piece,
                  const std::function<bool(const char*, size_t)>& take) {
  if (answer.bodyFile.empty()) {
    size_t end = static_cast<size_t>(std::min<int64_t>(limit, static_cast<int64_t>(answer.body.size())));
    for (size_t at = 0; at < end; at += piece)
      if (!take(answer.body.data() + at, std::min(piece, end - at))) return false;
    return true;
  }
  HANDLE file = CreateFileW(answer.bodyFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::vector<char> buffer(piece);
  bool ok = true;
  for (int64_t left = limit; ok && left > 0;) {
    DWORD read = 0;
    DWORD want = static_cast<DWORD>(std::min<int64_t>(left, static_cast<int64_t>(piece)));
    if (!ReadFile(file, buffer.data(), want, &read, nullptr) || read == 0) break;
    ok = take(buffer.data(), read);
    left -= read;
  }
  CloseHandle(file);
  return ok;
}

std::string NotFoundBody(const std::string& path) {
  return "<html><head><title>404 Not Found</title></head><body><h1>Not Found</h1><p>" + path +
         " is not here.</p></body></html>\n";
}

}  // namespace

HttpAnswer OkAnswer(const std::string& body) {
  HttpAnswer answer;
  answer.body = body;
  return answer;
}

HttpAnswer StatusAnswer(int status, const std::string& reason) {
  HttpAnswer answer;
  answer.status = status;
  answer.reason = reason;
  answer.headers.push_back("Content-Type: text/html");
  answer.body = "<html><body><h1>" + std::to_string(status) + " " + reason + "</h1></body></html>\n";
  return answer;
}

bool TestHttpServer::Start() {
  if (started_) return true;
  WSADATA wsa;
  if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return false;
  started_ = true;
  listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  int length = sizeof(address);
  if (listener_ == INVALID_SOCKET || bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      listen(listener_, SOMAXCONN) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    Stop();
    return false;
  }
  port_ = ntohs(address.sin_port);
  stopping_ = false;
  acceptThread_ = std::thread([this] { AcceptLoop(); });
  return true;
}

void TestHttpServer::Stop() {
  if (!started_) return;
  stopping_ = true;
  if (listener_ != INVALID_SOCKET) closesocket(listener_);
  listener_ = INVALID_SOCKET;
  if (acceptThread_.joinable()) acceptThread_.join();
  std::vector<std::unique_ptr<Connection>> connections;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    // Wakes threads blocked in recv or send; each closes its own socket.
    for (auto& c : connections_)
      if (c->socket != INVALID_SOCKET) shutdown(c->socket, SD_BOTH);
    connections.swap(connections_);
  }
  for (auto& c : connections)
    if (c->thread.joinable()) c->thread.join();
  port_ = 0;
  started_ = false;
  WSACleanup();
}

std::string TestHttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void TestHttpServer::SetAnswer(const std::string& path, const HttpAnswer& answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_[path] = answer;
}

std::vector<HttpRequestLine> TestHttpServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void TestHttpServer::ClearRequests() {
  std::lock_guard<std::mutex> lock(mutex_);
  requests_.clear();
}

void TestHttpServer::AcceptLoop() {
  while (!stopping_) {
    SOCKET s = accept(listener_, nullptr, nullptr);
    if (s == INVALID_SOCKET) {
      if (stopping_) break;
      Sleep(10);
      continue;
    }
    DWORD timeout = kSocketTimeoutMs;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof(timeout));
    setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&timeout), sizeof(timeout));
    std::vector<std::unique_ptr<Connection>> finished;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stopping_) {
        closesocket(s);
        break;
      }
      // Connections that closed their socket have nothing left to do; their threads are
      // joined here so that a long benchmark does not pile them up.
      auto done =
          std::stable_partition(connections_.begin(), connections_.end(),
                                [](const std::unique_ptr<Connection>& c) { return c->socket != INVALID_SOCKET; });
      std::move(done, connections_.end(), std::back_inserter(finished));
      connections_.erase(done, connections_.end());
      connections_.push_back(std::make_unique<Connection>());
      Connection* connection = connections_.back().get();
      connection->socket = s;
      connection->thread = std::thread([this, connection] { Serve(connection); });
    }
    for (auto& c : finished) c->thread.join();
  }
}

HttpAnswer TestHttpServer::AnswerFor(const std::string& path) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto found = answers_.find(path);
  if (found != answers_.end()) return found->second;
  HttpAnswer answer = StatusAnswer(404, "Not Found");
  answer.body = NotFoundBody(path);
  return answer;
}

void TestHttpServer::Serve(Connection* connection) {
  SOCKET s = connection->socket;
  std::string request;
  char buffer[4096];
  while (request.find("\r\n\r\n") == std::string::npos && request.size() < kRequestLimit) {
    int got = recv(s, buffer, sizeof(buffer), 0);
    if (got <= 0) break;
    request.append(buffer, static_cast<size_t>(got));
    // Not a request line (a TLS handshake, say): closed at once rather than waited on.
    if (request[0] < 'A' || request[0] > 'Z') break;
  }
  size_t lineEnd = request.find("\r\n");
  size_t space1 = request.find(' ');
  size_t space2 = space1 == std::string::npos ? std::string::npos : request.find(' ', space1 + 1);
  if (lineEnd != std::string::npos && space2 != std::string::npos && space2 < lineEnd) {
    HttpRequestLine line{request.substr(0, space1), request.substr(space1 + 1, space2 - space1 - 1)};
    {
      std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back(line);
    }
    HttpAnswer answer = AnswerFor(line.path);
    if (answer.delivery == HttpDelivery::NeverAnswer) {
      // Until the client gives up or the server stops.
      while (!stopping_ && (recv(s, buffer, sizeof(buffer), 0) > 0 || WSAGetLastError() == WSAETIMEDOUT)) {
      }
    } else if (answer.delivery != HttpDelivery::CloseWithoutAnswer) {
      SendAnswer(s, answer, line.method != "HEAD");
    }
  }
  CloseConnection(connection);
}

bool TestHttpServer::SendAnswer(Socket s, const HttpAnswer& answer, bool withBody) {
  int64_t size = BodySize(answer);
  std::string head = "HTTP/1.1 " + std::to_string(answer.status) + " " + answer.reason + "\r\n";
  if (answer.delivery == HttpDelivery::Chunked) {
    head += "Transfer-Encoding: chunked\r\n";
  } else {
    int64_t promised = size + (answer.delivery == HttpDelivery::ShortThenClose ? answer.missingBytes : 0);
    head += "Content-Length: " + std::to_string(promised) + "\r\n";
  }
  head += "Connection: close\r\n";
  for (const std::string& header : answer.headers) head += header + "\r\n";
  head += "\r\n";
  if (!SendText(s, head)) return false;
  return withBody ? SendBody(s, answer, size) : true;
}

bool TestHttpServer::SendBody(Socket s, const HttpAnswer& answer, int64_t size) {
  switch (answer.delivery) {
    case HttpDelivery::Chunked: {
      bool ok = ForEachPiece(answer, size, kChunkPiece, [&](const char* data, size_t count) {
        char length[32];
        snprintf(length, sizeof(length), "%zx\r\n", count);
        return SendText(s, length) && SendAll(s, data, count) && SendText(s, "\r\n");
      });
      return ok && SendText(s, "0\r\n\r\n");
    }
    case HttpDelivery::Drip:
      return ForEachPiece(answer, size, std::max<size_t>(answer.dripBytes, 1), [&](const char* data, size_t count) {
        if (stopping_ || !SendAll(s, data, count)) return false;
        Sleep(answer.dripEveryMs);
        return !stopping_.load();
      });
    default:
      return ForEachPiece(answer, size, kSendPiece,
                          [&](const char* data, size_t count) { return !stopping_ && SendAll(s, data, count); });
  }
}

void TestHttpServer::CloseConnection(Connection* connection) {
  std::lock_guard<std::mutex> lock(mutex_);
  // The end of the answer: what was sent still arrives, then the end of the stream.
  shutdown(connection->socket, SD_SEND);
  closesocket(connection->socket);
  connection->socket = INVALID_SOCKET;
}
