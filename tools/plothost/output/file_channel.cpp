#include "output/file_channel.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "win32/kernel32/native_path.h"

namespace {

constexpr size_t kBufferBytes = 64 * 1024;

}  // namespace

bool IsDirectTarget(const std::string& path) {
    if (path.rfind("/dev/", 0) == 0 || path.rfind("/proc/", 0) == 0) return true;
    struct stat st {};
    return stat(path.c_str(), &st) == 0 &&
           (S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode));
}

FileChannel::~FileChannel() {
    if (m_state == State::Open) Abort();
}

void FileChannel::Fail(const std::string& what) {
    if (m_error.empty()) m_error = what + ": " + std::strerror(errno);
    if (m_fd >= 0) close(m_fd);
    m_fd = -1;
    DropTemporary();
    m_state = State::Failed;
}

void FileChannel::DropTemporary() {
    if (!m_direct && !m_temporary.empty()) unlink(m_temporary.c_str());
}

int FileChannel::Open(const char* pszTarget) {
    if (m_state == State::Open || !pszTarget || !*pszTarget) return 0;
    m_target = NativePath(pszTarget);
    m_error.clear();
    m_bytes = 0;
    m_direct = IsDirectTarget(m_target);
    if (DropWhenInterrupted()) return 0;
    m_buffer.clear();
    m_buffer.reserve(kBufferBytes);
    m_temporary = m_direct ? std::string() : m_target + ".tmp";
    const std::string& path = m_direct ? m_target : m_temporary;
    // A stream that leads to a regular file (a shell's ">" or ">>") is
    // appended to, never written over from its start.
    m_fd = m_direct ? open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC)
                    : open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (m_fd < 0) {
        const std::string what = "cannot create " + path;
        m_temporary.clear();  // not ours to remove
        Fail(what);
        return 0;
    }
    m_state = State::Open;
    return 1;
}

bool FileChannel::Flush() {
    size_t done = 0;
    while (done < m_buffer.size()) {
        const ssize_t n = write(m_fd, m_buffer.data() + done, m_buffer.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            Fail("cannot write " + (m_direct ? m_target : m_temporary));
            return false;
        }
        done += static_cast<size_t>(n);
    }
    m_buffer.clear();
    return true;
}

void FileChannel::Write(const void* pBuffer, int nLength) {
    if (m_state != State::Open || !pBuffer || nLength <= 0 || DropWhenInterrupted()) return;
    const char* bytes = static_cast<const char*>(pBuffer);
    m_buffer.insert(m_buffer.end(), bytes, bytes + nLength);
    m_bytes += static_cast<unsigned long long>(nLength);
    if (m_buffer.size() >= kBufferBytes) Flush();
}

void FileChannel::Abort() {
    if (m_state != State::Open) return;
    close(m_fd);
    m_fd = -1;
    DropTemporary();
    m_buffer.clear();
    m_state = State::Aborted;
}

void FileChannel::Close() {
    // The rename below completes the job: a signal noted before it drops
    // the job instead, one noted after it changes nothing.
    if (m_state != State::Open || DropWhenInterrupted() || !Flush()) return;
    if (close(m_fd) != 0) {
        m_fd = -1;
        Fail("cannot write " + (m_direct ? m_target : m_temporary));
        return;
    }
    m_fd = -1;
    if (!m_direct && std::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        Fail("cannot rename " + m_temporary + " to " + m_target);
        return;
    }
    m_state = State::Completed;
}
