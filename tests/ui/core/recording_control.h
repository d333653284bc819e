// RecordingControl: a control that writes every call the paint manager makes on it into a
// CallLog that outlives it. Its memory is never given back: when it is destroyed a ghost
// takes its place, so a call that still reaches the address after destruction (a dangling
// pointer in some list) is recorded in CallLog::afterDestruction instead of corrupting
// memory. Tests only; a destroyed control's few hundred bytes stay allocated.
#pragma once

#include "ui/core/control_ui.h"

#include <cstddef>
#include <string>
#include <vector>

namespace SkinUI::Testing {

struct CallLog {
    std::vector<std::wstring> calls;             // "tag Operation" of live controls, in order
    std::vector<std::wstring> afterDestruction;  // "Operation" reaching a destroyed control
    // The calls of live controls whose text starts with `prefix`, in order.
    std::vector<std::wstring> CallsStartingWith(const std::wstring& prefix) const;
};

// The name of an event kind ("MouseEnter"), for logs and messages.
std::wstring EventKindName(EventKind kind);

class RecordingControl : public CControlUI {
public:
    RecordingControl(CallLog& log, std::wstring tag, UINT flags = 0);

    static void* operator new(std::size_t size);
    static void operator delete(void* memory);

    std::wstring GetClassName() const override { return L"RecordingControl"; }
    UINT GetFlags() const override { return m_flags; }
    void DispatchEvent(ControlEvent& event) override;
    bool PaintTo(HDC dc, const RECT& paint, CControlUI* stop = nullptr) override;
    void DrawAfter(HDC dc, const RECT& paint) override;
    bool Activate() override;

protected:
    ~RecordingControl() override;

private:
    void Record(const std::wstring& operation);

    CallLog* m_log;
    std::wstring m_tag;
    UINT m_flags;
};

}  // namespace SkinUI::Testing
