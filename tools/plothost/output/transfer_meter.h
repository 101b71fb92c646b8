// The progress of a job on its way to a network plotter: one terminal line,
// redrawn a few times a second, with the bytes sent and the rate.
#pragma once

#include <string>

// "sent 12.3 MB to socket://plotter:9100, 45.6 MB/s" (kB below a megabyte;
// no rate before a tenth of a second has passed).
std::string TransferLine(unsigned long long bytes, double seconds, const std::string& target);

class TransferMeter {
public:
    // Shown only when standard error is a terminal.
    explicit TransferMeter(std::string target);
    ~TransferMeter() { Finish(); }
    TransferMeter(const TransferMeter&) = delete;
    TransferMeter& operator=(const TransferMeter&) = delete;

    void Update(unsigned long long bytes, double seconds);
    // Clears the line.
    void Finish();
    bool Enabled() const { return m_enabled; }

private:
    bool m_enabled;
    std::string m_target;
    size_t m_width = 0;  // of the line shown, 0 when none is
};
