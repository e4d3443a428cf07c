#include "adserver/AdServerThread.h"

ErrorOr<std::unique_ptr<AdServerThread>>
AdServerThread::start(const AdServer::Configuration& configuration) {
    auto created = AdServer::create(configuration);
    if (created.hasError()) {
        return created.error();
    }
    auto server = std::move(created).value();
    if (auto port = server->bind(0); port.hasError()) {
        return port.error();
    }
    return std::unique_ptr<AdServerThread>(new AdServerThread(std::move(server)));
}

AdServerThread::AdServerThread(std::unique_ptr<AdServer> server) : server_(std::move(server)) {
    // Connections wait from bind() on: the server answers as soon as the loop runs.
    thread_ = std::thread([server = server_.get()] { server->listen(); });
}

AdServerThread::~AdServerThread() {
    server_->stop();
    thread_.join();
}
