// The host's output channel for network plotters: the job goes over one raw
// TCP connection (AppSocket/JetDirect), as a careful print backend sends
// it. The connection is made when the driver opens the channel with a
// "socket://HOST[:PORT]" target; refused connections (a plotter busy with
// another job) are tried again with growing pauses; a write that makes no
// progress for the write timeout, or a connection that drops, fails the
// job. Close hands the end of the job to the plotter and waits until the
// plotter has taken every byte, so that a job that did not arrive whole is
// never told as done. A job that fails or is dropped before its end resets
// the connection: the plotter must not take a partial job for a whole one.
// Every wait also wakes for Ctrl-C or SIGTERM (win32/kernel32/interrupt_requests.h).
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "output/job_channel.h"
#include "output/socket_address.h"

struct SocketOptions {
    int connectTimeoutMs = 10000;  // one connection attempt
    int writeTimeoutMs = 30000;    // without any byte taken by the plotter
    int retryForMs = 120000;       // how long refused connections are tried again
    int firstPauseMs = 500;        // pauses between tries double up to the last
    int lastPauseMs = 8000;
};

class SocketChannel : public JobChannel {
public:
    explicit SocketChannel(const SocketOptions& options = {});
    ~SocketChannel() override;
    SocketChannel(const SocketChannel&) = delete;
    SocketChannel& operator=(const SocketChannel&) = delete;

    int Open(const char* pszTarget) override;
    void Abort() override;
    void Write(const void* pBuffer, int nLength) override;
    void Close() override;

    std::string Target() const override;
    bool Completed() const override { return m_state == State::Completed; }
    const std::string& Error() const override { return m_error; }
    unsigned long long BytesWritten() const override { return m_sent; }
    std::string DroppedNote() const override;

    // Told of every refused try, with the pause before the next one.
    std::function<void(const std::string& notice)> onNotice;
    // Told now and then of the bytes the plotter has taken so far and the
    // seconds since the connection was made; once more when the job ends.
    std::function<void(unsigned long long bytes, double seconds)> onProgress;

private:
    enum class State { Idle, Open, Failed, Aborted, Completed };
    using Clock = std::chrono::steady_clock;

    bool Connect();
    // One try at each address of the host: the connected socket, or -1
    // with *refused telling whether every address refused.
    int TryConnect(const void* addresses, bool* refused, std::string* why);
    bool Flush();
    // True (the job dropped) once a signal asked the plot to stop.
    bool DropWhenInterrupted();
    bool WaitFor(short events, int timeoutMs, const char* what);
    bool Drain();
    // Bytes sent but not yet acknowledged by the plotter; -1 when unknown.
    int Unacknowledged() const;
    void Fail(const std::string& what);
    // Closes the connection with a reset.
    void Reset();
    void Report(bool last);

    SocketOptions m_options;
    State m_state = State::Idle;
    SocketAddress m_address;
    int m_fd = -1;
    bool m_bConnected = false;      // a connection was made for this job
    bool m_bPlotterHasAll = false;  // it acknowledged the job and its end
    std::string m_error;
    std::vector<char> m_buffer;  // the driver writes a few bytes at a time
    unsigned long long m_sent = 0;
    Clock::time_point m_started;
    Clock::time_point m_lastReport;
};
