#include "platform/Error.h"
#include "platform/text/Ansi.h"
#include "plu/StringEditRules.h"
#include "state/ProgramState.h"
#include "support/TextLines.h"

#include <QtTest>

using namespace quorvane;
using namespace quorvane::records;

namespace {

// A text as "code:text|code:text", or "hex:..." for raw bytes.
QByteArray blockOf(const QString& text)
{
    if (text.startsWith(QLatin1String("hex:")))
        return QByteArray::fromHex(text.mid(4).toLatin1());
    return BuildTextBytes(test::textLinesOf(text));
}

QString linesOf(const StringEditor& ed)
{
    QList<TextLine> lines;
    for (int i = 1; i <= ed.lineCount(); ++i)
        lines << ed.line(i);
    return test::textLinesText(lines);
}

// Steps, ";"-separated: "type:i:text" and "esc:i:text" leave line i's edit box, "font:i:position" chooses a
// font (a refused one is not set), "append:i" and "insert:i" with grid line i (also the line last opened),
// "delete:i:box text", "grow:n" appends and types lines until there are n.
void run(StringEditor& ed, const QString& steps)
{
    for (const QString& step : steps.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString verb = step.section(QLatin1Char(':'), 0, 0);
        const int i = step.section(QLatin1Char(':'), 1, 1).toInt();
        const QString arg = step.section(QLatin1Char(':'), 2);
        if (verb == QLatin1String("type") || verb == QLatin1String("esc"))
            ed.leaveText(i, arg, verb == QLatin1String("esc"));
        else if (verb == QLatin1String("font") && ed.fontFits(i, arg.toInt()))
            ed.setFont(i, arg.toInt());
        else if (verb == QLatin1String("append"))
            ed.append(i);
        else if (verb == QLatin1String("insert"))
            ed.insert(i, i);
        else if (verb == QLatin1String("delete"))
            ed.deleteLine(i, arg);
        else if (verb == QLatin1String("grow"))
            while (ed.lineCount() < i && ed.appendEnabled()) {
                const int line = ed.append(ed.lineCount());
                ed.leaveText(line, QStringLiteral("L%1").arg(line), false);
            }
    }
}

struct EditCase {
    int mode = 13;
    qint16 country = 0;
    QString buffer{};
    QString steps{};
    QString lines = QStringLiteral("1:"); // after the steps; "" compares only the count
    int count = 1;
    QString buttons = QStringLiteral("++-"); // Append, Insert, Delete
    QString limits{};                        // of each line, blank-separated; "" not compared
    QString font1{};                         // the name line 1's font cell shows; "" not compared
    QString stored = QStringLiteral("-");    // the buffer after OK, hex; "-" not compared
    int changed = -1;                        // its changed byte; -1 not compared
    int pluChanged = 0;
    int saves = 1;
};

} // namespace

Q_DECLARE_METATYPE(EditCase)

class tst_StringEdit : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        resetProgramState();
        text::setAnsiCodePage(QStringLiteral("windows-1252"));
    }

    void fonts_data()
    {
        QTest::addColumn<int>("country");
        QTest::addColumn<QString>("names");
        QTest::newRow("0") << 0 << "G1 G2 G3 G4 G5 G6";
        QTest::newRow("7") << 7 << "G1 G2 G3 G4 G5 G6";
        QTest::newRow("37") << 37 << "T1 T2 T3 T4";
        QTest::newRow("1") << 1 << "S1 S2 S3 S4 S5 M1 M2 M3 M4 M5 L1 L2 L3 L4 L5";
    }
    void fonts()
    {
        QFETCH(int, country);
        QFETCH(QString, names);
        QCOMPARE(stringEditFonts(qint16(country)).join(QLatin1Char(' ')), names);
    }

    // Country, font position, line length: refused or not; the byte limit of a line in that font's code in
    // modes 13 and 3.
    void fontCapacity_data()
    {
        QTest::addColumn<int>("country");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<int>("limit");
        // clang-format off
        QTest::newRow("G1 at 32") << 0 << 0 << 32 << false << 32;
        QTest::newRow("G2 at 20") << 0 << 1 << 20 << true << 16;
        QTest::newRow("G3 at 48") << 0 << 2 << 48 << false << 48;
        QTest::newRow("G4 at 25") << 0 << 3 << 25 << true << 24;
        QTest::newRow("G6 at 33") << 0 << 5 << 33 << true << 32;
        QTest::newRow("S5 at 25") << 1 << 4 << 25 << true << 24;
        QTest::newRow("M4 at 48") << 1 << 8 << 48 << false << 48;
        QTest::newRow("L1 at 25") << 1 << 10 << 25 << true << 24;
        QTest::newRow("L5 at 17") << 1 << 14 << 17 << true << 16;
        QTest::newRow("L5 at 16") << 1 << 14 << 16 << false << 16;
        QTest::newRow("T4 at 60") << 37 << 3 << 60 << false << 48;
        // clang-format on
    }
    void fontCapacity()
    {
        QFETCH(int, country);
        QFETCH(int, position);
        QFETCH(int, length);
        QFETCH(bool, refused);
        QFETCH(int, limit);
        QCOMPARE(fontRefused(qint16(country), position, length), refused);
        QCOMPARE(lineLimit(EditIngredient, qint16(country), position + 1), limit);
        QCOMPARE(lineLimit(EditName, qint16(country), position + 1), 22);
    }

    void editor_data()
    {
        QTest::addColumn<EditCase>("c");
        // clang-format off
        QTest::newRow("empty buffer") << EditCase{.mode = 3, .buttons = "---", .limits = "22", .font1 = "G1", .stored = "", .changed = 0, .saves = 0};
        QTest::newRow("first line empty") << EditCase{.mode = 3, .buffer = "hex:01000D0601430C", .buttons = "---", .stored = "", .changed = 0, .pluChanged = 1, .saves = 0};
        QTest::newRow("bytes unchanged") << EditCase{.mode = 3, .buffer = "1:AB", .lines = "1:AB", .buttons = "--+", .stored = "010241420C", .changed = 1, .saves = 0};
        QTest::newRow("a font change alone") << EditCase{.mode = 1, .buffer = "1:AB", .steps = "font:1:2", .lines = "3:AB", .buttons = "--+", .stored = "030241420C", .changed = 1, .pluChanged = 1, .saves = 0};
        QTest::newRow("10 lines in mode 14") << EditCase{.mode = 14, .buffer = "1:A|1:B|1:C|1:D|1:E|1:F|1:G|1:H|1:I|1:J", .lines = "1:A|1:B|1:C|1:D|1:E|1:F|1:G|1:H", .count = 8, .buttons = "--+", .stored = "0101410D0101420D0101430D0101440D0101450D0101460D0101470D0101480C", .changed = 1};
        QTest::newRow("15 lines in mode 13") << EditCase{.buffer = "1:A", .steps = "grow:15", .lines = "", .count = 15, .buttons = "--+"};
        QTest::newRow("a delete enables them") << EditCase{.buffer = "1:A", .steps = "grow:15;delete:15:L15", .lines = "", .count = 14, .buttons = "+++"};
        QTest::newRow("append after an empty line") << EditCase{.steps = "append:1", .stored = "", .changed = 0};
        QTest::newRow("append, type") << EditCase{.buffer = "1:A", .steps = "append:1;type:2:B", .lines = "1:A|1:B", .count = 2, .buttons = "+++", .stored = "0101410D0101420C", .changed = 1};
        QTest::newRow("insert above") << EditCase{.buffer = "1:A|6:C", .steps = "insert:2;type:2:B", .lines = "1:A|1:B|6:C", .count = 3, .buttons = "+++"};
        QTest::newRow("insert with line 1 empty") << EditCase{.steps = "insert:1", .stored = "", .changed = 0};
        QTest::newRow("line 2 of 3 emptied") << EditCase{.buffer = "1:A|1:B|1:C", .steps = "type:2:", .lines = "1:A|1:C", .count = 2, .buttons = "+++"};
        QTest::newRow("only line emptied") << EditCase{.buffer = "1:A", .steps = "type:1:", .buttons = "+++", .stored = "", .changed = 0};
        QTest::newRow("Esc keeps the text") << EditCase{.buffer = "1:A", .steps = "esc:1:ZZ", .lines = "1:A", .buttons = "+++", .stored = "0101410C", .changed = 1};
        QTest::newRow("control bytes become 0") << EditCase{.steps = "type:1:A\tB", .lines = "", .buttons = "++-", .stored = "01034100420C", .changed = 1};
        QTest::newRow("delete the only line") << EditCase{.buffer = "1:A", .steps = "delete:1:A", .buttons = "++-", .stored = "", .changed = 0};
        QTest::newRow("delete with an empty box") << EditCase{.buffer = "1:A|1:B", .steps = "delete:1:", .lines = "1:A|1:B", .count = 2, .buttons = "+++"};
        QTest::newRow("G2 refused for 20 bytes") << EditCase{.buffer = "1:ABCDEFGHIJKLMNOPQRST", .steps = "font:1:1", .lines = "1:ABCDEFGHIJKLMNOPQRST", .buttons = "+++", .limits = "32"};
        QTest::newRow("L5 refused for 17 bytes") << EditCase{.country = 1, .buffer = "1:ABCDEFGHIJKLMNOPQ", .steps = "font:1:14", .lines = "1:ABCDEFGHIJKLMNOPQ", .buttons = "+++", .font1 = "S1"};
        QTest::newRow("no T font refused") << EditCase{.country = 37, .buffer = "1:ABCDEFGHIJKLMNOPQRSTUVWXYZ", .steps = "font:1:3", .lines = "4:ABCDEFGHIJKLMNOPQRSTUVWXYZ", .buttons = "+++", .font1 = "T4"};
        QTest::newRow("unknown code") << EditCase{.buffer = "7:AB", .lines = "7:AB", .buttons = "+++", .limits = "16", .font1 = "G2"};
        QTest::newRow("limit by each line's font") << EditCase{.buffer = "1:A|2:B", .lines = "1:A|2:B", .count = 2, .buttons = "+++", .limits = "32 16"};
        QTest::newRow("limit follows the font") << EditCase{.buffer = "1:A|2:B", .steps = "font:2:2", .lines = "1:A|3:B", .count = 2, .buttons = "+++", .limits = "32 48"};
        // clang-format on
    }
    void editor()
    {
        QFETCH(EditCase, c);
        stringEditBuffer(c.mode) = TextBuffer{blockOf(c.buffer), 1};
        StringEditor ed(c.mode, c.country);
        run(ed, c.steps);
        if (!c.lines.isEmpty())
            QCOMPARE(linesOf(ed), c.lines);
        QCOMPARE(ed.lineCount(), c.lines.isEmpty() ? c.count : int(c.lines.count(QLatin1Char('|')) + 1));
        const auto sign = [](bool on) { return on ? QLatin1Char('+') : QLatin1Char('-'); };
        QCOMPARE(QString(sign(ed.appendEnabled())) + sign(ed.insertEnabled()) + sign(ed.deleteEnabled()), c.buttons);
        if (!c.limits.isEmpty()) {
            QStringList limits;
            for (int i = 1; i <= ed.lineCount(); ++i)
                limits << QString::number(ed.limit(i));
            QCOMPARE(limits.join(QLatin1Char(' ')), c.limits);
        }
        if (!c.font1.isEmpty())
            QCOMPARE(ed.fontName(1), c.font1);

        int saves = 0;
        QByteArray saved;
        const QString display = ed.ok([&](const QByteArray& bytes, const QString& firstLine) {
            ++saves;
            saved = bytes;
            QCOMPARE(firstLine, ed.lineText(1));
        });
        const TextBuffer& buffer = stringEditBuffer(c.mode);
        if (c.stored != QLatin1String("-"))
            QCOMPARE(buffer.bytes.toHex().toUpper(), c.stored.toLatin1());
        if (c.changed >= 0)
            QCOMPARE(int(buffer.changed), c.changed);
        QCOMPARE(display, buffer.bytes.isEmpty() ? QString() : ed.lineText(1));
        QCOMPARE(int(gPluEditor().gPLUChanged), c.pluChanged);
        QCOMPARE(saves, c.saves);
        if (saves)
            QCOMPARE(saved, buffer.bytes);
    }

    void failedSaveWritesNothing()
    {
        gStringEdit().gShopNameText = TextBuffer{blockOf(QStringLiteral("1:A")), 1};
        StringEditor ed(EditShopName, 0);
        ed.leaveText(1, QStringLiteral("B"), false);
        QVERIFY_THROWS_EXCEPTION(Error, ed.ok([](const QByteArray&, const QString&) { throw Error("refused"); }));
        QCOMPARE(gStringEdit().gShopNameText.bytes, blockOf(QStringLiteral("1:A")));
        QCOMPARE(ed.ok(nullptr), QStringLiteral("B"));
    }

    void doubleByteCharactersCountTwo()
    {
        text::setAnsiCodePage(QStringLiteral("GBK"));
        StringEditor ed(EditName, 0);
        ed.leaveText(1, QStringLiteral("\u4e2d\u6587A"), false);
        QCOMPARE(ed.line(1).bytes.size(), 5);
        QCOMPARE(ed.lineText(1), QStringLiteral("\u4e2d\u6587A"));
    }

    void unknownModeFails() { QVERIFY_THROWS_EXCEPTION(Error, StringEditor(2, 0)); }
};

QTEST_GUILESS_MAIN(tst_StringEdit)
#include "tst_stringedit.moc"
