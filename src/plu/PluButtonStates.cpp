#include "plu/PluButtonStates.h"

#include "plu/PluList.h"
#include "state/PluEditorState.h"
#include "state/SharedData.h"

#include <QHash>

namespace quorvane {

namespace {

// Button states set in order, a later step overriding an earlier one.
class ButtonSteps {
public:
    void set(std::initializer_list<const char*> names, bool on)
    {
        for (const char* n : names) {
            const QString name = QLatin1String(n);
            const auto at = m_index.constFind(name);
            if (at != m_index.constEnd()) {
                m_states[*at].enabled = on;
            } else {
                m_index.insert(name, int(m_states.size()));
                m_states << ButtonState{name, on};
            }
        }
    }
    QList<ButtonState> states() const { return m_states; }

private:
    QList<ButtonState> m_states;
    QHash<QString, int> m_index;
};

} // namespace

QList<ButtonState> editModeButtons(const EditModeInputs& in)
{
    ButtonSteps b;
    const bool rows = in.listOpen && in.listCount > 0;
    if (in.hideSelectedCol != 1) {
        b.set({"cmdDisplay"}, false);
        b.set({"cmdEdit"}, true);
        b.set({"cmdSendAll", "menuDownload"}, in.anyMarked);
        b.set({"cmdDel", "menuDeletePlu", "cmdUpload", "menuUpload"}, true);
        b.set({"cmdNew", "cmdUpdate", "cmdCancel", "cmdDlelte", "cmdUp", "cmdDown", "cmdDownload", "cmdReflesh",
               "cmdCopy"},
              false);
        if (in.listOpen && !rows)
            b.set({"cmdSelectAll", "cmdSendAll", "menuDownload", "cmdClearAll"}, false);
        else
            b.set({"cmdSelectAll", "cmdClearAll"}, true);
        b.set({"cmdDelAll"}, false);
        return b.states();
    }
    b.set({"cmdDisplay"}, true);
    b.set({"cmdEdit", "cmdSelectAll", "cmdClearAll", "cmdSendAll", "menuDownload", "cmdDel", "menuDeletePlu",
           "cmdUpload", "menuUpload"},
          false);
    b.set({"cmdNew", "cmdUpdate", "cmdCancel"}, true);
    if (in.listOpen)
        b.set({"cmdUpdate", "cmdCancel", "cmdDlelte", "cmdCopy", "cmdDelAll"}, rows);
    b.set({"cmdUp"}, in.gridRow > 1);
    b.set({"cmdDown"}, in.gridRow != in.gridRows - 1);
    if (in.listOpen)
        b.set({"cmdDownload"}, rows);
    b.set({"cmdReflesh"}, true);
    if (in.listOpen && !rows)
        b.set({"cmdDlelte", "cmdUp", "cmdDown", "cmdDownload"}, false);
    return b.states();
}

QList<ButtonState> SetEditModeButtons(int gridRow, int gridRows)
{
    EditModeInputs in;
    in.hideSelectedCol = gPluEditor().gHideSelectedCol;
    in.listOpen = gRsPLU.isOpen();
    in.listCount = gRsPLU.recordCount();
    // Only display mode offers the sending of marks.
    in.anyMarked = in.hideSelectedCol != 1 && CountSelectedPLU();
    in.gridRow = gridRow;
    in.gridRows = gridRows;
    return editModeButtons(in);
}

} // namespace quorvane
