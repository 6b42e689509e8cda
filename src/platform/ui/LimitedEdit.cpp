#include "platform/ui/LimitedEdit.h"

#include "platform/text/Ansi.h"
#include "platform/ui/MessageBox.h"

#include <QLineEdit>
#include <QValidator>

namespace quorvane::ui {

namespace {

bool admitted(EditLimit::Filter filter, QChar c)
{
    switch (filter) {
    case EditLimit::Any:
        return true;
    case EditLimit::Digits:
    case EditLimit::Decimal:
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    case EditLimit::Binary:
        return c == QLatin1Char('0') || c == QLatin1Char('1');
    }
    return false;
}

// QLineEdit asks it about every edit: typed keys, pastes, drops and text set by code alike. An edit it finds
// invalid is undone (text set by code stays); one it shortens is taken shortened.
class LimitValidator : public QValidator {
public:
    LimitValidator(const EditLimit& limit, QLineEdit* box) : QValidator(box), m_limit(limit) { }

    State validate(QString& input, int& pos) const override
    {
        m_refusedText.clear();
        int signs = 0;
        for (const QChar c : std::as_const(input)) {
            if (m_limit.filter() == EditLimit::Decimal && c == m_limit.decimalSign() && ++signs == 1)
                continue;
            if (!admitted(m_limit.filter(), c))
                return Invalid;
        }
        bool encodable = true;
        QByteArray bytes = text::toAnsi(input, &encodable);
        if (!encodable) {
            m_refusedText = input;
            m_refused = firstUnencodable(input);
            return Invalid;
        }
        if (m_limit.maxBytes() > 0 && bytes.size() > m_limit.maxBytes()) {
            while (bytes.size() > m_limit.maxBytes() && !input.isEmpty()) {
                input.chop(input.size() >= 2 && input.back().isLowSurrogate() ? 2 : 1);
                bytes = text::toAnsi(input);
            }
            pos = qMin(pos, int(input.size()));
        }
        return Acceptable;
    }

    // Called when the box refused an edit, before it undoes it: a refused character of the operator's is told
    // once. Text set by code is refused too but stays, and is no edit of the operator's (not modified).
    void tellRefusal(QLineEdit* box) const
    {
        if (m_refusedText.isNull() || box->text() != m_refusedText || !box->isModified())
            return;
        m_refusedText.clear();
        if (!m_limit.refusalText().isEmpty())
            msgBox(m_limit.refusalText() + QLatin1Char(' ') + m_refused, MsgIcon::Exclamation, MsgButtons::Ok,
                   box->window());
    }

private:
    static QString firstUnencodable(const QString& text)
    {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            bool ok = true;
            text::toAnsi(text.mid(i, n), &ok);
            if (!ok)
                return text.mid(i, n);
            i += n - 1;
        }
        return QString();
    }

    EditLimit m_limit;
    mutable QString m_refusedText; // the last input refused for a character the code page cannot hold
    mutable QString m_refused;     // that character
};

} // namespace

EditLimit& EditLimit::chars(int count)
{
    m_chars = count;
    return *this;
}

EditLimit& EditLimit::bytes(int count)
{
    m_bytes = count;
    return *this;
}

EditLimit& EditLimit::digits()
{
    m_filter = Digits;
    return *this;
}

EditLimit& EditLimit::decimal(QChar sign)
{
    m_filter = Decimal;
    m_sign = sign;
    return *this;
}

EditLimit& EditLimit::binary()
{
    m_filter = Binary;
    return *this;
}

EditLimit& EditLimit::refusal(const QString& text)
{
    m_refusal = text;
    return *this;
}

void limitEdit(QLineEdit* box, const EditLimit& limit)
{
    if (auto* old = dynamic_cast<LimitValidator*>(const_cast<QValidator*>(box->validator())))
        delete old;
    auto* validator = new LimitValidator(limit, box);
    box->setMaxLength(limit.maxChars() > 0 ? limit.maxChars() : 32767);
    box->setValidator(validator);
    QObject::connect(box, &QLineEdit::inputRejected, validator, [validator, box] { validator->tellRefusal(box); });
    // Text already in the box is held to the new limit at once.
    box->setText(box->text());
}

} // namespace quorvane::ui
