#include "support/TestSupport.h"

#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/db/ValueRange.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>

using namespace quorvane;
using namespace quorvane::db;

namespace {

const QString kDbName = QStringLiteral("work.mdb");

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QList<qint64> column(Recordset& rs, const QString& field)
{
    QList<qint64> out;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        out << rs.intValue(field);
    return out;
}

// A row a bulk statement binds with typed values.
struct BoundRow {
    qint64 number = 7;
    QString text = QStringLiteral("seven");
};

} // namespace

Q_DECLARE_METATYPE(BoundRow)

// The recordset and the connection on a real database file.
class TstRecordset : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Connection> m_c;

    // Appends one row to T with the given values, through a recordset of its own.
    void addRow(const QList<QPair<QString, QVariant>>& values)
    {
        Recordset rs(m_c.get());
        rs.open("select * from T");
        rs.addNew();
        for (const auto& v : values)
            rs.setValue(v.first, v.second);
        rs.update();
    }

    void insertIds(const QList<int>& ids)
    {
        for (int id : ids)
            addRow({{"Id", id}, {"Name", QStringLiteral("n%1").arg(id)}});
    }

private slots:
    // Each test on a database of its own, with a table that stands for every kind of field, declared as the schema
    // builder declares them, with the field spelling of the working tables.
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_c = std::make_unique<Connection>();
        QVERIFY(m_dir->isValid());
        QString error;
        QVERIFY2(m_c->create(m_dir->filePath(kDbName), &error), qPrintable(error));
        m_c->exec("CREATE TABLE \"T\" (\"Id\" INTEGER DEFAULT 0, \"Name\" VARCHAR(20) DEFAULT '', \"Data\" BLOB, "
                  "\"PLU_TaxNo\" INTEGER DEFAULT 0, \"Is_Selected\" INTEGER DEFAULT 0, \"Small\" SMALLINT DEFAULT 0, "
                  "\"Tiny\" TINYINT DEFAULT 0, \"Flag\" BOOLEAN DEFAULT 0)");
    }
    void cleanup()
    {
        m_c.reset();
        m_dir.reset();
    }
    void openBySqlWithParameters()
    {
        insertIds({1, 2, 3, 4, 5});
        Recordset rs(m_c.get());
        rs.open("Select * from T where Id >= ? and Id <= ?", {2, 4});
        QCOMPARE(rs.recordCount(), 3);
        QCOMPARE(column(rs, "Id"), QList<qint64>({2, 3, 4}));
        QVERIFY(rs.updatable());

        rs.open("select * from T where Name=?", {QStringLiteral("n3")});
        QCOMPARE(column(rs, "Id"), QList<qint64>({3}));
        // A value is only ever a value.
        rs.open("select * from T where Name=?", {QStringLiteral("n3' or '1'='1")});
        QCOMPARE(rs.recordCount(), 0);

        // Other queries are read once and cannot be changed.
        rs.open("select Name, Id * 10 as Ten from T where Id=?", {5});
        QCOMPARE(rs.fieldCount(), 2);
        QCOMPARE(rs.textValue("name"), QStringLiteral("n5"));
        QCOMPARE(rs.intValue("TEN"), qint64(50));
        QVERIFY(!rs.updatable());
        QVERIFY_THROWS_EXCEPTION(DbError, rs.setValue("Name", QStringLiteral("x")));
        QVERIFY_THROWS_EXCEPTION(DbError, rs.open("select * from T where Id=?", {}));
        QVERIFY_THROWS_EXCEPTION(DbError, rs.open("select * from Missing"));
    }

    // An empty recordset is at BOF and EOF at once, wherever it moves; a closed one too.
    void emptyAndClosed()
    {
        Recordset rs(m_c.get());
        rs.open("select * from T");
        QVERIFY(rs.isOpen());
        QVERIFY(rs.bof() && rs.eof());
        QCOMPARE(rs.recordCount(), 0);
        QCOMPARE(rs.absolutePosition(), -1);
        rs.moveFirst();
        QVERIFY(rs.bof() && rs.eof());
        rs.moveLast();
        QVERIFY(rs.bof() && rs.eof());
        QVERIFY_THROWS_EXCEPTION(DbError, rs.value("Id"));
        rs.close();
        QVERIFY(!rs.isOpen());
        QVERIFY(rs.bof() && rs.eof());
    }

    // A statement a loop still holds when its database is closed fails its next step and bind with that error, and its
    // end leaves the finalized handle alone.
    void statementAfterClose()
    {
        insertIds({1, 2});
        Statement st = m_c->prepare("select Id from T where Id >= ? order by Id");
        st.bind({1});
        QVERIFY(st.step());
        m_c->close();
        const QList<std::function<void()>> touches{[&] { st.step(); }, [&] { st.bindInt64(0, 2); }};
        for (const auto& touch : touches) {
            try {
                touch();
                QFAIL("a closed database was touched");
            } catch (const DbError& e) {
                QCOMPARE(e.message(), QStringLiteral("The database was closed while a statement still ran."));
            }
        }
    }

    void navigation_data()
    {
        QTest::addColumn<QString>("moves");
        QTest::addColumn<int>("id"); // 0 = BOF, -1 = EOF
        QTest::newRow("open") << "" << 1;
        QTest::newRow("next") << "N" << 2;
        QTest::newRow("last") << "L" << 5;
        QTest::newRow("last previous") << "LP" << 4;
        QTest::newRow("first after last") << "LF" << 1;
        QTest::newRow("move 3") << "3" << 4;
        QTest::newRow("move 0 next next") << "0NN" << 3;
        QTest::newRow("previous from first") << "P" << 0;
        QTest::newRow("back from BOF") << "PN" << 1;
        QTest::newRow("next from last") << "LN" << -1;
        QTest::newRow("back from EOF") << "LNP" << 5;
        QTest::newRow("through the end") << "NNNNNNN" << -1;
    }

    void navigation()
    {
        QFETCH(QString, moves);
        QFETCH(int, id);
        insertIds({1, 2, 3, 4, 5});
        Recordset rs(m_c.get());
        rs.open("select * from T");
        for (const QChar m : moves) {
            if (m == QLatin1Char('F'))
                rs.moveFirst();
            else if (m == QLatin1Char('N'))
                rs.moveNext();
            else if (m == QLatin1Char('P'))
                rs.movePrevious();
            else if (m == QLatin1Char('L'))
                rs.moveLast();
            else
                rs.move(m.digitValue());
        }
        QCOMPARE(rs.bof(), id == 0);
        QCOMPARE(rs.eof(), id == -1);
        if (id > 0) {
            QCOMPARE(rs.intValue("Id"), qint64(id));
            QCOMPARE(rs.absolutePosition(), id - 1);
        } else {
            QVERIFY_THROWS_EXCEPTION(DbError, rs.value("Id"));
        }
        QCOMPARE(rs.recordCount(), 5);
        QVERIFY_THROWS_EXCEPTION(DbError, rs.move(5));
        QVERIFY_THROWS_EXCEPTION(DbError, rs.move(-1));
    }

    void fieldsByNameAndPosition()
    {
        addRow({{"id", 7}, {"NAME", QStringLiteral("seven")}, {"plu_TAXno", 3}, {"Is_selected", 1}});
        Recordset rs(m_c.get());
        rs.open("Select * from t where Is_Selected = ?", {1});
        QCOMPARE(rs.recordCount(), 1);
        QCOMPARE(rs.table(), QStringLiteral("T"));
        QCOMPARE(rs.fieldIndex("PLU_TAXNo"), rs.fieldIndex("PLU_TaxNo"));
        QCOMPARE(rs.fieldName(rs.fieldIndex("PLU_TAXNo")), QStringLiteral("PLU_TaxNo"));
        QCOMPARE(rs.intValue("PLU_TaxNo"), qint64(3));
        QCOMPARE(rs.textValue("name"), QStringLiteral("seven"));
        // Positions from 0 in table order.
        QCOMPARE(rs.fieldName(0) + rs.fieldName(3) + rs.fieldName(4), QStringLiteral("IdPLU_TaxNoIs_Selected"));
        QCOMPARE(QList<int>({rs.value(0).toInt(), rs.value(3).toInt(), rs.value(4).toInt()}), QList<int>({7, 3, 1}));
        QCOMPARE(rs.fieldIndex("NoSuchField"), -1);
        QVERIFY_THROWS_EXCEPTION(DbError, rs.value("NoSuchField"));
        QVERIFY_THROWS_EXCEPTION(DbError, rs.value(rs.fieldCount()));

        rs.openTable("t");
        QCOMPARE(rs.table(), QStringLiteral("T"));
        QCOMPARE(rs.fieldIndex("plu_taxno"), 3);
    }

    // The connection's field lists follow the schema: a change of a table drops what was cached, while a
    // recordset keeps the fields it was opened with until it opens again.
    void fieldListsFollowTheSchema()
    {
        Recordset rs(m_c.get());
        rs.openTable("T");
        const QList<FieldInfo> before = m_c->fields("T");
        m_c->exec("ALTER TABLE T ADD COLUMN Extra SMALLINT");
        const QList<FieldInfo> after = m_c->fields("t");
        QCOMPARE(after.size(), before.size() + 1);
        QCOMPARE(after.last().name, QStringLiteral("Extra"));
        QCOMPARE(after.last().typeCode, TypeInteger);
        QCOMPARE(rs.fieldCount(), before.size());
        rs.openTable("T");
        QCOMPARE(rs.fieldCount(), after.size());
    }

    void nullValues()
    {
        addRow({{"Id", QVariant()}, {"Name", QVariant()}});
        Recordset rs(m_c.get());
        rs.open("select * from T");
        QVERIFY(rs.isNull("Id"));
        QVERIFY(rs.isNull("Name"));
        QVERIFY(rs.isNull("Data"));
        QCOMPARE(rs.intValue("Id"), qint64(0));
        QCOMPARE(rs.textValue("Name"), QString());
        QCOMPARE(rs.bytesValue("Data"), QByteArray());
        QVERIFY(!rs.isNull("PLU_TaxNo"));
        // The empty text is a value, not Null.
        rs.setValue("Name", QString(""));
        rs.moveNext();
        rs.moveFirst();
        QVERIFY(!rs.isNull("Name"));
        QCOMPARE(rs.textValue("Name"), QString());
    }

    void binaryValues_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QByteArray all(256, 0);
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("one zero") << QByteArray(1, '\0');
        QTest::newRow("all 256 bytes") << all;
        QByteArray reversed = all;
        std::reverse(reversed.begin(), reversed.end());
        QTest::newRow("all bytes reversed") << reversed;
        QTest::newRow("large") << all.repeated(400);
    }

    void binaryValues()
    {
        QFETCH(QByteArray, bytes);
        addRow({{"Data", bytes}});
        m_c->close();
        QVERIFY(m_c->open(m_dir->filePath(kDbName)));
        Recordset rs(m_c.get());
        rs.open("select * from T");
        QVERIFY(!rs.isNull("Data"));
        QCOMPARE(rs.value("Data").typeId(), int(QMetaType::QByteArray));
        QCOMPARE(rs.bytesValue("Data"), bytes);
        // Bytes are kept apart from texts and numbers.
        QVERIFY_THROWS_EXCEPTION(DbError, rs.setValue("Data", QStringLiteral("text")));
        QVERIFY_THROWS_EXCEPTION(DbError, rs.setValue("Name", bytes));
    }

    void addUpdateDelete()
    {
        insertIds({1, 2, 3, 4});
        Recordset rs(m_c.get());
        rs.open("select * from T");
        QCOMPARE(rs.recordCount(), 4);

        rs.move(1);
        rs.setValue("Name", QStringLiteral("two"));
        rs.update();
        QCOMPARE(m_c->scalar("select Name from T where Id=?", {2}).toString(), QStringLiteral("two"));

        rs.deleteCurrent();
        QCOMPARE(rs.recordCount(), 3);
        rs.moveNext();
        QCOMPARE(rs.intValue("Id"), qint64(3));

        rs.moveLast();
        rs.deleteCurrent();
        rs.moveNext();
        QVERIFY(rs.eof());

        rs.moveFirst();
        rs.deleteCurrent();
        rs.moveNext();
        QCOMPARE(rs.intValue("Id"), qint64(3));
        QCOMPARE(rs.recordCount(), 1);

        rs.addNew();
        rs.setValue("Id", 9);
        rs.update();
        QCOMPARE(rs.intValue("Id"), qint64(9));
        QCOMPARE(rs.recordCount(), 2);

        rs.open("select * from T");
        QCOMPARE(column(rs, "Id"), QList<qint64>({3, 9}));
        QCOMPARE(m_c->scalar("select count(*) from T").toInt(), 2);
    }

    void editsCommittedByMoving()
    {
        insertIds({1, 2});
        Recordset rs(m_c.get()), other(m_c.get());
        rs.open("select * from T");
        rs.setValue("Name", QStringLiteral("moved"));
        rs.moveNext();
        other.open("select * from T where Id=?", {1});
        QCOMPARE(other.textValue("Name"), QStringLiteral("moved"));

        rs.addNew();
        rs.setValue("Id", 3);
        rs.moveFirst();
        QCOMPARE(m_c->scalar("select count(*) from T").toInt(), 3);

        // Edits never written are dropped by close.
        rs.setValue("Name", QStringLiteral("dropped"));
        rs.close();
        QCOMPARE(m_c->scalar("select Name from T where Id=?", {1}).toString(), QStringLiteral("moved"));
    }

    void storedOrder()
    {
        insertIds({30, 10, 20});
        Recordset rs(m_c.get());
        rs.open("select * from T");
        QCOMPARE(column(rs, "Id"), QList<qint64>({30, 10, 20}));
        rs.open("select * from T ORDER BY Id");
        QCOMPARE(column(rs, "Id"), QList<qint64>({10, 20, 30}));
        rs.open("select * from T where Id > ?", {10});
        QCOMPARE(column(rs, "Id"), QList<qint64>({30, 20}));

        rs.open("select * from T where Id=?", {10});
        rs.deleteCurrent();
        insertIds({5});
        rs.openTable("T");
        QCOMPARE(column(rs, "Id"), QList<qint64>({30, 20, 5}));

        // A limit keeps the stored order; a join is read, not changed.
        rs.open("select * from T where Id > ? limit 2", {0});
        QCOMPARE(column(rs, "Id"), QList<qint64>({30, 20}));
        QVERIFY(rs.updatable());
        rs.open("select * from T, T as U where T.Id = U.Id and T.Id = ?", {20});
        QCOMPARE(rs.recordCount(), 1);
        QVERIFY(!rs.updatable());
        QVERIFY_THROWS_EXCEPTION(DbError, rs.setValue(0, 1));
    }

    void numberValues_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<qint64>("stored");
        const QString lng = QStringLiteral("PLU_TaxNo");
        QTest::newRow("abc") << lng << QVariant(QStringLiteral("abc")) << false << qint64(0);
        QTest::newRow("empty text") << lng << QVariant(QStringLiteral("")) << false << qint64(0);
        QTest::newRow("decimal text") << lng << QVariant(QStringLiteral("1.5")) << false << qint64(0);
        QTest::newRow("fraction") << lng << QVariant(1.5) << false << qint64(0);
        QTest::newRow("2^31") << lng << QVariant(qlonglong(2147483648LL)) << false << qint64(0);
        QTest::newRow("2^31 as text") << lng << QVariant(QStringLiteral("2147483648")) << false << qint64(0);
        QTest::newRow("-2^31-1") << lng << QVariant(qlonglong(-2147483649LL)) << false << qint64(0);
        QTest::newRow("huge double") << lng << QVariant(1e300) << false << qint64(0);
        QTest::newRow("infinity") << lng << QVariant(std::numeric_limits<double>::infinity()) << false << qint64(0);
        QTest::newRow("not a number") << lng << QVariant(std::nan("")) << false << qint64(0);
        QTest::newRow("bytes") << lng << QVariant(QByteArray("1")) << false << qint64(0);
        QTest::newRow("2^31-1") << lng << QVariant(2147483647) << true << qint64(2147483647);
        QTest::newRow("-2^31") << lng << QVariant(qlonglong(-2147483648LL)) << true << qint64(-2147483648LL);
        QTest::newRow("blanks around") << lng << QVariant(QStringLiteral(" 16 ")) << true << qint64(16);
        QTest::newRow("negative text") << lng << QVariant(QStringLiteral("-7")) << true << qint64(-7);
        QTest::newRow("whole double") << lng << QVariant(5.0) << true << qint64(5);
        QTest::newRow("integer 32767") << "Small" << QVariant(32767) << true << qint64(32767);
        QTest::newRow("integer -32768") << "Small" << QVariant(-32768) << true << qint64(-32768);
        QTest::newRow("integer 32768") << "Small" << QVariant(32768) << false << qint64(0);
        QTest::newRow("integer -32769") << "Small" << QVariant(-32769) << false << qint64(0);
        QTest::newRow("byte 255") << "Tiny" << QVariant(255) << true << qint64(255);
        QTest::newRow("byte 256") << "Tiny" << QVariant(256) << false << qint64(0);
        QTest::newRow("byte -1") << "Tiny" << QVariant(-1) << false << qint64(0);
        QTest::newRow("boolean 5 is true") << "Flag" << QVariant(5) << true << qint64(-1);
        QTest::newRow("boolean 0") << "Flag" << QVariant(0) << true << qint64(0);
    }

    void numberValues()
    {
        QFETCH(QString, field);
        QFETCH(QVariant, value);
        QFETCH(bool, accepted);
        QFETCH(qint64, stored);
        insertIds({1});
        Recordset rs(m_c.get());
        rs.open("select * from T");
        if (accepted) {
            rs.setValue(field, value);
            rs.update();
        } else {
            QVERIFY_THROWS_EXCEPTION(DbError, rs.setValue(field, value));
            stored = 0; // the field keeps what it held
        }
        rs.close();
        QCOMPARE(m_c->scalar(QStringLiteral("select \"%1\" from T").arg(field)).toLongLong(), stored);
        QCOMPARE(m_c->scalar(QStringLiteral("select typeof(\"%1\") from T").arg(field)).toString(),
                 QStringLiteral("integer"));
    }

    void typedBinds_data()
    {
        QTest::addColumn<BoundRow>("row");
        // clang-format off
        QTest::newRow("number and text") << BoundRow{};
        QTest::newRow("empty text")      << BoundRow{.text = QString()};
        QTest::newRow("largest int64")   << BoundRow{.number = std::numeric_limits<qint64>::max()};
        QTest::newRow("smallest int64")  << BoundRow{.number = std::numeric_limits<qint64>::min()};
        QTest::newRow("beyond a double") << BoundRow{.number = (qint64(1) << 53) + 1};
        QTest::newRow("accents")         << BoundRow{.text = QStringLiteral("Caf\u00e9 cr\u00e8me \u20ac")};
        QTest::newRow("Chinese")         << BoundRow{.text = QStringLiteral("\u95e8\u5e97 \u9762\u5305")};
        QTest::newRow("beyond the BMP")  << BoundRow{.text = QStringLiteral("\U0001F600 ok")};
        // clang-format on
    }

    // A statement bound, run, reset and bound again stores and finds each row with the values it was given.
    void typedBinds()
    {
        QFETCH(BoundRow, row);
        const BoundRow first{.number = 3, .text = QStringLiteral("first")};
        Statement insert = m_c->prepare("insert into T (Id, Name) values (?, ?)");
        for (const BoundRow& r : {first, row}) {
            const QByteArray utf8 = r.text.toUtf8();
            insert.bindInt64(0, r.number);
            insert.bindText(1, utf8);
            QVERIFY(!insert.step());
            insert.reset();
        }
        QCOMPARE(m_c->scalar("select count(*) from T").toInt(), 2);
        Statement find = m_c->prepare("select Name, typeof(Name), Id, typeof(Id) from T where Id = ?");
        for (const BoundRow& r : {row, first}) {
            find.bindInt64(0, r.number);
            QVERIFY(find.step());
            QCOMPARE(int(find.columnType(0)), int(Statement::ColumnType::Text));
            QCOMPARE(QString::fromUtf8(find.columnUtf8(0)), r.text);
            QCOMPARE(find.column(1).toString(), QStringLiteral("text")); // an empty text is no NULL
            QCOMPARE(find.columnInt(2), r.number);
            QCOMPARE(find.column(3).toString(), QStringLiteral("integer"));
            find.reset(); // before its rows are all read
        }
    }

    void openMissingFile()
    {
        QTemporaryDir dir;
        Connection c;
        QString error;
        QVERIFY(!c.open(dir.filePath(kDbName), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!c.isOpen());
        QCOMPARE(entries(dir.path()), QStringList());
        QVERIFY(!c.open(dir.filePath("missing/folder/" + kDbName)));
        QVERIFY(!QFileInfo::exists(dir.filePath("missing")));

        QVERIFY(test::writeFile(dir.filePath(kDbName), QByteArray(4096, 'x')));
        QVERIFY(!c.open(dir.filePath(kDbName), &error));
        QVERIFY(!c.isOpen());
    }

    // What a transaction did is seen on its connection before the commit and kept after a reopening; a transaction
    // left without a commit takes back its inserts and deletes.
    void transactions()
    {
        {
            Transaction tx(*m_c);
            QVERIFY(m_c->inTransaction());
            insertIds({1, 2});
            Recordset reader(m_c.get());
            reader.open("select * from T");
            QCOMPARE(column(reader, "Id"), QList<qint64>({1, 2}));
            tx.commit();
        }
        QVERIFY(!m_c->inTransaction());
        m_c->close();
        QVERIFY(m_c->open(m_dir->filePath(kDbName)));
        {
            Transaction tx(*m_c);
            insertIds({3, 4});
            Recordset rs(m_c.get());
            rs.open("select * from T");
            rs.deleteCurrent();
            QCOMPARE(m_c->scalar("select count(*) from T").toInt(), 3);
        }
        QVERIFY(!m_c->inTransaction());
        Recordset rs(m_c.get());
        rs.open("select * from T");
        QCOMPARE(column(rs, "Id"), QList<qint64>({1, 2}));
    }
};

QTEST_GUILESS_MAIN(TstRecordset)
#include "tst_recordset.moc"
