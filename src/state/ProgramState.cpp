#include "state/ProgramState.h"

#include "platform/text/Ansi.h"
#include "state/SharedData.h"

#include <QList>

namespace quorvane {

namespace detail {
ProgramState gProgramState;
} // namespace detail

namespace {
// Not state: they say how to reset it.
QList<StateReset> gResets;
} // namespace

SettingsRecord& gSettings() { return detail::gProgramState.settings; }
StoreTreeState& gStoreTree() { return detail::gProgramState.storeTree; }
PluEditorState& gPluEditor() { return detail::gProgramState.pluEditor; }
PresetKeyState& gPresetKeys() { return detail::gProgramState.presetKeys; }
StringEditState& gStringEdit() { return detail::gProgramState.stringEdit; }
FBarRec& gFBarRec() { return detail::gProgramState.fBarRec; }
ImportExportState& gImportExport() { return detail::gProgramState.exchange; }

void resetProgramState()
{
    for (StateReset reset : std::as_const(gResets))
        reset();
    for (db::Recordset* rs : {&gRsPLU, &gRsWork, &gRsReceived})
        rs->close();
    gDBConnection.close();
    detail::gProgramState = ProgramState();
    text::setAnsiCodePage(QString());
}

void registerStateReset(StateReset reset)
{
    if (reset && !gResets.contains(reset))
        gResets << reset;
}

} // namespace quorvane
