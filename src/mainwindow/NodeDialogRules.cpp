#include "mainwindow/NodeDialogRules.h"

#include "mainwindow/NodeRecords.h"
#include "records/EanData.h"

namespace quorvane {

namespace {

constexpr qint16 kFlagF = 16;

bool isGroupLevel(NodeKind kind) { return kind == NodeKind::Department || kind == NodeKind::MainGroup; }

Refusal refuse(Refusal::Fault fault, const QStringList& focus) { return {fault, focus}; }

} // namespace

QString flagText(qint16 code) { return code >= 0 && code <= 9 ? QString::number(code) : QStringLiteral("F"); }

qint16 flagCode(const QString& text) { return text == QLatin1String("F") ? kFlagF : qint16(text.toInt()); }

int barFormatListPosition(NodeKind kind, qint16 barFormat)
{
    if (kind == NodeKind::Store)
        return barFormat;
    return barFormat == 255 ? 0 : barFormat + 1;
}

qint16 barFormatAtListPosition(NodeKind kind, int position)
{
    if (kind == NodeKind::Store)
        return qint16(position);
    return position == 0 ? 255 : qint16(position - 1);
}

FlagBoxes flagBoxesAt(NodeKind kind, int position)
{
    FlagBoxes boxes;
    const int highest = kind == NodeKind::Store ? 19 : 20; // the list's last position: bar format 19
    if (position < 0 || position > highest)
        return boxes;
    const qint16 format = barFormatAtListPosition(kind, position);
    if (format == 255) {
        if (isGroupLevel(kind))
            boxes.codes = FlagBoxes::Inherited;
        return boxes;
    }
    if (format == 0) {
        boxes.codes = FlagBoxes::NoCodes;
        return boxes;
    }
    boxes.defined = true;
    if (const auto definition = records::fixedBarFormatDefinition(format)) {
        boxes.flag1Editable = definition->flag1Used;
        boxes.flag2Editable = definition->flag2Used;
    }
    return boxes;
}

QString cutAtControlCharacter(const QString& name)
{
    for (qsizetype i = 0; i < name.size(); ++i)
        if (name[i].unicode() < 32)
            return name.left(i);
    return name;
}

QString withoutControlCharacters(const QString& text)
{
    QString out = text;
    out.removeIf([](QChar c) { return c.unicode() < 32 || c.unicode() == 127; });
    return out;
}

bool codeLocked(NodeKind kind, int mode, int code)
{
    switch (kind) {
    case NodeKind::Store:
    case NodeKind::Section:
        return true;
    case NodeKind::Department:
        return mode == 1 && code == 97;
    case NodeKind::MainGroup:
        return mode == 1 && code == 997;
    default:
        return false;
    }
}

Refusal checkProperties(const PropertiesInput& in, const NodeNumbers& current)
{
    const QString code = QStringLiteral("txtCode");
    if (isGroupLevel(in.kind) && in.code.isEmpty())
        return refuse(Refusal::EmptyIsIllegal, {code});
    const qint16 number = qint16(in.code.toInt());
    NodeNumbers asTyped = current;
    qint16 own = 0;
    switch (in.kind) {
    case NodeKind::Store:
        asTyped.storeNo = number;
        own = current.storeNo;
        break;
    case NodeKind::Section:
        asTyped.sectNo = number;
        own = current.sectNo;
        break;
    case NodeKind::Department:
        if (in.code.toInt() >= 98)
            return refuse(Refusal::CodeIllegal, {code});
        asTyped.deptOrSearchNo = number;
        own = current.deptOrSearchNo;
        break;
    case NodeKind::MainGroup:
        if (in.code.toInt() >= 998)
            return refuse(Refusal::CodeIllegal, {code});
        asTyped.mgNo = number;
        own = current.mgNo;
        break;
    default:
        return {};
    }
    if ((in.mode != 1 || number != own) && NodeNumberExists(nodeTableName(in.kind), asTyped))
        return refuse(Refusal::CodeIllegal, {code});

    QStringList empty;
    const auto check = [&empty](const QString& text, const char* box) {
        if (text.isEmpty())
            empty << QLatin1String(box);
    };
    check(in.name, "txtName");
    if (in.kind != NodeKind::Section) {
        check(in.flag1, "txtFlag1");
        check(in.flag2, "txtFlag2");
    }
    if (in.kind == NodeKind::MainGroup)
        check(in.taxNo, "txtTaxNo");
    return empty.isEmpty() ? Refusal() : refuse(Refusal::EmptyIsIllegal, empty);
}

QString padAddressGroup(const QString& group)
{
    return group.size() == 1 || group.size() == 2 ? group.rightJustified(3, QLatin1Char(' ')) : group;
}

QString scaleAddress(const QStringList& groups) { return groups.join(QLatin1Char('.')); }

Refusal checkScale(const ScaleInput& in, const NodeNumbers& current)
{
    // An empty group would give a key that does not end in a whole address.
    for (int i = 0; i < int(in.groups.size()); ++i)
        if (in.groups[i].isEmpty())
            return refuse(Refusal::ChangeIP, {QStringLiteral("txtScaleIP(%1)").arg(i)});
    const QString address = scaleAddress(in.groups);
    NodeNumbers asTyped = current;
    asTyped.scaleIP = address;
    const bool keepsOwn = in.mode != 0 && address == current.scaleIP;
    if (in.groups.size() != 4 || address == kNoScaleIP
        || (!keepsOwn && NodeNumberExists(QStringLiteral("SCALE"), asTyped)))
        return refuse(Refusal::ChangeIP, {QStringLiteral("txtScaleIP(0)")});
    if (in.scaleNo.isEmpty())
        return refuse(Refusal::EmptyIsIllegal, {QStringLiteral("txtScaleNo")});
    if (in.ftpName.isEmpty())
        return refuse(Refusal::EmptyIsIllegal, {QStringLiteral("txtFTPName")});
    if (in.ftpPassword.isEmpty())
        return refuse(Refusal::EmptyIsIllegal, {QStringLiteral("txtFTPPW")});
    return {};
}

std::optional<qint32> rangeValue(const QString& text, qint32 highest)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!ok || value < 1 || value > highest)
        return std::nullopt;
    return qint32(value);
}

} // namespace quorvane
