// Runs the built plothost with the repository's configuration and a scratch
// data folder, and keeps what it printed.
#pragma once

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "support/test_files.h"

struct PlothostRun {
    int status = -1;
    std::string out;     // standard output
    std::string errors;  // standard error
};

inline std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// arguments are shell words without quoting needs; environment, when given,
// is what env takes before the command ("-u DISPLAY LC_ALL=C.UTF-8").
inline PlothostRun RunPlothostIn(const ScratchDir& dir, const std::string& arguments,
                                 const std::string& environment = "") {
    const std::string command = std::string("cd ") + dir.path() + " && " +
                                (environment.empty() ? "" : "env " + environment + " ") +
                                HPGL2_PLOTHOST_PATH + " --app-dir " + HPGL2_SOURCE_DIR +
                                "/config --data-dir " + dir.path() + "/data " + arguments + " > " +
                                dir.path() + "/stdout.txt 2> " + dir.path() + "/stderr.txt";
    PlothostRun run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadWhole(dir.path() + "/stdout.txt");
    run.errors = ReadWhole(dir.path() + "/stderr.txt");
    return run;
}

// A plothost running in the background in the scratch folder, with the
// repository's configuration, for tests that signal it. Its standard output
// and error go to files of the folder; Ctrl-C and SIGTERM reach it with
// their default handling, as from a terminal.
class BackgroundPlothost {
public:
    BackgroundPlothost(const ScratchDir& dir, const std::vector<std::string>& arguments)
        : m_errors(dir.path() + "/stderr.txt") {
        std::vector<std::string> words = {HPGL2_PLOTHOST_PATH, "--app-dir",
                                          std::string(HPGL2_SOURCE_DIR) + "/config", "--data-dir",
                                          dir.path() + "/data"};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& w : words) argv.push_back(w.data());
        argv.push_back(nullptr);
        const std::string out = dir.path() + "/stdout.txt";
        // Emptied before the start: a caller looking for a line must not
        // find one of an earlier run.
        std::ofstream(out, std::ios::trunc);
        std::ofstream(m_errors, std::ios::trunc);
        m_pid = fork();
        if (m_pid == 0) {  // only async-signal-safe calls until exec
            const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int e = open(m_errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (o < 0 || e < 0 || chdir(dir.path().c_str()) != 0) _exit(126);
            dup2(o, STDOUT_FILENO);
            dup2(e, STDERR_FILENO);
            struct sigaction byDefault {};
            byDefault.sa_handler = SIG_DFL;
            sigaction(SIGINT, &byDefault, nullptr);
            sigaction(SIGTERM, &byDefault, nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
    }
    ~BackgroundPlothost() {
        if (m_pid > 0 && !m_ended) {
            kill(m_pid, SIGKILL);
            Wait();
        }
    }
    BackgroundPlothost(const BackgroundPlothost&) = delete;
    BackgroundPlothost& operator=(const BackgroundPlothost&) = delete;

    bool Started() const { return m_pid > 0; }
    // False once it has ended (it is reaped only by Wait).
    bool Running() const {
        siginfo_t info{};
        return m_pid > 0 && !m_ended &&
               waitid(P_PID, static_cast<id_t>(m_pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
               info.si_pid == 0;
    }
    void Signal(int signal) { kill(m_pid, signal); }
    // Its exit status, or minus the signal that killed it.
    int Wait() {
        if (!m_ended) {
            int raw = 0;
            while (waitpid(m_pid, &raw, 0) < 0 && errno == EINTR) {
            }
            m_status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -WTERMSIG(raw);
            m_ended = true;
        }
        return m_status;
    }
    std::string Errors() const { return ReadWhole(m_errors); }

private:
    std::string m_errors;
    pid_t m_pid = -1;
    bool m_ended = false;
    int m_status = -1;
};
