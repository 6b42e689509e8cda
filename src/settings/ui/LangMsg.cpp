#include "settings/ui/LangMsg.h"

#include "settings/TextCollections.h"

namespace quorvane {

ui::MsgText langMsg(const QString& key, const QString& detail)
{
    const QString text = gLangMsg.text(key);
    return {key, detail.isEmpty() ? text : text + QLatin1Char('\n') + detail};
}

} // namespace quorvane
