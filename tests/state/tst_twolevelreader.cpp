#include "support/TestSupport.h"

#include "platform/text/Ansi.h"
#include "state/TwoLevelReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace quorvane;

class TstTwoLevelReader : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString writeFile(const QString& body)
    {
        const QString path = m_dir.filePath(QStringLiteral("two-level.ini"));
        test::writeFile(path, text::encode(body, text::Encoding::Gb18030));
        return path;
    }

    static QString entries(const LangCollection& c)
    {
        QStringList out;
        for (int i = 1; i <= c.count(); ++i)
            out << c.keyAt(i) + QLatin1Char('=') + c.at(i);
        return out.join(QLatin1Char('|'));
    }

private slots:
    void collections_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("expected");

        const QString two = QStringLiteral("<Standard>\r\n[S]\r\nk=en\r\n\r\n<Chinese>\r\n[S]\r\nk=cn\r\n");
        QTest::newRow("group in another case") << two << "chinese"
                                               << "S"
                                               << "k=cn";
        QTest::newRow("group line with blanks") << QStringLiteral("   <Chinese>   \r\n[S]\r\nk=cn\r\n") << "Chinese"
                                                << "S"
                                                << "k=cn";
        QTest::newRow("section line with blanks, other case") << QStringLiteral("<G>\r\n  [sEcT]  \r\nk=v\r\n") << "G"
                                                              << "Sect"
                                                              << "k=v";
        QTest::newRow("blanks around the equals sign")
            << QStringLiteral("<G>\r\n[S]\r\n  key  =  some value  \r\n") << "G"
            << "S"
            << "key=some value";
        QTest::newRow("nothing after the equals sign") << QStringLiteral("<G>\r\n[S]\r\nk=\r\n") << "G"
                                                       << "S"
                                                       << "k=";
        QTest::newRow("two equals signs") << QStringLiteral("<G>\r\n[S]\r\nk=a=b\r\n") << "G"
                                          << "S"
                                          << "k=a=b";
        QTest::newRow("next section without empty line joins")
            << QStringLiteral("<G>\r\n[A]\r\na=1\r\n[B]\r\nb=2\r\n\r\n[C]\r\nc=3\r\n") << "G"
            << "A"
            << "a=1|b=2";
        QTest::newRow("line of blanks does not end the section")
            << QStringLiteral("<G>\r\n[S]\r\na=1\r\n   \r\nb=2\r\n\r\nc=3\r\n") << "G"
            << "S"
            << "a=1|b=2";
        QTest::newRow("section of a later group is taken")
            << QStringLiteral("<G>\r\n[X]\r\nx=1\r\n\r\n<H>\r\n[S]\r\ns=2\r\n") << "G"
            << "S"
            << "s=2";
        QTest::newRow("missing group") << two << "Other"
                                       << "S"
                                       << "";
        QTest::newRow("missing section") << two << "Standard"
                                         << "T"
                                         << "";
        QTest::newRow("remark lines carry nothing") << QStringLiteral("<G>\r\n[S]\r\n; remark\r\nk=v\r\n") << "G"
                                                    << "S"
                                                    << "k=v";
        QTest::newRow("duplicate key keeps the first") << QStringLiteral("<G>\r\n[S]\r\nk=1\r\nK=2\r\nz=3\r\n") << "G"
                                                       << "S"
                                                       << "k=1|z=3";
        QTest::newRow("empty key is passed over") << QStringLiteral("<G>\r\n[S]\r\n=1\r\nz=3\r\n") << "G"
                                                  << "S"
                                                  << "z=3";
        QTest::newRow("LF line ends") << QStringLiteral("<G>\n[S]\nk=v\n\nz=9\n") << "G"
                                      << "S"
                                      << "k=v";
        QTest::newRow("Chinese text in GB18030")
            << QStringLiteral("<Chinese>\r\n[S]\r\nk=\u4E2D\u6587\r\n") << "Chinese"
            << "S" << QStringLiteral("k=\u4E2D\u6587");
    }

    void collections()
    {
        QFETCH(QString, file);
        QFETCH(QString, group);
        QFETCH(QString, section);
        QFETCH(QString, expected);
        LangCollection c;
        c.add(QStringLiteral("stale"), QStringLiteral("entry"));
        LoadSectionToCollection(writeFile(file), group, section, c);
        QCOMPARE(entries(c), expected);
        QVERIFY(!QFileInfo::exists(QDir(m_dir.path()).filePath(QStringLiteral("$_Chartemp.txx"))));
    }

    void readGroupSection()
    {
        const QString path = writeFile(QStringLiteral("<G>\r\n[S]\r\n  a = 1  \r\nb=2\r\n\r\n[E]\r\n\r\n[L]\r\nx=1"));
        QCOMPARE(ReadGroupSection(path, QStringLiteral("G"), QStringLiteral("S"), QStringLiteral("dflt")),
                 QStringLiteral("a = 1\r\nb=2\r\n"));
        // An empty section gives the empty text, not the default.
        QCOMPARE(ReadGroupSection(path, QStringLiteral("G"), QStringLiteral("E"), QStringLiteral("dflt")), QString());
        // The last section may end at the end of the file.
        QCOMPARE(ReadGroupSection(path, QStringLiteral("G"), QStringLiteral("L"), QStringLiteral("dflt")),
                 QStringLiteral("x=1\r\n"));
        QCOMPARE(ReadGroupSection(path, QStringLiteral("G"), QStringLiteral("none"), QStringLiteral("dflt")),
                 QStringLiteral("dflt"));
        QCOMPARE(ReadGroupSection(m_dir.filePath(QStringLiteral("missing.ini")), QStringLiteral("G"),
                                  QStringLiteral("S"), QStringLiteral("dflt")),
                 QStringLiteral("dflt"));
    }

    void missingFileEmptiesTheCollection()
    {
        LangCollection c;
        c.add(QStringLiteral("old"), QStringLiteral("text"));
        LoadSectionToCollection(m_dir.filePath(QStringLiteral("nowhere.ini")), QStringLiteral("G"), QStringLiteral("S"),
                                c);
        QCOMPARE(c.count(), 0);
        // A missing key reads as the key itself, so the gap shows without breaking anything.
        QCOMPARE(c.text(QStringLiteral("linkADO")), QStringLiteral("linkADO"));
    }

    void lookupIgnoresCaseAndKeepsOrder()
    {
        LangCollection c;
        QVERIFY(c.add(QStringLiteral("First"), QStringLiteral("1")));
        QVERIFY(c.add(QStringLiteral("second"), QStringLiteral("2")));
        QVERIFY(!c.add(QStringLiteral("FIRST"), QStringLiteral("x")));
        QCOMPARE(c.text(QStringLiteral("first")), QStringLiteral("1"));
        QCOMPARE(c.at(2), QStringLiteral("2"));
        QCOMPARE(c.at(3), QString());
        QCOMPARE(c.at(0), QString());
    }
};

QTEST_GUILESS_MAIN(TstTwoLevelReader)
#include "tst_twolevelreader.moc"
