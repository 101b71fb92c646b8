// A cupsd of the test's own: a throwaway configuration in a folder of the
// build tree, listening on a free loopback port, with the system's filters
// and backends and the filters built here. It is stopped with the object,
// and killed with the test process whatever ends that (a parent-death
// signal), so no test leaves a cupsd behind.
#pragma once

#include <string>
#include <sys/types.h>

struct CommandResult {
    int status = -1;
    std::string output;  // standard output and error
};

class CupsdInstance {
public:
    // root: a folder made afresh for the server's files.
    explicit CupsdInstance(std::string root);
    ~CupsdInstance();
    CupsdInstance(const CupsdInstance&) = delete;
    CupsdInstance& operator=(const CupsdInstance&) = delete;

    // Writes the configuration and starts cupsd; false with a message when
    // it does not answer within a few seconds.
    bool Start(std::string* error);
    void Stop();
    int Port() const { return m_port; }
    bool Running() const { return m_pid > 0; }

    // A shell command with CUPS_SERVER pointing at this server.
    CommandResult Run(const std::string& command) const;
    // Waits until the queue has no pending or processing job.
    bool WaitIdle(const std::string& queue, int timeoutMs) const;
    std::string ErrorLog() const;

private:
    std::string m_root;
    int m_port = 0;
    pid_t m_pid = -1;
};

// A free TCP port on 127.0.0.1 at the moment of asking.
int FreeLoopbackPort();
