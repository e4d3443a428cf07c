// Malformed requests of every kind, from a fixed seed: each gets an answer below 500 or a
// closed connection, and the server goes on serving.
#include "tests/adserver/RunningAdServer.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <random>
#include <sys/socket.h>
#include <unistd.h>

namespace {
constexpr const char* kPaths[] = {
    "/ads",
    "/zadpage/click",
    "/zadpage/redirect",
    "/zadpage/ping",
    "/zadpage/impression",
    "/zadpage/conversion/",
    "/csi",
    "/s/reportAd",
    "/oauth2/v3/token",
    "/echo",
    "/landing/x",
    AdServer::kCorePagePath,
    "/",
    "/zadpage/report_204",
};
constexpr const char* kNames[] = {"slotname", "sz",   "ad_frame", "format", "hop",    "n",
                                  "to",       "dest", "id",       "fail",   "action", "request_id"};

std::string randomBytes(std::mt19937& random, size_t most) {
    std::uniform_int_distribution<size_t> length(0, most);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string text(length(random), '\0');
    for (auto& c : text) {
        c = static_cast<char>(byte(random));
    }
    return text;
}

// Text a query may carry raw: printable, with the query's own separators and broken escapes.
std::string randomQueryText(std::mt19937& random) {
    static const std::string alphabet =
        "abcXYZ019-_.~%%%&&==+;|{}[]\":,/?#@!$'()*<>^`\\ 728x90320x50interstitial_mb";
    std::uniform_int_distribution<size_t> length(0, 40), pick(0, alphabet.size() - 1);
    std::string text(length(random), ' ');
    for (auto& c : text) {
        c = alphabet[pick(random)];
    }
    // Blanks would end the request target.
    std::replace(text.begin(), text.end(), ' ', '+');
    return text;
}

// Sends raw bytes on a fresh connection and reads the answer's status line (empty when the
// server closed the connection without one).
std::string rawExchange(int port, const std::string& bytes) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string answer;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        ::shutdown(fd, SHUT_WR);
        char buffer[512];
        ssize_t got = 0;
        while ((got = ::recv(fd, buffer, sizeof buffer, 0)) > 0 && answer.size() < 4096) {
            answer.append(buffer, static_cast<size_t>(got));
        }
    }
    ::close(fd);
    return answer.substr(0, answer.find("\r\n"));
}

TEST(AdServerFuzzTest, MalformedQueriesAndBodiesGetAnAnswerBelow500) {
    RunningAdServer server;
    ASSERT_EQ(server.error(), "");
    std::mt19937 random(20261211);
    std::uniform_int_distribution<size_t> path(0, std::size(kPaths) - 1),
        name(0, std::size(kNames) - 1);
    std::uniform_int_distribution<int> pieces(0, 4), coin(0, 1);
    auto client = server.client();
    for (int i = 0; i < 300; ++i) {
        std::string target = kPaths[path(random)];
        for (int p = pieces(random); p > 0; --p) {
            target += (target.find('?') == std::string::npos ? "?" : "&") +
                      std::string(kNames[name(random)]) + "=" + randomQueryText(random);
        }
        auto result = coin(random)
                          ? client.Get(target.c_str())
                          : client.Post(target.c_str(), randomBytes(random, 300),
                                        coin(random) ? "application/json"
                                                     : "application/x-www-form-urlencoded");
        if (result) {
            EXPECT_LT(result->status, 500) << target;
        }
    }
    // Request lines and headers no client library would send.
    const int port = std::stoi(server.baseURL().substr(server.baseURL().rfind(':') + 1));
    for (int i = 0; i < 100; ++i) {
        std::string request = coin(random)
                                  ? randomBytes(random, 200)
                                  : "GET /ads?" + randomQueryText(random) + " HTTP/1.1\r\n" +
                                        randomBytes(random, 100) + "\r\n\r\n";
        const auto status = rawExchange(port, request);
        if (!status.empty()) {
            EXPECT_EQ(status.rfind("HTTP/1.1 ", 0), 0u) << status;
            EXPECT_LT(std::atoi(status.c_str() + 9), 500) << status;
        }
    }
    auto after = client.Get(AdServer::kCorePagePath);
    ASSERT_TRUE(after);
    EXPECT_EQ(after->status, 200);
}
} // namespace
