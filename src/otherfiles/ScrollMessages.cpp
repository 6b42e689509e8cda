#include "otherfiles/ScrollMessages.h"

#include "platform/Error.h"
#include "platform/db/Recordset.h"
#include "platform/text/Ansi.h"
#include "state/SharedData.h"

namespace quorvane::otherfiles {

namespace {

int inList(qint64 value, int size) { return value >= 0 && value < size ? int(value) : 0; }

ScrollSequence sequenceOf(const db::Recordset& row)
{
    ScrollSequence s;
    s.number = int(row.intValue(QStringLiteral("Number")));
    for (int k = 0; k < 3; ++k) {
        const QString step = QString::number(k + 1);
        s.steps[k] = {inList(row.intValue(QStringLiteral("File") + step), 10),
                      inList(row.intValue(QStringLiteral("Scroll") + step), 5),
                      inList(row.intValue(QStringLiteral("Speed") + step), 3)};
    }
    return s;
}

// The sequence rows of 1 to 9 from `from` on, lowest first.
std::optional<ScrollSequence> sequenceFrom(int from, int to)
{
    db::Recordset row(&gDBConnection);
    row.open(QStringLiteral("SELECT * FROM KVB_40 WHERE Number BETWEEN ? AND ? ORDER BY Number, rowid LIMIT 1"),
             {from, to});
    if (row.eof())
        return std::nullopt;
    return sequenceOf(row);
}

} // namespace

QStringList loadScrollMessages()
{
    QStringList messages(ScrollCount);
    db::Recordset row(&gDBConnection);
    row.open(QStringLiteral("SELECT Number, Data FROM KVB_3F WHERE Number BETWEEN 1 AND ? ORDER BY Number, rowid"),
             {ScrollCount});
    for (; !row.eof(); row.moveNext())
        messages[row.intValue(QStringLiteral("Number")) - 1] = row.value(QStringLiteral("Data")).toString();
    return messages;
}

void saveScrollMessages(const QStringList& messages)
{
    db::Transaction transaction(gDBConnection);
    gDBConnection.exec(QStringLiteral("DELETE FROM KVB_3F"));
    for (int i = 0; i < messages.size() && i < ScrollCount; ++i) {
        const QString& text = messages.at(i);
        if (text.isEmpty())
            continue;
        bool ok = true;
        const QByteArray bytes = text::toAnsi(text, &ok);
        if (!ok || bytes.size() > ScrollMessageBytes)
            throw Error(QStringLiteral("Message %1 does not fit its 100 bytes of the code page.").arg(i + 1));
        gDBConnection.exec(QStringLiteral("INSERT INTO KVB_3F (Number, Data) VALUES (?, ?)"), {i + 1, text});
    }
    transaction.commit();
}

QString scrollMessageText(const QString& typed)
{
    QString text;
    for (const QChar c : typed)
        if (c.unicode() >= 0x20)
            text += c;
    return text;
}

std::optional<ScrollSequence> firstScrollSequence() { return sequenceFrom(1, ScrollCount); }

ScrollSequence loadScrollSequence(int number)
{
    ScrollSequence s = sequenceFrom(number, number).value_or(ScrollSequence{});
    s.number = number;
    return s;
}

void saveScrollSequence(const ScrollSequence& s)
{
    db::Transaction transaction(gDBConnection);
    if (!gDBConnection.scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM KVB_40 WHERE Number = ?)"), {s.number})
             .toBool())
        gDBConnection.exec(QStringLiteral("INSERT INTO KVB_40 (Number) VALUES (?)"), {s.number});
    gDBConnection.exec(QStringLiteral("UPDATE KVB_40 SET File1 = ?, Scroll1 = ?, Speed1 = ?, File2 = ?, Scroll2 = ?, "
                                      "Speed2 = ?, File3 = ?, Scroll3 = ?, Speed3 = ? WHERE Number = ?"),
                       {s.steps[0].file, s.steps[0].pattern, s.steps[0].speed, s.steps[1].file, s.steps[1].pattern,
                        s.steps[1].speed, s.steps[2].file, s.steps[2].pattern, s.steps[2].speed, s.number});
    transaction.commit();
}

void sendScrollRows(int sequence, const std::function<void()>& transfer)
{
    const QString table = sequence == 0 ? QStringLiteral("KVB_3F") : QStringLiteral("KVB_40");
    const auto mark = [&](int value) {
        if (sequence == 0)
            gDBConnection.exec(QStringLiteral("UPDATE KVB_3F SET Is_Selected = ?"), {value});
        else
            gDBConnection.exec(QStringLiteral("UPDATE KVB_40 SET Is_Selected = ? WHERE Number = ?"), {value, sequence});
    };
    mark(1);
    try {
        transfer();
    } catch (...) {
        gDBConnection.exec(QStringLiteral("UPDATE %1 SET Is_Selected = 0").arg(table));
        throw;
    }
    gDBConnection.exec(QStringLiteral("UPDATE %1 SET Is_Selected = 0").arg(table));
}

} // namespace quorvane::otherfiles
