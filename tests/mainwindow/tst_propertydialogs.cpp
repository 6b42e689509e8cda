#include "NodeRows.h"
#include "support/TransferFixture.h"

#include "mainwindow/NodeCommands.h"
#include "mainwindow/NodeRecords.h"
#include "mainwindow/ui/frmProperties.h"
#include "mainwindow/ui/frmScProperties.h"
#include "mainwindow/ui/frmSearch.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "state/ProgramState.h"
#include "state/SettingsState.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"

#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace quorvane;

namespace {

// Store 3 (flags 2 and F) with section 3; its department 12 has bar format 5 with flags 1 and 2, departments 97 and
// 14 inherit, department 19 has bar format 19 and section 3; main groups 40 (of 12) and 41 (of 14) inherit. Store 1
// has the scale at " 10.  0.  0.  5" and search 2.
const QStringList kRows{
    "STORE|ST_No=1|ST_Name=Centre",
    "STORE|ST_No=3|ST_Name=Quay|Flag1=2|Flag2=16|barformat=7",
    "SECT|ST_No=3|SECT_No=3|SECT_Name=Fresh",
    "SECT|ST_No=1|SECT_No=2|SECT_Name=Deli",
    "SCALE|ST_No=1|SECT_No=2|SC_IP= 10.  0.  0.  5|SC_No=Deli 1|SC_FTPName=scale|SC_FTPPW=s3cret|SC_Used=1",
    "KVB_20|ST_No=3|DP_No=97|DP_Name=Misc|barformat=255",
    "KVB_20|ST_No=3|DP_No=12|DP_Name=Bakery|barformat=5|Flag1=1|Flag2=2",
    "KVB_20|ST_No=3|DP_No=14|DP_Name=Cakes|barformat=255",
    "KVB_20|ST_No=3|DP_No=19|DP_Name=Deli|barformat=19|SECT_No=3",
    "KVB_23|ST_No=3|DP_No=97|MG_No=997|MG_Name=Misc|barformat=255",
    "KVB_23|ST_No=3|DP_No=12|MG_No=40|MG_Name=Bread|barformat=255",
    "KVB_23|ST_No=3|DP_No=14|MG_No=41|MG_Name=Tarts|barformat=255",
    "SEARCH|ST_No=3|SH_No=2|SH_Name=Cheap|DP_No1=1|DP_No2=20|MG_No1=1|MG_No2=997|PLU_No1=1|PLU_No2=999997|"
    "PLU_UPrice1=12|PLU_UPrice2=999999",
};

} // namespace

class tst_PropertyDialogs : public QObject {
    Q_OBJECT

    test::TransferFolder m_folder;
    QStringList m_messages; // their keys

    // Opens the dialog of "edit:KEY" (its row loaded) or "new:KIND:PARENT:PROPOSED", as the node commands do.
    std::unique_ptr<QDialog> open(const QString& how)
    {
        StoreTreeState& t = gStoreTree();
        NodeKind kind = NodeKind::None;
        if (how.startsWith("edit:")) {
            const NodeKey key = parseNodeKey(how.mid(5));
            kind = key.kind;
            setCurrentSelection(key.numbers);
            t.gPropMode = 1;
            LoadNodeProperties(nodeTableName(kind), key.numbers);
        } else {
            const QStringList parts = how.split(':');
            kind = NodeKind(parts[1].toInt());
            const NewNode node = newNodeUnder(kind, parts[2], parts[3].toInt(), QStringLiteral("New"));
            setCurrentSelection(node.numbers);
            setNewNodeRecords(kind, node.numbers, QStringLiteral("New"));
            t.gPropMode = 0;
        }
        t.gPropertyNodeKind = qint16(kind);
        std::unique_ptr<QDialog> d;
        if (kind == NodeKind::Scale)
            d = std::make_unique<frmScProperties>();
        else if (kind == NodeKind::Search)
            d = std::make_unique<frmSearch>();
        else
            d = std::make_unique<frmProperties>();
        d->show();
        return d;
    }

    // Runs the operator's steps: "click BOX", "type BOX TEXT", "paste BOX TEXT", "clear BOX", "key TEXT", "leave"
    // (Tab), "list BOX N", "ok" (a click), "enter", "close" (the frame); "show BOX,...", "focus" and "remembered" (the
    // views' remembered keys) note what they see.
    QString run(QDialog* d, const QStringList& steps)
    {
        QStringList seen;
        for (const QString& step : steps) {
            const QString verb = step.section(' ', 0, 0);
            const QString name = step.section(' ', 1, 1);
            const QString text = step.section(' ', 2);
            auto* box = d->findChild<QLineEdit*>(name);
            if (verb == "click") {
                box->setFocus(Qt::MouseFocusReason);
            } else if (verb == "type" || verb == "paste" || verb == "clear") {
                box->setFocus(Qt::TabFocusReason);
                box->selectAll();
                if (verb == "type")
                    QTest::keyClicks(box, text);
                else if (verb == "clear")
                    QTest::keyClick(box, Qt::Key_Backspace);
                else {
                    QGuiApplication::clipboard()->setText(QString(text).replace("\\t", "\t").replace("\\r", "\r"));
                    box->paste();
                }
            } else if (verb == "key") {
                QTest::keyClicks(QApplication::focusWidget(), name);
            } else if (verb == "leave") {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            } else if (verb == "list") {
                auto* list = d->findChild<QComboBox*>(name);
                list->setCurrentIndex(text.toInt());
                emit list->activated(text.toInt());
            } else if (verb == "ok") {
                QTest::mouseClick(d->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
            } else if (verb == "enter") {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            } else if (verb == "close") {
                d->close();
            } else if (verb == "remembered") {
                seen << gStoreTree().gStoreViewKey + '/' + gStoreTree().gDataViewKey;
            } else if (verb == "focus") {
                seen << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString());
            } else if (verb == "show") {
                QStringList texts;
                for (const QString& n : name.split(',')) {
                    if (auto* b = d->findChild<QLineEdit*>(n))
                        texts << b->text() + (b->isReadOnly() ? "*" : "");
                    else if (auto* c = d->findChild<QComboBox*>(n))
                        texts << c->currentText();
                }
                seen << texts.join(',');
            }
        }
        return seen.join(" | ");
    }

    // What the steps saw, the messages and the outcome, joined by " # "; then "SQL => value" holds, when given.
    void check(QDialog* d, const QString& seen)
    {
        const QString result = d->isVisible()  ? QStringLiteral("open")
            : d->result() == QDialog::Accepted ? QStringLiteral("accepted")
                                               : QStringLiteral("rejected");
        QTEST(seen + " # " + m_messages.join(' ') + " # " + result, "expect");
        QFETCH(QString, stored);
        if (!stored.isEmpty())
            QCOMPARE(gDBConnection.scalar(stored.section(" => ", 0, 0)).toString(), stored.section(" => ", 1));
    }

    static void columns()
    {
        QTest::addColumn<QString>("open");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("expect");
        QTest::addColumn<QString>("stored");
    }

    void openAndRun(const QString& open)
    {
        QFETCH(QStringList, steps);
        std::unique_ptr<QDialog> d = this->open(open);
        QVERIFY(!d->isVisible() || QTest::qWaitForWindowActive(d.get())); // a dialog that could not load never shows
        check(d.get(), run(d.get(), steps));
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(m_folder.setUp(), qPrintable(m_folder.errorText()));
        ui::setMsgBoxHandler([this](const ui::MsgRequest& r) {
            m_messages << r.key;
            return int(ui::MsgOk);
        });
    }

    void init()
    {
        programState().storeTree = StoreTreeState();
        gSettings() = SettingsRecord();
        gSettings().gSysStore = 1;
        gSettings().gPricePoint = 2;
        gSettings().gDecimalSign = QStringLiteral(".");
        test::loadTexts();
        test::emptyTables({"STORE", "SECT", "SCALE", "KVB_20", "KVB_23", "SEARCH", "KVB_41"});
        test::addRows(kRows);
        m_messages.clear();
    }

    // The store, section, department and main-group dialog; "in mode N" opens it in that store mode, "without TABLE"
    // while that table cannot be read.
    void properties_data()
    {
        columns();
        const QString flags = QStringLiteral("show txtFlag1,txtFlag2");
        const QString depts = QStringLiteral(
            "SELECT group_concat(DP_No||':'||DP_Name||':'||barformat||':'||Flag1||':'||"
            "Flag2||':'||SECT_No) FROM KVB_20 WHERE ST_No=3 AND DP_No<>97 => ");
        // clang-format off
        QTest::newRow("new store: no flag codes")
            << "new:1:*ROOT:5" << QStringList{flags, "ok", "remembered"} << "F*,F* | STORE 5/ #  # accepted"
            << "SELECT (SELECT ST_Name||':'||Flag1||':'||Flag2||':'||barformat FROM STORE WHERE ST_No=5)||' '||(SELECT "
               "DP_No||':'||DP_Name||':'||barformat||':'||hex(KVBBinData) FROM KVB_20 WHERE ST_No=5)||' '||(SELECT "
               "MG_No||':'||DP_No||':'||MG_Name||':'||barformat||':'||hex(KVBBinData) FROM KVB_23 WHERE ST_No=5) => "
               "New5:16:16:0 97:DEPT:255:00000097001644455054000000000000000000000000 "
               "997:97:MG:255:00000997001E000000974D47000000000000000000000000000000000000";
        QTest::newRow("store: the definition decides") << "edit:STORE 3" << QStringList{flags, "list comboBarForamt 1", flags, "list comboBarForamt 0", flags} << "2,F* | 2,0 | F*,F* #  # open" << "";
        QTest::newRow("department inherits the store's") << "edit:DEPT 3 97" << QStringList{"show txtCode", flags, "list comboBarForamt 1", flags, "list comboBarForamt 0", flags} << "97* | 2*,F* | F*,F* | 2*,F* #  # open" << "";
        QTest::newRow("new department after 96: 1, typed over") << "new:4:STORE 3:97" << QStringList{"show txtCode", "type txtCode 96", "ok"} << "1 #  # accepted" << "SELECT count(*) FROM KVB_20 WHERE ST_No=3 AND DP_No=96 => 1";
        QTest::newRow("main group of an inheriting department: the store's") << "edit:MG 3 14 41" << QStringList{flags} << "2*,F* #  # open" << "";
        QTest::newRow("main group of department 12: the department's") << "edit:MG 3 12 40" << QStringList{flags, "ok"} << "1*,2* #  # accepted" << "SELECT MG_Name||':'||barformat||':'||Flag1||':'||Flag2 FROM KVB_23 WHERE MG_No=40 => Bread:255:1:2";
        QTest::newRow("department: bar format 19 by its definition, Not Used") << "edit:DEPT 3 19" << QStringList{flags, "show ComboSectNo", "list ComboSectNo 0", "ok"} << "0,0* | 3 #  # accepted" << depts + "12:Bakery:5:1:2:0,14:Cakes:255:0:0:0,19:Deli:19:0:0:0";
        QTest::newRow("new department 98") << "new:4:STORE 3:98" << QStringList{"type txtCode 98", "ok", "focus"} << "txtCode # codeillegal # open" << "";
        QTest::newRow("new main group 998") << "new:5:DEPT 3 97:1" << QStringList{"type txtCode 998", "ok", "focus"} << "txtCode # codeillegal # open" << "";
        QTest::newRow("a main-group number of another department") << "new:5:DEPT 3 97:1" << QStringList{"type txtCode 40", "ok"} << " # codeillegal # open" << "SELECT count(*) FROM KVB_23 => 3";
        QTest::newRow("empty code") << "new:4:STORE 3:15" << QStringList{"clear txtCode", "enter", "focus"} << "txtCode # emptyisillegal # open" << "";
        QTest::newRow("empty name and flags") << "edit:DEPT 3 12" << QStringList{"list comboBarForamt 2", "clear txtName", "clear txtFlag1", "clear txtFlag2", "ok", "focus"} << "txtFlag2 # emptyisillegal # open" << "";
        QTest::newRow("empty name") << "edit:DEPT 3 12" << QStringList{"clear txtName", "ok", "focus"} << "txtName # emptyisillegal # open" << "";
        QTest::newRow("a tab inside a name, the box left") << "edit:DEPT 3 12" << QStringList{"paste txtName Rye\\tLoaf", "leave", "show txtName"} << "RyeLoaf #  # open" << "";
        QTest::newRow("a line break inside a name, OK by Enter") << "edit:DEPT 3 14" << QStringList{"paste txtName Pie\\rTart", "enter"} << " #  # accepted" << depts + "12:Bakery:5:1:2:0,14:PieTart:255:2:16:0,19:Deli:19:0:0:3";
        QTest::newRow("a character outside the code page") << "edit:DEPT 3 14" << QStringList{"paste txtName Cak水", "show txtName"} << "Cakes # charRefused # open" << "";
        QTest::newRow("first store, one-store mode: no Cancel, no close") << "new:1:*ROOT:1 in mode 0" << QStringList{"close", "key \x1b"} << " #  # open" << "SELECT count(*) FROM STORE => 2";
        QTest::newRow("first store, store mode 2") << "new:1:*ROOT:1 in mode 2" << QStringList{"close"} << " #  # open" << "";
        QTest::newRow("section: Cancel") << "new:2:STORE 3:4" << QStringList{"close"} << " #  # rejected" << "SELECT count(*) FROM SECT => 2";
        QTest::newRow("new department, its store's sections unreadable") << "new:4:STORE 3:15 without SECT" << QStringList{} << " # dbReadErr # rejected" << "SELECT count(*) FROM KVB_20 => 4";
        QTest::newRow("main group, the flags it inherits unreadable") << "edit:MG 3 14 41 without KVB_20" << QStringList{} << " # dbReadErr # rejected" << "";
        // clang-format on
    }
    void properties()
    {
        QFETCH(QString, open);
        const int sysStore = open.contains(" in mode ") ? open.section(' ', -1).toInt() : 1;
        gSettings().gSysStore = qint16(sysStore);
        const QString unreadable = open.section(" without ", 1);
        if (!unreadable.isEmpty())
            gDBConnection.exec("ALTER TABLE " + unreadable + " RENAME TO away");
        openAndRun(open.section(" in mode ", 0, 0).section(" without ", 0, 0));
        if (!unreadable.isEmpty())
            gDBConnection.exec("ALTER TABLE away RENAME TO " + unreadable);
        if (sysStore != 1) { // the first store could not be cancelled; a later opening can
            QVERIFY(this->open("edit:STORE 1")->findChild<QPushButton*>("cmdCanel")->isEnabled());
        }
    }

    // A save the database refuses part-way ("TABLE EVENT" fails): the message, nothing written, the dialog open and
    // the records as they were.
    void failedSave_data()
    {
        QTest::addColumn<QString>("open");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("failing");
        // clang-format off
        QTest::newRow("new store, at its main group") << "new:1:*ROOT:5" << QStringList{"type txtName Lake", "ok"} << "KVB_23 INSERT";
        QTest::newRow("scale moved, at its preset keys") << "edit:MACHINE 1 2  10.  0.  0.  5" << QStringList{"type txtScaleIP(3) 6", "ok"} << "KVB_41 UPDATE";
        QTest::newRow("new search") << "new:6:STORE 3:3" << QStringList{"type txtDept_No1 12", "ok"} << "SEARCH INSERT";
        // clang-format on
    }
    void failedSave()
    {
        QFETCH(QString, open);
        QFETCH(QStringList, steps);
        QFETCH(QString, failing);
        test::addRows({"KVB_41|Scale_IP= 10.  0.  0.  5|PSK_Layout=0|Number=1|Key_Switch=1"});
        const auto tables = [] {
            QStringList rows;
            for (const char* table : {"STORE", "SECT", "SCALE", "KVB_20", "KVB_23", "SEARCH", "KVB_41"})
                rows << test::dump(QLatin1String(table), QStringLiteral("*"));
            return rows;
        };
        const auto records = [] {
            const StoreTreeState& t = gStoreTree();
            return QStringList{t.gStoreRec.ST_Name, t.gScaleRec.SC_IP, QString::number(t.gSearchRec.DP_No1)};
        };
        std::unique_ptr<QDialog> d = this->open(open);
        const QStringList before = tables(), recordsBefore = records();
        const test::FailingWrites refuse(
            QStringLiteral("BEFORE %1 ON %2").arg(failing.section(' ', 1), failing.section(' ', 0, 0)));
        run(d.get(), steps);
        QCOMPARE(m_messages, QStringList{"dbWriteErr"});
        QVERIFY(d->isVisible());
        QCOMPARE(tables(), before);
        QCOMPARE(records(), recordsBefore);
    }

    // The scale dialog.
    void scale_data()
    {
        columns();
        const QString scales = QStringLiteral("SELECT group_concat(SC_IP||':'||SC_FTPName||':'||SC_FTPPW, ',') FROM "
                                              "SCALE WHERE ST_No=1 AND SECT_No=2 => ");
        const QString edit = QStringLiteral("edit:MACHINE 1 2  10.  0.  0.  5");
        // clang-format off
        QTest::newRow("a dot and a third digit move on, box 3 never") << "new:3:SECT 1 2:1" << QStringList{"type txtScaleIP(0) 7", "key .", "focus", "type txtScaleIP(1) 16", "focus", "key 8", "focus", "type txtScaleIP(2) 1", "key .", "type txtScaleIP(3) 100", "focus", "ok"} << "txtScaleIP(1) | txtScaleIP(1) | txtScaleIP(2) | txtScaleIP(3) #  # accepted" << scales + " 10.  0.  0.  5:scale:s3cret,  7.168.  1.100:pelno:pelno";
        QTest::newRow("192.168.1.10") << "new:3:SECT 1 2:1" << QStringList{"type txtScaleIP(0) 192", "type txtScaleIP(1) 168", "type txtScaleIP(2) 1", "type txtScaleIP(3) 10", "ok", "remembered"} << "MACHINE 1 2 192.168.  1. 10/ #  # accepted" << "SELECT SC_IP FROM SCALE WHERE SC_IP LIKE '192%' => 192.168.  1. 10";
        QTest::newRow("an address of another store") << "new:3:SECT 3 3:1" << QStringList{"type txtScaleIP(0) 10", "type txtScaleIP(1) 0", "type txtScaleIP(2) 0", "type txtScaleIP(3) 5", "ok", "show txtScaleIP(0),txtScaleIP(1)"} << " 10,  0 # changeIP # open" << "SELECT count(*) FROM SCALE => 1";
        QTest::newRow("no address") << "new:3:SECT 1 2:1" << QStringList{"ok"} << " # changeIP # open" << "SELECT count(*) FROM SCALE => 1";
        QTest::newRow("an empty box") << edit << QStringList{"clear txtScaleIP(2)", "ok", "focus"} << "txtScaleIP(2) # changeIP # open" << "";
        QTest::newRow("edited, its own address kept, a pasted CR in the password") << edit << QStringList{"paste txtFTPPW pass\\rword", "show txtFTPPW", "ok"} << "password #  # accepted" << scales + " 10.  0.  0.  5:scale:password";
        QTest::newRow("empty number, user and password: the number first") << edit << QStringList{"clear txtFTPPW", "clear txtFTPName", "clear txtScaleNo", "ok", "focus"} << "txtScaleNo # emptyisillegal # open" << "";
        QTest::newRow("empty user and password: the user") << edit << QStringList{"clear txtFTPPW", "clear txtFTPName", "ok", "focus"} << "txtFTPName # emptyisillegal # open" << "";
        QTest::newRow("empty password") << edit << QStringList{"clear txtFTPPW", "ok", "focus"} << "txtFTPPW # emptyisillegal # open" << "";
        // clang-format on
    }
    void scale()
    {
        QFETCH(QString, open);
        openAndRun(open);
    }

    // The search dialog; "with ," shows prices with a decimal comma.
    void search_data()
    {
        columns();
        const QString all = QStringLiteral(
            "show txtDept_No1,txtDept_No2,txtMG_No1,txtMG_No2,txtPLU_No1,txtPLU_No2,meditUPrice1,meditUPrice2");
        const QString depts = QStringLiteral("show txtDept_No1,txtDept_No2");
        const QString prices = QStringLiteral("show meditUPrice1,meditUPrice2");
        const QString stored = QStringLiteral("SELECT group_concat(SH_No||':'||DP_No1||':'||DP_No2||':'||PLU_UPrice1||"
                                              "':'||PLU_UPrice2) FROM SEARCH => ");
        const QString unchanged = stored + "2:1:20:12:999999";
        // clang-format off
        QTest::newRow("new, defaults with .") << "new:6:STORE 3:3" << QStringList{all, "ok"} << "1,97,1,997,1,999997,0.00,9999.99 #  # accepted" << unchanged + ",3:1:97:0:999999";
        QTest::newRow("new, defaults with ,") << "new:6:STORE 3:3 with ," << QStringList{all} << "1,97,1,997,1,999997,0,00,9999,99 #  # open" << "";
        QTest::newRow("the to-value follows the from-value") << "edit:SEARCH 3 2" << QStringList{"type txtDept_No1 50", "leave", depts, "type txtDept_No2 10", "leave", depts, "ok", "remembered"} << "50,50 | 50,50 | /SEARCH 3 2 #  # accepted" << stored + "2:50:50:12:999999";
        QTest::newRow("98, 998 and 0 refused") << "edit:SEARCH 3 2" << QStringList{"type txtDept_No1 98", "leave", "focus", "type txtDept_No1 1", "type txtMG_No2 998",  "leave", "focus", "type txtMG_No2 9", "type txtPLU_No1 0",   "leave", "focus"} << "txtDept_No1 | txtMG_No2 | txtPLU_No1 # codeillegal codeillegal codeillegal # open" << "";
        QTest::newRow("prices in minor units while focused; the to-price follows") << "edit:SEARCH 3 2" << QStringList{"type meditUPrice2 00", "click meditUPrice1", prices, "clear meditUPrice1", "leave", prices, "ok"} << "12,0.12 | 0.00,12 #  # accepted" << stored + "2:1:20:0:12";
        QTest::newRow("prices with , : the to-price follows") << "edit:SEARCH 3 2 with ," << QStringList{"type meditUPrice1 01250", "type meditUPrice2 1240", "leave", prices} << "12,50,12,50 #  # open" << "";
        QTest::newRow("OK by Enter in an emptied range box") << "edit:SEARCH 3 2" << QStringList{"clear txtMG_No2", "enter", "focus"} << "txtMG_No2 # codeillegal # open" << unchanged;
        QTest::newRow("a new search's number taken") << "new:6:STORE 3:2" << QStringList{"ok"} << " # codeillegal # open" << unchanged;
        // clang-format on
    }
    void search()
    {
        QFETCH(QString, open);
        gSettings().gDecimalSign = open.endsWith(" with ,") ? QStringLiteral(",") : QStringLiteral(".");
        openAndRun(open.section(" with ,", 0, 0));
    }
};

QTEST_MAIN(tst_PropertyDialogs)
#include "tst_propertydialogs.moc"
