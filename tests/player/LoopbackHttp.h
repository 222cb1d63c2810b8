// A tiny HTTP server on a loopback port for the real-playback tests: libvlc applies its network
// settings only to network sources. It serves one file with byte ranges (libvlc's demuxers seek) and
// one thread per connection.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace vendrak::test {

class LoopbackHttp {
public:
    explicit LoopbackHttp(const std::string& path) {
        std::ostringstream file;
        file << std::ifstream(path, std::ios::binary).rdbuf();
        body_ = file.str();
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            listen(listener_, 8) != 0 ||
            getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            return;
        }
        port_ = ntohs(address.sin_port);
        acceptor_ = std::thread([this] {
            for (int connection; (connection = accept(listener_, nullptr, nullptr)) >= 0;) {
                std::lock_guard guard(lock_);
                connections_.emplace_back([this, connection] { Serve(connection); });
            }
        });
    }
    ~LoopbackHttp() {
        shutdown(listener_, SHUT_RDWR); // ends accept
        if (acceptor_.joinable()) {
            acceptor_.join();
        }
        close(listener_);
        for (std::thread& connection : connections_) {
            connection.join(); // each ends when its client goes
        }
    }
    // "" when the server could not start or the file is empty.
    std::string Url(const std::string& name) const {
        return port_ == 0 || body_.empty() ? "" : "http://127.0.0.1:" + std::to_string(port_) + "/" + name;
    }

private:
    void Serve(int connection) {
        std::string request;
        char buffer[2048];
        for (ssize_t n; request.find("\r\n\r\n") == std::string::npos &&
                        (n = recv(connection, buffer, sizeof buffer, 0)) > 0;) {
            request.append(buffer, static_cast<size_t>(n));
        }
        size_t from = 0;
        if (size_t range = request.find("Range: bytes="); range != std::string::npos) {
            from = std::min<size_t>(std::stoul(request.substr(range + 13)), body_.size());
        }
        const std::string size = std::to_string(body_.size());
        std::string head = from == 0 ? "HTTP/1.1 200 OK\r\n"
                                     : "HTTP/1.1 206 Partial Content\r\nContent-Range: bytes " +
                                           std::to_string(from) + "-" + std::to_string(body_.size() - 1) +
                                           "/" + size + "\r\n";
        head += "Content-Length: " + std::to_string(body_.size() - from) + "\r\nConnection: close\r\n\r\n";
        // MSG_NOSIGNAL: libvlc closes connections it no longer wants while we write.
        if (send(connection, head.data(), head.size(), MSG_NOSIGNAL) > 0) {
            send(connection, body_.data() + from, body_.size() - from, MSG_NOSIGNAL);
        }
        close(connection);
    }

    std::string body_;
    int listener_ = -1;
    uint16_t port_ = 0;
    std::thread acceptor_;
    std::mutex lock_;
    std::vector<std::thread> connections_;
};

} // namespace vendrak::test
