// A TCP listener on the loopback interface inside the test process, playing
// a network plotter: it takes one connection and reads the whole job, or
// closes after some bytes, or holds after some bytes, or never reads. Every wait is bounded, so
// that a fault in the code under test ends the test rather than hanging it.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

class LoopbackListener {
public:
    enum class Mode {
        ReadAll,     // until the sender ends the connection
        CloseAfter,  // close once `limit` bytes have been read
        NeverRead,   // accept, then read nothing until Stop
        // Read `limit` bytes, then nothing until Stop, then the rest of the
        // job to its end. Its receive buffer is small, so that a sender
        // soon waits on it.
        HoldAfter,
    };

    // Bound to 127.0.0.1 on a free port; connections are refused until
    // Listen unless listenNow.
    explicit LoopbackListener(Mode mode, size_t limit = 0, bool listenNow = true);
    ~LoopbackListener();
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    int Port() const { return m_port; }
    std::string Uri() const { return "socket://127.0.0.1:" + std::to_string(m_port); }
    void Listen();
    // Ends a NeverRead connection; a HoldAfter one reads on.
    void Stop();
    // Waits until a HoldAfter listener holds (true), or the connection
    // ended before it could.
    bool WaitUntilHolding();

    // Waits for the connection to end; the bytes read.
    std::string Received();
    // The bytes read so far, without waiting.
    size_t BytesSoFar() const { return m_count; }
    // How the sender ended: true for an orderly end (not a reset).
    bool EndedInOrder();

private:
    void Serve();

    Mode m_mode;
    size_t m_limit;
    int m_fd = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::condition_variable m_listening;
    bool m_isListening = false;
    bool m_holding = false;
    std::thread m_thread;
    std::string m_received;
    std::atomic<size_t> m_count{0};
    bool m_endedInOrder = false;
    bool m_done = false;
};
