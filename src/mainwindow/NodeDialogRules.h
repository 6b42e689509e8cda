#pragma once

#include "mainwindow/NodeKeys.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace quorvane {

// The rules of the property dialogs of stores, sections, departments and main groups (frmProperties), scales
// (frmScProperties) and searches (frmSearch), as plain functions of the boxes' texts and the database.

// Why OK was refused (msgbox's codeillegal, emptyisillegal or changeIP), and the boxes (by objectName) that get
// the focus, in this order: the last keeps it.
struct Refusal {
    enum Fault { None, CodeIllegal, EmptyIsIllegal, ChangeIP };
    Fault fault = None;
    QStringList focus;

    explicit operator bool() const { return fault != None; }
};

// A flag code as its box shows it: 0 to 9 as the digit, anything larger as "F"; and back ("F" is 16).
QString flagText(qint16 code);
qint16 flagCode(const QString& text);

// The bar-format list: a store's position p is bar format p; another kind's position 0 is the inherited 255 and
// position p bar format p - 1.
int barFormatListPosition(NodeKind kind, qint16 barFormat);
qint16 barFormatAtListPosition(NodeKind kind, int position);

// What choosing a list position does to the flag boxes.
struct FlagBoxes {
    enum Codes {
        Keep,      // the boxes keep their codes; an "F" becomes "0" where a definition decides
        NoCodes,   // bar format 0: both "F"
        Inherited, // a department's or main group's inherited format: the codes of the level above
    };
    Codes codes = Keep;
    bool flag1Editable = false;
    bool flag2Editable = false;
    bool defined = false; // a fixed format's definition decided which box may be typed in
};
// Bar format 0 has no flag codes; every other fixed format's definition (gParEANEdit) decides which code may be
// typed, bar format 19 at every level; a definition that cannot be read allows neither.
FlagBoxes flagBoxesAt(NodeKind kind, int position);

// The name as the name box keeps it: up to its first control character.
QString cutAtControlCharacter(const QString& name);
// The text without its control characters: an FTP user name or password holding one fails every log-in.
QString withoutControlCharacters(const QString& text);

// Whether the code box is locked: always for a store and a section, and for the department 97 and main group 997
// every store has only while the dialog edits them (mode 1), so a new node's code can always be typed.
bool codeLocked(NodeKind kind, int mode, int code);

// The boxes of frmProperties at OK.
struct PropertiesInput {
    NodeKind kind = NodeKind::None;
    int mode = 0; // gPropMode: 1 edits an existing node
    QString code, name, flag1, flag2, taxNo;
};
// The code of a department (0 to 97) or main group (0 to 997) must be given and free in its store unless it is
// the node's own, a store's and a section's free as well; then the name (a section's), or the name and both flags
// (and a main group's tax number), must not be empty.
Refusal checkProperties(const PropertiesInput& in, const NodeNumbers& current);

// A group of a scale address as OK pads it: one character behind two blanks, two behind one.
QString padAddressGroup(const QString& group);
// The boxes of frmScProperties at OK, the address groups padded.
struct ScaleInput {
    int mode = 0;
    QStringList groups;
    QString scaleNo, ftpName, ftpPassword;
};
// The address must have four groups, not be "  0.  0.  0.  0" and no other scale's (any store's; an edited scale
// keeps its own); the scale number, FTP user and password must not be empty.
Refusal checkScale(const ScaleInput& in, const NodeNumbers& current);
QString scaleAddress(const QStringList& groups);

// A range box of frmSearch: a whole number from 1 to its highest value, or nothing.
std::optional<qint32> rangeValue(const QString& text, qint32 highest);

} // namespace quorvane
