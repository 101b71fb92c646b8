// The output channel of the raster filter: the job goes straight to a file
// descriptor (standard output, which CUPS leads to the backend), in blocks,
// as it is made. Abort drops what is not yet written and writes nothing
// more, so a job that fails or is cancelled half way never gets its end.
#pragma once

#include <string>
#include <vector>

#include "output/job_channel.h"

class StreamChannel : public JobChannel {
public:
    explicit StreamChannel(int fd) : m_fd(fd) {}

    int Open(const char* pszTarget) override;
    void Abort() override;
    void Write(const void* pBuffer, int nLength) override;
    void Close() override;

    std::string Target() const override { return m_target; }
    bool Completed() const override { return m_state == State::Completed; }
    const std::string& Error() const override { return m_error; }
    unsigned long long BytesWritten() const override { return m_bytes; }

private:
    enum class State { Idle, Open, Failed, Aborted, Completed };

    bool Flush();

    int m_fd;
    State m_state = State::Idle;
    std::string m_target;
    std::string m_error;
    std::vector<char> m_buffer;
    unsigned long long m_bytes = 0;
};
