#include "journal/TcpProxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <string_view>
#include <vector>

namespace {

// A client's connection and the proxy's own to the server.
struct Pair {
    int client = -1;
    int server = -1;
    bool commitSent = false;
};

int connectServer(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
        return fd;
    if (fd >= 0)
        ::close(fd);
    return -1;
}

void closePair(Pair& p) {
    for (int* fd : {&p.client, &p.server}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

} // namespace

TcpProxy::TcpProxy(std::string serverSocket) : serverSocket_(std::move(serverSocket)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::listen(listener_, 64) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return;
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { loop(); });
}

TcpProxy::~TcpProxy() {
    stopping_ = true;
    if (thread_.joinable())
        thread_.join();
    if (listener_ >= 0)
        ::close(listener_);
}

JournalAddress TcpProxy::address(const JournalAddress& server) const {
    JournalAddress a = server;
    a.host = "127.0.0.1";
    a.port = port_;
    return a;
}

std::string TcpProxy::url(const JournalAddress& server) const {
    return "postgresql://" + server.user + "@127.0.0.1:" + std::to_string(port_) + "/" +
           server.database;
}

void TcpProxy::loop() {
    std::vector<Pair> pairs;
    char buffer[65536];
    while (!stopping_) {
        // While hanging, the server's answers are left unread.
        const short fromServerEvents = mode_ == Mode::Hang ? 0 : POLLIN;
        std::vector<pollfd> fds{{listener_, POLLIN, 0}};
        for (const Pair& p : pairs) {
            fds.push_back({p.client, POLLIN, 0});
            fds.push_back({p.server, fromServerEvents, 0});
        }
        if (::poll(fds.data(), fds.size(), 50) <= 0)
            continue;
        if (fds[0].revents & POLLIN) {
            const int client = ::accept(listener_, nullptr, nullptr);
            if (client >= 0) {
                const int server = connectServer(serverSocket_);
                if (server < 0)
                    ::close(client);
                else
                    pairs.push_back({client, server, false});
            }
        }
        const Mode mode = mode_;
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            Pair& p = pairs[i];
            const short fromClient = fds[1 + 2 * i].revents;
            const short fromServer = fds[2 + 2 * i].revents;
            if (fromClient != 0 && p.client >= 0) {
                const ssize_t n = ::read(p.client, buffer, sizeof buffer);
                if (n <= 0) {
                    closePair(p);
                    continue;
                }
                // A hung server: what the client sends is taken and lost.
                if (mode == Mode::Hang)
                    continue;
                if (mode == Mode::DropCommitAnswer &&
                    std::string_view(buffer, static_cast<size_t>(n))
                            .find(std::string_view("COMMIT\0", 7)) != std::string_view::npos)
                    p.commitSent = true;
                if (::send(p.server, buffer, static_cast<size_t>(n), MSG_NOSIGNAL) != n) {
                    closePair(p);
                    continue;
                }
            }
            if (fromServer != 0 && p.server >= 0) {
                if (mode == Mode::Hang)
                    continue; // left unread: the server's answer never arrives
                const ssize_t n = ::read(p.server, buffer, sizeof buffer);
                if (n <= 0 || p.commitSent) {
                    // The answer to COMMIT (the change is done) is lost with the connection.
                    if (n > 0 && p.commitSent) {
                        ++dropped_;
                        mode_ = Mode::Forward;
                    }
                    closePair(p);
                    continue;
                }
                if (::send(p.client, buffer, static_cast<size_t>(n), MSG_NOSIGNAL) != n)
                    closePair(p);
            }
        }
        std::erase_if(pairs, [](const Pair& p) { return p.client < 0; });
    }
    for (Pair& p : pairs)
        closePair(p);
}
