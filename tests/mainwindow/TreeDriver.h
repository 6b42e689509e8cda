#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <QTest>
#include <QTreeWidget>

namespace quorvane::test {

// The main window's store tree, driven as the operator does.
inline QTreeWidget* tree(QWidget* w) { return w->findChild<QTreeWidget*>(QStringLiteral("treeStoreAndData")); }

inline QTreeWidgetItem* nodeOf(QWidget* w, const QString& key)
{
    for (QTreeWidgetItemIterator it(tree(w)); *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toString() == key)
            return *it;
    return nullptr;
}

// The operator's press on a node: a click, or the right button's press. False when no node has the key.
inline bool press(QWidget* w, const QString& key, Qt::MouseButton mouse = Qt::LeftButton)
{
    QTreeWidgetItem* node = nodeOf(w, key);
    if (!node)
        return false;
    tree(w)->scrollToItem(node);
    const QPoint at = tree(w)->visualItemRect(node).center();
    if (mouse == Qt::RightButton)
        QTest::mousePress(tree(w)->viewport(), mouse, {}, at);
    else
        QTest::mouseClick(tree(w)->viewport(), mouse, {}, at);
    return true;
}

// The operator's click on the arrow that expands or collapses a node. False when no node has the key.
inline bool clickArrow(QWidget* w, const QString& key)
{
    QTreeWidgetItem* node = nodeOf(w, key);
    if (!node)
        return false;
    tree(w)->scrollToItem(node);
    const QRect item = tree(w)->visualItemRect(node);
    QTest::mouseClick(tree(w)->viewport(), Qt::LeftButton, {},
                      QPoint(item.left() - tree(w)->indentation() / 2, item.center().y()));
    return true;
}

// "key|text" of every node, in the tree's order.
inline QStringList treeNodes(QWidget* w)
{
    QStringList nodes;
    for (QTreeWidgetItemIterator it(tree(w)); *it; ++it)
        nodes << (*it)->data(0, Qt::UserRole).toString() + QLatin1Char('|') + (*it)->text(0);
    return nodes;
}

} // namespace quorvane::test
