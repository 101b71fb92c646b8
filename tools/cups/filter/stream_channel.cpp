#include "filter/stream_channel.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

#include "filter/cancel_signal.h"

namespace {

constexpr size_t kBlockBytes = 256 * 1024;

}  // namespace

int StreamChannel::Open(const char* pszTarget) {
    if (m_state == State::Open || m_state == State::Failed) return 0;
    m_target = pszTarget ? pszTarget : "";
    m_state = State::Open;
    m_buffer.clear();
    m_buffer.reserve(kBlockBytes);
    return 1;
}

void StreamChannel::Abort() {
    if (m_state == State::Open) m_state = State::Aborted;
    m_buffer.clear();
}

bool StreamChannel::Flush() {
    size_t done = 0;
    while (done < m_buffer.size()) {
        const ssize_t n = write(m_fd, m_buffer.data() + done, m_buffer.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            m_error = std::string("the job could not be handed on: ") + std::strerror(errno);
            m_state = State::Failed;
            m_buffer.clear();
            return false;
        }
        done += static_cast<size_t>(n);
        m_bytes += static_cast<unsigned long long>(n);
    }
    m_buffer.clear();
    return true;
}

void StreamChannel::Write(const void* pBuffer, int nLength) {
    if (m_state != State::Open || nLength <= 0) return;
    if (Cancelled()) return Abort();
    const char* bytes = static_cast<const char*>(pBuffer);
    m_buffer.insert(m_buffer.end(), bytes, bytes + nLength);
    if (m_buffer.size() >= kBlockBytes) Flush();
}

void StreamChannel::Close() {
    if (m_state != State::Open) return;
    if (Cancelled()) return Abort();
    if (Flush()) m_state = State::Completed;
}
