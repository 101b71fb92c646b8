// Bands rendered on worker threads, handed over in order on the calling
// thread. Band b renders into buffer b % K, and only once band b - K has
// been handed over, so K buffers are all the memory a raster takes. A
// refused or failed band stops the workers before they take another band.
#include <condition_variable>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "rip_internal.h"

namespace {

enum class SlotState { Free, Rendering, Ready, Failed };

struct Slot {
    RipCanvas* canvas = nullptr;
    SlotState state = SlotState::Free;
    unsigned band = 0;
};

class Pipeline {
public:
    Pipeline(const RipBandPlan& plan, const RipPicture& picture, std::vector<Slot> slots)
        : m_plan(plan), m_picture(picture), m_slots(std::move(slots)) {}

    // Workers run until every band is taken or the pipeline stops.
    void Work() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_changed.wait(lock, [&] {
                return m_stop || m_next >= m_plan.Bands() || m_next < m_delivered + m_slots.size();
            });
            if (m_stop || m_next >= m_plan.Bands()) return;
            const unsigned band = m_next++;
            Slot& slot = m_slots[band % m_slots.size()];
            slot.state = SlotState::Rendering;
            slot.band = band;
            lock.unlock();
            bool ok = false;
            try {
                ok = slot.canvas->Render(m_picture, band * m_plan.bandRows);
            } catch (...) {
                ok = false;
            }
            lock.lock();
            slot.state = ok ? SlotState::Ready : SlotState::Failed;
            m_changed.notify_all();
        }
    }

    bool Deliver(const RipDeliver& deliver) {
        for (unsigned band = 0; band < m_plan.Bands(); ++band) {
            Slot& slot = m_slots[band % m_slots.size()];
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [&] {
                    return slot.band == band &&
                           (slot.state == SlotState::Ready || slot.state == SlotState::Failed);
                });
                if (slot.state == SlotState::Failed) {
                    m_stop = true;
                    m_changed.notify_all();
                    return false;
                }
            }
            const unsigned top = band * m_plan.bandRows;
            const unsigned rows = std::min(m_plan.bandRows, m_plan.height - top);
            int taken = 0;
            try {
                taken = deliver(top, rows, slot.canvas->Bits());
            } catch (...) {
                taken = 0;
            }
            if (!taken) return Stop();
            std::lock_guard lock(m_mutex);
            slot.state = SlotState::Free;
            ++m_delivered;
            m_changed.notify_all();
        }
        return true;
    }

private:
    bool Stop() {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        m_changed.notify_all();
        return false;
    }

    const RipBandPlan& m_plan;
    const RipPicture& m_picture;
    std::vector<Slot> m_slots;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    unsigned m_next = 0;
    unsigned m_delivered = 0;
    bool m_stop = false;
};

bool RenderInline(const RipBandPlan& plan, const RipPicture& picture, RipCanvas& canvas,
                  const RipDeliver& deliver) {
    for (unsigned top = 0; top < plan.height; top += plan.bandRows) {
        if (!canvas.Render(picture, top)) return false;
        if (!deliver(top, std::min(plan.bandRows, plan.height - top), canvas.Bits())) return false;
    }
    return true;
}

}  // namespace

bool RenderRipBands(const RipBandPlan& plan, const RipPicture& picture, RipCanvas& first,
                    const RipDeliver& deliver) {
    if (plan.threads <= 1 || plan.Bands() <= 1) return RenderInline(plan, picture, first, deliver);
    // More buffers, as memory allows; with fewer than two the bands render
    // on the calling thread.
    std::vector<std::unique_ptr<RipCanvas>> more;
    for (unsigned i = 1; i < plan.Buffers(); ++i) {
        auto canvas = std::unique_ptr<RipCanvas>(new (std::nothrow) RipCanvas);
        if (!canvas || !canvas->Create(plan.width, plan.bandRows)) break;
        more.push_back(std::move(canvas));
    }
    if (more.size() < 2) return RenderInline(plan, picture, first, deliver);
    std::vector<Slot> slots;
    slots.push_back(Slot{&first});
    for (auto& canvas : more) slots.push_back(Slot{canvas.get()});
    const size_t workers = std::min<size_t>(plan.threads, slots.size() - 1);
    Pipeline pipeline(plan, picture, std::move(slots));
    std::vector<std::thread> threads;
    try {
        for (size_t i = 0; i < workers; ++i) threads.emplace_back([&] { pipeline.Work(); });
    } catch (...) {
        // The threads made so far do the work.
    }
    bool ok = false;
    if (!threads.empty()) ok = pipeline.Deliver(deliver);
    for (std::thread& t : threads) t.join();
    if (threads.empty()) return RenderInline(plan, picture, first, deliver);
    return ok;
}
