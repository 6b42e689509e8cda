#pragma once

// The PLU tests' program folder, rows and window: a test plays the main window through PluEditorHost, its
// reload running the same core steps the window's list load runs.

#include "support/CodecTestDb.h"
#include "support/FieldValues.h"
#include "support/TransferFixture.h"

#include "app/WorkingDatabase.h"
#include "plu/PluEditorHost.h"
#include "plu/PluEditorSetUp.h"
#include "plu/PluList.h"
#include "plu/PluRowBinding.h"
#include "plu/PluSave.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "state/PluEditorState.h"
#include "state/SettingsState.h"
#include "state/SharedData.h"
#include "state/StoreTreeState.h"

#include <QStringList>

namespace quorvane::test {

// The working database opened as a start-up opens it (with its lookup indexes) and the English texts.
inline bool setUpPluFolder(TransferFolder& folder)
{
    if (!folder.setUp())
        return false;
    gDBConnection.close();
    test::loadTexts();
    return app::OpenDatabase();
}

// Store 1 with bar format 3 and flags 2 1, department 97 with main groups 12 and 997, department 5 with
// main group 44 (flexible barcode 2), flexible barcode 2 without flag 1; the editor in edit mode.
inline void resetPlu()
{
    gRsPLU.close();
    gPluEditor() = PluEditorState();
    gPluEditor().gHideSelectedCol = 1;
    gStoreTree() = StoreTreeState();
    gStoreTree().gCurStoreNo = 1;
    SettingsRecord& s = gSettings();
    s.gPricePoint = 2;
    s.gWeightPoint = 3;
    s.gDecimalSign = QStringLiteral(".");
    s.gDateType = 1;
    db::Transaction tx(gDBConnection);
    test::emptyTables({"STORE", "KVB_20", "KVB_23", "KVB_25", "KVB_14", "SEARCH"});
    for (const auto& [table, values] : generatorLevels())
        addRow(table, values);
    gDBConnection.exec(QStringLiteral("UPDATE KVB_23 SET DP_No=5 WHERE MG_No=44"));
    tx.commit();
}

// The value of the control of that objectName in the editor, as text: a list its position (combMG its
// text), a check box 1 or 0, a date picker its ISO date, a time picker "HH:mm".
inline QString valueOf(const PluEditorValues& tab, const QString& control)
{
    if (control == QLatin1String("meditDepartment"))
        return tab.meditDepartment;
    const PluField* row = pluField(control);
    if (!row)
        return QStringLiteral("(no such control)");
    const QVariant v = shownIn(tab, *row);
    switch (v.typeId()) {
    case QMetaType::Bool:
        return QString::number(v.toBool());
    case QMetaType::QDate:
        return v.toDate().toString(Qt::ISODate);
    case QMetaType::QTime:
        return v.toTime().toString(QStringLiteral("HH:mm"));
    default:
        return v.toString();
    }
}

// The named controls' values, "control=value;...", to compare with the list naming them.
inline QString valuesOf(const PluEditorValues& tab, const QString& list)
{
    QStringList out;
    for (const auto& [control, value] : pairs(list))
        out << control + QLatin1Char('=') + valueOf(tab, control);
    return out.join(QLatin1Char(';'));
}

// Types "control=text;..." into the text boxes; a date picker takes an ISO date.
inline void enter(PluEditorValues& tab, const QString& list)
{
    for (const auto& [control, text] : pairs(list)) {
        const PluField* row = pluField(control);
        if (!row)
            qFatal("enter: no control %s", qPrintable(control));
        setShown(tab, *row, row->kind == fields::Kind::Date ? QVariant(QDate::fromString(text, Qt::ISODate)) : text);
    }
}

// Adds a PLU of store 1 in main group 12 with the fields given as "field=value;field=value"; "null" is
// Null, "hex:..." bytes.
inline void addPlu(const QString& fields)
{
    QVariantMap values{{"ST_No", 1}, {"PLU_MG", 12}, {"Is_Selected", 0}};
    for (const auto& [name, v] : pairs(fields))
        values.insert(name,
                      v == QLatin1String("null")                ? QVariant()
                          : v.startsWith(QLatin1String("hex:")) ? QVariant(QByteArray::fromHex(v.mid(4).toLatin1()))
                                                                : QVariant(v));
    addRow(QStringLiteral("KVB_25"), values);
}

// The lists' PLUs of store 1 as number, main group and price: 5 12 1.00, 3 44 5.00, 9 997 2.50, 1 0 0.50, 7 12 9.00,
// 2 0 0.10 and 7 12 8.00, in this stored order; PLU 4 of store 2; search 2 of store 1 over main groups 10 to 50,
// PLUs 3 to 7 and prices 1.00 to 5.00 (departments 90 to 99).
inline void addListRows()
{
    for (const auto& [no, group, price] :
         {std::tuple{5, 12, 100}, {3, 44, 500}, {9, 997, 250}, {1, 0, 50}, {7, 12, 900}, {2, 0, 10}, {7, 12, 800}})
        addPlu(QStringLiteral("PLU_No=%1;PLU_MG=%2;PLU_UPrice=%3").arg(no).arg(group).arg(price));
    addRow(QStringLiteral("KVB_25"), {{"ST_No", 2}, {"PLU_No", 4}, {"PLU_MG", 12}});
    addRow(QStringLiteral("SEARCH"),
           {{"ST_No", 1},
            {"SH_No", 2},
            {"DP_No1", 90},
            {"DP_No2", 99},
            {"MG_No1", 10},
            {"MG_No2", 50},
            {"PLU_No1", 3},
            {"PLU_No2", 7},
            {"PLU_UPrice1", 100},
            {"PLU_UPrice2", 500}});
}

// "PLU_No:field" of every PLU of the store in number order, blank-separated.
inline QString pluRows(const QString& field, int store = 1)
{
    db::Statement st = gDBConnection.prepare(
        QStringLiteral("SELECT PLU_No, %1 FROM KVB_25 WHERE ST_No=? ORDER BY PLU_No, rowid").arg(field));
    st.bind({store});
    QStringList rows;
    while (st.step())
        rows << st.column(0).toString() + QLatin1Char(':') + st.column(1).toString();
    return rows.join(QLatin1Char(' '));
}

// The PLU numbers of a store that carry a send mark.
inline QString marked(int store = 1)
{
    QStringList out;
    for (const QString& row : pluRows(QStringLiteral("Is_Selected"), store).split(QLatin1Char(' ')))
        if (row.endsWith(QLatin1String(":1")))
            out << row.section(QLatin1Char(':'), 0, 0);
    return out.join(QLatin1Char(' '));
}

// The main window as far as the rules ask it: answers, messages and calls are logged in order.
class TestHost : public PluEditorHost {
public:
    PluEditorValues values;
    PluAnswer answer = PluAnswer::Yes;
    int gridRow = 1;
    QStringList log;

    // LoadPLUList of the tree selection without its grid: the row chosen is shown in `values`.
    void load()
    {
        const StoreTreeState& t = gStoreTree();
        OpenPLUList(t.gCurNodeKind, t.gCurStoreNo, t.gCurDeptNo, t.gCurMGNo);
        if (const int row = ChoosePLUListRow())
            ShowPLUInTab(row - 1, values);
    }

    void commitFocusedField() override { }
    PluEditorValues editorValues() override { return values; }
    PluAnswer ask(const QString& key, const QString&) override
    {
        log << QStringLiteral("ask ") + key;
        return answer;
    }
    PluAnswer askSaveChanges() override
    {
        log << QStringLiteral("ask save");
        return answer;
    }
    void showError(const QString&, const QString& text) override { log << QStringLiteral("error ") + text; }
    int gridCurrentRow() override { return gridRow; }
    void refusePLUNumber(qint32 number, bool gridBack) override
    {
        log << QStringLiteral("refuse %1%2").arg(number).arg(gridBack ? QStringLiteral(" grid") : QString());
    }
    void setEditModeButtons() override { }
    void refreshPLUList() override
    {
        log << QStringLiteral("reload");
        load();
    }
};

} // namespace quorvane::test
