// OnceGate: lets an action run to success once, and never inside itself. A message box shown
// by the action pumps messages, so a second click queued meanwhile would otherwise start the
// action again; after success the action is not repeated at all.
#pragma once

class OnceGate {
public:
    // One pass through the gate: the action may run while the pass is held. Leaving without
    // succeeded() lets a later pass in again.
    class Pass {
    public:
        explicit Pass(OnceGate& gate) : m_gate(gate) { m_gate.m_running = true; }
        ~Pass() { m_gate.m_running = false; }
        Pass(const Pass&) = delete;
        Pass& operator=(const Pass&) = delete;

        void succeeded() { m_gate.m_done = true; }

    private:
        OnceGate& m_gate;
    };

    // True when the action may run now: it is not running and has not succeeded.
    bool open() const { return !m_running && !m_done; }

private:
    bool m_running = false;
    bool m_done = false;
};
