#include "plu/ReceivedRecordView.h"

#include "plu/PluFields.h"
#include "plu/PluRowBinding.h"
#include "settings/TextCollections.h"

#include <QDate>

namespace quorvane {

namespace f = records::plu;

namespace {

// The entries of a view's list, by its control; none for a control that is no list.
QStringList entriesOf(const QList<QPair<QString, QStringList>>& lists, const QString& control)
{
    for (const auto& [name, entries] : lists)
        if (name == control)
            return entries;
    return {};
}

QString viewControl(const PluField& r) { return QLatin1String(r.extra.viewControl ? r.extra.viewControl : r.control); }

// The editor's set-up with the view's bar-format list; `tab` gets the editor's empty values and date format.
PluEditorCaptions setUpView(PluEditorValues& tab)
{
    PluEditorCaptions setUp = ApplyPLUEditorCaptions(tab, QDate::currentDate());
    setUp.limits.clear(); // a received value is shown whole
    setUp.disabled.clear();
    for (const PluField& r : pluFields())
        setUp.disabled << viewControl(r);
    for (auto& [name, entries] : setUp.lists) {
        const PluField* row = pluField(name);
        if (!row || row->extra.view != ViewForm::BarFormats)
            continue;
        entries.clear();
        for (int p = 1; p <= gParEANDisp.count(); ++p)
            entries << gParEANDisp.at(p);
        for (ControlText& caption : setUp.captions)
            if (caption.objectName == QLatin1String("lblReference"))
                caption.text = entries.isEmpty() ? QString() : entries.last().mid(2);
    }
    return setUp;
}

QVariant viewShown(const PluField& r, const records::PluRow& row, const fields::Format& format, qsizetype entries)
{
    using fields::Kind;
    QVariant shown;
    switch (r.extra.view) {
    case ViewForm::Editor:
        shown = pluShownValue(r, row, format);
        break;
    case ViewForm::FirstLine50:
        shown = pluShownValue(r, row, format).toString().left(50);
        break;
    case ViewForm::BarFormats: {
        const qint64 barFormat = row.number(r.field);
        shown = barFormat == 255 ? int(entries - 1) : int(barFormat);
        break;
    }
    case ViewForm::LimitByUnit:
        shown = row.number(f::Stat1_Unit) == 0
            ? fields::shownValue(Kind::Amount, fields::WeightDecimals, row.value(r.field), format)
            : fields::shownValue(Kind::Whole, 0, row.value(r.field), format);
        break;
    case ViewForm::AmountByDiscType: {
        const qint64 type = row.number(f::PLU_Disc_Type);
        shown = fields::shownValue(Kind::Amount, type == 3 || type == 5 ? 2 : int(fields::PriceDecimals),
                                   row.value(r.field), format);
        break;
    }
    }
    // A position the list lacks leaves it without a choice.
    if (r.kind == Kind::ListPosition && (shown.toInt() < 0 || shown.toInt() >= entries))
        shown = -1;
    return shown;
}

} // namespace

PluEditorCaptions receivedViewSetUp()
{
    PluEditorValues tab;
    return setUpView(tab);
}

QVariant ReceivedRecordView::value(const QString& objectName) const
{
    for (const auto& [name, v] : values)
        if (name == objectName)
            return v;
    return QVariant();
}

ReceivedRecordView receivedRecordView(const records::PluRow& row)
{
    ReceivedRecordView view;
    PluEditorValues tab;
    const QList<QPair<QString, QStringList>> lists = setUpView(tab).lists; // the unit list: one entry either way
    view.dateFormat = tab.dateFormat;
    view.units = SetUnitLabels(int(row.number(f::Stat1_Unit)));
    const fields::Format format = fields::currentFormat();
    for (const PluField& r : pluFields()) {
        const QString control = viewControl(r);
        const QStringList entries = entriesOf(lists, control);
        const QVariant shown = viewShown(r, row, format, entries.size());
        view.values.append({control, shown});
        if (r.extra.view == ViewForm::BarFormats)
            view.lblReference = entries.value(shown.toInt()).mid(2);
    }
    return view;
}

} // namespace quorvane
