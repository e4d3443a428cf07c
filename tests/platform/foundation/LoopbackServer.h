// A cpp-httplib server on 127.0.0.1 and a free port for one test: register routes on
// server(), then start(). HTTPS serves the loopback test certificate of fixtures/
// (CN and subjectAltName IP:127.0.0.1, self-signed, valid for 100 years), made with
//   openssl req -x509 -newkey rsa:2048 -nodes -keyout loopback-key.pem
//     -out loopback-cert.pem -days 36525 -subj "/CN=127.0.0.1"
//     -addext "subjectAltName=IP:127.0.0.1"
#pragma once

#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

class LoopbackServer {
public:
    enum class Scheme { HTTP, HTTPS };

    explicit LoopbackServer(Scheme scheme = Scheme::HTTP) : scheme_(scheme) {
        if (scheme == Scheme::HTTPS) {
            server_ = std::make_unique<httplib::SSLServer>(fixture("loopback-cert.pem").c_str(),
                                                           fixture("loopback-key.pem").c_str());
        } else {
            server_ = std::make_unique<httplib::Server>();
        }
        // One request per connection: a connection kept alive for the client's reuse would
        // hold stop() up for the keep-alive timeout.
        server_->set_keep_alive_max_count(1);
    }
    // Lets held handlers answer, then stops serving.
    ~LoopbackServer() {
        release();
        if (!thread_.joinable()) {
            return;
        }
        server_->stop();
        thread_.join();
    }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    httplib::Server& server() { return *server_; }

    // Binds a free port and serves on a thread; false when no port could be had. Returns
    // once the server runs, since a stop() before that would be lost.
    bool start() {
        port_ = server_->bind_to_any_port("127.0.0.1");
        if (port_ <= 0) {
            return false;
        }
        thread_ = std::thread([this] { server_->listen_after_bind(); });
        while (!server_->is_running()) {
            std::this_thread::yield();
        }
        return true;
    }
    int port() const { return port_; }
    std::string url(const std::string& path, const std::string& host = "127.0.0.1") const {
        return std::string(scheme_ == Scheme::HTTPS ? "https" : "http") + "://" + host + ":" +
               std::to_string(port_) + path;
    }

    // For handlers that must not answer yet: waits until release(), which the server's
    // end calls at the latest.
    void hold() {
        std::unique_lock lock(mutex_);
        releasedChanged_.wait(lock, [this] { return released_; });
    }
    void release() {
        std::lock_guard lock(mutex_);
        released_ = true;
        releasedChanged_.notify_all();
    }

    // A port of 127.0.0.1 that nobody listens on: bound once, then let go.
    static int closedPort() {
        int socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        int port = -1;
        if (::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
            port = ntohs(address.sin_port);
        }
        ::close(socket);
        return port;
    }

    static std::string fixture(const std::string& name) {
        return (std::filesystem::path(MP_TEST_SOURCE_DIR) / "platform" / "foundation" / "fixtures" / name)
            .string();
    }

private:
    Scheme scheme_;
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = -1;
    std::mutex mutex_;
    std::condition_variable releasedChanged_;
    bool released_ = false;
};
