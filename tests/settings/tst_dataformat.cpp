#include "support/ProgramFolderFixture.h"
#include "support/TestSupport.h"

#include "platform/text/Ansi.h"
#include "platform/text/TextFile.h"
#include "settings/DataFormat.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "state/ProgramFolder.h"
#include "state/SettingsState.h"

#include <QDir>
#include <QtTest>

using namespace quorvane;

namespace {

// The held values that OK may change, and those it must keep, in one line.
QString describe(const SettingsRecord& r)
{
    return QStringLiteral("price %1 sign %2 (%3) weight %4 date %5 unit %6 \"%7\" country %8 store %9 \"%10\"")
        .arg(r.gPricePoint)
        .arg(r.gPointType)
        .arg(r.gDecimalSign)
        .arg(r.gWeightPoint)
        .arg(r.gDateType)
        .arg(r.gPriceUnit)
        .arg(r.gCurrencySymbol)
        .arg(r.gSysCountry)
        .arg(r.gSysStore)
        .arg(r.gTreeRootName);
}

QString settingsPath() { return programPath(QLatin1String(paths::SettingsFile)); }

} // namespace

class TstDataFormat : public QObject {
    Q_OBJECT

    std::unique_ptr<test::ProgramFolderFixture> m_folder;

    SettingsRecord hold(const QByteArray& file)
    {
        test::writeFile(settingsPath(), file);
        SettingsRecord held;
        SettingsFileError error;
        if (!readSettingsFile(settingsPath(), &held, &error))
            qWarning() << error.message;
        gSettings() = held;
        return held;
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<test::ProgramFolderFixture>();
        QVERIFY(m_folder->isValid());
        test::loadTexts();
    }

    void cleanup()
    {
        releaseTextCollections();
        gSettings() = SettingsRecord();
        m_folder.reset();
    }

    // Held file, what the dialog shows of it, the operator's changes (list positions by name, the
    // price-unit text as "unit"), the file OK writes and the record the program then holds.
    void ok_data()
    {
        QTest::addColumn<QByteArray>("held");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QVariantMap>("changes");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<QString>("after");

        const QByteArray shipped(" 0 \r\n 2 \r\n 0 \r\n 3 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\nVelcor Weighing\r\n");
        // clang-format off
        QTest::newRow("shipped, unchanged") << shipped << "RMB: price 2 sign 0 weight 3 date 0 country 0 store 0" << QVariantMap() << shipped << "price 2 sign 0 (.) weight 3 date 0 unit 0 \"RMB\" country 0 store 0 \"Velcor Weighing\"";
        QTest::newRow("own text typed gives ten lines; decimals, comma, date order, country")
            << shipped << "RMB: price 2 sign 0 weight 3 date 0 country 0 store 0"
            << QVariantMap{{"unit", "EUR"},    {"pricePoint", 3}, {"pointType", 1},
                           {"weightPoint", 1}, {"dateType", 1},   {"country", 37}}
            << QByteArray(" 0 \r\n 3 \r\n 1 \r\n 1 \r\n 1 \r\n 2 \r\nEUR\r\n 37 \r\n 0 \r\nVelcor Weighing\r\n")
            << "price 3 sign 1 (.) weight 1 date 1 unit 2 \"EUR\" country 37 store 0 \"Velcor Weighing\"";
        QTest::newRow("\"$\" typed over RMB writes code 1, the held text stays")
            << shipped << "RMB: price 2 sign 0 weight 3 date 0 country 0 store 0" << QVariantMap{{"unit", "$"}}
            << QByteArray(" 0 \r\n 2 \r\n 0 \r\n 3 \r\n 0 \r\n 1 \r\n 0 \r\n 0 \r\nVelcor Weighing\r\n")
            << "price 2 sign 0 (.) weight 3 date 0 unit 1 \"RMB\" country 0 store 0 \"Velcor Weighing\"";
        // clang-format on
        const QByteArray own(" 1 \r\n 2 \r\n 0 \r\n 3 \r\n 5 \r\n 2 \r\nEUR\r\n 4 \r\n 0 \r\nVelcor Weighing\r\n");
        // clang-format off
        QTest::newRow("held own text is the third item and stays") << own << "EUR: price 2 sign 0 weight 3 date 5 country 4 store 0" << QVariantMap() << own << "price 2 sign 0 (.) weight 3 date 5 unit 2 \"EUR\" country 4 store 0 \"Velcor Weighing\"";
        QTest::newRow("an emptied price-unit text keeps the held code and text") << own << "EUR: price 2 sign 0 weight 3 date 5 country 4 store 0" << QVariantMap{{"unit", ""}} << own << "price 2 sign 0 (.) weight 3 date 5 unit 2 \"EUR\" country 4 store 0 \"Velcor Weighing\"";
        QTest::newRow("RMB chosen over an own text writes code 0")
            << own << "EUR: price 2 sign 0 weight 3 date 5 country 4 store 0" << QVariantMap{{"unit", "RMB"}}
            << QByteArray(" 1 \r\n 2 \r\n 0 \r\n 3 \r\n 5 \r\n 0 \r\n 4 \r\n 0 \r\nVelcor Weighing\r\n")
            << "price 2 sign 0 (.) weight 3 date 5 unit 0 \"EUR\" country 4 store 0 \"Velcor Weighing\"";
        // clang-format on
        // Outside their lists: nothing selected, and OK writes the held values back, the root text too.
        const QByteArray outside(" 2 \r\n 5 \r\n 2 \r\n -1 \r\n 9 \r\n 7 \r\n 38 \r\n 1 \r\nMy Shops\r\n");
        QTest::newRow("held values outside their lists are written back")
            << outside << ": price -1 sign -1 weight -1 date -1 country -1 store -1" << QVariantMap()
            << QByteArray(" 2 \r\n 5 \r\n 2 \r\n-1 \r\n 9 \r\n 7 \r\n 38 \r\n 1 \r\nMy Shops\r\n")
            << "price 5 sign 2 (,) weight -1 date 9 unit 7 \"\" country 38 store 1 \"My Shops\"";
        QTest::newRow("outside, then chosen")
            << outside << ": price -1 sign -1 weight -1 date -1 country -1 store -1"
            << QVariantMap{{"pricePoint", 0}, {"store", 0}, {"unit", "$"}}
            << QByteArray(" 2 \r\n 0 \r\n 2 \r\n-1 \r\n 9 \r\n 1 \r\n 38 \r\n 0 \r\nVelcor Weighing\r\n")
            << "price 0 sign 2 (,) weight -1 date 9 unit 1 \"\" country 38 store 0 \"Velcor Weighing\"";
    }

    void ok()
    {
        QFETCH(QByteArray, held);
        QFETCH(QString, shown);
        QFETCH(QVariantMap, changes);
        QFETCH(QByteArray, written);
        QFETCH(QString, after);

        const DataFormatForm form = dataFormatForm(hold(held));
        DataFormatChoices c = form.chosen;
        QCOMPARE(QStringLiteral("%1: price %2 sign %3 weight %4 date %5 country %6 store %7")
                     .arg(c.priceUnitText)
                     .arg(c.pricePoint)
                     .arg(c.pointType)
                     .arg(c.weightPoint)
                     .arg(c.dateType)
                     .arg(c.country)
                     .arg(c.store),
                 shown);
        QCOMPARE(form.priceUnits.size(), c.priceUnitText == QLatin1String("EUR") ? 3 : 2);

        for (auto it = changes.cbegin(); it != changes.cend(); ++it) {
            int* list = it.key() == QLatin1String("pricePoint") ? &c.pricePoint
                : it.key() == QLatin1String("pointType")        ? &c.pointType
                : it.key() == QLatin1String("weightPoint")      ? &c.weightPoint
                : it.key() == QLatin1String("dateType")         ? &c.dateType
                : it.key() == QLatin1String("country")          ? &c.country
                : it.key() == QLatin1String("store")            ? &c.store
                                                                : nullptr;
            if (list)
                *list = it.value().toInt();
            else
                c.priceUnitText = it.value().toString();
        }
        saveDataFormat(c);
        QCOMPARE(test::readFile(settingsPath()), written);
        QCOMPARE(describe(gSettings()), after);
        // The next start reads what was written.
        SettingsRecord next;
        QVERIFY(readSettingsFile(settingsPath(), &next));
    }

    void formLists()
    {
        const DataFormatForm form = dataFormatForm(
            hold(" 0 \r\n 2 \r\n 0 \r\n 3 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\nX\r\n"));
        QCOMPARE(form.dateTypes.first(), QStringLiteral("1. MM-DD-YY"));
        QCOMPARE(form.dateTypes.last(), QStringLiteral("6. YY.MM.DD"));
        QCOMPARE(form.countries.size(), 38);
        QCOMPARE(form.countries.at(37), gParCountry.text(QStringLiteral("SYS_C37")));
    }

    // A write that fails leaves file and record as they were.
    void failedWrite()
    {
        const QByteArray held(" 0 \r\n 2 \r\n 0 \r\n 3 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\nVelcor Weighing\r\n");
        hold(held);
        const SettingsRecord before = gSettings();
        DataFormatChoices c = dataFormatForm(before).chosen;
        c.pricePoint = 0;
        // A text the code page cannot hold is refused before the file is touched.
        c.priceUnitText = QStringLiteral("元");
        QVERIFY_THROWS_EXCEPTION(text::FileError, saveDataFormat(c));
        QCOMPARE(test::readFile(settingsPath()), held);
        QCOMPARE(describe(gSettings()), describe(before));
    }

    // Typed or pasted characters: one byte from 32 to 255 in the code page.
    void priceUnitCharacters_data()
    {
        QTest::addColumn<QString>("codePage");
        QTest::addColumn<QString>("character");
        QTest::addColumn<bool>("accepted");
        const struct {
            const char* name;
            const char* codePage;
            const char* character;
            bool accepted;
        } rows[] = {
            {"letter", "windows-1252", "E", true},
            {"euro, 0x80", "windows-1252", "€", true},
            {"y with diaeresis, 0xFF", "windows-1252", "ÿ", true},
            {"backspace", "windows-1252", "\b", false},
            {"enter", "windows-1252", "\r", false},
            {"not in the code page", "windows-1252", "中", false},
            {"double-byte", "GBK", "中", false},
        };
        for (const auto& r : rows)
            QTest::newRow(r.name) << QString::fromLatin1(r.codePage) << QString::fromUtf8(r.character) << r.accepted;
    }

    void priceUnitCharacters()
    {
        QFETCH(QString, codePage);
        QFETCH(QString, character);
        QFETCH(bool, accepted);
        text::setAnsiCodePage(codePage);
        QCOMPARE(priceUnitAccepts(character), accepted);
        text::setAnsiCodePage(QStringLiteral("windows-1252"));
    }
};

QTEST_GUILESS_MAIN(TstDataFormat)
#include "tst_dataformat.moc"
