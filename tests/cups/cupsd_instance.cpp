#include "cups/cupsd_instance.h"

#include <arpa/inet.h>
#include <csignal>
#include <fcntl.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <sstream>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

}  // namespace

int FreeLoopbackPort() {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

CupsdInstance::CupsdInstance(std::string root) : m_root(std::move(root)) {}

CupsdInstance::~CupsdInstance() {
    Stop();
}

void CupsdInstance::Stop() {
    if (m_pid <= 0) return;
    kill(m_pid, SIGTERM);
    for (int waited = 0; waited < 5000; waited += 20) {
        if (waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
            m_pid = -1;
            return;
        }
        usleep(20000);
    }
    kill(m_pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
    m_pid = -1;
}

bool CupsdInstance::Start(std::string* error) {
    const fs::path root = m_root;
    std::error_code ec;
    fs::remove_all(root, ec);
    for (const char* dir : {"conf", "bin/filter", "spool/tmp", "cache", "state", "log"})
        fs::create_directories(root / dir);
    // The filters run as lp: their scratch folder must be open to them.
    fs::permissions(root / "spool/tmp", fs::perms::all | fs::perms::sticky_bit);
    for (const auto& entry : fs::directory_iterator("/usr/lib/cups/filter"))
        fs::create_symlink(entry.path(), root / "bin/filter" / entry.path().filename(), ec);
    for (const char* filter : {HPGL2_EMF_FILTER, HPGL2_RASTER_FILTER})
        fs::create_symlink(filter, root / "bin/filter" / fs::path(filter).filename(), ec);
    for (const char* dir : {"backend", "daemon", "notifier", "cgi-bin"})
        fs::create_directory_symlink(fs::path("/usr/lib/cups") / dir, root / "bin" / dir, ec);
    fs::copy_file(HPGL2_CUPS_TYPES, root / "conf/hpgl2.types", ec);

    m_port = FreeLoopbackPort();
    WriteFile(root / "conf/cupsd.conf", "Listen 127.0.0.1:" + std::to_string(m_port) +
                                            "\nLogLevel debug\nBrowsing Off\nWebInterface No\n"
                                            "DefaultAuthType None\nJobKillDelay 5\n"
                                            "<Location />\n  Order allow,deny\n  Allow all\n"
                                            "</Location>\n<Policy default>\n  <Limit All>\n"
                                            "    Order deny,allow\n  </Limit>\n</Policy>\n");
    const std::string r = root.string();
    std::string files = "ServerRoot " + r + "/conf\nServerBin " + r + "/bin\nRequestRoot " + r +
                        "/spool\nTempDir " + r + "/spool/tmp\nCacheDir " + r + "/cache\nStateDir " +
                        r + "/state\nAccessLog " + r + "/log/access_log\nErrorLog " + r +
                        "/log/error_log\nPageLog " + r + "/log/page_log\nPrintcap " + r +
                        "/state/printcap\n" + "User lp\nGroup lp\nFileDevice No\n";
    // A filter built with the address sanitizer must not fail the job over
    // what the libraries it loads keep until exit.
    files += "SetEnv ASAN_OPTIONS detect_leaks=0\n";
    WriteFile(root / "conf/cups-files.conf", files);
    // Without a community the socket backend asks no SNMP questions (each
    // would wait seconds for a plotter that does not answer them).
    WriteFile(root / "conf/snmp.conf", "Community\n");

    const pid_t parent = getpid();
    m_pid = fork();
    if (m_pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(1);
        const std::string conf = r + "/conf/cupsd.conf", filesConf = r + "/conf/cups-files.conf";
        const std::string log = r + "/log/cupsd.out";
        const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, STDOUT_FILENO);
        dup2(out, STDERR_FILENO);
        execlp("cupsd", "cupsd", "-f", "-c", conf.c_str(), "-s", filesConf.c_str(), nullptr);
        _exit(127);
    }
    for (int waited = 0; waited < 10000; waited += 100) {
        if (Run("lpstat -r").output.find("is running") != std::string::npos) return true;
        if (waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
            m_pid = -1;
            break;
        }
        usleep(100000);
    }
    std::ifstream out(r + "/log/cupsd.out");
    std::stringstream text;
    text << out.rdbuf();
    *error = "cupsd did not start: " + text.str() + ErrorLog();
    Stop();
    return false;
}

CommandResult CupsdInstance::Run(const std::string& command) const {
    const std::string full =
        "CUPS_SERVER=127.0.0.1:" + std::to_string(m_port) + " " + command + " 2>&1";
    CommandResult result;
    FILE* pipe = popen(full.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
    const int raw = pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return result;
}

bool CupsdInstance::WaitIdle(const std::string& queue, int timeoutMs) const {
    for (int waited = 0; waited < timeoutMs; waited += 100) {
        if (Run("lpstat -o " + queue).output.empty()) return true;
        usleep(100000);
    }
    return false;
}

std::string CupsdInstance::ErrorLog() const {
    std::ifstream in(m_root + "/log/error_log");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
