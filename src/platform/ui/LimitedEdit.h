#pragma once

#include "platform/LeadingZero.h"
#include "platform/ui/MessageBox.h"

#include <QChar>
#include <QString>

class QLineEdit;

namespace quorvane::ui {

// What a box admits, built by chaining: EditLimit().chars(6).digits(), EditLimit().bytes(16).refusal(text).
class EditLimit {
public:
    enum Filter {
        Any,     // every character the code page holds
        Digits,  // 0 to 9
        Decimal, // 0 to 9 and one decimal sign
        Binary,  // 0 and 1 (days of the week)
    };

    // The greatest length in characters; with the decimal filter the digits, the one decimal sign coming extra.
    EditLimit& chars(int count);
    // The greatest length in bytes of the ANSI code page, a double-byte character counting 2.
    EditLimit& bytes(int count);
    EditLimit& digits();
    EditLimit& decimal(QChar sign);
    EditLimit& binary();
    // Shown through msgBox, followed by the character, when a character the ANSI code page cannot hold is
    // refused (gLangMsg's "charRefused", with its key); the character is refused all the same without one.
    EditLimit& refusal(const MsgText& message);
    EditLimit& refusal(const QString& text) { return refusal(MsgText{QString(), text}); }
    // The leading zeros the box's change handler drops while it is typed: the length is that of the text as it
    // will stand, so a key after a shown "0" fits where the zero goes. A decimal form keeps the zero before the
    // decimal sign above (a box with the digits filter holds no sign).
    EditLimit& leadingZero(ChangeForm form);

    int maxChars() const { return m_chars; }
    int maxBytes() const { return m_bytes; }
    Filter filter() const { return m_filter; }
    QChar decimalSign() const { return m_sign; }
    const MsgText& refusalMessage() const { return m_refusal; }
    ChangeForm leadingZeroForm() const { return m_leadingZero; }

private:
    int m_chars = 0; // 0: no limit
    int m_bytes = 0;
    Filter m_filter = Any;
    QChar m_sign = QLatin1Char('.');
    MsgText m_refusal;
    ChangeForm m_leadingZero = ChangeForm::None;
};

// Keeps what the operator types, pastes or drops into the box within the limit: control characters (CR, LF, TAB,
// NUL, ESC, DEL and the like) are dropped first, since no field or file can hold them; a key, paste or drop holding a
// character the filter or the code page refuses changes nothing; a key that does not fit is refused, and a paste
// or drop loses characters at its end until it fits. Text set by code is shown as it is, neither cut nor
// filtered, and a new limit leaves the text in the box whole: it holds for what the operator types next, as the
// classic boxes' greatest length did. A second call replaces the limit.
void limitEdit(QLineEdit* box, const EditLimit& limit);
// For a box without a limit (every single-line box a control table makes): drops the control characters from what
// the operator types, pastes or drops, as limitEdit() does. A box with a validator keeps it.
void dropControlCharacters(QLineEdit* box);
// The drop on a text, returning where `pos` (a cursor in it) stands afterwards.
int dropControlCharacters(QString& text, int pos);
// The box's limit; EditLimit() for a box without one.
EditLimit editLimit(const QLineEdit* box);

} // namespace quorvane::ui
