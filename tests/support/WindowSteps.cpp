#include "support/WindowSteps.h"

#include "support/CodecTestDb.h"
#include "support/FieldValues.h"

#include "platform/StateReset.h"
#include "platform/ui/CellEdit.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/ValueSetters.h"
#include "state/SharedData.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QtTest>

#include <list>

namespace quorvane::test {

namespace {

// What fail: steps hold in force until the test is over.
std::list<FailingWrites>& stepFailures()
{
    static std::list<FailingWrites> failures;
    return failures;
}
const ResetWithState kEndSteps(&endSteps);

// "grid(3)": the grid and the row, when the window has no control of that very name.
QTableWidget* gridRow(const QWidget* window, const QString& name, int* row)
{
    static const QRegularExpression element(QStringLiteral("^(\\w+)\\((\\d+)\\)$"));
    const auto m = element.match(name);
    if (!m.hasMatch() || window->findChild<QWidget*>(name))
        return nullptr;
    *row = m.captured(2).toInt();
    return qobject_cast<QTableWidget*>(control(window, m.captured(1)));
}

QString valueOf(const QWidget* window, const QString& name)
{
    int row = 0;
    if (const QTableWidget* grid = gridRow(window, name, &row))
        return ui::flexText(grid, row, 1);
    const QWidget* w = control(window, name);
    if (const auto* box = qobject_cast<const QLineEdit*>(w))
        return box->text();
    if (const auto* list = qobject_cast<const QComboBox*>(w))
        return QString::number(list->currentIndex());
    if (const auto* check = qobject_cast<const QCheckBox*>(w))
        return check->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    if (const auto* button = qobject_cast<const QAbstractButton*>(w))
        return button->text();
    if (const auto* picker = qobject_cast<const QDateTimeEdit*>(w))
        return picker->text();
    return qobject_cast<const QLabel*>(w)->text();
}

} // namespace

QWidget* control(const QWidget* window, const QString& name)
{
    QWidget* found = window->findChild<QWidget*>(name);
    if (!found)
        qFatal("%s has no control %s", qPrintable(window->objectName()), qPrintable(name));
    return found;
}

void runSteps(QWidget* window, const QString& steps)
{
    static const QRegularExpression gridCell(QStringLiteral("^(\\w+)\\((\\d+),(\\d+)\\)$"));
    for (const QString& step : steps.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        const QString verb = step.section(QLatin1Char(':'), 0, 0);
        const QString arg = step.mid(verb.size() + 1);
        const QString name = arg.section(QLatin1Char('='), 0, 0);
        const QString value = arg.section(QLatin1Char('='), 1);
        int row = 0;
        if (verb == QLatin1String("set")) {
            if (auto* list = qobject_cast<QComboBox*>(control(window, name)))
                ui::setListIndex(list, value.toInt());
            else
                ui::setText(qobject_cast<QLineEdit*>(control(window, name)), value);
        } else if (verb == QLatin1String("focus")) {
            control(window, arg)->setFocus(Qt::TabFocusReason);
        } else if (verb == QLatin1String("leave")) {
            control(window, QStringLiteral("cmdClose"))->setFocus(Qt::TabFocusReason);
        } else if (verb == QLatin1String("close")) {
            window->close();
        } else if (verb == QLatin1String("type")) {
            QTest::keyClicks(window->focusWidget(), arg);
        } else if (verb == QLatin1String("paste")) {
            qobject_cast<QLineEdit*>(window->focusWidget())->insert(arg);
        } else if (verb == QLatin1String("clear")) {
            qobject_cast<QLineEdit*>(window->focusWidget())->selectAll();
            QTest::keyClick(window->focusWidget(), Qt::Key_Backspace);
        } else if (const auto cell = gridCell.match(arg); verb == QLatin1String("click") && cell.hasMatch()) {
            auto* grid = qobject_cast<QTableWidget*>(control(window, cell.captured(1)));
            const QModelIndex index = grid->model()->index(cell.captured(2).toInt() - 1, cell.captured(3).toInt());
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
        } else if (verb == QLatin1String("click")) {
            QTest::mouseClick(control(window, arg), Qt::LeftButton, {}, QPoint(8, 8));
        } else if (verb == QLatin1String("choose")) {
            const QPointer<QComboBox> list = qobject_cast<QComboBox*>(control(window, name));
            QTest::mouseClick(list, Qt::LeftButton);
            // An editor that ended on the click lingers until its deferred deletion, hidden and without its name.
            if (!list || !list->isVisible() || list->objectName() != name)
                qFatal("%s closed when its popup opened", qPrintable(name));
            const QAbstractItemView* popup = list->view();
            const QRect rect = popup->visualRect(list->model()->index(value.toInt(), 0));
            const QPoint entry(rect.left() + 8, rect.center().y()); // near the left: the view may outgrow its popup
            QTest::mouseMove(popup->viewport(), entry); // the popup takes no click at once unless the mouse moved
            QTest::mouseClick(popup->viewport(), Qt::LeftButton, {}, entry);
        } else if (verb == QLatin1String("fail")) {
            stepFailures().emplace_back(arg);
        } else if (QTableWidget* grid = gridRow(window, name, &row)) { // cell or esc
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->visualRect(grid->model()->index(row - 1, 1)).center());
            auto* box = qobject_cast<QLineEdit*>(ui::cellEditor(grid));
            box->clear();
            QTest::keyClicks(box, value);
            QTest::keyClick(box, verb == QLatin1String("esc") ? Qt::Key_Escape : Qt::Key_Return);
        } else {
            gDBConnection.exec(arg);
        }
    }
}

void endSteps() { stepFailures().clear(); }

void moveInGrid(QTableWidget* g, const QString& steps)
{
    const auto at = [g](const QString& row) { return g->visualItemRect(g->item(row.toInt() - 1, 2)).center(); };
    for (const QString& step : steps.split(QLatin1Char(' '))) {
        const QString how = step.section(QLatin1Char(':'), 0, 0), what = step.section(QLatin1Char(':'), 1);
        const QString from = what.section(QLatin1Char('-'), 0, 0), to = what.section(QLatin1Char('-'), -1);
        if (how == QLatin1String("click") || how == QLatin1String("right")) {
            QTest::mouseClick(g->viewport(), how == QLatin1String("click") ? Qt::LeftButton : Qt::RightButton, {},
                              at(what));
        } else if (how == QLatin1String("drag") || how == QLatin1String("slip")) {
            QTest::mousePress(g->viewport(), Qt::LeftButton, {}, at(from));
            if (how == QLatin1String("drag"))
                QTest::mouseMove(g->viewport(), at(to));
            QTest::mouseRelease(g->viewport(), Qt::LeftButton, {}, at(to));
        } else if (how == QLatin1String("key")) {
            const QKeyCombination key = QKeySequence::fromString(what)[0];
            QTest::keyClick(g, key.key(), key.keyboardModifiers());
        } else {
            QTest::keyClicks(g, what);
        }
    }
}

QString shownAs(const QWidget* window, const QString& expected)
{
    QStringList shown;
    for (const QString& pair : expected.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString name = pair.section(QLatin1Char('='), 0, 0);
        QString value;
        if (pair.section(QLatin1Char('='), 1) == QLatin1String("off")) {
            const QWidget* w = control(window, name);
            value = !w->isEnabled() || w->isHidden() ? QStringLiteral("off") : QStringLiteral("on");
        } else {
            value = valueOf(window, name);
        }
        shown << name + QLatin1Char('=') + value;
    }
    return shown.join(QLatin1Char(';'));
}

QString gridCells(const QWidget* window, const QString& grid, const QList<int>& columns, QChar cellSep, QChar rowSep)
{
    const auto* table = qobject_cast<const QTableWidget*>(control(window, grid));
    QStringList rows;
    for (int r = 1; r < ui::flexRows(table); ++r) {
        QStringList cells;
        for (const int c : columns)
            cells << ui::flexText(table, r, c);
        rows << cells.join(cellSep);
    }
    return rows.join(rowSep);
}

void addTableRows(const QString& rows)
{
    for (const QString& row : rows.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        const QString table = row.section(QLatin1Char(':'), 0, 0);
        QVariantMap values = fieldValues(row.section(QLatin1Char(':'), 1));
        if (!values.value(QStringLiteral("Name")).isNull() && table.startsWith(QLatin1String("KVB_3")))
            values[QStringLiteral("Name")] = values.value(QStringLiteral("Name")).toString().toLatin1();
        addRow(table, values);
    }
}

QString storedRows(const QString& tableAndFields)
{
    const QString table = tableAndFields.section(QLatin1Char(':'), 0, 0);
    const QStringList fields = tableAndFields.section(QLatin1Char(':'), 1).split(QLatin1Char(','));
    QStringList rows;
    for (const qint64 id : rowIds(table)) {
        const QVariantMap values = rowValues(table, id);
        QStringList row;
        for (const QString& field : fields)
            row << values.value(field).toString();
        rows << row.join(QLatin1Char(','));
    }
    return rows.join(QLatin1Char(' '));
}

} // namespace quorvane::test
