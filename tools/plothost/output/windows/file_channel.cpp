// The file channel on Windows: the same temporary file and rename as on
// Linux, through the system's file functions (MoveFileExA replaces the old
// plot, which the C library's rename would refuse to).
#include "output/file_channel.h"

#include <windows.h>

#include <algorithm>
#include <cctype>

#include "win32/kernel32/interrupt_requests.h"
#include "win32/kernel32/native_path.h"

namespace {

constexpr size_t kBufferBytes = 64 * 1024;

std::string SystemMessage(DWORD code) {
    char text[512] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, text, sizeof text, nullptr);
    std::string message(text, n);
    while (!message.empty() &&
           (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
        message.pop_back();
    return message.empty() ? "error " + std::to_string(code) : message;
}

}  // namespace

// Printer ports and other devices ("LPT1", "\\.\COM2", "NUL"), and
// anything that opens as a character device or a pipe, are written in
// place.
bool IsDirectTarget(const std::string& path) {
    if (path.rfind("\\\\.\\", 0) == 0) return true;
    std::string name = path.substr(
        path.find_last_of("\\/:") == std::string::npos ? 0 : path.find_last_of("\\/:") + 1);
    name = name.substr(0, name.find('.'));
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (name == "NUL" || name == "PRN" || name == "CON" || name == "AUX" ||
        ((name.rfind("LPT", 0) == 0 || name.rfind("COM", 0) == 0) && name.size() == 4 &&
         std::isdigit(static_cast<unsigned char>(name[3]))))
        return true;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const DWORD type = GetFileType(h);
    CloseHandle(h);
    return type == FILE_TYPE_CHAR || type == FILE_TYPE_PIPE;
}

FileChannel::~FileChannel() {
    if (m_state == State::Open) Abort();
}

void FileChannel::Fail(const std::string& what) {
    if (m_error.empty()) m_error = what + ": " + SystemMessage(GetLastError());
    if (m_fd >= 0) CloseHandle(reinterpret_cast<HANDLE>(static_cast<intptr_t>(m_fd)));
    m_fd = -1;
    DropTemporary();
    m_state = State::Failed;
}

void FileChannel::DropTemporary() {
    if (!m_direct && !m_temporary.empty()) DeleteFileA(m_temporary.c_str());
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
    HANDLE h =
        CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                    m_direct ? OPEN_EXISTING : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const std::string what = "cannot create " + path;
        m_temporary.clear();  // not ours to remove
        Fail(what);
        return 0;
    }
    // A handle is kept in the descriptor's place: Windows handles fit an int.
    m_fd = static_cast<int>(reinterpret_cast<intptr_t>(h));
    if (m_direct && GetFileType(h) == FILE_TYPE_DISK) SetFilePointer(h, 0, nullptr, FILE_END);
    m_state = State::Open;
    return 1;
}

bool FileChannel::Flush() {
    HANDLE h = reinterpret_cast<HANDLE>(static_cast<intptr_t>(m_fd));
    size_t done = 0;
    while (done < m_buffer.size()) {
        DWORD n = 0;
        if (!WriteFile(h, m_buffer.data() + done, static_cast<DWORD>(m_buffer.size() - done), &n,
                       nullptr) ||
            n == 0) {
            Fail("cannot write " + (m_direct ? m_target : m_temporary));
            return false;
        }
        done += n;
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
    CloseHandle(reinterpret_cast<HANDLE>(static_cast<intptr_t>(m_fd)));
    m_fd = -1;
    DropTemporary();
    m_buffer.clear();
    m_state = State::Aborted;
}

void FileChannel::Close() {
    // The rename below completes the job: a stop request noted before it
    // drops the job instead, one noted after it changes nothing.
    if (m_state != State::Open || DropWhenInterrupted() || !Flush()) return;
    HANDLE h = reinterpret_cast<HANDLE>(static_cast<intptr_t>(m_fd));
    m_fd = -1;
    if (!CloseHandle(h)) {
        Fail("cannot write " + (m_direct ? m_target : m_temporary));
        return;
    }
    if (!m_direct &&
        !MoveFileExA(m_temporary.c_str(), m_target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        Fail("cannot rename " + m_temporary + " to " + m_target);
        return;
    }
    m_state = State::Completed;
}
