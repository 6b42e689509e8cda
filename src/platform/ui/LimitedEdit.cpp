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

// Where an edit put its text into `now`, from the text before it: the cursor stands after what was typed, pasted
// or dropped, and the text after the cursor is the end of the text before.
std::pair<qsizetype, qsizetype> insertedPart(const QString& before, const QString& now, int cursor)
{
    qsizetype to = qBound(qsizetype(0), qsizetype(cursor), now.size());
    qsizetype tail = now.size() - to;
    if (tail > before.size() || !QStringView(before).endsWith(QStringView(now).sliced(to))) {
        tail = 0; // the cursor tells nothing: the longest common end
        while (tail < before.size() && tail < now.size()
               && before[before.size() - 1 - tail] == now[now.size() - 1 - tail])
            ++tail;
        to = now.size() - tail;
    }
    qsizetype from = 0;
    while (from < to && from < before.size() - tail && before[from] == now[from])
        ++from;
    return {from, to};
}

} // namespace

int dropControlCharacters(QString& text, int pos)
{
    int at = 0;
    qsizetype kept = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].category() == QChar::Other_Control) {
            if (i < pos)
                ++at;
            continue;
        }
        text[kept++] = text[i];
    }
    text.truncate(kept);
    return pos - at;
}

namespace {

// A box made by a control table without a limit: it drops the control characters an edit brings.
class ControlDropValidator : public QValidator {
public:
    explicit ControlDropValidator(QLineEdit* box) : QValidator(box), m_box(box) { }

    State validate(QString& input, int& pos) const override
    {
        if (m_box->isModified())
            pos = dropControlCharacters(input, pos);
        return Acceptable;
    }

private:
    QLineEdit* m_box;
};

// QLineEdit asks it about every edit: typed keys, pastes, drops and text set by code alike. An edit it finds
// invalid is undone; one it shortens is taken shortened. Text set by code is no edit of the operator's (the box
// is not modified) and passes as it is.
class LimitValidator : public QValidator {
public:
    LimitValidator(const EditLimit& limit, QLineEdit* box)
        : QValidator(box)
        , m_limit(limit)
        , m_box(box)
        , m_before(box->text())
    {
    }

    const EditLimit& limit() const { return m_limit; }
    // The text an edit starts from.
    void remember() { m_before = m_box->text(); }

    State validate(QString& input, int& pos) const override
    {
        m_refusedText.clear();
        if (!m_box->isModified())
            return Acceptable;
        const qsizetype brought = input.size();
        pos = dropControlCharacters(input, pos);
        if (input.size() != brought && input == m_before)
            return Invalid; // a control key: nothing
        int signs = 0;
        for (const QChar c : std::as_const(input)) {
            if (m_limit.filter() == EditLimit::Decimal && c == m_limit.decimalSign() && ++signs == 1)
                continue;
            if (!admitted(m_limit.filter(), c))
                return Invalid;
        }
        bool encodable = true;
        text::toAnsi(input, &encodable);
        if (!encodable) {
            m_refusedText = input;
            m_refused = firstUnencodable(input);
            return Invalid;
        }
        if (fits(input))
            return Acceptable;
        // What the edit inserted loses its end until the text fits; a key of which nothing fits is refused. A
        // deletion always passes, also from a text set longer than the limit.
        auto [from, to] = insertedPart(m_before, input, pos);
        while (to > from && !fits(input)) {
            const qsizetype n = to - from >= 2 && input[to - 1].isLowSurrogate() ? 2 : 1;
            input.remove(to - n, n);
            to -= n;
        }
        if (input == m_before)
            return Invalid;
        pos = int(to);
        return Acceptable;
    }

    // Called when the box refused an edit, before it undoes it: a character the code page cannot hold is told
    // once.
    void tellRefusal() const
    {
        if (m_refusedText.isNull() || m_box->text() != m_refusedText)
            return;
        m_refusedText.clear();
        const MsgText& refusal = m_limit.refusalMessage();
        if (!refusal.text.isEmpty())
            msgBox(MsgText{refusal.key, refusal.text + QLatin1Char(' ') + m_refused}, MsgIcon::Exclamation,
                   MsgButtons::Ok, m_box->window());
    }

private:
    bool fits(const QString& typed) const
    {
        const QString text = withoutLeadingZeros(typed, m_limit.leadingZeroForm(), QString(m_limit.decimalSign()));
        qsizetype chars = text.size();
        if (m_limit.filter() == EditLimit::Decimal && text.contains(m_limit.decimalSign()))
            --chars; // the one decimal sign comes beside the digits
        if (m_limit.maxChars() > 0 && chars > m_limit.maxChars())
            return false;
        return m_limit.maxBytes() <= 0 || text::toAnsi(text).size() <= m_limit.maxBytes();
    }

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
    QLineEdit* m_box;
    QString m_before;
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

EditLimit& EditLimit::refusal(const MsgText& message)
{
    m_refusal = message;
    return *this;
}

EditLimit& EditLimit::leadingZero(ChangeForm form)
{
    m_leadingZero = form;
    return *this;
}

void limitEdit(QLineEdit* box, const EditLimit& limit)
{
    if (auto* old = dynamic_cast<LimitValidator*>(const_cast<QValidator*>(box->validator())))
        delete old;
    auto* validator = new LimitValidator(limit, box);
    box->setValidator(validator);
    QObject::connect(box, &QLineEdit::inputRejected, validator, [validator] { validator->tellRefusal(); });
    // The box's own text, not the signal's: a handler of the edit may have set another meanwhile.
    QObject::connect(box, &QLineEdit::textChanged, validator, [validator] { validator->remember(); });
}

void dropControlCharacters(QLineEdit* box)
{
    if (!box->validator())
        box->setValidator(new ControlDropValidator(box));
}

EditLimit editLimit(const QLineEdit* box)
{
    const auto* validator = dynamic_cast<const LimitValidator*>(box->validator());
    return validator ? validator->limit() : EditLimit();
}

} // namespace quorvane::ui
