#include "platform/text/Ansi.h"
#include "platform/text/LineReader.h"
#include "platform/text/TextFile.h"
#include "support/DataRows.h"
#include "support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace quorvane;

namespace {

// A loaded file's bytes and the lines the one line reader gives of it.
struct LinesRow {
    const char* name;
    QByteArray bytes;
    QList<QByteArray> lines{};
};

} // namespace

Q_DECLARE_METATYPE(LinesRow)

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

    // Whatever wrote a file the program loads, each line comes back whole and alone.
    void lineReader_data()
    {
        const QByteArray full(64 * 1024 - 1, 'x'); // its CR ends the first block, its LF begins the next
        // clang-format off
        test::addDataRows<LinesRow>({
            {.name = "CR LF",                    .bytes = "a\r\nb\r\n",           .lines = {"a", "b"}},
            {.name = "LF",                       .bytes = "a\nb\n",               .lines = {"a", "b"}},
            {.name = "lone CR",                  .bytes = "a,1\rb,2\r",           .lines = {"a,1", "b,2"}},
            {.name = "mixed, no final line end", .bytes = "a\rb\r\nc\nd",         .lines = {"a", "b", "c", "d"}},
            {.name = "empty lines",              .bytes = "a\r\r\nb\n\n\r",       .lines = {"a", "", "b", "", ""}},
            {.name = "an empty last line",       .bytes = "a\r\n\r\n",            .lines = {"a", ""}},
            {.name = "a byte-order mark",        .bytes = "\xEF\xBB\xBF" "a\r\n",  .lines = {"a"}},
            {.name = "only a byte-order mark",   .bytes = "\xEF\xBB\xBF"},
            {.name = "the mark elsewhere kept",  .bytes = "a\xEF\xBB\xBF\n\xEF\xBB\xBF", .lines = {"a\xEF\xBB\xBF", "\xEF\xBB\xBF"}},
            {.name = "CR LF across two blocks",  .bytes = full + "\r\nb",        .lines = {full, "b"}},
        });
        // clang-format on
    }

    void lineReader()
    {
        QFETCH(LinesRow, row);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("PLU0UALL.csv"));
        QVERIFY(text::writeFileAtomically(path, row.bytes));
        QList<QByteArray> lines;
        QVERIFY(text::readFileLines(path, &lines));
        QCOMPARE(lines, row.lines);
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
        QTest::newRow("1252 bytes without a character")
            << "windows-1252" << QStringLiteral("\u0081\u008D\u008F\u0090\u009D") << QByteArray("\x81\x8D\x8F\x90\x9D")
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

    // Text in ASCII goes to and from the code page as it is, without a conversion, only where the code page keeps it.
    void asciiAsItIs_data()
    {
        QTest::addColumn<QString>("codePage");
        QTest::addColumn<bool>("keeps");
        // clang-format off
        QTest::newRow("windows-1252") << "windows-1252"      << true;
        QTest::newRow("GBK")          << "GBK"               << true;
        QTest::newRow("UTF-16")       << "UTF-16LE"          << false;
        QTest::newRow("unknown")      << "no-such-code-page" << false;
        // clang-format on
    }

    void asciiAsItIs()
    {
        QFETCH(QString, codePage);
        text::setAnsiCodePage(codePage);
        QTEST(text::ansiKeepsAscii(), "keeps");
        text::setAnsiCodePage(QStringLiteral("windows-1252"));
    }

    void asciiBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("ascii");
        // clang-format off
        QTest::newRow("empty")                 << QByteArray()                     << true;
        QTest::newRow("controls and DEL")      << QByteArray("a\0\r\n\x1b\x7f z", 8) << true;
        QTest::newRow("first of eight bytes")  << QByteArray("\x80" "bcdefgh")      << false;
        QTest::newRow("after the whole words") << QByteArray("abcdefgh" "\xe9")     << false;
        // clang-format on
    }

    void asciiBytes()
    {
        QFETCH(QByteArray, bytes);
        QTEST(text::isAscii(bytes), "ascii");
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

    // The one writer, whole or a chunk at a time: a disk that refuses bytes (a size limit in a child
    // process) or a write never committed leaves the old file and no temporary file.
    void writerKeepsTheOldFileUnlessAllIsWritten_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("chunk");    // 0: the whole file in one write
        QTest::addColumn<qint64>("limit"); // 0: no limit, no child
        QTest::addColumn<bool>("commit");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("whole") << 3000 << 0 << qint64(0) << true << true;
        QTest::newRow("in chunks") << 100000 << 4096 << qint64(0) << true << true;
        QTest::newRow("small file, beyond the limit") << 3000 << 0 << qint64(1000) << true << false;
        QTest::newRow("whole, beyond the limit") << 12000 << 0 << qint64(4096) << true << false;
        QTest::newRow("in chunks, beyond the limit") << 100000 << 4096 << qint64(50000) << true << false;
        QTest::newRow("abandoned before commit") << 3000 << 512 << qint64(0) << false << false;
        QTest::newRow("whole, several blocks") << 200000 << 0 << qint64(0) << true << true;
        QTest::newRow("in chunks larger than a block") << 200000 << 70000 << qint64(0) << true << true;
        QTest::newRow("whole, several blocks, beyond the limit") << 200000 << 0 << qint64(100000) << true << false;
    }

    void writerKeepsTheOldFileUnlessAllIsWritten()
    {
        QFETCH(int, size);
        QFETCH(int, chunk);
        QFETCH(qint64, limit);
        QFETCH(bool, commit);
        QFETCH(bool, replaced);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("PLU0UALL.csv"));
        QVERIFY(text::writeFileAtomically(path, "old"));
        QByteArray bytes(size, Qt::Uninitialized);
        for (int i = 0; i < size; ++i)
            bytes[i] = char('a' + i % 26);
        auto write = [&] {
            text::FileWriter file(path);
            bool ok = file.open();
            for (int at = 0; ok && at < size; at += chunk ? chunk : size)
                ok = file.write(bytes.mid(at, chunk ? chunk : size)) >= 0;
            if (!ok || !commit || !file.commit())
                return file.failure().isEmpty() ? QStringLiteral("not committed") : file.failure();
            return QString();
        };
        const std::optional<QString> said = limit ? test::runUnderFileSizeLimit(limit, write) : write();
        QVERIFY(said);
        QCOMPARE(said->isEmpty(), replaced);
        if (limit)
            QVERIFY2(said->contains(QLatin1String("PLU0UALL.csv")), qPrintable(*said));
        QByteArray back;
        QVERIFY(text::readFile(path, &back));
        QCOMPARE(back, replaced ? bytes : QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"PLU0UALL.csv"});
    }
};

QTEST_GUILESS_MAIN(TstText)
#include "tst_text.moc"
