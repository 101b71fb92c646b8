#include "support/loopback_listener.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// No test waits longer than this for the other side.
constexpr int kLongestWaitMs = 30000;

}  // namespace

LoopbackListener::LoopbackListener(Mode mode, size_t limit, bool listenNow)
    : m_mode(mode), m_limit(limit) {
    m_fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (mode == Mode::HoldAfter) {
        const int small = 4096;
        setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    }
    bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { Serve(); });
    if (listenNow) Listen();
}

LoopbackListener::~LoopbackListener() {
    Stop();
    {
        // A listener never listened to still lets its thread end.
        std::lock_guard<std::mutex> lock(m_mutex);
        m_isListening = true;
    }
    m_listening.notify_all();
    if (m_thread.joinable()) m_thread.join();
    if (m_fd >= 0) close(m_fd);
}

void LoopbackListener::Listen() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_isListening) return;
    listen(m_fd, 4);
    m_isListening = true;
    m_listening.notify_all();
}

void LoopbackListener::Stop() {
    m_stop = true;
}

void LoopbackListener::Serve() {
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_listening.wait_for(lock, std::chrono::milliseconds(kLongestWaitMs),
                             [this] { return m_isListening; });
    }
    pollfd p{m_fd, POLLIN, 0};
    int client = -1;
    for (int waited = 0; waited < kLongestWaitMs && !m_stop && client < 0; waited += 50) {
        if (poll(&p, 1, 50) > 0) client = accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
    }
    if (client >= 0) {
        char buffer[65536];
        const auto started = std::chrono::steady_clock::now();
        const auto late = [&] {
            return std::chrono::steady_clock::now() - started >
                   std::chrono::milliseconds(kLongestWaitMs);
        };
        while (!late()) {
            if (m_mode == Mode::NeverRead) {
                if (m_stop) break;
                usleep(10000);
                continue;
            }
            size_t want = sizeof buffer;
            if (m_mode == Mode::CloseAfter) {
                if (m_received.size() >= m_limit) break;
                want = std::min(want, m_limit - m_received.size());
            }
            if (m_mode == Mode::HoldAfter && !m_stop) {
                if (m_received.size() >= m_limit) {
                    {
                        std::lock_guard<std::mutex> lock(m_mutex);
                        m_holding = true;
                    }
                    m_listening.notify_all();
                    usleep(10000);
                    continue;
                }
                want = std::min(want, m_limit - m_received.size());
            }
            pollfd c{client, POLLIN, 0};
            if (poll(&c, 1, 100) <= 0) continue;
            const ssize_t n = recv(client, buffer, want, 0);
            if (n > 0) {
                m_received.append(buffer, static_cast<size_t>(n));
                m_count = m_received.size();
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            m_endedInOrder = n == 0;
            break;
        }
        close(client);
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_done = true;
    m_listening.notify_all();
}

bool LoopbackListener::WaitUntilHolding() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_listening.wait_for(lock, std::chrono::milliseconds(kLongestWaitMs),
                         [this] { return m_holding || m_done; });
    return m_holding;
}

std::string LoopbackListener::Received() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_listening.wait_for(lock, std::chrono::milliseconds(kLongestWaitMs),
                         [this] { return m_done; });
    return m_received;
}

bool LoopbackListener::EndedInOrder() {
    Received();
    return m_endedInOrder;
}
