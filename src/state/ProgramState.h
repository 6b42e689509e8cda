#pragma once

#include "state/LangCollection.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>

namespace quorvane {

// The values of ini/setting.cfg, read once at start-up and read by every subsystem from then on.
struct SettingsRecord {
    qint16 gLanguageIndex = 0; // 0 Standard, 1 Chinese, 2 Other
    QString gLanguageName;     // derived from the index
    qint16 gPricePoint = 0;    // decimals of prices and amounts
    qint16 gPointType = 0;     // 0 point, anything else comma
    QString gDecimalSign;      // derived from gPointType
    qint16 gWeightPoint = 0;   // decimals of weights
    qint16 gDateType = 0;      // date order 0 to 5
    qint16 gPriceUnit = 0;     // 0 "RMB", 1 "$", 2 the operator's own text
    QString gCurrencySymbol;
    qint16 gSysCountry = 0;
    qint16 gSysStore = 0;  // 1: one root node above the stores
    QString gTreeRootName; // held only in store mode 1
};

// The node property records: each holds the fields of one row of its node's table, in the table's order.
// The tree commands, the property dialogs and the node operations hand a node's values over through them.
struct StoreRec {
    qint16 ST_No = 0;
    QString ST_Name;
    qint16 Flag1 = 0;
    qint16 Flag2 = 0;
    qint16 barformat = 0;
};

struct SectRec {
    qint16 SECT_No = 0;
    qint16 ST_No = 0;
    QString SECT_Name;
    qint16 Flag1 = 0;
    qint16 Flag2 = 0;
    qint16 barformat = 0;
};

struct ScaleRec {
    QString SC_IP;
    QString SC_No;
    qint16 SC_Used = 0;
    QString SC_FTPName;
    QString SC_FTPPW;
    qint16 SC_MODEL_ID = 0;
    qint16 SC_PSK_Layout = 0;
    qint16 ST_No = 0;
    qint16 SECT_No = 0;
};

struct DeptRec {
    qint16 DP_No = 0;
    QString DP_Name;
    qint16 Flag1 = 0;
    qint16 Flag2 = 0;
    qint16 barformat = 0;
    qint16 ST_No = 0;
    qint16 SECT_No = 0;
};

struct MGRec {
    qint16 MG_No = 0;
    QString MG_Name;
    qint16 Flag1 = 0;
    qint16 Flag2 = 0;
    qint16 barformat = 0;
    qint16 Tax_No = 0;
    qint16 ST_No = 0;
    qint16 SECT_No = 0;
    qint16 DP_No = 0;
};

struct SearchRec {
    qint16 SH_No = 0;
    QString SH_Name;
    qint16 DP_No1 = 0;
    qint16 DP_No2 = 0;
    qint16 MG_No1 = 0;
    qint16 MG_No2 = 0;
    qint32 PLU_No1 = 0;
    qint32 PLU_No2 = 0;
    qint32 PLU_UPrice1 = 0; // minor units
    qint32 PLU_UPrice2 = 0;
    qint16 ST_No = 0;
};

// The store tree of the main window: the current selection (read by the transfer too), the views, the
// hand-over to the property dialogs and the node property records.
struct StoreTreeState {
    // The numbers of the node selected last; no selection is store 0, section 0, "  0.  0.  0.  0",
    // department 0, main group 0. A search node's number is held in gCurDeptNo.
    qint16 gCurStoreNo = 0;
    qint16 gCurSectNo = 0;
    QString gCurScaleIP = QStringLiteral("  0.  0.  0.  0");
    qint16 gCurDeptNo = 0;
    qint16 gCurMGNo = 0;
    quint8 gCurNodeKind = 0; // of the PLU list shown: 0 store, 1 department, 2 main group, 3 search

    QString gStoreViewKey;     // the node to select again when the store view is rebuilt
    QString gDataViewKey;      // the same for the data view
    qint16 gTreeViewMode = 1;  // 1 store view, 0 data view
    qint16 gTreeFilled = 1;    // 0 asks the next activation of the main window to rebuild the tree
    qint16 gTreeStoreNo = 0;   // the one store the store view shows in one-store mode
    qint16 gLastNodeIndex = 0; // the node whose PLU list is shown (1-based, in adding order); 0 none
    qint16 gReloadPLUList = 0; // 1 lists the PLUs again even for the same node

    qint16 gPropertyNodeKind = 0; // node kind code of the open property dialog: 1 store ... 6 search
    qint16 gPropMode = 0;         // 1 the dialog edits an existing node, else it creates one
    quint8 gFirstStoreDone = 0;   // 1 once a first store exists

    StoreRec gStoreRec;
    SectRec gSectRec;
    ScaleRec gScaleRec;
    DeptRec gDeptRec;
    MGRec gMGRec;
    SearchRec gSearchRec;
};

// The bytes of one text block being edited (none for an empty text) and whether the text editor changed it.
struct TextBuffer {
    QByteArray bytes;
    quint8 changed = 0;
};

// The PLU list and editor: the row shown, the editor's mode and flags, its text buffers.
struct PluEditorState {
    qint16 gCurPLUTab = 1;       // selected editor page, 1 to 3
    qint32 gCurPLURow = 0;       // grid row (1-based) of the PLU shown; 0 none. A store lists 100,000 PLUs.
    qint16 gPLUChanged = 0;      // 1 while the editor differs from the current row
    qint16 gHideSelectedCol = 0; // 1 in edit mode
    quint8 gNewPLU = 0;          // 1 while the editor holds a PLU that is not yet a row
    qint32 gNewPLUNo = 0;        // the number last proposed for a new PLU
    qint16 mPLUGridShift = 0;    // -1 after a key went down in the grid with Shift held
    TextBuffer gTextBuf3;        // the name, PLU_Commodity
    TextBuffer gTextBuf1;        // the description, PLU_Description
    TextBuffer gTextBuf0;        // a third buffer, cleared by the new command
};

// The multi-line text editor: its mode and the four texts of the other-files window that it edits.
struct StringEditState {
    qint16 gStringEditMode = 0; // 1 description, 3 name, 13 ingredient, 14 special message, 15 advert, 16 shop name
    TextBuffer gIngredientText;
    TextBuffer gSpecialMsgText;
    TextBuffer gAdvertText;
    TextBuffer gShopNameText;
};

// The sections of the language file (in the language of the settings) and of the parameter file, loaded at
// start-up. The settings layer names them (gLangMsg, gParEANEdit, ...) and loads them.
struct TextCollections {
    LangCollection gLangOther, gLangMainCmd, gLangMainMenu, gLangMainGrid, gLangMainTab, gLangStringEdit, gLangMsg,
        gLangProperties, gLangScProperties, gLangFlexiBarcode, gLangSearch, gLangTranslate, gLangPresetKey,
        gLangAutoPresetKey, gLangPutPreKey, gLangExportReport, gLangResetReport, gLangImportExport, gLangScrollMSG,
        gLangAbout, gLangOtherFiles, gLangFTP;
    LangCollection gParDiscount, gParMemdisc, gParEANDisp, gParEANEdit, gParSSTabSymbol, gParCountry,
        gParImportExportItem, gParFunctionKey, gParPresetKey, gParRSData, gParReportType;
};

// The layout of the scale whose preset-key sheet is open: written when the sheet loads, read by the sheet's
// drawing, the key editor and the automatic assignment.
struct PresetKeyState {
    qint16 gPSKLayout = 0;  // SC_PSK_Layout of the scale shown; also PSK_Layout of its key rows
    qint32 gPSKStoreNo = 0; // ST_No and SECT_No of that scale: kept from the last load that found it
    qint32 gPSKSectNo = 0;
    qint16 gKeyNum = 0;  // keys per page
    qint16 gKeyRows = 0; // key rows and columns of the sheet
    qint16 gKeyCols = 0;
    float gKeyCellSize = 0; // side of a key cell in centimetres
    qint16 gKeyCharNum = 0; // read and kept, used by nothing
    qint16 gKeyOrder = 0;   // read and kept, used by nothing
    qint32 gCurKeyNo = 0;   // the key of the last double click on the sheet, -1 when it missed
};

// The flexible-barcode editor's buffer: the twelve FBar_ fields of one KVB_14 row, FBar_Data1 as its digits.
struct FBarRec {
    qint16 FBar_No = 0;
    qint16 FBar_Type = 0;
    qint16 FBar_ItemDigitNo = 0;
    qint16 FBar_Data1Type = 0;
    qint16 FBar_Data2Type = 0;
    qint16 FBar_FBarDigitNo = 0;
    qint16 FBar_CD = 0;
    QString FBar_Data1 = QStringLiteral("0");
    qint16 FBar_Data2 = 0;
    qint16 FBar_Data1SH = 0;
    qint16 FBar_Data2SH = 0;
    qint16 FBar_EANorITF = 0;
};

// The PLU import and export window's font sizes of imported names and descriptions: the 1-based position of
// the chosen font-size entry, 0 until one is chosen; kept from one opening of the window to the next.
struct ImportExportState {
    qint16 CommodityFontSize = 0;
    qint16 DescriptionFontSize = 0;
};

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
inline StoreTreeState& gStoreTree() { return programState().storeTree; }
inline PluEditorState& gPluEditor() { return programState().pluEditor; }
inline PresetKeyState& gPresetKeys() { return programState().presetKeys; }
inline StringEditState& gStringEdit() { return programState().stringEdit; }
inline FBarRec& gFBarRec() { return programState().fBarRec; }
inline ImportExportState& gImportExport() { return programState().exchange; }

// Puts every program-wide value back to its start, as a fresh run finds them: first what the layers above
// registered (their caches and window instances), in the order of registration; then the shared recordsets
// and the connection are closed, this object is made afresh and the code page is the system's again.
void resetProgramState();

// A layer above this one registers how its own values are put back; registering the same function again
// changes nothing.
using StateReset = void (*)();
void registerStateReset(StateReset reset);

} // namespace quorvane
