#include "support/TestSupport.h"

#include "platform/text/Ansi.h"
#include "settings/Translation.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace quorvane;

namespace {

QByteArray crlf(const QStringList& lines)
{
    return text::encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"), text::Encoding::Gb18030);
}

// Two blocks of five lines, each ending in an empty line, then the same four lines again without it.
QStringList fourteenLines()
{
    return {QStringLiteral("<Standard>"),
            QStringLiteral("[frm_Test]"),
            QStringLiteral("a=Alpha"),
            QStringLiteral("b=Beta = B"),
            QString(),
            QStringLiteral("<Chinese>"),
            QStringLiteral("[frm_Test]"),
            QStringLiteral("a=甲"),
            QStringLiteral("b=乙"),
            QString(),
            QStringLiteral("<Other>"),
            QStringLiteral("[frm_Test]"),
            QStringLiteral("a=Alpha"),
            QStringLiteral("b=Beta = B")};
}

// A parallel file of `n` lines: entries in block 1 paired with entries at the same places of block 3.
QStringList parallelLines(int n)
{
    QStringList lines;
    const double m = (n + 1) / 3.0;
    for (int i = 0; i < n; ++i)
        lines << QStringLiteral("k%1=v").arg(i);
    for (int i = 0; i <= m - 1; ++i)
        if (qRound(i + 2 * m) < n)
            lines[qRound(i + 2 * m)] = QStringLiteral("k%1=t").arg(i);
    return lines;
}

} // namespace

class TstTranslation : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("language.ini"));
        test::writeFile(path, bytes);
        return path;
    }

private slots:
    void fourteenLineExample()
    {
        QStringList lines = fourteenLines();
        lines[2] = QStringLiteral("a="); // an empty standard text
        // Read with LF line ends and no final one; written back with CR LF throughout.
        const QString path = write(text::encode(lines.join(QLatin1Char('\n')), text::Encoding::Gb18030));
        TranslationFile file;
        QCOMPARE(file.load(path), TranslationFile::Load::Loaded);
        QCOMPARE(file.rowCount(), 2);
        QCOMPARE(file.translation(0), QStringLiteral("Alpha"));
        QCOMPARE(file.translationLimit(0), 0); // no limit
        QCOMPARE(file.original(1), QStringLiteral("Beta = B"));
        QCOMPARE(file.translationLimit(1), 16);
        QCOMPARE(file.translationLine(1), 13); // line 3 pairs with line 13
        file.save();
        QCOMPARE(test::readFile(path), crlf(lines));

        // An edit changes the body of its block-3 line only, split at the first "=".
        file.setTranslation(1, QStringLiteral("Bêta = B"));
        file.save();
        lines[13] = QStringLiteral("b=Bêta = B");
        QCOMPARE(test::readFile(path), crlf(lines));
        // A line break typed or pasted would shift the blocks.
        file.setTranslation(0, QStringLiteral("A\r\nB"));
        QCOMPARE(file.lines().size(), 14);
        QCOMPARE(file.lines().at(12), QStringLiteral("a=A  B"));
        // Nor is any other control character written, pasted or read with the file.
        file.setTranslation(0, QStringLiteral("A\tB") + QChar(0) + QChar(0x1b) + QChar(0x7f));
        QCOMPARE(file.lines().at(12), QStringLiteral("a=A B   "));
        lines[8] = QStringLiteral("b=乙\x1b");
        QCOMPARE(file.load(write(crlf(lines))), TranslationFile::Load::Loaded);
        QCOMPARE(file.lines().at(8), QStringLiteral("b=乙 "));
    }

    // A file the editor refuses: nothing held, and closing writes nothing.
    void refused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("result");

        QStringList shifted = fourteenLines();
        shifted.removeAt(12); // block 3 lacks a line: keys would pair with other keys
        shifted.insert(13, QStringLiteral("c=Gamma"));
        QTest::newRow("blocks not parallel") << crlf(shifted) << int(TranslationFile::Load::Invalid);
        QStringList sectionForEntry = fourteenLines();
        sectionForEntry[11] = QStringLiteral("x=[frm_Test]");
        QTest::newRow("an entry paired with a section line")
            << crlf(sectionForEntry) << int(TranslationFile::Load::Invalid);
        QStringList lastEntry = fourteenLines();
        lastEntry[4] = QStringLiteral("c=Gamma");
        QTest::newRow("an entry whose partner lies beyond the last line")
            << crlf(lastEntry) << int(TranslationFile::Load::Invalid);
        QTest::newRow("3002 lines") << crlf(parallelLines(3002)) << int(TranslationFile::Load::Invalid);
        QTest::newRow("no GB18030") << QByteArray("<Standard>\r\na=\x81\r\n") << int(TranslationFile::Load::Invalid);
        QTest::newRow("missing") << QByteArray() << int(TranslationFile::Load::Unreadable);
    }

    void refused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, result);
        QString path = m_dir.filePath(QStringLiteral("missing.ini"));
        if (!bytes.isEmpty())
            path = write(bytes);
        TranslationFile file;
        QString reason;
        QCOMPARE(int(file.load(path, &reason)), result);
        QVERIFY(!reason.isEmpty());
        QVERIFY(!file.isLoaded());
        QCOMPARE(file.rowCount(), 0);
        file.save();
        QCOMPARE(test::readFile(path), bytes);
    }

    void longestFileTaken()
    {
        TranslationFile file;
        QCOMPARE(file.load(write(crlf(parallelLines(3001)))), TranslationFile::Load::Loaded);
        QCOMPARE(file.rowCount(), 1000);
        QCOMPARE(file.translationLine(999), 3000);
    }

    // The shipped file opens, and comes back byte for byte; an edit changes one line of block 3.
    void shippedFile()
    {
        const QByteArray shipped = test::readFile(QStringLiteral(QUORVANE_SOURCE_DATA_DIR "/ini/language.ini"));
        const QString path = write(shipped);
        TranslationFile file;
        QString reason;
        QCOMPARE(file.load(path, &reason), TranslationFile::Load::Loaded);
        // Every entry of the standard block is listed.
        int entries = 0;
        for (const QByteArray& line : shipped.split('\n'))
            entries += line.contains('=');
        QVERIFY2(file.rowCount() > 0 && file.rowCount() * 3 == entries, qPrintable(reason));
        file.save();
        QCOMPARE(test::readFile(path), shipped);

        const QStringList before = file.lines();
        const int row = file.rowCount() / 2;
        file.setTranslation(row, QStringLiteral("Übersetzung"));
        file.save();
        TranslationFile again;
        QCOMPARE(again.load(path), TranslationFile::Load::Loaded);
        QCOMPARE(again.translation(row), QStringLiteral("Übersetzung"));
        QCOMPARE(again.original(row), file.original(row));
        int changed = 0;
        for (int i = 0; i < before.size(); ++i)
            changed += before[i] != again.lines()[i];
        QCOMPARE(changed, 1);
        QVERIFY(file.translationLine(row) > 2 * before.size() / 3);
    }
};

QTEST_GUILESS_MAIN(TstTranslation)
#include "tst_translation.moc"
