// The host's output channel for plot files: the job is written to
// "<target>.tmp" beside the target and renamed over it only when the job
// is complete, so a failed or cancelled plot never leaves half a file.
// A target that is a device or a stream (a printer port such as
// /dev/usb/lp0, a pipe, /dev/stdout) is written directly.
#pragma once

#include <string>
#include <vector>

#include "output/job_channel.h"

// True for targets that are written in place, never renamed over: devices,
// pipes and sockets, and every path under /dev and /proc (/dev/stdout is a
// link that may lead to a regular file).
bool IsDirectTarget(const std::string& path);

class FileChannel : public JobChannel {
public:
    FileChannel() = default;
    ~FileChannel() override;
    FileChannel(const FileChannel&) = delete;
    FileChannel& operator=(const FileChannel&) = delete;

    int Open(const char* pszTarget) override;
    void Abort() override;
    void Write(const void* pBuffer, int nLength) override;
    void Close() override;

    // The path the driver opened ("" before Open).
    std::string Target() const override { return m_target; }
    // True once Close has put the complete job in place.
    bool Completed() const override { return m_state == State::Completed; }
    // Why the job could not be written ("" when nothing went wrong).
    const std::string& Error() const override { return m_error; }
    unsigned long long BytesWritten() const override { return m_bytes; }
    std::string DroppedNote() const override;

private:
    enum class State { Idle, Open, Failed, Aborted, Completed };

    bool Flush();
    // True (the job dropped) once a signal asked the plot to stop.
    bool DropWhenInterrupted();
    void Fail(const std::string& what);
    void DropTemporary();

    State m_state = State::Idle;
    int m_fd = -1;
    bool m_direct = false;  // a device: no temporary file
    std::string m_target;
    std::string m_temporary;
    std::string m_error;
    std::vector<char> m_buffer;  // the driver writes a few bytes at a time
    unsigned long long m_bytes = 0;
};
