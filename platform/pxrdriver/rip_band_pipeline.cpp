// Bands rendered and prepared on worker threads, handed over in order on
// the calling thread. Band b renders into buffer b % K, and only once band
// b - K has been handed over, so K buffers are all the memory a raster
// takes. A refused or failed band stops the workers before they take
// another band.
#include <condition_variable>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "rip_internal.h"

namespace {

enum class SlotState { Free, Working, Ready, Failed };

struct Slot {
    explicit Slot(RipCanvas* c) : canvas(c) {}
    RipCanvas* canvas;
    SlotState state = SlotState::Free;
    unsigned band = 0;
    RipRendered rendered;
    RipBandWrites writes;
};

// Renders band b into the slot and prepares it; false when either fails.
bool RenderAndPrepare(const RipBandPlan& plan, const RipRender& render, const RipPrepare& prepare,
                      unsigned b, Slot& slot) {
    try {
        const RipBand band = plan.Band(b);
        if (!render(band, *slot.canvas, &slot.rendered)) return false;
        slot.writes.Clear();
        return !prepare || prepare(band, slot.rendered, &slot.writes) != 0;
    } catch (...) {
        return false;
    }
}

int HandOver(const RipDeliver& deliver, const RipBand& band, Slot& slot, bool prepared) {
    try {
        return deliver(band, slot.rendered, prepared ? &slot.writes : nullptr);
    } catch (...) {
        return 0;
    }
}

class Pipeline {
public:
    Pipeline(const RipBandPlan& plan, const RipRender& render, const RipPrepare& prepare,
             std::vector<Slot> slots)
        : m_plan(plan), m_render(render), m_prepare(prepare), m_slots(std::move(slots)) {}

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
            slot.state = SlotState::Working;
            slot.band = band;
            lock.unlock();
            const bool ok = RenderAndPrepare(m_plan, m_render, m_prepare, band, slot);
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
            if (!HandOver(deliver, m_plan.Band(band), slot, static_cast<bool>(m_prepare)))
                return Stop();
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
    const RipRender& m_render;
    const RipPrepare& m_prepare;
    std::vector<Slot> m_slots;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    unsigned m_next = 0;
    unsigned m_delivered = 0;
    bool m_stop = false;
};

bool RenderInline(const RipBandPlan& plan, RipCanvas& canvas, const RipRender& render,
                  const RipPrepare& prepare, const RipDeliver& deliver) {
    Slot slot(&canvas);
    for (unsigned b = 0; b < plan.Bands(); ++b) {
        if (!RenderAndPrepare(plan, render, prepare, b, slot)) return false;
        if (!HandOver(deliver, plan.Band(b), slot, static_cast<bool>(prepare))) return false;
    }
    return true;
}

}  // namespace

bool RenderRipBands(const RipBandPlan& plan, unsigned canvasRows, RipCanvas& first,
                    const RipRender& render, const RipPrepare& prepare, const RipDeliver& deliver) {
    if (plan.threads <= 1 || plan.Bands() <= 1)
        return RenderInline(plan, first, render, prepare, deliver);
    // More buffers, as memory allows; with fewer than two the bands render
    // on the calling thread.
    std::vector<std::unique_ptr<RipCanvas>> more;
    for (unsigned i = 1; i < plan.Buffers(); ++i) {
        auto canvas = std::unique_ptr<RipCanvas>(new (std::nothrow) RipCanvas);
        if (!canvas || !canvas->Create(plan.width, canvasRows)) break;
        more.push_back(std::move(canvas));
    }
    if (more.size() < 2) return RenderInline(plan, first, render, prepare, deliver);
    std::vector<Slot> slots;
    slots.emplace_back(&first);
    for (auto& canvas : more) slots.emplace_back(canvas.get());
    const size_t workers = std::min<size_t>(plan.threads, slots.size() - 1);
    Pipeline pipeline(plan, render, prepare, std::move(slots));
    std::vector<std::thread> threads;
    try {
        for (size_t i = 0; i < workers; ++i) threads.emplace_back([&] { pipeline.Work(); });
    } catch (...) {
        // The threads made so far do the work.
    }
    bool ok = false;
    if (!threads.empty()) ok = pipeline.Deliver(deliver);
    for (std::thread& t : threads) t.join();
    if (threads.empty()) return RenderInline(plan, first, render, prepare, deliver);
    return ok;
}
