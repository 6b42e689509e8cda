#include "support/DataRows.h"
#include "support/TestSupport.h"

#include "platform/text/Ansi.h"
#include "platform/text/TextFile.h"
#include "settings/FixedDecimal.h"
#include "settings/Settings.h"
#include "state/SettingsState.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace quorvane;

namespace {

struct DecimalRow {
    const char* text;
    int d = 2;
    const char* sign = ".";
    const char* out;
};

} // namespace

static const QString kShipped = QStringLiteral(QUORVANE_SOURCE_DATA_DIR "/ini/setting.cfg");

// Every field a settings file gives, in the file's order, "|"-separated.
static QString shown(const SettingsRecord& r)
{
    return QStringList{QString::number(r.gLanguageIndex),
                       r.gLanguageName,
                       QString::number(r.gPricePoint),
                       r.gDecimalSign,
                       QString::number(r.gWeightPoint),
                       QString::number(r.gDateType),
                       QString::number(r.gPriceUnit),
                       r.gCurrencySymbol,
                       QString::number(r.gSysCountry),
                       QString::number(r.gSysStore),
                       r.gTreeRootName}
        .join(QLatin1Char('|'));
}

class TstSettings : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString writeRaw(const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("setting.cfg"));
        test::writeFile(path, bytes);
        return path;
    }

private slots:
    void initTestCase() { text::setAnsiCodePage(QStringLiteral("windows-1252")); }

    void shippedFile()
    {
        QCOMPARE(test::readFile(kShipped),
                 " 0 \r\n 2 \r\n 0 \r\n 3 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\nVelcor Weighing\r\n");
    }

    void reading_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("read");
        // clang-format off
        QTest::newRow("shipped file") << test::readFile(kShipped) << "0|Standard|2|.|3|0|0|RMB|0|0|";
        QTest::newRow("ten lines, own currency of digits") << QByteArray(" 1 \r\n 2 \r\n 0 \r\n 3 \r\n 4 \r\n 2 \r\n123\r\n 5 \r\n 1 \r\nRoot\r\n") << "1|Chinese|2|.|3|4|2|123|5|1|Root";
        QTest::newRow("store mode 0 drops the root text") << QByteArray("0\r\n2\r\n0\r\n3\r\n0\r\n1\r\n0\r\n0\r\nVelcor Weighing\r\n") << "0|Standard|2|.|3|0|1|$|0|0|";
        QTest::newRow("sign code 7 is a comma, language 2") << QByteArray(" 2 \r\n 2 \r\n 7 \r\n 3 \r\n 0 \r\n 0 \r\n 3 \r\n 0 \r\nx\r\n") << "2|Other|2|,|3|0|0|RMB|3|0|";
        QTest::newRow("language 3 leaves the group name empty") << QByteArray(" 3 \r\n 2 \r\n 1 \r\n 3 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\nx\r\n") << "3||2|,|3|0|0|RMB|0|0|";
        QTest::newRow("price unit 5 reads no extra line") << QByteArray(" 0 \r\n 2 \r\n 0 \r\n 3 \r\n 0 \r\n 5 \r\n 6 \r\n 1 \r\nTop\r\n") << "0|Standard|2|.|3|0|5||6|1|Top";
        QTest::newRow("no final line end") << QByteArray(" 0 \r\n 2 \r\n 0 \r\n 3 \r\n 0 \r\n 0 \r\n 0 \r\n 1 \r\nTop") << "0|Standard|2|.|3|0|0|RMB|0|1|Top";
        // clang-format on
    }

    void reading()
    {
        QFETCH(QByteArray, file);
        SettingsRecord r;
        SettingsFileError err;
        QVERIFY2(readSettingsFile(writeRaw(file), &r, &err), qPrintable(err.message));
        QTEST(shown(r), "read");
    }

    void badFiles_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("line");
        // clang-format off
        QTest::newRow("empty file") << QByteArray() << 1;
        QTest::newRow("ends after line 5") << QByteArray(" 0 \r\n 2 \r\n 0 \r\n 3 \r\n 0 \r\n") << 6;
        QTest::newRow("missing root line") << QByteArray(" 0 \r\n 2 \r\n 0 \r\n 3 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n") << 9;
        QTest::newRow("currency line missing") << QByteArray(" 0 \r\n 2 \r\n 0 \r\n 3 \r\n 0 \r\n 2 \r\n") << 7;
        QTest::newRow("letters") << QByteArray(" 0 \r\n two \r\n 0 \r\n 3 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\nx\r\n") << 2;
        QTest::newRow("beyond 16 bits") << QByteArray(" 0 \r\n 2 \r\n 0 \r\n 40000 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\nx\r\n") << 4;
        QTest::newRow("a tab is no blank") << QByteArray(" 0 \r\n 2 \r\n 0 \r\n 3 \r\n\t0\r\n 0 \r\n 0 \r\n 0 \r\nx\r\n") << 5;
        QTest::newRow("empty number line") << QByteArray(" 0 \r\n 2 \r\n\r\n 3 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\nx\r\n") << 3;
        // clang-format on
    }

    void badFiles()
    {
        QFETCH(QByteArray, file);
        SettingsRecord r;
        r.gCurrencySymbol = QStringLiteral("kept");
        SettingsFileError err;
        QVERIFY(!readSettingsFile(writeRaw(file), &r, &err));
        QTEST(err.line, "line");
        QVERIFY(!err.message.isEmpty());
        QCOMPARE(r.gCurrencySymbol, QStringLiteral("kept"));
    }

    void roundTrip_data()
    {
        QTest::addColumn<int>("priceUnit");
        QTest::addColumn<int>("store");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("read");
        QTest::newRow("price unit 0, store mode 0") << 0 << 0 << 9 << "2|Other|3|,|1|5|0|RMB|-4|0|";
        QTest::newRow("price unit 1, store mode 1") << 1 << 1 << 9 << "2|Other|3|,|1|5|1|$|-4|1|Caf\u00E9 root";
        QTest::newRow("price unit 2, store mode 1")
            << 2 << 1 << 10 << "2|Other|3|,|1|5|2|EUR \u20AC|-4|1|Caf\u00E9 root";
    }

    void roundTrip()
    {
        QFETCH(int, priceUnit);
        QFETCH(int, store);
        SettingsRecord w;
        w.gLanguageIndex = 2;
        w.gPricePoint = 3;
        w.gPointType = 7;
        w.gWeightPoint = 1;
        w.gDateType = 5;
        w.gPriceUnit = qint16(priceUnit);
        w.gCurrencySymbol = QStringLiteral("EUR \u20AC");
        w.gSysCountry = -4;
        w.gSysStore = qint16(store);
        w.gTreeRootName = QStringLiteral("Caf\u00E9 root");
        const QString path = m_dir.filePath(QStringLiteral("roundtrip.cfg"));
        writeSettingsFile(path, w);
        const QByteArray raw = test::readFile(path);
        QTEST(int(raw.count("\r\n")), "lines");
        QVERIFY(raw.startsWith(" 2 \r\n 3 \r\n 7 \r\n 1 \r\n 5 \r\n"));
        QVERIFY(raw.contains("\r\n-4 \r\n"));
        SettingsRecord r;
        QVERIFY(readSettingsFile(path, &r));
        QTEST(shown(r), "read");
    }

    // A text holding a line break would move every later line and be read back as other values; one the code
    // page cannot hold would come back as other characters. Either leaves the old file.
    void refusedTextKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("currency");
        QTest::addColumn<QString>("root");
        QTest::newRow("currency CR LF") << QStringLiteral("$\r\n 3") << QStringLiteral("root");
        QTest::newRow("currency LF") << QStringLiteral("a\nb") << QStringLiteral("root");
        QTest::newRow("root text") << QStringLiteral("EUR") << QStringLiteral("first\r\nsecond");
        QTest::newRow("root not in the code page") << QStringLiteral("EUR") << QStringLiteral("\u4E2D");
    }

    void refusedTextKeepsTheOldFile()
    {
        QFETCH(QString, currency);
        QFETCH(QString, root);
        const QString path = writeRaw(" 0 \r\n 2 \r\n 0 \r\n 3 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\nold\r\n");
        SettingsRecord w;
        w.gPriceUnit = 2;
        w.gCurrencySymbol = currency;
        w.gSysStore = 1;
        w.gTreeRootName = root;
        QVERIFY_THROWS_EXCEPTION(text::FileError, writeSettingsFile(path, w));
        QVERIFY(test::readFile(path).endsWith("old\r\n"));
        QVERIFY_THROWS_EXCEPTION(text::FileError, writeSettingsFile(m_dir.filePath("no/such/dir/setting.cfg"), {}));
    }

    void formatter_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("sign");
        QTest::addColumn<QString>("text");
        // clang-format off
        QTest::newRow("12345/2") << 12345 << 2 << "." << "123.45";
        QTest::newRow("100/2") << 100 << 2 << "." << "1.00";
        QTest::newRow("12/2") << 12 << 2 << "." << "0.12";
        QTest::newRow("5/2") << 5 << 2 << "." << "0.05";
        QTest::newRow("0/2") << 0 << 2 << "." << "0.00";
        QTest::newRow("5/3") << 5 << 3 << "." << "0.005";
        QTest::newRow("0/1") << 0 << 1 << "." << "0.0";
        QTest::newRow("1234/0") << 1234 << 0 << "." << "1234";
        QTest::newRow("0/0") << 0 << 0 << "." << "0";
        QTest::newRow("123/3") << 123 << 3 << "." << "0.123";
        QTest::newRow("ten digits") << 2147483647 << 2 << "." << "21474836.47";
        QTest::newRow("comma") << 1050 << 2 << "," << "10,50";
        QTest::newRow("negative small") << -5 << 2 << "." << "-0.05";
        QTest::newRow("negative") << -1234 << 2 << "." << "-12.34";
        QTest::newRow("most negative") << int(-2147483648LL) << 3 << "," << "-2147483,648";
        // clang-format on
    }

    void formatter()
    {
        QFETCH(int, value);
        QFETCH(int, decimals);
        QFETCH(QString, sign);
        QFETCH(QString, text);
        QCOMPARE(FormatFixedDecimal(value, qint16(decimals), sign), text);
        qint32 back = -1;
        QVERIFY(ReadFixedDecimal(text, sign, &back));
        QCOMPARE(back, value);
    }

    void formatterFollowsTheSettings()
    {
        gSettings().gDecimalSign = QStringLiteral(",");
        QCOMPARE(FormatFixedDecimal(125, 2), QStringLiteral("1,25"));
        qint32 v = 0;
        QVERIFY(ReadFixedDecimal(QStringLiteral("10,50"), &v));
        QCOMPARE(v, 1050);
        gSettings().gDecimalSign = QStringLiteral(".");
        QCOMPARE(FormatFixedDecimal(125, 2), QStringLiteral("1.25"));
        gSettings().gDecimalSign.clear(); // settings that name no sign: "."
        QCOMPARE(decimalSign(), QStringLiteral("."));
        QVERIFY(ReadFixedDecimal(QStringLiteral("1.25"), &v));
        QCOMPARE(v, 125);
    }

    // A decimal text written at any places made whole at d places, as the PLU import reads prices and weights.
    void normalisation_data()
    {
        // clang-format off
        test::addDataRows<DecimalRow>({
            {.text = "12.5", .out = "1250"},
            {.text = "12", .out = "1200"},
            {.text = "12.345", .out = "1234"},
            {.text = ".5", .out = "50"},
            {.text = "5.", .out = "500"},
            {.text = "-1.5", .out = "-150"},
            {.text = "", .out = "00"},
            {.text = "12.5", .d = 0, .out = "12"},
            {.text = "0.25", .d = 3, .out = "0250"},
            {.text = "1.2.34", .out = "1234"},
            {.text = "12,50", .out = "12,5000"},
            {.text = "12,50", .sign = ",", .out = "1250"},
        }, [](const DecimalRow& r) { return QStringLiteral("%1 d=%2 %3").arg(r.text).arg(r.d).arg(r.sign); });
        // clang-format on
    }
    void normalisation()
    {
        QFETCH(DecimalRow, row);
        QCOMPARE(normaliseDecimal(QString::fromLatin1(row.text), row.d, QString::fromLatin1(row.sign)),
                 QString::fromLatin1(row.out));
    }

    void readBack_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("value");
        QTest::newRow("empty is zero") << "" << true << 0;
        QTest::newRow("1.25") << "1.25" << true << 125;
        QTest::newRow("digits after the sign are not counted") << "1.5" << true << 15;
        QTest::newRow("plain digits") << "0012" << true << 12;
        QTest::newRow("letters") << "1a" << false << 0;
        QTest::newRow("beyond 32 bits") << "99999999.99" << false << 0;
        QTest::newRow("only a sign") << "." << false << 0;
    }

    void readBack()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        qint32 v = 0;
        QCOMPARE(ReadFixedDecimal(text, QStringLiteral("."), &v), ok);
        if (ok)
            QTEST(int(v), "value");
    }
};

QTEST_GUILESS_MAIN(TstSettings)
#include "tst_settings.moc"
