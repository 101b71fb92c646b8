#include "output/socket_channel.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/sockios.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include "win32/kernel32/interrupt_requests.h"

namespace {

// Large enough that the kernel, not the channel, sets the pace.
constexpr size_t kBufferBytes = 256 * 1024;
constexpr auto kReportEvery = std::chrono::milliseconds(250);

constexpr int kInterrupted = -2;

// A reset rather than an orderly end: the plotter must not take a partial
// job, or an empty one, for a whole one.
void CloseWithReset(int fd) {
    const linger reset{1, 0};
    setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    close(fd);
}

// Polls fd for events up to timeoutMs, waking for a signal noted meanwhile:
// 1 ready, 0 timed out, -1 failed (errno says why), kInterrupted.
int PollOrInterrupt(int fd, short events, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(timeoutMs);
    pollfd p[2] = {{fd, events, 0}, {InterruptWakeDescriptor(), POLLIN, 0}};
    for (;;) {
        if (InterruptSignal()) return kInterrupted;
        const long long left =
            std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
        const int ready = poll(p, 2, static_cast<int>(std::max(0LL, left)));
        if (ready < 0 && errno != EINTR) return -1;
        if (ready > 0 && p[0].revents) return 1;
        if (ready == 0) return 0;
        // Readable without a signal noted: a late byte of an earlier scope.
        if (ready > 0 && !InterruptSignal()) p[1].fd = -1;
    }
}

std::string Seconds(int ms) {
    if (ms % 1000 == 0) return std::to_string(ms / 1000) + " s";
    if (ms < 1000) return std::to_string(ms) + " ms";
    return std::to_string(ms / 1000) + "." + std::to_string(ms % 1000 / 100) + " s";
}

}  // namespace

SocketChannel::SocketChannel(const SocketOptions& options) : m_options(options) {}

SocketChannel::~SocketChannel() {
    // A job never closed is not whole: the plotter is told by a reset.
    if (m_state == State::Open) Abort();
    if (m_fd >= 0) close(m_fd);
}

std::string SocketChannel::Target() const {
    return "socket://" + m_address.ToString();
}

void SocketChannel::Reset() {
    CloseWithReset(m_fd);
    m_fd = -1;
}

void SocketChannel::Fail(const std::string& what) {
    if (m_error.empty()) m_error = what;
    if (m_fd >= 0) Reset();
    m_buffer.clear();
    m_state = State::Failed;
}

bool SocketChannel::DropWhenInterrupted() {
    if (!InterruptSignal()) return false;
    Fail("the plot was interrupted");
    return true;
}

int SocketChannel::Open(const char* pszTarget) {
    if (m_state == State::Open || !pszTarget) return 0;
    m_error.clear();
    m_sent = 0;
    m_bConnected = m_bPlotterHasAll = false;
    m_buffer.clear();
    m_buffer.reserve(kBufferBytes);
    std::string error;
    if (!ParseSocketAddress(pszTarget, &m_address, &error)) {
        Fail(error);
        return 0;
    }
    if (DropWhenInterrupted() || !Connect()) return 0;
    m_bConnected = true;
    m_state = State::Open;
    m_started = m_lastReport = Clock::now();
    return 1;
}

int SocketChannel::TryConnect(const void* list, bool* refused, std::string* why) {
    *refused = true;
    for (const addrinfo* a = static_cast<const addrinfo*>(list); a; a = a->ai_next) {
        const int fd =
            socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a->ai_protocol);
        if (fd < 0) {
            *refused = false;
            *why = std::strerror(errno);
            continue;
        }
        int result = connect(fd, a->ai_addr, a->ai_addrlen);
        if (result != 0 && errno == EINPROGRESS) {
            const int ready = PollOrInterrupt(fd, POLLOUT, m_options.connectTimeoutMs);
            if (ready == kInterrupted) {
                CloseWithReset(fd);
                *refused = false;
                *why = "interrupted";
                return -1;
            }
            int soError = 0;
            socklen_t length = sizeof soError;
            if (ready == 0) {
                soError = ETIMEDOUT;
            } else if (ready < 0) {
                soError = errno;
            } else {
                getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &length);
            }
            result = soError == 0 ? 0 : -1;
            errno = soError;
        }
        if (result == 0) {
            // Plot commands are small writes; the buffer makes them large.
            const int one = 1;
            setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            return fd;
        }
        if (errno != ECONNREFUSED) *refused = false;
        *why = errno == ETIMEDOUT ? "no answer within " + Seconds(m_options.connectTimeoutMs)
                                  : std::strerror(errno);
        close(fd);
    }
    return -1;
}

bool SocketChannel::Connect() {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* list = nullptr;
    const std::string port = std::to_string(m_address.port);
    const int status = getaddrinfo(m_address.host.c_str(), port.c_str(), &hints, &list);
    if (status != 0 || !list) {
        Fail("cannot find the plotter " + m_address.host + ": " + gai_strerror(status));
        return false;
    }
    const Clock::time_point giveUp =
        Clock::now() + std::chrono::milliseconds(std::max(0, m_options.retryForMs));
    int pause = std::max(1, m_options.firstPauseMs);
    std::string why;
    for (;;) {
        bool refused = false;
        m_fd = TryConnect(list, &refused, &why);
        if (m_fd >= 0) break;
        const Clock::time_point next = Clock::now() + std::chrono::milliseconds(pause);
        if (!refused || next > giveUp) break;
        if (onNotice)
            onNotice(m_address.ToString() + " refuses the connection (busy with another job?); " +
                     "trying again in " + Seconds(pause));
        if (WaitForInterrupt(pause)) {
            why = "interrupted";
            break;
        }
        pause = std::min(pause * 2, std::max(pause, m_options.lastPauseMs));
    }
    freeaddrinfo(list);
    if (m_fd < 0) {
        Fail("cannot connect to " + m_address.ToString() + ": " + why);
        return false;
    }
    return true;
}

bool SocketChannel::WaitFor(short events, int timeoutMs, const char* what) {
    for (;;) {
        const int ready = PollOrInterrupt(m_fd, events, timeoutMs);
        if (ready > 0) return true;
        if (ready == kInterrupted) {
            DropWhenInterrupted();
            return false;
        }
        Fail(ready == 0 ? "the plotter at " + m_address.ToString() + " took no " + what + " for " +
                              Seconds(timeoutMs) + " after " + std::to_string(m_sent) +
                              " bytes; the job is incomplete"
                        : std::string("waiting for the plotter failed: ") + std::strerror(errno));
        return false;
    }
}

bool SocketChannel::Flush() {
    size_t done = 0;
    while (done < m_buffer.size()) {
        const ssize_t n = send(m_fd, m_buffer.data() + done, m_buffer.size() - done, MSG_NOSIGNAL);
        if (n > 0) {
            done += static_cast<size_t>(n);
            m_sent += static_cast<unsigned long long>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!WaitFor(POLLOUT, m_options.writeTimeoutMs, "data")) return false;
            continue;
        }
        Fail("the connection to " + m_address.ToString() + " dropped after " +
             std::to_string(m_sent) + " bytes (" + std::strerror(errno) +
             "); the job is incomplete");
        return false;
    }
    m_buffer.clear();
    Report(false);
    return true;
}

void SocketChannel::Write(const void* pBuffer, int nLength) {
    if (m_state != State::Open || !pBuffer || nLength <= 0 || DropWhenInterrupted()) return;
    const char* bytes = static_cast<const char*>(pBuffer);
    m_buffer.insert(m_buffer.end(), bytes, bytes + nLength);
    if (m_buffer.size() >= kBufferBytes) Flush();
}

// After the end of the job: the plotter must acknowledge every byte, then
// end its side of the connection (answering bytes it sends back are read
// and dropped). A plotter that closes without reading the whole job resets
// the connection instead.
bool SocketChannel::Drain() {
    if (shutdown(m_fd, SHUT_WR) != 0) {
        Fail("the connection to " + m_address.ToString() + " dropped at the end of the job (" +
             std::strerror(errno) + "); the job is incomplete");
        return false;
    }
    char scratch[4096];
    for (;;) {
        const int ready = PollOrInterrupt(m_fd, POLLIN, m_options.writeTimeoutMs);
        if (ready == kInterrupted) {
            // Every byte and the end acknowledged: the plotter has the job
            // whole, and a reset cannot take it back.
            m_bPlotterHasAll = Unacknowledged() == 0;
            DropWhenInterrupted();
            return false;
        }
        if (ready == 0) {
            // Still open but silent: the job is whole when every byte has
            // been acknowledged.
            if (Unacknowledged() == 0) return true;
            Fail("the plotter at " + m_address.ToString() + " did not take the end of the job " +
                 "within " + Seconds(m_options.writeTimeoutMs) + "; the job is incomplete");
            return false;
        }
        const ssize_t n = ready < 0 ? -1 : recv(m_fd, scratch, sizeof scratch, 0);
        if (n > 0) continue;
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) {
            if (Unacknowledged() == 0) return true;
            Fail("the plotter at " + m_address.ToString() + " closed the connection before " +
                 "taking the whole job; the job is incomplete");
            return false;
        }
        Fail("the connection to " + m_address.ToString() + " dropped at the end of the job (" +
             std::strerror(errno) + "); the job is incomplete");
        return false;
    }
}

int SocketChannel::Unacknowledged() const {
    int bytes = -1;
    return ioctl(m_fd, SIOCOUTQ, &bytes) == 0 ? bytes : -1;
}

void SocketChannel::Close() {
    if (m_state != State::Open || DropWhenInterrupted()) return;
    if (!Flush()) return;
    if (!Drain()) return;
    close(m_fd);
    m_fd = -1;
    m_state = State::Completed;
    Report(true);
}

void SocketChannel::Abort() {
    if (m_state != State::Open) return;
    Reset();
    m_buffer.clear();
    m_state = State::Aborted;
}

void SocketChannel::Report(bool last) {
    if (!onProgress) return;
    const Clock::time_point now = Clock::now();
    if (!last && now - m_lastReport < kReportEvery) return;
    m_lastReport = now;
    onProgress(m_sent, std::chrono::duration<double>(now - m_started).count());
}
