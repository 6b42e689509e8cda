#pragma once

#include <QStringList>

namespace quorvane::reports {

// The ticks of frmResetReportData.
struct ResetChoice {
    bool salesAll = false;
    bool salesDaily = false;
    bool salesPeriod = false;
    bool inventory = false;
    bool stockRecord = false;
    bool journal = false;
};
// The files to delete on the scale, in the boxes' tab order; the journal stands for two files.
QStringList resetFileList(const ResetChoice& choice);

} // namespace quorvane::reports
