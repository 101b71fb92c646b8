// What a channel does and says when a stop request drops the job: the same
// on every platform, whatever the channel's own system calls.
#include "output/file_channel.h"
#include "output/socket_channel.h"
#include "win32/kernel32/interrupt_requests.h"

bool FileChannel::DropWhenInterrupted() {
    if (!InterruptSignal()) return false;
    if (m_state == State::Open) Abort();
    if (m_error.empty()) m_error = "the plot was interrupted";
    m_state = State::Aborted;
    return true;
}

std::string FileChannel::DroppedNote() const {
    if (!m_direct) return "no plot file was written";
    return "what had already reached " + m_target + " stays there";
}

std::string SocketChannel::DroppedNote() const {
    if (m_bPlotterHasAll)
        return "the whole job had already reached " + m_address.ToString() +
               ", which may still plot it";
    if (m_bConnected) return "the connection to the plotter was reset, so it drops the job";
    return "nothing was sent to the plotter";
}
