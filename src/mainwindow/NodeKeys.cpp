#include "mainwindow/NodeKeys.h"

#include "settings/Settings.h"
#include "state/SettingsState.h"
#include "state/StoreTreeState.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace quorvane {

namespace {

struct KindWord {
    NodeKind kind;
    const char* word;
};

constexpr KindWord kKindWords[] = {
    {NodeKind::Store, "STORE"},     {NodeKind::Section, "SECT"}, {NodeKind::Scale, "MACHINE"},
    {NodeKind::Department, "DEPT"}, {NodeKind::MainGroup, "MG"}, {NodeKind::Search, "SEARCH"},
};

} // namespace

bool isSeveralStoreMode() { return gSettings().gSysStore == 1; }

qint16 keyNumber(const QString& key, int start, int* next)
{
    int i = qMax(start, 1) - 1;
    qint16 value = 0;
    bool digits = true;
    for (; i < key.size() && key[i] != QLatin1Char(' '); ++i) {
        const int d = key[i].unicode() - '0';
        digits = digits && d >= 0 && d <= 9;
        if (digits)
            value = qint16(value * 10 + d); // 16-bit, as the keys' numbers are
    }
    if (next)
        *next = i + 2; // 1-based position after the blank
    return value;
}

NodeKey parseNodeKey(const QString& key)
{
    NodeKey out;
    if (key == kRootNodeKey) {
        out.kind = NodeKind::Root;
        return out;
    }
    const QString word = key.section(QLatin1Char(' '), 0, 0);
    for (const KindWord& k : kKindWords)
        if (word == QLatin1String(k.word))
            out.kind = k.kind;
    if (out.kind == NodeKind::None)
        return out;
    // The store, then the section (and a scale's address) or the department or search (and a main group).
    NodeNumbers& n = out.numbers;
    int at = int(word.size()) + 2;
    n.storeNo = keyNumber(key, at, &at);
    switch (out.kind) {
    case NodeKind::Section:
    case NodeKind::Scale:
        n.sectNo = keyNumber(key, at, &at);
        if (out.kind == NodeKind::Scale)
            n.scaleIP = key.mid(at - 1); // the rest of the key, its blanks included
        break;
    case NodeKind::Department:
    case NodeKind::Search:
    case NodeKind::MainGroup:
        n.deptOrSearchNo = keyNumber(key, at, &at);
        if (out.kind == NodeKind::MainGroup)
            n.mgNo = keyNumber(key, at);
        break;
    default:
        break;
    }
    return out;
}

QString nodeKey(NodeKind kind, const NodeNumbers& n)
{
    if (kind == NodeKind::Root)
        return kRootNodeKey;
    const auto found = std::find_if(std::begin(kKindWords), std::end(kKindWords),
                                    [kind](const KindWord& k) { return k.kind == kind; });
    if (found == std::end(kKindWords))
        return QString();
    // The word and the numbers, then a scale's address, in one string of the key's own size: the tree keeps two
    // keys for each of its nodes.
    char head[40]; // the longest word and three numbers of six characters, each after a blank
    char* end = std::copy_n(found->word, std::strlen(found->word), head);
    auto add = [&end](qint16 number) {
        *end++ = ' ';
        end = std::to_chars(end, end + 6, number).ptr;
    };
    add(n.storeNo);
    switch (kind) {
    case NodeKind::Section:
    case NodeKind::Scale:
        add(n.sectNo);
        break;
    case NodeKind::Department:
    case NodeKind::Search:
        add(n.deptOrSearchNo);
        break;
    case NodeKind::MainGroup:
        add(n.deptOrSearchNo);
        add(n.mgNo);
        break;
    default:
        break;
    }
    const bool scale = kind == NodeKind::Scale;
    QString key((end - head) + (scale ? 1 + n.scaleIP.size() : 0), Qt::Uninitialized);
    QChar* out = std::transform(head, end, key.data(), [](char c) { return QLatin1Char(c); });
    if (scale) {
        *out++ = QLatin1Char(' ');
        std::copy(n.scaleIP.cbegin(), n.scaleIP.cend(), out);
    }
    return key;
}

QString nodeKey(const NodeKey& key) { return nodeKey(key.kind, key.numbers); }

NodeNumbers currentSelection()
{
    const StoreTreeState& t = gStoreTree();
    return {t.gCurStoreNo, t.gCurSectNo, t.gCurScaleIP, t.gCurDeptNo, t.gCurMGNo};
}

void setCurrentSelection(const NodeNumbers& n)
{
    StoreTreeState& t = gStoreTree();
    t.gCurStoreNo = n.storeNo;
    t.gCurSectNo = n.sectNo;
    t.gCurScaleIP = n.scaleIP;
    t.gCurDeptNo = n.deptOrSearchNo;
    t.gCurMGNo = n.mgNo;
}

void clearCurrentSelection() { setCurrentSelection(NodeNumbers()); }

} // namespace quorvane
