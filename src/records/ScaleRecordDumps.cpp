#include "records/ScaleRecordDumps.h"

namespace quorvane::records {

bool SaveBinDataToFiles(const QString&, const QString&, QStringList*, QString*) { return true; }

bool LoadBinDataFromFiles(const QString&, QStringList*, QString*) { return true; }

bool DecodeKVBRecords(const QString&, QString*) { return true; }

} // namespace quorvane::records
