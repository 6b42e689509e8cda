#include "plu/PluEditorValues.h"

#include <type_traits>

namespace quorvane {

QVariant shownIn(const PluEditorValues& tab, const PluField& row)
{
    auto& values = const_cast<PluEditorValues&>(tab); // the place is only read here
    return row.value.visit(values, [](const auto& value) -> QVariant {
        if constexpr (std::is_same_v<std::decay_t<decltype(value)>, ListValue>)
            return value.currentText();
        else
            return value;
    });
}

void setShown(PluEditorValues& tab, const PluField& row, const QVariant& shown)
{
    row.value.visit(tab, [&](auto& value) {
        using T = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<T, ListValue>)
            value.index = int(value.entries.indexOf(shown.toString()));
        else
            value = shown.value<T>();
    });
}

} // namespace quorvane
