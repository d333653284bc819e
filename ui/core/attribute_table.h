// Attribute tables: each control class lists its skin attributes once, as name and setter,
// and looks a name up in its own table before passing it to its base class. The setters read
// values with the shared parsers of attribute_values.h.
#pragma once

#include <cstddef>
#include <string>

namespace SkinUI {

template <typename Control>
struct AttributeEntry {
    const wchar_t* name;
    void (*apply)(Control& control, const std::wstring& value);
};

// Applies `value` through the entry named `name`; false when the table has no such name.
// Names compare exactly (case-sensitively).
template <typename Control, std::size_t N>
bool ApplyFromTable(const AttributeEntry<Control> (&table)[N], Control& control,
                    const std::wstring& name, const std::wstring& value)
{
    for (const AttributeEntry<Control>& entry : table) {
        if (name == entry.name) {
            entry.apply(control, value);
            return true;
        }
    }
    return false;
}

}  // namespace SkinUI
