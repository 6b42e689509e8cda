#pragma once

#include <QRect>
#include <QtGlobal>

#include <functional>

class QLineEdit;
class QWidget;

namespace quorvane {

struct Refusal;
enum class NodeKind : qint16;

// What the property dialogs of the store tree share beyond the window kit.

// The dialogs' rows, in twips: a label on the left, its boxes beside it, one row every 540 twips.
struct DialogRows {
    int labelWidth;
    int boxLeft;

    static constexpr int top(int row) { return 225 + row * 540; }
    QRect label(int row, int left = 240, int width = 0) const
    {
        return {left, top(row) + 45, width > 0 ? width : labelWidth, 300};
    }
    QRect box(int row, int width, int left = 0) const { return {left > 0 ? left : boxLeft, top(row), width, 360}; }
};

// Runs when the control gains the focus, by whatever way.
void onGotFocus(QWidget* control, std::function<void()> handler);
// The box selects its whole text when it gains the focus, also by a click.
void selectAllOnFocus(QLineEdit* box);
// A locked box can be read and selected, not typed in; it is greyed so the operator sees that.
void setLocked(QLineEdit* box, bool locked);

// A refused OK: the warning, then the focus into the boxes it names, in order (the last keeps it).
void showRefusal(QWidget* dialog, const Refusal& refusal);

// A dialog's Cancel: a new node's provisional node leaves the main window's tree, its parent to be selected.
void cancelNewNode(NodeKind kind);

// Writes the dialog's boxes into the node property records and saves them in one step. When the save fails the
// failed-write message is shown, nothing is saved and the records are as they were before: false.
bool saveNodeRecords(QWidget* dialog, const std::function<void()>& write, const std::function<void()>& save);

} // namespace quorvane
