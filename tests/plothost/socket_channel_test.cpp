// The network plotter channel against a real TCP listener on the loopback
// interface: whole jobs byte for byte, drops, refusals and silence.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include "support/loopback_listener.h"
#include "output/socket_address.h"
#include "output/socket_channel.h"
#include "output/transfer_meter.h"
#include "win32/kernel32/interrupt_requests.h"

namespace {

using Mode = LoopbackListener::Mode;

// A job of `bytes` bytes that no shift of it matches: position-dependent.
std::string Job(size_t bytes) {
    std::string job(bytes, '\0');
    uint32_t x = 2463534242u;
    for (char& c : job) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = static_cast<char>(x);
    }
    return job;
}

// Written the way the driver writes: pieces of many small sizes.
void WriteInPieces(SocketChannel& channel, const std::string& job) {
    size_t at = 0, piece = 1;
    while (at < job.size()) {
        const size_t n = std::min(piece, job.size() - at);
        channel.Write(job.data() + at, static_cast<int>(n));
        at += n;
        piece = piece % 977 + 3;
    }
}

SocketOptions Quick() {
    SocketOptions options;
    options.connectTimeoutMs = 5000;
    options.writeTimeoutMs = 5000;
    options.retryForMs = 5000;
    options.firstPauseMs = 5;
    options.lastPauseMs = 40;
    return options;
}

TEST(SocketChannel, WholeJobArrivesByteForByte) {
    // Empty, one byte, and sizes around and well beyond the channel's
    // buffer of 256 kB.
    for (size_t size :
         {size_t{0}, size_t{1}, size_t{262143}, size_t{262144}, size_t{262145}, size_t{5} << 20}) {
        SCOPED_TRACE(size);
        LoopbackListener listener(Mode::ReadAll);
        SocketChannel channel(Quick());
        std::vector<std::pair<unsigned long long, double>> progress;
        channel.onProgress = [&](unsigned long long bytes, double seconds) {
            progress.emplace_back(bytes, seconds);
        };
        ASSERT_EQ(channel.Open(listener.Uri().c_str()), 1) << channel.Error();
        const std::string job = Job(size);
        WriteInPieces(channel, job);
        channel.Close();
        EXPECT_TRUE(channel.Completed()) << channel.Error();
        EXPECT_EQ(channel.Error(), "");
        EXPECT_EQ(channel.BytesWritten(), size);
        EXPECT_EQ(channel.Target(), listener.Uri());
        EXPECT_TRUE(listener.Received() == job);
        EXPECT_TRUE(listener.EndedInOrder());
        // The last report tells the whole job.
        ASSERT_FALSE(progress.empty());
        EXPECT_EQ(progress.back().first, size);
    }
}

TEST(SocketChannel, ConnectionDroppedMidJobFailsTheJob) {
    const std::string job = Job(size_t{8} << 20);
    // The listener closes after reading these many bytes.
    for (size_t limit : {size_t{0}, size_t{1}, size_t{100000}, size_t{3} << 20}) {
        SCOPED_TRACE(limit);
        LoopbackListener listener(Mode::CloseAfter, limit);
        SocketChannel channel(Quick());
        ASSERT_EQ(channel.Open(listener.Uri().c_str()), 1) << channel.Error();
        WriteInPieces(channel, job);
        channel.Close();
        EXPECT_FALSE(channel.Completed());
        EXPECT_NE(channel.Error().find("the job is incomplete"), std::string::npos)
            << channel.Error();
        EXPECT_EQ(listener.Received().size(), limit);
        // Writes after the failure change nothing.
        channel.Write("x", 1);
        channel.Close();
        EXPECT_FALSE(channel.Completed());
    }
}

TEST(SocketChannel, SmallJobDroppedBeforeItsEndFails) {
    // The whole job fits the socket buffers, so every write succeeds; only
    // the end of the job shows that the plotter did not take it.
    LoopbackListener listener(Mode::CloseAfter, 10);
    SocketChannel channel(Quick());
    ASSERT_EQ(channel.Open(listener.Uri().c_str()), 1) << channel.Error();
    const std::string job = Job(1000);
    WriteInPieces(channel, job);
    channel.Close();
    EXPECT_EQ(listener.Received(), job.substr(0, 10));
    EXPECT_FALSE(channel.Completed());
    EXPECT_NE(channel.Error().find("the job is incomplete"), std::string::npos) << channel.Error();
}

TEST(SocketChannel, PlotterThatAcceptsLateIsTriedAgain) {
    LoopbackListener listener(Mode::ReadAll, 0, /*listenNow=*/false);
    SocketChannel channel(Quick());
    std::vector<std::string> notices;
    channel.onNotice = [&](const std::string& notice) {
        notices.push_back(notice);
        // Busy for two tries, then free.
        if (notices.size() == 2) listener.Listen();
    };
    ASSERT_EQ(channel.Open(listener.Uri().c_str()), 1) << channel.Error();
    const std::string job = Job(70000);
    WriteInPieces(channel, job);
    channel.Close();
    EXPECT_TRUE(channel.Completed()) << channel.Error();
    EXPECT_TRUE(listener.Received() == job);
    ASSERT_EQ(notices.size(), 2u);
    // The pauses double: 5 ms, then 10 ms.
    EXPECT_EQ(notices[0], "127.0.0.1:" + std::to_string(listener.Port()) +
                              " refuses the connection (busy with another job?); trying again "
                              "in 5 ms");
    EXPECT_NE(notices[1].find("refuses the connection"), std::string::npos);
}

TEST(SocketChannel, RefusingPlotterIsGivenUpAfterTheRetryTime) {
    LoopbackListener listener(Mode::ReadAll, 0, /*listenNow=*/false);
    SocketOptions options = Quick();
    options.retryForMs = 0;  // one try
    SocketChannel once(options);
    int notices = 0;
    once.onNotice = [&](const std::string&) { ++notices; };
    EXPECT_EQ(once.Open(listener.Uri().c_str()), 0);
    EXPECT_EQ(notices, 0);
    EXPECT_EQ(once.Error(), "cannot connect to 127.0.0.1:" + std::to_string(listener.Port()) +
                                ": Connection refused");
    options.retryForMs = 60;
    SocketChannel retried(options);
    retried.onNotice = [&](const std::string&) { ++notices; };
    EXPECT_EQ(retried.Open(listener.Uri().c_str()), 0);
    EXPECT_GE(notices, 1);
    EXPECT_FALSE(retried.Completed());
}

TEST(SocketChannel, SilentPlotterTimesOut) {
    LoopbackListener listener(Mode::NeverRead);
    SocketOptions options = Quick();
    options.writeTimeoutMs = 200;
    SocketChannel channel(options);
    ASSERT_EQ(channel.Open(listener.Uri().c_str()), 1) << channel.Error();
    // Far more than the socket buffers of both ends take.
    const std::string block(1 << 20, 'x');
    for (int i = 0; i < 256 && channel.Error().empty(); ++i)
        channel.Write(block.data(), static_cast<int>(block.size()));
    channel.Close();
    listener.Stop();
    EXPECT_FALSE(channel.Completed());
    EXPECT_NE(channel.Error().find("took no data for 200 ms after"), std::string::npos)
        << channel.Error();
}

// A job that fails half way must not look whole to the plotter: the
// connection is reset, not ended in order.
TEST(SocketChannel, AJobThatTimesOutResetsTheConnection) {
    LoopbackListener listener(Mode::HoldAfter, 0);
    SocketOptions options = Quick();
    options.writeTimeoutMs = 200;
    SocketChannel channel(options);
    ASSERT_EQ(channel.Open(listener.Uri().c_str()), 1) << channel.Error();
    const std::string block(1 << 20, 'x');
    for (int i = 0; i < 256 && channel.Error().empty(); ++i)
        channel.Write(block.data(), static_cast<int>(block.size()));
    EXPECT_NE(channel.Error().find("took no data for 200 ms"), std::string::npos)
        << channel.Error();
    listener.Stop();  // reads what reached it, then how the job ended
    EXPECT_FALSE(listener.EndedInOrder());
}

// Ctrl-C while the host holds the signals, at each kind of wait of the
// channel: it wakes at once, drops the job and resets the connection. The
// waits would last a minute otherwise.
TEST(SocketChannel, ASignalEndsEveryWaitAndResetsTheJob) {
    using Clock = std::chrono::steady_clock;
    SocketOptions patient = Quick();
    patient.connectTimeoutMs = patient.writeTimeoutMs = 60000;
    patient.firstPauseMs = patient.lastPauseMs = 60000;
    patient.retryForMs = 120000;
    const auto pressLater = [] {
        return std::thread([] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            std::raise(SIGINT);
        });
    };

    {
        SCOPED_TRACE("between tries at a refusing plotter");
        InterruptScope host;
        LoopbackListener refusing(Mode::ReadAll, 0, /*listenNow=*/false);
        SocketChannel channel(patient);
        const Clock::time_point start = Clock::now();
        std::thread press = pressLater();
        EXPECT_EQ(channel.Open(refusing.Uri().c_str()), 0);
        press.join();
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(30));
        EXPECT_NE(channel.Error().find("interrupted"), std::string::npos) << channel.Error();
        EXPECT_EQ(channel.DroppedNote(), "nothing was sent to the plotter");
    }
    {
        SCOPED_TRACE("while the plotter takes nothing");
        InterruptScope host;
        LoopbackListener listener(Mode::HoldAfter, 100000);
        SocketChannel channel(patient);
        ASSERT_EQ(channel.Open(listener.Uri().c_str()), 1) << channel.Error();
        const Clock::time_point start = Clock::now();
        std::thread press = pressLater();
        // Far more than the socket buffers of both ends hold.
        const std::string block(1 << 20, 'x');
        for (int i = 0; i < 64 && channel.Error().empty(); ++i)
            channel.Write(block.data(), static_cast<int>(block.size()));
        channel.Close();
        press.join();
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(30));
        EXPECT_FALSE(channel.Completed());
        EXPECT_EQ(channel.DroppedNote(),
                  "the connection to the plotter was reset, so it drops the job");
        listener.Stop();
        EXPECT_FALSE(listener.EndedInOrder());
    }
    {
        SCOPED_TRACE("after a plotter that does not answer has taken the job and its end");
        InterruptScope host;
        const std::string job = Job(5000);
        LoopbackListener listener(Mode::HoldAfter, job.size());
        SocketChannel channel(patient);
        ASSERT_EQ(channel.Open(listener.Uri().c_str()), 1) << channel.Error();
        WriteInPieces(channel, job);
        std::thread closing([&] { channel.Close(); });
        // The plotter has read every byte; its side acknowledges the end of
        // the job at once.
        ASSERT_TRUE(listener.WaitUntilHolding());
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        std::raise(SIGINT);
        closing.join();
        EXPECT_FALSE(channel.Completed());
        EXPECT_EQ(channel.DroppedNote(),
                  "the whole job had already reached 127.0.0.1:" + std::to_string(listener.Port()) +
                      ", which may still plot it");
        listener.Stop();
        EXPECT_TRUE(listener.Received() == job);
    }
}

TEST(SocketChannel, UnansweredConnectionTimesOut) {
    // A listener whose queue of connections is full drops further
    // connection requests without an answer, as a plotter that is switched
    // off or cut off does: the one queue place (backlog 0) is taken first.
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    socklen_t length = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    ASSERT_EQ(listen(listener, 0), 0);
    const int first = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_EQ(connect(first, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    SocketOptions options = Quick();
    options.connectTimeoutMs = 300;
    SocketChannel channel(options);
    int notices = 0;
    channel.onNotice = [&](const std::string&) { ++notices; };
    const std::string target = "socket://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
    EXPECT_EQ(channel.Open(target.c_str()), 0);
    EXPECT_EQ(channel.Error(),
              "cannot connect to 127.0.0.1:" + std::to_string(ntohs(address.sin_port)) +
                  ": no answer within 300 ms");
    // Silence is not a refusal: no second try.
    EXPECT_EQ(notices, 0);
    close(first);
    close(listener);
}

TEST(SocketChannel, AbortResetsTheConnection) {
    LoopbackListener listener(Mode::ReadAll);
    SocketChannel channel(Quick());
    ASSERT_EQ(channel.Open(listener.Uri().c_str()), 1) << channel.Error();
    WriteInPieces(channel, Job(300000));
    channel.Abort();
    EXPECT_FALSE(channel.Completed());
    // The plotter sees a reset, not the orderly end of a job.
    EXPECT_FALSE(listener.EndedInOrder());
    // So it does of a job that is never closed.
    LoopbackListener second(Mode::ReadAll);
    {
        SocketChannel unclosed(Quick());
        ASSERT_EQ(unclosed.Open(second.Uri().c_str()), 1) << unclosed.Error();
        WriteInPieces(unclosed, Job(300000));
    }
    EXPECT_FALSE(second.EndedInOrder());
}

TEST(SocketChannel, AddressesThatCannotBeReached) {
    const struct {
        const char* target;
        const char* error;
    } cases[] = {
        {"socket://nonexistent.invalid", "cannot find the plotter nonexistent.invalid"},
        {"socket://127.0.0.1:0", "the port 0 of \"socket://127.0.0.1:0\" lies outside 1 to 65535"},
        {"/tmp/plot.plt", "it does not start with socket://"},
    };
    for (const auto& c : cases) {
        SocketChannel channel(Quick());
        EXPECT_EQ(channel.Open(c.target), 0) << c.target;
        EXPECT_NE(channel.Error().find(c.error), std::string::npos) << channel.Error();
    }
}

TEST(SocketAddress, WhatUsersWrite) {
    const struct {
        const char* text;
        const char* host;  // nullptr: refused
        int port;
        const char* error;
    } cases[] = {
        {"socket://plotter", "plotter", 9100, ""},
        {"SOCKET://plotter.example.com:9101", "plotter.example.com", 9101, ""},
        {"socket://192.168.1.20:1", "192.168.1.20", 1, ""},
        {"socket://127.0.0.1:65535/", "127.0.0.1", 65535, ""},
        {"socket://[::1]", "::1", 9100, ""},
        {"socket://[fe80::1]:9102", "fe80::1", 9102, ""},
        {"socket://host:65536", nullptr, 0, "lies outside 1 to 65535"},
        {"socket://host:0", nullptr, 0, "lies outside 1 to 65535"},
        {"socket://host:99999999999999999999", nullptr, 0, "lies outside 1 to 65535"},
        {"socket://host:", nullptr, 0, "no port after ':'"},
        {"socket://host:91a", nullptr, 0, "the port \"91a\" is not a number"},
        {"socket://host:-1", nullptr, 0, "is not a number"},
        {"socket://", nullptr, 0, "no host"},
        {"socket://:9100", nullptr, 0, "no host"},
        {"socket://pl otter", nullptr, 0, "' ' in the host name"},
        {"socket://host/queue", nullptr, 0, "'/' in the host name"},
        {"socket://[::1", nullptr, 0, "no ']'"},
        {"socket://[::1]x", nullptr, 0, "text after the IPv6 address"},
        {"socket://[]", nullptr, 0, "no host"},
        {"socket://[g::1]", nullptr, 0, "'g' in an IPv6 address"},
        {"lpd://plotter", nullptr, 0, "it does not start with socket://"},
        {"", nullptr, 0, "it does not start with socket://"},
    };
    for (const auto& c : cases) {
        SocketAddress address;
        std::string error;
        const bool ok = ParseSocketAddress(c.text, &address, &error);
        EXPECT_EQ(ok, c.host != nullptr) << c.text << ": " << error;
        if (c.host) {
            EXPECT_EQ(address.host, c.host);
            EXPECT_EQ(address.port, c.port);
        } else {
            EXPECT_NE(error.find(c.error), std::string::npos) << c.text << ": " << error;
        }
    }
    EXPECT_EQ((SocketAddress{"::1", 9100}).ToString(), "[::1]:9100");
    EXPECT_EQ((SocketAddress{"plotter", 9101}).ToString(), "plotter:9101");
}

TEST(TransferMeter, LineOfBytesAndRate) {
    const struct {
        unsigned long long bytes;
        double seconds;
        const char* line;
    } cases[] = {
        {0, 0, "sent 0.0 kB to socket://p:9100"},
        {999, 0.05, "sent 1.0 kB to socket://p:9100"},
        {1500000, 0.5, "sent 1.5 MB to socket://p:9100, 3.0 MB/s"},
        {12345678, 2, "sent 12.3 MB to socket://p:9100, 6.2 MB/s"},
        {2000, 4, "sent 2.0 kB to socket://p:9100, 0.5 kB/s"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TransferLine(c.bytes, c.seconds, "socket://p:9100"), c.line);
}

}  // namespace
