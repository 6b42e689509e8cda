#include "otherfiles/ui/BoundBoxes.h"

#include "platform/ui/ValueSetters.h"
#include "settings/TextCollections.h"
#include "settings/ui/LangMsg.h"
#include "state/SettingsState.h"

#include <QLineEdit>

namespace quorvane::otherfiles {

ui::EditLimit boxLimit(const FieldBinding& b, int maxChars)
{
    ui::EditLimit limit;
    limit.chars(maxChars).refusal(langMsg(QStringLiteral("charRefused"))).leadingZero(b.extra.change);
    if (b.kind == fields::Kind::Whole || b.kind == fields::Kind::Amount)
        limit.digits();
    else if (b.kind == fields::Kind::DayMask)
        limit.binary();
    else if (isName(b))
        limit.bytes(b.extra.maxBytes);
    return limit;
}

void showTyped(QLineEdit* box, const ChangedBox& typed)
{
    if (!typed.caret)
        return;
    box->setText(typed.text);
    box->setCursorPosition(*typed.caret);
}

void connectBoundBox(QLineEdit* box, const FieldBinding& b, std::function<void()> left)
{
    ui::limitEdit(box, boxLimit(b, b.maxChars));
    if (b.extra.change != ChangeForm::None)
        ui::onChange(box, [box, binding = &b] { showTyped(box, typedText(*binding, box->text())); });
    ui::onLeave(box, std::move(left));
}

void enterAmountBox(QLineEdit* box, const FieldBinding& b, int discType)
{
    const FocusedBox entered = enteredAmount(b, box->text(), discType);
    box->setText(entered.text);
    ui::limitEdit(box, boxLimit(b, entered.limit.value_or(b.maxChars)));
    box->selectAll();
}

} // namespace quorvane::otherfiles
