#include "plu/ui/PluTransferCommands.h"

#include "platform/ui/MessageBox.h"
#include "plu/PluTransfers.h"
#include "plu/ui/PluWindowHost.h"
#include "plu/ui/frmUpload.h"
#include "settings/TextCollections.h"
#include "settings/ui/LangMsg.h"
#include "transfer/ui/RequestTransfer.h"
#include "transfer/ui/frmDownLoad.h"

#include <QWidget>

namespace quorvane::plu {

namespace {

PluTransferSeams seamsFor(QWidget* window)
{
    PluTransferSeams seams;
    seams.transfer = [window](const TransferRequest& request, bool sendOptions) {
        if (!sendOptions)
            return requestTransfer(window, request);
        return requestTransfer(window, request,
                               [window, mode = request.mode] { return frmDownLoad::askSendOptions(window, mode); });
    };
    seams.review = [window] { frmUpload::review(window); };
    seams.warn = [window](const QString& key, const QString& text) {
        ui::msgBox(ui::MsgText{key, text}, ui::MsgIcon::Exclamation, ui::MsgButtons::Ok, window);
    };
    return seams;
}

void run(QWidget* window, bool (*command)(PluEditorHost&, const PluTransferSeams&))
{
    WindowHost host(window);
    const PluTransferSeams seams = seamsFor(window);
    ui::tryStep([&] { command(host, seams); }, langMsg(QStringLiteral("dbWriteErr")), window);
}

} // namespace

void cmdDownload_Click(QWidget* window) { run(window, &SendCurrentPLU); }
void cmdSendAll_Click(QWidget* window) { run(window, &SendMarkedPLUs); }
void cmdDel_Click(QWidget* window) { run(window, &DeletePLUsOnScale); }
void cmdUpload_Click(QWidget* window) { run(window, &FetchPLUs); }

} // namespace quorvane::plu
