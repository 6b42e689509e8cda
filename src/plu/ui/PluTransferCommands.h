#pragma once

class QWidget;

namespace quorvane::plu {

// The PLU transfer buttons and menu entries of the window hosting the PLU list and editor: one routine per
// transfer kind serves button and menu entry. Each asks through the window's PluEditorHost and makes its request
// through requestTransfer; a database failure is shown through ui::tryStep.
void cmdDownload_Click(QWidget* window); // the PLU shown
void cmdSendAll_Click(QWidget* window);  // the marked PLUs; menuDownload
void cmdDel_Click(QWidget* window);      // the PLU file deleted on the scale; menuDeletePlu
void cmdUpload_Click(QWidget* window);   // PLUs fetched for review; menuUpload

} // namespace quorvane::plu
