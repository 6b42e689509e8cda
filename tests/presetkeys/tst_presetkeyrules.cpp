#include "support/CodecTestDb.h"
#include "support/FieldValues.h"
#include "support/ProgramFolderFixture.h"
#include "support/TransferFixture.h"

#include "presetkeys/FlexiBarcode.h"
#include "presetkeys/KeyEditor.h"
#include "presetkeys/PresetKeyTable.h"
#include "records/KvbRecords.h"
#include "settings/Settings.h"
#include "state/FBarState.h"
#include "state/PresetKeyState.h"
#include "state/SettingsState.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"

#include <QtTest>

using namespace quorvane;
using namespace quorvane::presetkeys;

namespace {

const QString kScale = QStringLiteral("127.  0.  0.  1");

// "Number:Key_Switch:Status:Name" of the sheet's rows by Number.
QString keyRows()
{
    return gDBConnection
        .scalar(QStringLiteral("SELECT group_concat(Number || ':' || Key_Switch || ':' || Status || ':' || "
                               "ifnull(Name, '-'), ';') FROM (SELECT * FROM KVB_41 ORDER BY Number)"))
        .toString();
}

// The key editor's steps, ';' between them: next, prev, del, save, "plu <no> <name>", "list <F|C|P|B> <position>
// <text>", "tare <text>" (typed, then left), "enter" (the tare box focused), "type <digit>", "name <text>".
struct PageCase {
    const char* stored = ""; // rows before, as keyRows() gives them
    const char* steps = "";
    const char* shown = "||0"; // the number box, the name box and the caption kind after the steps
    qint32 code = 0;           // of the page shown
    const char* tare = "";     // the tare box, when a step used it
    const char* rows = "";     // after the steps
};

struct FBarCase {
    const char* before = ""; // rows of KVB_14, '|' between them, as fieldValues() reads them
    int action = 1;
    int number = 3;
    const char* buffer = ""; // gFBarRec before the call: "Type=1;Data1=7"; FBar_No is the number
    int result = 0;
    const char* rows = "";   // after: "No:Type:ItemDigitNo:Data1:Data2:CD:EANorITF:FBarDigitNo;..."
    const char* loaded = ""; // gFBarRec after a load, in the same form
    bool refused = false;    // a trigger refuses every write
};

struct LengthCase {
    FBarChoices c;
    int legal = 1;
};

QString bufferText(const FBarRec& r)
{
    return QStringList{QString::number(r.FBar_No),          QString::number(r.FBar_Type),
                       QString::number(r.FBar_ItemDigitNo), r.FBar_Data1,
                       QString::number(r.FBar_Data2),       QString::number(r.FBar_CD),
                       QString::number(r.FBar_EANorITF),    QString::number(r.FBar_FBarDigitNo)}
        .join(':');
}

} // namespace

Q_DECLARE_METATYPE(PageCase)
Q_DECLARE_METATYPE(FBarCase)
Q_DECLARE_METATYPE(LengthCase)

class TestPresetKeyRules : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TransferFolder> m_folder;

private slots:
    void initTestCase()
    {
        m_folder = std::make_unique<test::TransferFolder>();
        QVERIFY2(m_folder->setUp(), qPrintable(m_folder->errorText()));
        test::loadTexts();
    }
    void cleanupTestCase() { m_folder.reset(); }
    void init()
    {
        test::emptyTables({"KVB_41", "KVB_14"});
        gPresetKeys() = PresetKeyState();
        gPresetKeys().gKeyNum = 24;
        gStoreTree().gCurScaleIP = kScale;
        gSettings().gWeightPoint = 3;
        gSettings().gDecimalSign = QStringLiteral(".");
        gFBarRec() = FBarRec();
    }

    // The pages of key 1 (Numbers 1, 25 and 49) through the editor's rules, saved when a step says so.
    void keyEditorPages_data()
    {
        QTest::addColumn<PageCase>("c");
        // clang-format off
        QTest::newRow("a key without rows") << PageCase{.steps = "next;next"};
        QTest::newRow("payment key 3 on page 2") << PageCase{.stored = "25:3:129:Pay three", .steps = "next", .shown = "3|Pay three|3", .code = 3000003, .rows = "25:3:129:Pay three"};
        QTest::newRow("the first function entry") << PageCase{.steps = "list F 0 Function 0;save", .shown = "0|Function 0|1", .code = 1000000, .rows = "1:0:1:Function 0"};
        QTest::newRow("clerk 98") << PageCase{.steps = "list C 97 Clerk 98;save", .shown = "98|Clerk 98|2", .code = 2000098, .rows = "1:98:2:Clerk 98"};
        QTest::newRow("batch report 5 on page 3") << PageCase{.steps = "next;next;list B 4 Report 5;save", .shown = "5|Report 5|4", .code = 4000005, .rows = "49:5:130:Report 5"};
        QTest::newRow("tare 1250") << PageCase{.steps = "tare 1250;save", .shown = "1.250|Preset tare|5", .code = 5001250, .tare = "1.250", .rows = "1:1250:6:Preset tare"};
        QTest::newRow("tare entered again") << PageCase{.steps = "tare 1250;enter", .shown = "1.250|Preset tare|5", .code = 5001250, .tare = "1250"};
        QTest::newRow("0, 0 and 7 typed") << PageCase{.steps = "enter;type 0;type 0;type 7", .tare = "7"};
        QTest::newRow("a tare of 0") << PageCase{.steps = "list P 1 Payment 2;tare 0", .shown = "2|Payment 2|3", .code = 3000002, .tare = "0.000"};
        QTest::newRow("a stored tare shown") << PageCase{.stored = "1:250:6:Tare", .shown = "0.250|Tare|5", .code = 5000250, .rows = "1:250:6:Tare"};
        QTest::newRow("a name typed after a PLU") << PageCase{.steps = "plu 12 Apples;name Green apples;save", .shown = "12|Green apples|0", .code = 12, .rows = "1:12:0:Green apples"};
        QTest::newRow("then a pick") << PageCase{.steps = "plu 12 Apples;name Green apples;list B 4 Report 5;save", .shown = "5|Report 5|4", .code = 4000005, .rows = "1:5:130:Report 5"};
        QTest::newRow("a name on an empty page") << PageCase{.steps = "name Lost;save", .shown = "|Lost|0"};
        QTest::newRow("cmdDel of a stored page") << PageCase{.stored = "1:12:0:Apples;25:7:0:Pears", .steps = "del;save", .rows = "25:7:0:Pears"};
        QTest::newRow("an empty name stored as a blank") << PageCase{.steps = "plu 12 Apples;name ;save", .shown = "12||0", .code = 12, .rows = "1:12:0: "};
        QTest::newRow("pages kept apart") << PageCase{.steps = "plu 12 Apples;next;list C 0 Clerk 1;prev;save", .shown = "12|Apples|0", .code = 12, .rows = "1:12:0:Apples;25:1:2:Clerk 1"};
        // clang-format on
    }
    void keyEditorPages()
    {
        QFETCH(PageCase, c);
        for (const QString& row : QString::fromLatin1(c.stored).split(';', Qt::SkipEmptyParts)) {
            const QStringList f = row.split(':');
            WritePresetKeyPage(f[0].toInt(), keyCodeOfFields(f[1].toInt(), f[2].toInt()), f[3]);
        }
        KeyEditor e = LoadKeyEditor(1);
        QString tare = QStringLiteral("0.000");
        for (const QString& step : QString::fromLatin1(c.steps).split(';', Qt::SkipEmptyParts)) {
            const QStringList w = step.split(' ');
            const QString rest = step.section(' ', 1);
            if (w[0] == "next")
                NextKeyPage(e);
            else if (w[0] == "prev")
                PrevKeyPage(e);
            else if (w[0] == "del")
                DeleteKeyPage(e);
            else if (w[0] == "save")
                SavePresetKey(e);
            else if (w[0] == "plu")
                PickBrowsedPLU(e, w[1], step.section(' ', 2));
            else if (w[0] == "list")
                PickListEntry(e, KeyList(QStringLiteral("FCPB").indexOf(w[1])), w[2].toInt(), step.section(' ', 3));
            else if (w[0] == "tare")
                tare = LeavePresetTare(e, rest);
            else if (w[0] == "enter")
                tare = withoutLeadingZero(withoutLeadingZero(withoutLeadingZero(presetTareEntered(tare))));
            else if (w[0] == "type")
                tare = withoutLeadingZero(tare + rest);
            else if (w[0] == "name")
                LeaveKeyName(e, rest);
            else
                QFAIL(qPrintable(step));
        }
        QCOMPARE(QStringList({e.txtPluNo, e.txtCommodity, QString::number(e.captionKind)}).join('|'),
                 QLatin1String(c.shown));
        QCOMPARE(e.keyCodes[e.page - 1], c.code);
        if (*c.tare)
            QCOMPARE(tare, QLatin1String(c.tare));
        QCOMPARE(keyRows(), QLatin1String(c.rows));
    }

    // A page the table refuses leaves every page as it was.
    void saveIsOneTransaction()
    {
        WritePresetKeyPage(1, 12, QStringLiteral("Apples"));
        KeyEditor e = LoadKeyEditor(1);
        DeleteKeyPage(e);
        NextKeyPage(e);
        NextKeyPage(e);
        PickListEntry(e, KeyList::Clerk, 0, QStringLiteral("Clerk 1"));
        const test::FailingWrites refuse(QStringLiteral("BEFORE INSERT ON KVB_41"));
        QVERIFY_THROWS_EXCEPTION(db::DbError, SavePresetKey(e));
        QCOMPARE(keyRows(), QStringLiteral("1:12:0:Apples"));
    }

    void flexiBarcodeRecords_data()
    {
        QTest::addColumn<FBarCase>("c");
        // clang-format off
        QTest::newRow("saved twice") << FBarCase{.before = "FBar_No=3;FBar_Type=1", .action = 2, .buffer = "FBar_Type=2;FBar_CD=130;FBar_EANorITF=1", .rows = "3:2:0:0:0:130:1:0"};
        QTest::newRow("appended at the end") << FBarCase{.before = "FBar_No=5|FBar_No=2", .action = 2, .number = 7, .buffer = "FBar_ItemDigitNo=4", .rows = "5:0:0:0:0:0:0:0;2:0:0:0:0:0:0:0;7:0:4:0:0:0:0:0"};
        QTest::newRow("every row of the number") << FBarCase{.before = "FBar_No=3|FBar_No=4|FBar_No=3", .action = 2, .buffer = "FBar_Data2=6", .rows = "3:0:0:0:6:0:0:0;4:0:0:0:0:0:0:0;3:0:0:0:6:0:0:0"};
        QTest::newRow("digit count 9 of data 1") << FBarCase{.action = 2, .buffer = "FBar_Data1=9", .rows = "3:0:0:9:0:0:0:0"};
        QTest::newRow("loaded") << FBarCase{.before = "FBar_No=3;FBar_Data1=9;FBar_CD=2;FBar_EANorITF=1;FBar_FBarDigitNo=4", .result = 1, .rows = "3:0:0:9:0:2:1:4", .loaded = "3:0:0:9:0:2:1:4"};
        QTest::newRow("a missing one keeps the reset buffer") << FBarCase{.before = "FBar_No=2", .rows = "2:0:0:0:0:0:0:0", .loaded = "3:0:0:0:0:0:0:0"};
        QTest::newRow("a save keeps FBar_FBarDigitNo") << FBarCase{.before = "FBar_No=3;FBar_FBarDigitNo=4", .action = 2, .buffer = "FBar_FBarDigitNo=4;FBar_Type=1", .rows = "3:1:0:0:0:0:0:4"};
        QTest::newRow("deleted") << FBarCase{.before = "FBar_No=3|FBar_No=1|FBar_No=3", .action = 3, .result = 1, .rows = "1:0:0:0:0:0:0:0"};
        QTest::newRow("nothing to delete") << FBarCase{.before = "FBar_No=1", .action = 3, .rows = "1:0:0:0:0:0:0:0"};
        QTest::newRow("another table") << FBarCase{.action = 2, .number = -1};
        QTest::newRow("a refused save") << FBarCase{.before = "FBar_No=3|FBar_No=3", .action = 2, .buffer = "FBar_Type=1", .rows = "3:0:0:0:0:0:0:0;3:0:0:0:0:0:0:0", .refused = true};
        // clang-format on
    }
    void flexiBarcodeRecords()
    {
        QFETCH(FBarCase, c);
        const QVariantMap zero{{"FBar_No", 0},        {"FBar_Type", 0},      {"FBar_ItemDigitNo", 0},
                               {"FBar_Data1Type", 0}, {"FBar_Data2Type", 0}, {"FBar_FBarDigitNo", 0},
                               {"FBar_CD", 0},        {"FBar_Data1", 0},     {"FBar_Data2", 0},
                               {"FBar_Data1SH", 0},   {"FBar_Data2SH", 0},   {"FBar_EANorITF", 0}};
        for (const QString& row : QString::fromLatin1(c.before).split('|', Qt::SkipEmptyParts))
            test::addRow(QStringLiteral("KVB_14"), test::rowOf(zero, row));
        resetFBarRec(c.number);
        const QVariantMap b = test::fieldValues(QLatin1String(c.buffer));
        FBarRec& r = gFBarRec();
        r.FBar_Type = qint16(b.value("FBar_Type").toInt());
        r.FBar_ItemDigitNo = qint16(b.value("FBar_ItemDigitNo").toInt());
        r.FBar_Data1 = b.value("FBar_Data1", "0").toString();
        r.FBar_Data2 = qint16(b.value("FBar_Data2").toInt());
        r.FBar_CD = qint16(b.value("FBar_CD").toInt());
        r.FBar_EANorITF = qint16(b.value("FBar_EANorITF").toInt());
        r.FBar_FBarDigitNo = qint16(b.value("FBar_FBarDigitNo").toInt());
        const test::FailingWrites refuse(
            c.refused ? QStringLiteral("BEFORE UPDATE ON KVB_14 WHEN OLD.rowid = (SELECT max(rowid) FROM KVB_14)")
                      : QString());
        const QString table = c.number < 0 ? QStringLiteral("KVB_41") : QStringLiteral("KVB_14");
        if (c.refused) {
            QVERIFY_THROWS_EXCEPTION(db::DbError, FlexiBarcodeRecords(table, c.action, c.number));
        } else {
            QCOMPARE(FlexiBarcodeRecords(table, c.action, c.number), c.result);
        }
        QStringList rows;
        db::Recordset rs(&gDBConnection);
        for (rs.openTable(QStringLiteral("KVB_14")); !rs.eof(); rs.moveNext()) {
            rows << QStringList{rs.textValue("FBar_No"),          rs.textValue("FBar_Type"),
                                rs.textValue("FBar_ItemDigitNo"), rs.textValue("FBar_Data1"),
                                rs.textValue("FBar_Data2"),       rs.textValue("FBar_CD"),
                                rs.textValue("FBar_EANorITF"),    rs.textValue("FBar_FBarDigitNo")}
                        .join(':');
            // A saved row carries the record of its fields.
            if (c.action == 2 && !c.refused && rs.intValue("FBar_No") == c.number)
                QCOMPARE(rs.bytesValue("KVBBinData"), records::buildKvbRecord(QStringLiteral("KVB_14"), rs));
        }
        QCOMPARE(rows.join(';'), QLatin1String(c.rows));
        if (*c.loaded)
            QCOMPARE(bufferText(gFBarRec()), QLatin1String(c.loaded));
    }

    void checkBarcodeLength_data()
    {
        QTest::addColumn<LengthCase>("c");
        // clang-format off
        QTest::newRow("EAN 12") << LengthCase{{.ItemDigitNo = 5, .Data1 = 5, .CD = 2, .EANorITF = 1}, 0};
        QTest::newRow("EAN 13") << LengthCase{{.Type = 1, .ItemDigitNo = 5, .Data1 = 5, .CD = 2, .EANorITF = 1}, 1};
        QTest::newRow("ITF 12") << LengthCase{{.ItemDigitNo = 5, .Data1 = 5, .CD = 2}, 1};
        QTest::newRow("ITF 13") << LengthCase{{.ItemDigitNo = 5, .Data1 = 5, .CD = 3}, 0};
        QTest::newRow("ITF 4") << LengthCase{{.Type = 2, .Data2 = 4}, 1};
        QTest::newRow("ITF 2") << LengthCase{{.Type = 2, .Data2 = 2}, 0};
        QTest::newRow("ITF 23") << LengthCase{{.Type = 1, .ItemDigitNo = 10, .Data1 = 9, .CD = 3}, 0};
        QTest::newRow("ITF 21") << LengthCase{{.Type = 1, .ItemDigitNo = 10, .Data1 = 9}, 0};
        QTest::newRow("ITF 22") << LengthCase{{.Type = 1, .ItemDigitNo = 10, .Data1 = 9, .CD = 1}, 1};
        QTest::newRow("EAN 8") << LengthCase{{.ItemDigitNo = 7, .EANorITF = 1}, 1};
        QTest::newRow("EAN 14") << LengthCase{{.Type = 1, .ItemDigitNo = 10, .Data2 = 2, .EANorITF = 1}, 0};
        // clang-format on
    }
    void checkBarcodeLength()
    {
        QFETCH(LengthCase, c);
        QCOMPARE(CheckBarcodeLength(c.c), c.legal);
    }

    void barcodePattern_data()
    {
        QTest::addColumn<LengthCase>("c");
        QTest::addColumn<QString>("pattern");
        // clang-format off
        QTest::newRow("last") << LengthCase{{.Type = 1, .ItemDigitNo = 5, .Data1 = 5, .CD = 2}} << "F1F2CCCCCPPPPPCD";
        QTest::newRow("middle") << LengthCase{{.Type = 1, .ItemDigitNo = 5, .Data1 = 5, .CD = 1}} << "F1F2CCCCCCDPPPPP";
        QTest::newRow("both") << LengthCase{{.Type = 1, .ItemDigitNo = 5, .Data1 = 5, .CD = 3}} << "F1F2CCCCCCDPPPPPCD";
        QTest::newRow("data 2") << LengthCase{{.ItemDigitNo = 6, .Data2 = 4}} << "F2CCCCCCXXXX";
        QTest::newRow("no flag") << LengthCase{{.Type = 2, .CD = 1}} << "CD";
        // clang-format on
    }
    void barcodePattern()
    {
        QFETCH(LengthCase, c);
        QFETCH(QString, pattern);
        QCOMPARE(presetkeys::barcodePattern(c.c), pattern);
    }

    // What the lists show of a buffer, and what a save makes of them: the EAN bit in FBar_CD, not in the lists.
    void listsOfTheBuffer()
    {
        FBarRec r;
        r.FBar_No = 4;
        r.FBar_Data1 = QStringLiteral("7");
        r.FBar_CD = 130;
        r.FBar_EANorITF = 1;
        r.FBar_FBarDigitNo = 3;
        const FBarChoices c = choicesOfRecord(r);
        QCOMPARE(c.No, 3);
        QCOMPARE(c.Data1, 7);
        QCOMPARE(c.CD, 2);
        FBarRec saved;
        saved.FBar_FBarDigitNo = 3;
        storeChoices(c, saved);
        QCOMPARE(bufferText(saved), bufferText(r));
        QCOMPARE(kFBarLists[10].entries(), (QStringList{"0:ITF", "1:EAN"}));
        QCOMPARE(kFBarLists[5].entries().value(9), QStringLiteral("9  digits"));
    }
};

QTEST_MAIN(TestPresetKeyRules)
#include "tst_presetkeyrules.moc"
