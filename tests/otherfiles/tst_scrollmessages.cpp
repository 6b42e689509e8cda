#include "support/CodecTestDb.h"
#include "support/TransferFixture.h"

#include "otherfiles/ScrollMessages.h"
#include "platform/Error.h"
#include "platform/text/Ansi.h"
#include "state/SharedData.h"

#include <QtTest>

using namespace quorvane;
using namespace quorvane::otherfiles;

namespace {

QString column(const QString& table, const QString& field)
{
    QStringList values;
    for (const qint64 id : test::rowIds(table))
        values << test::rowValues(table, id).value(field).toString();
    return values.join(QLatin1Char(' '));
}

QStringList messages(std::initializer_list<std::pair<int, QString>> rows)
{
    QStringList m(ScrollCount);
    for (const auto& [number, text] : rows)
        m[number - 1] = text;
    return m;
}

} // namespace

class TestScrollMessages : public test::TransferFolderTest {
    Q_OBJECT

private slots:
    void messagesSavedWholeOrNotAtAll()
    {
        text::setAnsiCodePage(QStringLiteral("GBK"));
        test::addRow("KVB_3F", {{"Number", 12}, {"Data", "outside"}});
        saveScrollMessages(messages({{2, "Two"}, {5, "Five"}}));
        QCOMPARE(column("KVB_3F", "Number"), QStringLiteral("2 5"));
        QCOMPARE(loadScrollMessages(), messages({{2, "Two"}, {5, "Five"}}));

        saveScrollMessages(messages({{5, "Five"}}));
        QCOMPARE(column("KVB_3F", "Number"), QStringLiteral("5"));

        // 100 bytes fit, a double-byte character counts 2; a failure keeps the messages as they were.
        const QString full = QString(98, QLatin1Char('x')) + QStringLiteral("\u6c34");
        saveScrollMessages(messages({{1, full}}));
        QCOMPARE(column("KVB_3F", "Data"), full);
        QVERIFY_THROWS_EXCEPTION(Error, saveScrollMessages(messages({{1, "new"}, {2, full + "x"}})));
        QVERIFY_THROWS_EXCEPTION(Error, saveScrollMessages(messages({{3, QStringLiteral("\U0001F600")}})));
        QCOMPARE(column("KVB_3F", "Data"), full);
    }

    void controlCharactersDropped()
    {
        QCOMPARE(scrollMessageText(QStringLiteral("A\tB\x01\r\nC ")), QStringLiteral("ABC "));
    }

    void sequences()
    {
        QVERIFY(!firstScrollSequence());
        QCOMPARE(loadScrollSequence(3), (ScrollSequence{3, {}}));
        test::addRow("KVB_40", {{"Number", 7}, {"File1", 9}});
        test::addRow("KVB_40",
                     {{"Number", 4}, {"File2", 12}, {"Scroll2", 4}, {"Speed3", 3}, {"Group1", 5}, {"Display3", 2}});
        QCOMPARE(*firstScrollSequence(), (ScrollSequence{4, {{{0, 0, 0}, {0, 4, 0}, {0, 0, 0}}}}));

        const ScrollSequence s{4, {{{1, 2, 1}, {3, 4, 2}, {9, 0, 0}}}};
        saveScrollSequence(s);
        saveScrollSequence({8, {{{2, 0, 0}}}});
        QCOMPARE(loadScrollSequence(4), s);
        QCOMPARE(loadScrollSequence(8).steps[0].file, 2);
        QCOMPARE(column("KVB_40", "Number"), QStringLiteral("7 4 8"));
        QCOMPARE(column("KVB_40", "Group1"), QStringLiteral("0 5 0"));
        QCOMPARE(column("KVB_40", "Display3"), QStringLiteral("0 2 0"));
    }

    void marksClearedHoweverTheTransferEnds()
    {
        saveScrollMessages(messages({{1, "One"}, {3, "Three"}}));
        test::addRow("KVB_40", {{"Number", 1}});
        test::addRow("KVB_40", {{"Number", 2}});
        QString during;
        sendScrollRows(0, [&] { during = column("KVB_3F", "Is_Selected"); });
        QCOMPARE(during, QStringLiteral("1 1"));
        QVERIFY_THROWS_EXCEPTION(Error, sendScrollRows(2, [&] {
                                     during = column("KVB_40", "Is_Selected");
                                     throw Error(QStringLiteral("no scale"));
                                 }));
        QCOMPARE(during, QStringLiteral("0 1"));
        QCOMPARE(column("KVB_3F", "Is_Selected") + " " + column("KVB_40", "Is_Selected"), QStringLiteral("0 0 0 0"));
    }
};

QTEST_MAIN(TestScrollMessages)
#include "tst_scrollmessages.moc"
