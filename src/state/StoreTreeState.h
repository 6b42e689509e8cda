#pragma once

#include <QString>

namespace quorvane {

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

// The kind of tree node whose PLUs the main window lists (gCurNodeKind).
enum class PluListKind : quint8 {
    Store = 0,
    Department = 1,
    MainGroup = 2,
    Search = 3, // a saved search of the store
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
    PluListKind gCurNodeKind = PluListKind::Store; // of the PLU list shown

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

StoreTreeState& gStoreTree();

} // namespace quorvane
