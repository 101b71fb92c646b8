// The network plotter channel is not built for Windows yet: its connection
// handling (non-blocking connect, poll, the kernel's count of unacknowledged
// bytes) is written for Linux sockets. A socket:// target is refused with a
// message rather than half served.
#include "output/socket_channel.h"

SocketChannel::SocketChannel(const SocketOptions& options) : m_options(options) {}

SocketChannel::~SocketChannel() = default;

int SocketChannel::Open(const char* pszTarget) {
    m_state = State::Failed;
    m_error = std::string("cannot plot to ") + (pszTarget ? pszTarget : "") +
              ": the Windows build of plothost has no network channel; plot to a file (-o) and "
              "send it";
    return 0;
}

void SocketChannel::Abort() {}

void SocketChannel::Write(const void*, int) {}

void SocketChannel::Close() {}

std::string SocketChannel::Target() const {
    return m_address.host;
}
