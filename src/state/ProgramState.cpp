#include "state/ProgramState.h"

#include "platform/StateReset.h"
#include "platform/text/Ansi.h"
#include "state/SharedData.h"

namespace quorvane {

namespace detail {
ProgramState gProgramState;
} // namespace detail

SettingsRecord& gSettings() { return detail::gProgramState.settings; }
StoreTreeState& gStoreTree() { return detail::gProgramState.storeTree; }
PluEditorState& gPluEditor() { return detail::gProgramState.pluEditor; }
PresetKeyState& gPresetKeys() { return detail::gProgramState.presetKeys; }
StringEditState& gStringEdit() { return detail::gProgramState.stringEdit; }
FBarRec& gFBarRec() { return detail::gProgramState.fBarRec; }
ImportExportState& gImportExport() { return detail::gProgramState.exchange; }

void resetProgramState()
{
    runStateResets();
    for (db::Recordset* rs : {&gRsPLU, &gRsWork, &gRsReceived})
        rs->close();
    gDBConnection.close();
    detail::gProgramState = ProgramState();
    text::setAnsiCodePage(QString());
}

} // namespace quorvane
