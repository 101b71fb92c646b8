#include "output/transfer_meter.h"

#include <charconv>
#include <cstdio>
#include <unistd.h>

namespace {

std::string OneDecimal(double value) {
    char text[32];
    const auto [end, ec] =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 1);
    return ec == std::errc() ? std::string(text, end) : std::string("?");
}

std::string Amount(double bytes) {
    return bytes < 1e6 ? OneDecimal(bytes / 1e3) + " kB" : OneDecimal(bytes / 1e6) + " MB";
}

}  // namespace

std::string TransferLine(unsigned long long bytes, double seconds, const std::string& target) {
    std::string line = "sent " + Amount(static_cast<double>(bytes)) + " to " + target;
    if (seconds >= 0.1) line += ", " + Amount(static_cast<double>(bytes) / seconds) + "/s";
    return line;
}

TransferMeter::TransferMeter(std::string target)
    : m_enabled(isatty(STDERR_FILENO) != 0), m_target(std::move(target)) {}

void TransferMeter::Update(unsigned long long bytes, double seconds) {
    if (!m_enabled) return;
    const std::string line = "plothost: " + TransferLine(bytes, seconds, m_target);
    // Spaces wipe what a longer line left.
    const size_t pad = m_width > line.size() ? m_width - line.size() : 0;
    std::fprintf(stderr, "\r%s%*s", line.c_str(), static_cast<int>(pad), "");
    std::fflush(stderr);
    m_width = line.size();
}

void TransferMeter::Finish() {
    if (!m_enabled || m_width == 0) return;
    std::fprintf(stderr, "\r%*s\r", static_cast<int>(m_width), "");
    std::fflush(stderr);
    m_width = 0;
}
