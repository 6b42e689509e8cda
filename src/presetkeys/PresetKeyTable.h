#pragma once

#include "platform/db/Recordset.h"

#include <QByteArray>
#include <QHash>
#include <QString>

namespace quorvane::presetkeys {

// A page of a key holds one key code: 0 empty, 1 to 999999 a PLU, then per million a kind and its number:
// 1000000 + n function key, 2000000 + n clerk, 3000000 + n payment key, 4000000 + n batch report,
// 5000000 + v preset tare. The table keeps the number in Key_Switch and the kind in Status.
struct KeyFields {
    qint32 keySwitch = 0; // the key code mod 1000000
    qint32 status = 0;    // 0 PLU, 1 function key, 2 clerk, 129 payment key, 130 batch report, 6 preset tare
};
KeyFields keyFieldsOfCode(qint32 keyCode);
// Any Status up to 2 adds its millions, 129 and 130 read as payment key and batch report, any other
// Status above 2 as a preset tare.
qint32 keyCodeOfFields(qint32 keySwitch, qint32 status);

// The Number of page `page` (1 to 3) of key `key` of a layout with `keyNum` keys per page.
qint32 pageNumber(int key, int page, int keyNum);

// The 11-byte scale record of a key row: the page index times 256 plus the key within the page, the
// length 11, Key_Switch (both packed decimal) and Status as one byte. Throws records::CodecError for
// keyNum below 1 and for values the record cannot carry.
QByteArray KvbPresetKeyRecord(qint32 number, qint32 keySwitch, qint32 status, int keyNum);

// The pages of the sheet shown: the rows of KVB_41 with Scale_IP = gCurScaleIP and PSK_Layout = gPSKLayout.
// Every function throws db::DbError on a database failure.
struct PresetKeyPage {
    qint32 keyCode = 0; // 0 when the page has no row
    QString name;       // empty for a Null name
};
PresetKeyPage ReadPresetKeyPage(qint32 number);

// Saves a page as the key editor does: a key code above 0 goes into the page's row (added when there is
// none) with its record built for gKeyNum, an empty name stored as " "; a key code of 0 or below deletes
// the page's row, if any. A record that cannot be built throws records::CodecError and writes nothing.
void WritePresetKeyPage(qint32 number, qint32 keyCode, const QString& name);

// The names of the sheet's rows by Number, from 1 to 3 x gKeyNum; a Null name reads as empty.
QHash<qint32, QString> presetKeyNames();

// Deletes every row of the sheet shown in one transaction: all of them or, on a failure, none.
void DeletePresetKeyLayout();

// Sets Is_Selected of every row of the sheet shown to 1 (before a send) or 0 (after it).
void MarkPresetKeyLayout(bool marked);

// Keys per page of the layouts of ini/PresetKey.ini, each read once for one pass over the key rows.
class LayoutKeyCounts {
public:
    // Throws records::CodecError, with the file's refusal as its reason, when the file lacks the layout or
    // refuses it.
    int keyNum(int layout);

private:
    struct Known {
        int keyNum = 0;
        QString refusal;
    };
    QHash<int, Known> m_known;
};

// The record of the current row of a KVB_41 recordset, from its Number, Key_Switch and Status with the
// keys per page of its PSK_Layout. Throws records::CodecError when the file lacks that layout or the
// record cannot carry the row's values.
QByteArray presetKeyRecordOfRow(const db::Recordset& row, LayoutKeyCounts& layouts);

} // namespace quorvane::presetkeys
