#include "LayoutCheck.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTabBar>

namespace zelvarion::test {
namespace {

QString nameOf(const QWidget *widget)
{
    if (!widget->objectName().isEmpty())
        return widget->objectName();
    QString text;
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        text = button->text();
    else if (const auto *label = qobject_cast<const QLabel *>(widget))
        text = label->text();
    return QLatin1String(widget->metaObject()->className()) + QStringLiteral(" \"") + text.left(30) + u'"';
}

QString sizeText(const QSize &size)
{
    return QString::number(size.width()) + u'x' + QString::number(size.height());
}

bool holdsContent(const QLabel *label)
{
    return !label->text().isEmpty() || !label->pixmap().isNull();
}

bool isControl(const QWidget *widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return holdsContent(label);
    return qobject_cast<const QAbstractButton *>(widget) || qobject_cast<const QComboBox *>(widget)
           || qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QAbstractSpinBox *>(widget)
           || qobject_cast<const QAbstractScrollArea *>(widget) || qobject_cast<const QGroupBox *>(widget)
           || qobject_cast<const QProgressBar *>(widget) || qobject_cast<const QAbstractSlider *>(widget)
           || qobject_cast<const QTabBar *>(widget);
}

// The line edit of a combo box, the scroll bars and header of a list: they belong to the control
// they lie in. What a list shows in its viewport is content of its own.
bool isPartOfAnother(const QWidget *widget, const QWidget *window)
{
    for (const QWidget *child = widget; child != window && child->parentWidget(); child = child->parentWidget()) {
        const QWidget *parent = child->parentWidget();
        if (qobject_cast<const QComboBox *>(parent) || qobject_cast<const QAbstractSpinBox *>(parent))
            return true;
        if (const auto *area = qobject_cast<const QAbstractScrollArea *>(parent); area && child != area->viewport())
            return true;
    }
    return false;
}

bool inViewport(const QWidget *widget)
{
    const QWidget *parent = widget->parentWidget();
    const auto *area = parent ? qobject_cast<const QAbstractScrollArea *>(parent->parentWidget()) : nullptr;
    return area && area->viewport() == parent;
}

QRect rectIn(const QWidget *widget, const QWidget *ancestor)
{
    return QRect(widget->mapTo(ancestor, QPoint(0, 0)), widget->size());
}

void checkCaption(const QWidget *widget, QStringList &faults)
{
    QSize needed;
    if (const auto *label = qobject_cast<const QLabel *>(widget)) {
        if (label->hasScaledContents())
            return;
        needed = label->wordWrap()
                     ? QSize(label->minimumSizeHint().width(), label->heightForWidth(label->width()))
                     : label->sizeHint();
    } else if (qobject_cast<const QAbstractButton *>(widget)) {
        needed = widget->sizeHint();
    } else if (const auto *box = qobject_cast<const QGroupBox *>(widget); box && !box->title().isEmpty()) {
        needed = QSize(box->minimumSizeHint().width(), 0);
    } else {
        return;
    }
    if (widget->width() < needed.width() || widget->height() < needed.height())
        faults << nameOf(widget) + QStringLiteral(" is ") + sizeText(widget->size()) + QStringLiteral(", its text needs ")
                      + sizeText(needed);
}

// A list's column headers are captions too.
void checkHeader(const QHeaderView *header, QStringList &faults)
{
    for (int section = 0; section < header->count(); ++section) {
        if (header->isSectionHidden(section))
            continue;
        const int needed = header->sectionSizeHint(section);
        if (header->orientation() == Qt::Horizontal && header->sectionSize(section) < needed)
            faults << nameOf(header->parentWidget()) + QStringLiteral(" column ") + QString::number(section)
                          + QStringLiteral(" is ") + QString::number(header->sectionSize(section))
                          + QStringLiteral(" wide, its header needs ") + QString::number(needed);
    }
}

// Cut by the control it lies in, or by that one's mask; content scrolled in a list is not cut.
void checkInsideParents(const QWidget *widget, const QWidget *window, QStringList &faults)
{
    for (const QWidget *child = widget; child != window && child->parentWidget(); child = child->parentWidget()) {
        if (inViewport(child))
            return;
        const QWidget *parent = child->parentWidget();
        const QRect rect = rectIn(widget, parent);
        const bool cut = !parent->mask().isEmpty() ? !(QRegion(rect) - parent->mask()).isEmpty()
                                                    : !parent->rect().contains(rect);
        if (cut) {
            faults << nameOf(widget) + QStringLiteral(" is cut by ") + nameOf(parent);
            return;
        }
    }
}

QRect titleRect(const QGroupBox *box)
{
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.lineWidth = 1;
    option.textAlignment = box->alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    if (box->isCheckable())
        option.subControls |= QStyle::SC_GroupBoxCheckBox;
    QRect title = box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    if (box->isCheckable())
        title |= box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxCheckBox, box);
    return title;
}

void checkTitles(const QList<const QWidget *> &controls, QStringList &faults)
{
    for (const QWidget *control : controls) {
        const auto *box = qobject_cast<const QGroupBox *>(control);
        if (!box || box->title().isEmpty())
            continue;
        const QRect title = titleRect(box);
        for (const QWidget *inner : controls)
            if (inner != box && box->isAncestorOf(inner) && rectIn(inner, box).intersects(title))
                faults << nameOf(inner) + QStringLiteral(" lies on the title of ") + nameOf(box);
    }
}

void checkOverlaps(const QList<const QWidget *> &controls, const QWidget *window, QStringList &faults)
{
    for (qsizetype i = 0; i < controls.size(); ++i) {
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            const QWidget *a = controls[i];
            const QWidget *b = controls[j];
            if (a->isAncestorOf(b) || b->isAncestorOf(a))
                continue;
            if (rectIn(a, window).intersects(rectIn(b, window)))
                faults << nameOf(a) + QStringLiteral(" overlaps ") + nameOf(b);
        }
    }
}

void checkMaximise(const QWidget *window, QStringList &faults)
{
    const Qt::WindowFlags flags = window->windowFlags();
    const bool fixed = window->minimumWidth() == window->maximumWidth()
                       || window->minimumHeight() == window->maximumHeight();
    // Without explicit hints a plain window gets the system's buttons, maximise included.
    const bool offersMaximise = (flags & Qt::WindowMaximizeButtonHint)
                                || ((flags & Qt::WindowType_Mask) == Qt::Window && !(flags & Qt::CustomizeWindowHint));
    if (fixed && offersMaximise)
        faults << nameOf(window) + QStringLiteral(" cannot grow but offers to be maximised");
}

} // namespace

QStringList layoutFaults(const QWidget *window)
{
    QStringList faults;
    QList<const QWidget *> controls;
    for (const QWidget *widget : window->findChildren<QWidget *>()) {
        if (widget->window() != window || !widget->isVisibleTo(window))
            continue;
        checkCaption(widget, faults);
        if (const auto *header = qobject_cast<const QHeaderView *>(widget))
            checkHeader(header, faults);
        if (isControl(widget) && !isPartOfAnother(widget, window)) {
            checkInsideParents(widget, window, faults);
            controls << widget;
        }
    }
    checkTitles(controls, faults);
    checkOverlaps(controls, window, faults);
    checkMaximise(window, faults);
    return faults;
}

} // namespace zelvarion::test
