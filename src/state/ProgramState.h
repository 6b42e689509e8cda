#pragma once

#include "state/FBarState.h"
#include "state/ImportExportState.h"
#include "state/PluEditorState.h"
#include "state/PresetKeyState.h"
#include "state/SettingsState.h"
#include "state/StoreTreeState.h"
#include "state/StringEditState.h"
#include "state/TextCollectionsState.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace quorvane {

// Every program-wide value of a run that is not a table row lives here, grouped by the subsystem that owns
// it, so that one call puts all of them back as a fresh run starts them (tests do, between cases). The
// values keep their system names; a subsystem reaches its group through programState(). The current
// selection and the other program-wide values of the main window and the editors join as groups of their own.
// Only plain values belong here; the shared connection and recordsets (state/SharedData.h) are closed by
// the same reset.
struct ProgramState {
    QString programFolder;       // empty until set or first asked: then the executable's folder
    SettingsRecord settings;     // gSettings()
    TextCollections texts;       // gLangMsg and the others
    std::optional<int> exitCode; // of the last exitProgram()
    StoreTreeState storeTree;    // gStoreTree()
    PluEditorState pluEditor;    // gPluEditor()
    PresetKeyState presetKeys;   // gPresetKeys()
    StringEditState stringEdit;  // gStringEdit()
    FBarRec fBarRec;             // gFBarRec()
    ImportExportState exchange;  // gImportExport()
    // The closing window (frmEnd) is at work: the main window's close starts no second shutdown.
    bool shutdownRunning = false;
    // Tables whose dumps the start-up could not apply whole: the next exit keeps their files beside the new set,
    // and no first store is made while STORE is one of them.
    QStringList tablesNotApplied;
};

namespace detail {
// The one object of the run. Reach it through programState(); it is named here only so that the program-wide
// names bound to its members are bound before any code runs.
extern ProgramState gProgramState;
} // namespace detail

inline ProgramState& programState() { return detail::gProgramState; }

// Puts every program-wide value back to its start, as a fresh run finds them: first what registered with
// registerStateReset() (platform/StateReset.h: caches, window instances, test seams), in the order of registration;
// then the shared recordsets and the connection are closed, this object is made afresh and the code page is the
// system's again.
void resetProgramState();

} // namespace quorvane
