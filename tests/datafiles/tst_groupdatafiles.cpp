#include "support/CodecTestDb.h"
#include "support/TransferFixture.h"

#include "datafiles/DataFileWriters.h"
#include "platform/text/Ansi.h"

#include <QFile>
#include <QtTest>

using namespace quorvane;

class TestGroupDataFiles : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TransferFolder> m_folder;

private slots:
    void init()
    {
        m_folder = std::make_unique<test::TransferFolder>();
        QVERIFY2(m_folder->setUp(), qPrintable(m_folder->errorText()));
    }
    void cleanup() { m_folder.reset(); }

    // The lines of the department and main-group files: every marked row whatever its store, the name unquoted,
    // CR LF after each line and nothing after the last; no marked row, no file.
    void files_data()
    {
        QTest::addColumn<QString>("codePage");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QStringList>("rows"); // "number|name|store|marked", for a main group "...|department|tax"
        QTest::addColumn<QByteArray>("expected");
        const QString w = QStringLiteral("windows-1252");
        QTest::newRow("department") << w << "DEP0UALL.csv" << QStringList{"5|FRUIT|1|1"} << QByteArray("5,,FRUIT\r\n");
        QTest::newRow("main group") << w << "MGP0UALL.csv" << QStringList{"40|BREAD|1|1|12|3"}
                                    << QByteArray("40,,12,3,BREAD\r\n");
        QTest::newRow("one number in two stores, one row unmarked")
            << w << "DEP0UALL.csv" << QStringList{"5|FRUIT|1|1", "6|MEAT|1|0", "5|Crème|2|1"}
            << QByteArray("5,,FRUIT\r\n5,,Cr\xE8me\r\n");
        QTest::newRow("a comma in a name")
            << w << "MGP0UALL.csv" << QStringList{"41|Meat, fresh|1|1|5|0"} << QByteArray("41,,5,0,Meat, fresh\r\n");
        QTest::newRow("no marked row") << w << "DEP0UALL.csv" << QStringList{"5|FRUIT|1|0"} << QByteArray();
        QTest::newRow("GBK") << QStringLiteral("GBK") << "MGP0UALL.csv"
                             << QStringList{QString::fromUtf8("7|水果|1|1|3|1")}
                             << QByteArray("7,,3,1,\xCB\xAE\xB9\xFB\r\n");
        QTest::newRow("a name the code page cannot hold")
            << w << "DEP0UALL.csv" << QStringList{"5|FRUIT|1|1", QString::fromUtf8("6|水果|1|1")} << QByteArray();
    }
    void files()
    {
        QFETCH(QString, codePage);
        QFETCH(QString, fileName);
        QFETCH(QStringList, rows);
        QFETCH(QByteArray, expected);
        text::setAnsiCodePage(codePage);
        const bool departments = fileName.startsWith("DEP");
        for (const QString& row : std::as_const(rows)) {
            const QStringList f = row.split('|');
            if (departments)
                test::addRow("KVB_20", {{"DP_No", f[0]}, {"DP_Name", f[1]}, {"ST_No", f[2]}, {"Is_Selected", f[3]}});
            else
                test::addRow("KVB_23",
                             {{"MG_No", f[0]},
                              {"MG_Name", f[1]},
                              {"ST_No", f[2]},
                              {"Is_Selected", f[3]},
                              {"DP_No", f[4]},
                              {"Tax_No", f[5]}});
        }
        const QList<datafiles::WriterFailure> failures = datafiles::writeListedDataFiles({fileName});
        QCOMPARE(failures.size(), QTest::currentDataTag() == QByteArray("a name the code page cannot hold") ? 1 : 0);
        QCOMPARE(QFile::exists(m_folder->tempFile(fileName)), !expected.isEmpty());
        QCOMPARE(m_folder->readTempFile(fileName), expected);
    }

    // The flexible-barcode file: the check-digit mode's two bits, never the EAN bit of FBar_CD; an unmarked format
    // is left out.
    void flexibleBarcodes()
    {
        // FBar_No, Type, ItemDigitNo, Data1, Data2, CD, EANorITF, Data1Type, Data2Type, Data1SH, Data2SH, Is_Selected
        const QList<QList<int>> rows{{1, 0, 5, 5, 0, 0, 0, 0, 1, 0, 0, 1},  {2, 1, 4, 3, 2, 1, 0, 4, 7, 1, 2, 1},
                                     {7, 0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0},  {3, 2, 6, 4, 0, 2, 0, 10, 8, 3, 4, 1},
                                     {4, 0, 10, 9, 9, 3, 0, 9, 2, 5, 0, 1}, {5, 1, 5, 5, 0, 129, 1, 0, 0, 0, 0, 1},
                                     {6, 0, 7, 0, 0, 130, 1, 0, 0, 0, 0, 1}};
        const QStringList fields{"FBar_No",        "FBar_Type",    "FBar_ItemDigitNo", "FBar_Data1",
                                 "FBar_Data2",     "FBar_CD",      "FBar_EANorITF",    "FBar_Data1Type",
                                 "FBar_Data2Type", "FBar_Data1SH", "FBar_Data2SH",     "Is_Selected"};
        for (const QList<int>& row : rows) {
            QVariantMap values{{"FBar_FBarDigitNo", 3}};
            for (int f = 0; f < fields.size(); ++f)
                values.insert(fields[f], row[f]);
            test::addRow("KVB_14", values);
        }
        QVERIFY(datafiles::writeListedDataFiles({"FLB0UALL.csv"}).isEmpty());
        QFile golden(QStringLiteral(QUORVANE_TEST_DATA_DIR "/datafiles/FLB0UALL.csv"));
        QVERIFY(golden.open(QIODevice::ReadOnly));
        QCOMPARE(m_folder->readTempFile("FLB0UALL.csv"), golden.readAll());
    }
};

QTEST_MAIN(TestGroupDataFiles)
#include "tst_groupdatafiles.moc"
