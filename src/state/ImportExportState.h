#pragma once

#include <QtGlobal>

namespace quorvane {

// The PLU import and export window's font sizes of imported names and descriptions: the 1-based position of
// the chosen font-size entry, 0 until one is chosen; kept from one opening of the window to the next.
struct ImportExportState {
    qint16 CommodityFontSize = 0;
    qint16 DescriptionFontSize = 0;
};

ImportExportState& gImportExport();

} // namespace quorvane
