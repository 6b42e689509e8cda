#include "platform/text/Ansi.h"
#include "platform/text/TextFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace quorvane;

class TstText : public QObject {
    Q_OBJECT

private slots:
    void splitting_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << "" << QStringList();
        QTest::newRow("final line end adds no line") << "a\r\nb\r\n" << QStringList{"a", "b"};
        QTest::newRow("no final line end") << "a\r\nb" << QStringList{"a", "b"};
        QTest::newRow("empty lines kept") << "a\r\n\r\n" << QStringList{"a", ""};
        QTest::newRow("only a line end") << "\r\n" << QStringList{""};
        QTest::newRow("LF") << "a\nb\n" << QStringList{"a", "b"};
        QTest::newRow("lone CR stays in the line") << "a\rb\r\n" << QStringList{"a\rb"};
    }

    void splitting()
    {
        QFETCH(QString, text);
        QTEST(text::splitLines(text), "lines");
    }

    void codePages_data()
    {
        QTest::addColumn<QString>("codePage");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("ok");
        QTest::newRow("1252 latin") << "windows-1252" << QStringLiteral("Caf\u00E9 \u20AC5")
                                    << QByteArray("Caf\xE9 \x80"
                                                  "5")
                                    << true;
        QTest::newRow("1252 refuses Chinese") << "windows-1252" << QStringLiteral("\u4E2D") << QByteArray() << false;
        QTest::newRow("GBK Chinese") << "GBK" << QStringLiteral("\u4E2D\u6587A")
                                     << QByteArray("\xD6\xD0\xCE\xC4"
                                                   "A")
                                     << true;
        QTest::newRow("GBK refuses Hebrew") << "GBK" << QStringLiteral("\u05D0") << QByteArray() << false;
    }

    void codePages()
    {
        QFETCH(QString, codePage);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, ok);
        text::setAnsiCodePage(codePage);
        bool encoded = false;
        const QByteArray out = text::toAnsi(text, &encoded);
        QCOMPARE(encoded, ok);
        if (ok) {
            QCOMPARE(out, bytes);
            QCOMPARE(text::fromAnsi(out), text);
        }
        text::setAnsiCodePage(QStringLiteral("windows-1252"));
    }

    void writeAndReadLines()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("lines.txt"));
        QVERIFY(
            text::writeLines(path, {QStringLiteral("one"), QString(), QStringLiteral("\u00E9")}, text::Encoding::Ansi));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("one\r\n\r\n\xE9\r\n"));
        QStringList lines;
        QVERIFY(text::readLines(path, text::Encoding::Ansi, &lines));
        QCOMPARE(lines, (QStringList{"one", "", "\u00E9"}));
    }

    void failedWritesLeaveTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("keep.txt"));
        QVERIFY(text::writeFileAtomically(path, "old"));
        QString err;
        QVERIFY(!text::writeLines(path, {QStringLiteral("\u4E2D")}, text::Encoding::Ansi, &err));
        QVERIFY(err.contains(QLatin1String("code page")));
        QVERIFY(!text::writeFileAtomically(dir.filePath(QStringLiteral("missing/dir/x.txt")), "x", &err));
        QByteArray back;
        QVERIFY(text::readFile(path, &back));
        QCOMPARE(back, QByteArray("old"));
        QVERIFY(!text::readFile(dir.filePath(QStringLiteral("nothing.txt")), &back, &err));
    }
};

QTEST_GUILESS_MAIN(TstText)
#include "tst_text.moc"
