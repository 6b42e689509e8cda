#pragma once

#include "platform/LeadingZero.h"
#include "records/PluRow.h"
#include "settings/FieldKinds.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QTime>

#include <optional>
#include <variant>

namespace quorvane {

// The cross-check a box runs when it is left, before its comparison.
enum class LeaveCheck { None, PluNumber, DiscountValues1, DiscountValues2, DiscountLimits1, DiscountLimits2 };

// How a box's text is compared with its field of the current row.
enum class ComparedAs {
    WholeNumber, // the text without decimal sign as a whole number
    Text,
    TensDigit,  // a whole number against the field's tens digit
    UnitsDigit, // against its units digit
    DayMask,    // the digits as a base-2 number, the first the highest bit
};

// A number box's rules while it is typed and left (PluFieldRules.h). A box of kind Amount is typed in minor units
// (it loses its decimal sign on getting the focus, takes its focusLimit and is re-formatted on leaving); a DayMask
// box takes only 0 and 1.
struct BoxRules {
    bool percentByDiscType = false; // a discount amount: 4 characters at discount type 3 or 5
    ChangeForm change = ChangeForm::None;
    LeaveCheck check = LeaveCheck::None;
    ComparedAs compared = ComparedAs::WholeNumber;
};

// Where the read-only view of a received PLU (ReceivedRecordView.h) shows a control otherwise than the editor.
enum class ViewForm {
    Editor,
    FirstLine50,      // the text's first line cut to 50 characters
    BarFormats,       // a list of the bar formats alone: 255 (inherited) is its last entry
    LimitByUnit,      // weight decimals for a weighed PLU, else a whole number
    AmountByDiscType, // 2 decimals at discount types 3 and 5, else the price decimals
};

// The PLU editor's field table (see settings/FieldKinds.h): a row per control of its three pages. Its own columns:
// the whole-number range each number box accepts, as the box's limit lets it be typed (the save check and the PLU
// import refuse a value outside it), the rules of the number boxes, and how the received PLU's view shows it. Last in
// a row comes its `value`, the place of the control's value in the editor's values (EditorPlace below).
struct PluColumns {
    qint64 min = 0;
    qint64 max = 0;                    // 0 with min 0: no number (a text, list or check box)
    std::optional<BoxRules> box{};     // none: a control without them
    ViewForm view = ViewForm::Editor;  // in the received PLU's view
    const char* viewControl = nullptr; // the view's own control in its place (a text box for a list)
};

struct PluEditorValues;
struct ListValue;

// Where the editor's values (PluEditorValues.h) hold a control's value: a member, or an element or member of one,
// reached by a function the table names. It has no default, so a control cannot join the table without a place
// for its value.
class EditorPlace {
public:
    template<class T> using In = T& (*)(PluEditorValues&);
    template<class T> constexpr EditorPlace(In<T> in) : m_in(in) { }

    // The value there when it is a T; nullptr when it is of another type.
    template<class T> T* in(PluEditorValues& tab) const
    {
        const In<T>* at = std::get_if<In<T>>(&m_in);
        return at ? &(*at)(tab) : nullptr;
    }
    // Runs `use` on the value there, whatever its type.
    template<class Use> decltype(auto) visit(PluEditorValues& tab, Use&& use) const
    {
        return std::visit([&](auto at) -> decltype(auto) { return use(at(tab)); }, m_in);
    }

private:
    std::variant<In<QString>, In<int>, In<bool>, In<QDate>, In<QTime>, In<ListValue>> m_in;
};

using PluField = fields::FieldRow<records::plu::Field, PluColumns, EditorPlace>;

const QList<PluField>& pluFields();
// The row of a control; nullptr for a control the table lacks.
const PluField* pluField(const QString& control);
// The first row of a field; nullptr for a field no control shows.
const PluField* pluField(records::plu::Field field);

} // namespace quorvane
