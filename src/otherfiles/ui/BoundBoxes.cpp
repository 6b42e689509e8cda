#include "otherfiles/ui/BoundBoxes.h"

#include "platform/ui/ValueSetters.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "state/SettingsState.h"

#include <QLineEdit>

namespace quorvane::otherfiles {

ui::EditLimit boxLimit(const FieldBinding& b, int maxChars)
{
    ui::EditLimit limit;
    limit.chars(maxChars).refusal(gLangMsg.text(QStringLiteral("charRefused")));
    switch (b.typing) {
    case Typing::Number:
    case Typing::Amount:
        limit.digits();
        break;
    case Typing::Days:
        limit.binary();
        break;
    case Typing::Name:
        limit.bytes(b.maxBytes);
        break;
    case Typing::None:
        break;
    }
    return limit;
}

void connectBoundBox(QLineEdit* box, const FieldBinding& b, std::function<void()> left)
{
    ui::limitEdit(box, boxLimit(b, b.maxChars));
    if (b.typing == Typing::Number || b.typing == Typing::Amount) {
        const bool number = b.typing == Typing::Number;
        ui::onChange(box, [box, number] {
            const QString typed = box->text();
            const QString kept = number ? numberTyped(typed) : amountTyped(typed, gSettings().gDecimalSign);
            if (kept != typed) {
                box->setText(kept);
                box->setCursorPosition(1);
            }
        });
    }
    ui::onLeave(box, std::move(left));
}

void enterAmountBox(QLineEdit* box, const FieldBinding& b, int discType)
{
    int maxChars = b.maxChars;
    box->setText(enteredAmount(b, box->text(), discType, &maxChars));
    ui::limitEdit(box, boxLimit(b, maxChars));
    box->selectAll();
}

} // namespace quorvane::otherfiles
