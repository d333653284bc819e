// RecordingControl and the ghost that replaces it; see recording_control.h.
#include "tests/ui/core/recording_control.h"

#include <map>
#include <new>

namespace SkinUI::Testing {
namespace {

// What stands at a destroyed RecordingControl's address: every operation the paint manager
// may call records itself and answers as harmlessly as it can.
class Ghost final : public CControlUI {
public:
    explicit Ghost(CallLog& log) : m_log(&log) {}

    void Destroy() override { Record(L"Destroy"); }
    std::wstring GetName() const override { return Record(L"GetName"), std::wstring(); }
    UINT GetFlags() const override { return Record(L"GetFlags"), 0; }
    HWND NativeWindow() const override { return Record(L"NativeWindow"), nullptr; }
    bool Activate() override { return Record(L"Activate"), false; }
    void SetWindowManager(CUIManager*, CControlUI*, bool) override { Record(L"SetWindowManager"); }
    CControlUI* GetParent() const override { return Record(L"GetParent"), nullptr; }
    RECT GetRect() const override { return Record(L"GetRect"), RECT{}; }
    void Place(RECT, bool) override { Record(L"Place"); }
    std::wstring GetToolTip() const override { return Record(L"GetToolTip"), std::wstring(); }
    int GetToolTipWidth() const override { return Record(L"GetToolTipWidth"), 0; }
    wchar_t GetShortcut() const override { return Record(L"GetShortcut"), L'\0'; }
    bool IsVisible() const override { return Record(L"IsVisible"), false; }
    bool IsEnabled() const override { return Record(L"IsEnabled"), false; }
    bool IsMouseEnabled() const override { return Record(L"IsMouseEnabled"), false; }
    bool IsFloat() const override { return Record(L"IsFloat"), false; }
    CControlUI* SearchTree(SearchPredicate, void*, UINT) override
    {
        return Record(L"SearchTree"), nullptr;
    }
    void DispatchEvent(ControlEvent& event) override
    {
        Record(L"DispatchEvent " + EventKindName(event.kind));
    }
    void HandleEvent(ControlEvent&) override { Record(L"HandleEvent"); }
    bool PaintTo(HDC, const RECT&, CControlUI*) override { return Record(L"PaintTo"), true; }
    void DrawAfter(HDC, const RECT&) override { Record(L"DrawAfter"); }

private:
    // Never destroyed: it holds the place of a control that is gone.
    ~Ghost() override = default;
    void Record(const wchar_t* operation) const { m_log->afterDestruction.emplace_back(operation); }
    void Record(const std::wstring& operation) const
    {
        m_log->afterDestruction.push_back(operation);
    }

    CallLog* m_log;
};

static_assert(sizeof(Ghost) <= sizeof(RecordingControl), "a ghost must fit in a control");

// The log of each control being destroyed, keyed by its address, from its destructor to
// its operator delete (single-threaded, like the framework).
std::map<void*, CallLog*>& DyingControls()
{
    static std::map<void*, CallLog*> dying;
    return dying;
}

}  // namespace

std::vector<std::wstring> CallLog::CallsStartingWith(const std::wstring& prefix) const
{
    std::vector<std::wstring> matching;
    for (const std::wstring& call : calls) {
        if (call.compare(0, prefix.size(), prefix) == 0) matching.push_back(call);
    }
    return matching;
}

std::wstring EventKindName(EventKind kind)
{
    static const wchar_t* const names[] = {
        L"?",           L"First",       L"KeyFirst",    L"KeyDown",
        L"KeyUp",       L"Char",        L"SystemKey",   L"KeyLast",
        L"MouseFirst",  L"MouseMove",   L"MouseLeave",  L"MouseEnter",
        L"MouseHover",  L"ButtonDown",  L"ButtonUp",    L"RightButtonDown",
        L"DoubleClick", L"ContextMenu", L"ScrollWheel", L"MouseLast",
        L"KillFocus",   L"SetFocus",    L"WindowSize",  L"SetCursor",
        L"Timer",       L"Notify",      L"Command"};
    const auto index = static_cast<std::size_t>(kind);
    return index < std::size(names) ? names[index] : L"?";
}

RecordingControl::RecordingControl(CallLog& log, std::wstring tag, UINT flags)
    : m_log(&log), m_tag(std::move(tag)), m_flags(flags)
{
}

RecordingControl::~RecordingControl()
{
    DyingControls()[this] = m_log;
}

void* RecordingControl::operator new(std::size_t size)
{
    return ::operator new(size);
}

void RecordingControl::operator delete(void* memory)
{
    auto& dying = DyingControls();
    auto found = dying.find(memory);
    if (found == dying.end()) {
        ::operator delete(memory);  // a constructor threw: nothing can point here yet
        return;
    }
    new (memory) Ghost(*found->second);
    dying.erase(found);
}

void RecordingControl::Record(const std::wstring& operation)
{
    m_log->calls.push_back(m_tag + L" " + operation);
}

void RecordingControl::DispatchEvent(ControlEvent& event)
{
    Record(EventKindName(event.kind));
    CControlUI::DispatchEvent(event);
}

bool RecordingControl::PaintTo(HDC dc, const RECT& paint, CControlUI* stop)
{
    Record(L"PaintTo");
    return CControlUI::PaintTo(dc, paint, stop);
}

void RecordingControl::DrawAfter(HDC dc, const RECT& paint)
{
    Record(L"DrawAfter");
    CControlUI::DrawAfter(dc, paint);
}

bool RecordingControl::Activate()
{
    Record(L"Activate");
    return CControlUI::Activate();
}

}  // namespace SkinUI::Testing
