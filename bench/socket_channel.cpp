// The network plotter channel over the loopback interface: the host must
// never be the slow end of a job, so the channel has to send far faster
// than any plotter takes data. A sink thread of this process reads and
// drops everything; nothing leaves the machine.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "output/socket_channel.h"

namespace {

// Accepts one connection on 127.0.0.1 and reads it to its end.
class Sink {
public:
    Sink() {
        m_fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t length = sizeof address;
        getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length);
        m_uri = "socket://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
        listen(m_fd, 1);
        m_thread = std::thread([this] {
            pollfd p{m_fd, POLLIN, 0};
            if (poll(&p, 1, 30000) <= 0) return;
            const int client = accept(m_fd, nullptr, nullptr);
            if (client < 0) return;
            static char buffer[1 << 20];
            while (recv(client, buffer, sizeof buffer, 0) > 0) {
            }
            close(client);
        });
    }
    ~Sink() {
        m_thread.join();
        close(m_fd);
    }
    const std::string& Uri() const { return m_uri; }

private:
    int m_fd = -1;
    std::string m_uri;
    std::thread m_thread;
};

// One job of 64 MB per iteration, written in pieces of the given size, as
// the driver writes commands of a few bytes and raster rows of kilobytes.
void BM_SocketJob(benchmark::State& state) {
    const size_t piece = static_cast<size_t>(state.range(0));
    const size_t job = size_t{64} << 20;
    const std::string bytes(piece, 'x');
    for (auto _ : state) {
        Sink sink;
        SocketChannel channel;
        if (!channel.Open(sink.Uri().c_str())) {
            state.SkipWithError(channel.Error().c_str());
            break;
        }
        for (size_t sent = 0; sent < job; sent += piece)
            channel.Write(bytes.data(), static_cast<int>(piece));
        channel.Close();
        if (!channel.Completed()) {
            state.SkipWithError(channel.Error().c_str());
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(job));
}
// Wall time: the sink thread and the kernel do half the work.
BENCHMARK(BM_SocketJob)
    ->Arg(16)
    ->Arg(4096)
    ->Arg(65536)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
