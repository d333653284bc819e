// Delegates and ListenerList: the callables a control's listener lists hold. A delegate wraps
// a plain function (CDelegateStatic) or an object and one of its methods (CDelegate); each
// takes one pointer (the control, the event or the notification) and returns whether the
// caller should go on.
#pragma once

#include <memory>
#include <vector>

namespace SkinUI {

class CDelegateBase {
public:
    virtual ~CDelegateBase() = default;
    virtual bool operator()(void* param) const = 0;
    virtual std::unique_ptr<CDelegateBase> Clone() const = 0;
    // Same function and object: a list refuses a second copy.
    virtual bool Equals(const CDelegateBase& other) const = 0;
};

class CDelegateStatic final : public CDelegateBase {
public:
    using Function = bool (*)(void* param);
    explicit CDelegateStatic(Function function) : m_function(function) {}

    bool operator()(void* param) const override { return m_function(param); }
    std::unique_ptr<CDelegateBase> Clone() const override
    {
        return std::make_unique<CDelegateStatic>(*this);
    }
    bool Equals(const CDelegateBase& other) const override
    {
        const auto* same = dynamic_cast<const CDelegateStatic*>(&other);
        return same != nullptr && same->m_function == m_function;
    }

private:
    Function m_function;
};

// `object` must outlive every list that holds a copy of this delegate.
template <typename Object>
class CDelegate final : public CDelegateBase {
public:
    using Method = bool (Object::*)(void* param);
    CDelegate(Object* object, Method method) : m_object(object), m_method(method) {}

    bool operator()(void* param) const override { return (m_object->*m_method)(param); }
    std::unique_ptr<CDelegateBase> Clone() const override
    {
        return std::make_unique<CDelegate>(*this);
    }
    bool Equals(const CDelegateBase& other) const override
    {
        const auto* same = dynamic_cast<const CDelegate*>(&other);
        return same != nullptr && same->m_object == m_object && same->m_method == m_method;
    }

private:
    Object* m_object;
    Method m_method;
};

template <typename Object>
CDelegate<Object> MakeDelegate(Object* object, bool (Object::*method)(void*))
{
    return CDelegate<Object>(object, method);
}

inline CDelegateStatic MakeDelegate(bool (*function)(void*))
{
    return CDelegateStatic(function);
}

// An ordered list of delegates without duplicates.
class ListenerList {
public:
    // Adds a copy of `delegate` unless an equal one is listed.
    void Add(const CDelegateBase& delegate);
    // Removes the delegate equal to `delegate`, if listed.
    void Remove(const CDelegateBase& delegate);
    bool Empty() const { return m_delegates.empty(); }
    // Calls the delegates in the order they were added, over a copy of the list (a delegate
    // may change the list); false as soon as one returns false, else true.
    bool Fire(void* param) const;

private:
    std::vector<std::shared_ptr<const CDelegateBase>> m_delegates;
};

}  // namespace SkinUI
