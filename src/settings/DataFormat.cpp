#include "settings/DataFormat.h"

#include "platform/text/Ansi.h"
#include "settings/Settings.h"
#include "settings/TextCollections.h"
#include "state/ProgramFolder.h"
#include "state/SettingsState.h"

namespace quorvane {

namespace {

const QString OwnRootText = QStringLiteral("Velcor Weighing");

int positionIn(qint16 held, const QStringList& list) { return held >= 0 && held < list.size() ? held : -1; }

// A chosen position, or the held value where the list has no selection.
qint16 chosenOr(int position, qint16 held) { return position >= 0 ? qint16(position) : held; }

QStringList countryTexts(const LangCollection& countries)
{
    QStringList texts;
    for (int i = 0; i < countries.count(); ++i)
        texts << countries.text(QStringLiteral("SYS_C") + QString::number(i));
    return texts;
}

} // namespace

DataFormatForm dataFormatForm(const SettingsRecord& held)
{
    DataFormatForm form;
    form.pricePoints = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")};
    form.pointTypes = {QStringLiteral("."), QStringLiteral(",")};

    const QString mm = gLangOther.text(QStringLiteral("setMM"));
    const QString dd = gLangOther.text(QStringLiteral("setDD"));
    const QString yy = gLangOther.text(QStringLiteral("setYY"));
    const auto order = [](int n, const QString& a, const QString& b, const QString& c, QLatin1Char sep) {
        return QString::number(n) + QStringLiteral(". ") + a + sep + b + sep + c;
    };
    form.dateTypes = {order(1, mm, dd, yy, QLatin1Char('-')), order(2, dd, mm, yy, QLatin1Char('-')),
                      order(3, yy, mm, dd, QLatin1Char('-')), order(4, mm, dd, yy, QLatin1Char('.')),
                      order(5, dd, mm, yy, QLatin1Char('.')), order(6, yy, mm, dd, QLatin1Char('.'))};

    form.priceUnits = {gLangOther.text(QStringLiteral("setRMB")), gLangOther.text(QStringLiteral("setDolar"))};
    // An unset currency text (a code outside 0 to 2) would only add an empty item.
    if (!held.gCurrencySymbol.isEmpty() && held.gCurrencySymbol != QLatin1String("$")
        && held.gCurrencySymbol != QLatin1String("RMB"))
        form.priceUnits << held.gCurrencySymbol;
    form.countries = countryTexts(gParCountry);
    form.stores = {gLangOther.text(QStringLiteral("setSingleStore"))};

    DataFormatChoices& c = form.chosen;
    c.pricePoint = positionIn(held.gPricePoint, form.pricePoints);
    c.weightPoint = positionIn(held.gWeightPoint, form.pricePoints);
    c.pointType = positionIn(held.gPointType, form.pointTypes);
    c.dateType = positionIn(held.gDateType, form.dateTypes);
    c.priceUnit = positionIn(held.gPriceUnit, form.priceUnits);
    c.priceUnitText = c.priceUnit >= 0 ? form.priceUnits[c.priceUnit] : QString();
    c.country = positionIn(held.gSysCountry, form.countries);
    c.store = positionIn(held.gSysStore, form.stores);
    return form;
}

SettingsRecord applyDataFormat(const SettingsRecord& held, const DataFormatChoices& choices)
{
    SettingsRecord next = held;
    next.gPricePoint = chosenOr(choices.pricePoint, held.gPricePoint);
    next.gPointType = chosenOr(choices.pointType, held.gPointType);
    next.gWeightPoint = chosenOr(choices.weightPoint, held.gWeightPoint);
    next.gDateType = chosenOr(choices.dateType, held.gDateType);
    next.gSysCountry = chosenOr(choices.country, held.gSysCountry);
    next.gSysStore = chosenOr(choices.store, held.gSysStore);
    // An unselected store mode is written back with the root text it has.
    next.gTreeRootName = choices.store >= 0 ? OwnRootText : held.gTreeRootName;

    const QString& unit = choices.priceUnitText;
    if (unit == QLatin1String("RMB")) {
        next.gPriceUnit = 0;
    } else if (unit == QLatin1String("$")) {
        next.gPriceUnit = 1;
    } else if (!unit.isEmpty()) {
        next.gPriceUnit = 2;
        next.gCurrencySymbol = unit;
    }
    return next;
}

void saveDataFormat(const DataFormatChoices& choices)
{
    const SettingsRecord next = applyDataFormat(gSettings(), choices);
    writeSettingsFile(programPath(QLatin1String(paths::SettingsFile)), next);
    gSettings() = next;
}

bool priceUnitAccepts(QByteArrayView ansiBytes) { return ansiBytes.size() == 1 && quint8(ansiBytes[0]) >= 32; }

bool priceUnitAccepts(const QString& character)
{
    bool ok = false;
    const QByteArray bytes = text::toAnsi(character, &ok);
    return ok && priceUnitAccepts(QByteArrayView(bytes));
}

} // namespace quorvane
