#pragma once

#include "platform/ui/Handler.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <concepts>
#include <functional>
#include <memory>
#include <typeinfo>

namespace quorvane::ui {

// A window is declared as data: one row per control, created by one call, captioned by another.
//
//   // frmFTPDataTrans.h: public: static const ui::ControlTable kControls;  private: QPushButton* cmdClose; ...
//   // frmFTPDataTrans.cpp:
//   using namespace ui;
//   using W = frmFTPDataTrans;
//   const ControlTable frmFTPDataTrans::kControls{
//       .section = "frm_FTPDataTrans",
//       .title = "frmTitle",
//       .size = {5175, 6735},
//       .controls = {
//           flexGrid("MSFGFTP", {240, 120, 4695, 5895}).tab(1).on(&W::MSFGFTP_Click).to(&W::MSFGFTP),
//           commandButton("cmdClose", {3240, 6120, 1455, 495}).tab(3).caption().on(&W::cmdClose_Click).to(&W::cmdClose),
//       },
//   };
//   frmFTPDataTrans::frmFTPDataTrans() { createControls(this, kControls); Form_Load(); }
//   void frmFTPDataTrans::Form_Load() { setCaptions(this, kControls, gLangFTP); ... }
//
// Rectangles are twips (15 to the pixel), relative to the parent's inside: the window's client area, a frame,
// or a tab page. A control array is written as its elements, "meditMemDisc(1)" to "meditMemDisc(4)": each
// element is a widget of that objectName, and a ControlArray member holds them by the same indexes. Every
// table is listed in tests/settings/tst_LanguageFiles.cpp, which checks its caption keys in all three languages.

// The classic controls and the widget each becomes.
enum class Kind {
    TextBox,       // QLineEdit
    MaskedEdit,    // QLineEdit; its limits and filters come from limitEdit()
    MultiLineText, // QPlainTextEdit
    ComboBox,      // QComboBox (ui::ComboBox), a drop-down list unless .editable()
    ListBox,       // QListWidget (ui::ListBox)
    CheckBox,      // QCheckBox (ui::CheckBox); one taller than a line (450 twips) wraps its caption
    OptionButton,  // QRadioButton (ui::OptionButton): one of the options on the same parent
    CommandButton, // QPushButton
    Label,         // QLabel
    Frame,         // QGroupBox, its caption as title
    PlainFrame,    // QFrame without a border
    FlexGrid,      // QTableWidget (ui::FlexGridWidget; see FlexGrid.h), Tab leaving it
    TabStrip,      // QTabWidget
    TabPage,       // a page of the tab strip it is .in(); its caption is the tab's text
    TreeView,      // QTreeWidget (ui::TreeView), one node selected: the current one
    DatePicker,    // QDateEdit (ui::DatePicker) with a drop-down calendar, typed by sections (typeBySection)
    TimePicker,    // QTimeEdit, typed by sections
    PictureBox,    // ui::PictureBox
    ProgressBar,   // QProgressBar
};

template<class T> class ControlArray;
class Control;

// A panel: a part of a window that a lower folder owns (the PLU list and editor on the main window), its controls
// listed once, as rows of their own that a window takes whole or in part. At creation its widgets are bound, as
// .to() binds a window's members, into a struct of typed pointers derived from Panel, which the window holds (one
// of each panel type); the lower folder's free functions reach it from the window.
//
//   // plu/ui/PluPanel.h
//   struct PluPanel : ui::Panel { QLineEdit* meditPLU = nullptr; ui::ControlArray<QLineEdit> meditMemDisc; };
//   QList<ui::Control> pluPanelRows();            // panelRows<PluPanel>({... .to(&PluPanel::meditPLU), ...})
//   const PluPanel& pluPanel(const QObject* w);  // panel<PluPanel>(w)
//   // A window takes the rows whole ...
//   .controls = windowControls() + pluPanelRows(),
//   // ... or those it names, its own rows beside them.
//   .controls = viewControls() + takeRows(pluPanelRows(), {"lblPLU", "meditPLU"}),
//
// A name a window takes that the panel has no row of is a programming error: the window's creation stops there,
// naming it, and a test opens every window.
class Panel {
public:
    Panel() = default;
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;
    virtual ~Panel() = default;

    // The widget of a row the window took, by objectName ("meditMemDisc(1)"), for rules that name their controls
    // (a field table); a row the window did not take stops, naming it.
    QWidget* control(const QString& objectName) const;
    template<class T> T* control(const QString& objectName) const
    {
        T* t = qobject_cast<T*>(control(objectName));
        if (!t)
            qFatal("Panel control %s is no %s", qPrintable(objectName), T::staticMetaObject.className());
        return t;
    }

private:
    friend class Control;
    QHash<QString, QWidget*> m_controls;
};

namespace detail {
Panel* findPanel(const QObject* window, const std::type_info& type);
Panel& addPanel(QObject* window, const std::type_info& type, std::unique_ptr<Panel> (*make)());
[[noreturn]] void noPanel(const QObject* window, const std::type_info& type);
template<class P> std::unique_ptr<Panel> makePanel() { return std::make_unique<P>(); }
// The window's panel P, made when its first row is bound.
template<class P> Panel& panelOf(QObject* window)
{
    if (Panel* p = findPanel(window, typeid(P)))
        return *p;
    return addPanel(window, typeid(P), &makePanel<P>);
}
} // namespace detail

// The window's panel P; a window that took none of its rows stops, naming the panel.
template<class P> P& panel(const QObject* window)
{
    Panel* p = detail::findPanel(window, typeid(P));
    if (!p)
        detail::noPanel(window, typeid(P));
    return static_cast<P&>(*p);
}

// Rows of the panel P: each is created into P, whether or not it binds a member of P with .to().
template<class P> QList<Control> panelRows(QList<Control> rows);
// The rows named (a control array by its name or by its elements), in the panel's order; a name that no row has
// stops the creation of the window whose table holds them.
QList<Control> takeRows(const QList<Control>& rows, const QStringList& names);
// Taken rows placed on a frame or tab page of the taking window: each row whose parent is not among `rows` sits on
// `parent` instead, moved by `shift` twips; the others keep theirs, so a frame taken with its controls moves whole.
//   .controls = ownFrames() + placedOn(takeRows(pluPanelRows(), {"lblPLU", "meditPLU"}), "Frame6", {-60, 135}),
QList<Control> placedOn(QList<Control> rows, const char* parent, QPoint shift = {});
// The rows without their handlers: a window that shows what a panel edits, and edits nothing.
QList<Control> shownOnly(QList<Control> rows);
// The rows without caption keys: another table, of the section their keys belong to, captions them.
QList<Control> uncaptioned(QList<Control> rows);

// One row of a control table. Build it with the kind functions below and chain what applies.
class Control {
public:
    Control(Kind kind, const char* objectName, QRect twips);

    // Place in the window's tab order, counted from 1; a control without one keeps Qt's order.
    Control& tab(int position);
    // The caption is the text of the control's own name in the window's language section ...
    Control& caption();
    // ... or of this key.
    Control& caption(const char* key);
    // Sits on this frame or tab page (an objectName of an earlier row) instead of the window.
    Control& in(const char* parentObjectName);
    // The control's handler: Click of buttons, check boxes, options, lists, grids and trees; Change of text
    // boxes and date/time pickers; Click of a tab strip. See ValueSetters.h for when it runs.
    Control& on(Handler handler);
    // Runs when the control loses the focus to another control of its window, and from commitFocusedField().
    Control& onLeave(Handler handler);
    // Runs when the control gets the focus from another control of its window.
    Control& onEnter(Handler handler);
    // A combo box that accepts typed text.
    Control& editable();

    // The window's member that gets the widget: `.to(&frmX::cmdOK)` for `QPushButton* cmdOK`, or, for an
    // array element, `.to(&frmX::meditMemDisc)` for `ControlArray<QLineEdit> meditMemDisc`. Or the member of a
    // panel that the window holds: `.to(&PluPanel::meditPLU)`.
    template<class W, class T> Control& to(T* W::*member)
    {
        if constexpr (std::derived_from<W, Panel>) {
            m_panel = &detail::panelOf<W>;
            m_bind = [member](QObject* window, QWidget* widget, int) {
                static_cast<W&>(detail::panelOf<W>(window)).*member = typed<T>(widget);
            };
            m_bound = [member](QObject* window, int) -> QWidget* {
                return static_cast<W&>(detail::panelOf<W>(window)).*member;
            };
        } else {
            m_bind = [member](QObject* window, QWidget* widget, int) {
                tableWindow<W>(window)->*member = typed<T>(widget);
            };
            m_bound = [member](QObject* window, int) -> QWidget* { return tableWindow<W>(window)->*member; };
        }
        return *this;
    }
    template<class W, class T> Control& to(ControlArray<T> W::*member)
    {
        const auto array = [member](QObject* window) -> ControlArray<T>& {
            if constexpr (std::derived_from<W, Panel>)
                return static_cast<W&>(detail::panelOf<W>(window)).*member;
            else
                return tableWindow<W>(window)->*member;
        };
        if constexpr (std::derived_from<W, Panel>)
            m_panel = &detail::panelOf<W>;
        m_bind = [array](QObject* window, QWidget* widget, int index) {
            array(window).insert(index, typed<T>(widget));
        };
        m_bound = [array](QObject* window, int index) -> QWidget* { return array(window)(index); };
        return *this;
    }

    Kind kind() const { return m_kind; }
    QString objectName() const { return m_objectName; } // "meditMemDisc(2)"
    QString name() const { return m_name; }             // "meditMemDisc"
    int index() const { return m_index; }               // 2; -1 for a single control
    QRect twips() const { return m_twips; }
    int tabPosition() const { return m_tab; }
    QString captionKey() const { return m_caption; } // empty: no caption from the language file
    QString parentName() const { return m_parent; }
    bool isEditable() const { return m_editable; }
    const Handler& handler() const { return m_handler; }
    const Handler& leaveHandler() const { return m_leave; }
    const Handler& enterHandler() const { return m_enter; }
    void bindTo(QObject* window, QWidget* widget) const
    {
        if (m_panel)
            m_panel(window).m_controls.insert(m_objectName, widget);
        if (m_bind)
            m_bind(window, widget, m_index);
    }
    // Whether the row has a .to(), and what it holds on this window now: its widget once created.
    bool bindsMember() const { return bool(m_bind); }
    QWidget* boundWidget(QObject* window) const { return m_bound ? m_bound(window, m_index) : nullptr; }
    // A name taken from a panel that has no row of it (takeRows).
    bool isMissing() const { return m_missing; }

private:
    template<class P> friend QList<Control> panelRows(QList<Control> rows);
    friend QList<Control> takeRows(const QList<Control>& rows, const QStringList& names);
    friend QList<Control> placedOn(QList<Control> rows, const char* parent, QPoint shift);
    friend QList<Control> shownOnly(QList<Control> rows);

    template<class T> static T* typed(QWidget* widget)
    {
        T* t = qobject_cast<T*>(widget);
        if (!t)
            qFatal("Control %s is bound to a member of another widget type", qPrintable(widget->objectName()));
        return t;
    }

    Kind m_kind;
    QString m_objectName;
    QString m_name;
    int m_index = -1;
    QRect m_twips;
    int m_tab = 0;
    QString m_caption;
    QString m_parent;
    bool m_editable = false;
    Handler m_handler;
    Handler m_leave;
    Handler m_enter;
    std::function<void(QObject*, QWidget*, int)> m_bind;
    std::function<QWidget*(QObject*, int)> m_bound;
    Panel& (*m_panel)(QObject* window) = nullptr;
    bool m_missing = false;
};

template<class P> QList<Control> panelRows(QList<Control> rows)
{
    static_assert(std::derived_from<P, Panel>);
    for (Control& row : rows)
        row.m_panel = &detail::panelOf<P>;
    return rows;
}

inline Control textBox(const char* name, QRect twips) { return {Kind::TextBox, name, twips}; }
inline Control maskedEdit(const char* name, QRect twips) { return {Kind::MaskedEdit, name, twips}; }
inline Control multiLineText(const char* name, QRect twips) { return {Kind::MultiLineText, name, twips}; }
inline Control comboBox(const char* name, QRect twips) { return {Kind::ComboBox, name, twips}; }
inline Control listBox(const char* name, QRect twips) { return {Kind::ListBox, name, twips}; }
inline Control checkBox(const char* name, QRect twips) { return {Kind::CheckBox, name, twips}; }
inline Control optionButton(const char* name, QRect twips) { return {Kind::OptionButton, name, twips}; }
inline Control commandButton(const char* name, QRect twips) { return {Kind::CommandButton, name, twips}; }
inline Control label(const char* name, QRect twips) { return {Kind::Label, name, twips}; }
inline Control frame(const char* name, QRect twips) { return {Kind::Frame, name, twips}; }
inline Control plainFrame(const char* name, QRect twips) { return {Kind::PlainFrame, name, twips}; }
inline Control flexGrid(const char* name, QRect twips) { return {Kind::FlexGrid, name, twips}; }
inline Control tabStrip(const char* name, QRect twips) { return {Kind::TabStrip, name, twips}; }
inline Control tabPage(const char* name) { return {Kind::TabPage, name, QRect()}; }
inline Control treeView(const char* name, QRect twips) { return {Kind::TreeView, name, twips}; }
inline Control datePicker(const char* name, QRect twips) { return {Kind::DatePicker, name, twips}; }
inline Control timePicker(const char* name, QRect twips) { return {Kind::TimePicker, name, twips}; }
inline Control pictureBox(const char* name, QRect twips) { return {Kind::PictureBox, name, twips}; }
inline Control progressBar(const char* name, QRect twips) { return {Kind::ProgressBar, name, twips}; }

struct ControlTable {
    const char* section = nullptr; // the language section its caption keys belong to ("frm_Properties")
    const char* title = nullptr;   // key of the window title in that section; none: the window sets its title
    QSize size;                    // the client area, twips
    bool sizable = false;          // else the window keeps its size
    QList<Control> controls;       // in creation order: a frame or tab strip before what sits on it (always
                                   // written, if empty: a table's fields are given in this order)
};

// Creates every control of the table on the window (a QMainWindow gets them on its central widget), sizes the
// window's client area, binds the members named by .to(), connects the handlers and sets the tab order. The
// window's menus, when it has any, are created before (MenuTable.h), so the client area is below them.
void createControls(QWidget* window, const ControlTable& table);

// Sets the window title and every caption the table names from a language collection: setCaptions(this,
// kControls, gLangFTP) (the template in Handler.h). Buttons, check boxes, options and labels take it as text,
// frames as title, tab pages as their tab's text.
void setCaptions(QWidget* window, const ControlTable& table, const TextOf& textOf);

// Where a table put a control and how large it made the window, in twips, as designed: what the proportional
// resizing works from. Invalid for a widget no table made.
QRect designRect(const QWidget* control);
QSize designSize(const QWidget* window);

// Gives the focus by Tab to these widgets in this order (a tab page's own order, set when it is shown).
void setTabOrder(const QList<QWidget*>& order);

// The elements of a control array, by the indexes the system gives them.
template<class T> class ControlArray {
public:
    T* operator()(int index) const { return m_elements.value(index); } // nullptr for an index it lacks
    T* operator[](int index) const { return m_elements.value(index); }
    QList<int> indexes() const { return m_elements.keys(); } // ascending
    QList<T*> elements() const { return m_elements.values(); }
    int count() const { return int(m_elements.size()); }
    bool contains(int index) const { return m_elements.contains(index); }
    void insert(int index, T* element) { m_elements.insert(index, element); }

private:
    QMap<int, T*> m_elements;
};

// The elements of the array `name` on the window, found by their objectNames "name(index)".
QMap<int, QWidget*> findControlArray(const QWidget* window, const QString& name);
template<class T> ControlArray<T> controlArray(const QWidget* window, const QString& name)
{
    ControlArray<T> array;
    const QMap<int, QWidget*> found = findControlArray(window, name);
    for (auto it = found.constBegin(); it != found.constEnd(); ++it)
        if (T* element = qobject_cast<T*>(it.value()))
            array.insert(it.key(), element);
    return array;
}

} // namespace quorvane::ui
