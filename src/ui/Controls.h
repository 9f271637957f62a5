#pragma once

#include <QApplication>
#include <QBoxLayout>
#include <QColor>
#include <QEvent>
#include <algorithm>
#include <QPainterPath>
#include <QRegion>
#include <QString>
#include <QWidget>

// Small helpers shared by the windows for naming and shaping their controls.
namespace zelvarion::controls {

// Gives a new control the name the rest of the program finds it by.
template <typename T>
T *named(T *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

// The name of element `index` of a control array: "chkIPTC_2".
inline QString indexed(const char *name, int index)
{
    return QLatin1String(name) + u'_' + QString::number(index);
}

namespace detail {

inline void setRoundedMask(QWidget *button)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(button->rect().adjusted(2, 2, -2, -2)), 7.5, 7.5);
    button->setMask(QRegion(path.toFillPolygon().toPolygon()));
}

// Shapes the button again whenever its layout gives it another size.
class RoundedCorners : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Resize)
            setRoundedMask(static_cast<QWidget *>(watched));
        return false;
    }
};

} // namespace detail

// A rounded rectangle inset 2 pixels from every edge, corners of 15 by 15 pixels, at every size.
inline void roundCorners(QWidget *button)
{
    detail::setRoundedMask(button);
    button->installEventFilter(new detail::RoundedCorners(button));
}

// A rounded button at least `width` wide, and wider when its caption asks, with room left for
// the rounded ends; call it again when the caption changes (an explicit minimum would otherwise
// let a layout squeeze the caption).
inline void fitRoundedButton(QWidget *button, int width)
{
    constexpr int kEnds = 12;
    constexpr int kHeight = 28;
    const QSize hint = button->sizeHint();
    button->setMinimumSize(std::max(width, hint.width() + kEnds), std::max(kHeight, hint.height()));
}

// A dialog's bottom line: the buttons at the right, each at least width by height and wider
// when its caption asks.
inline QHBoxLayout *buttonsAtRight(std::initializer_list<QWidget *> buttons, int width, int height)
{
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    for (QWidget *button : buttons) {
        button->setMinimumSize(width, height);
        row->addWidget(button);
    }
    return row;
}

// A text being spell-checked: its box takes the tool-tip background and its label turns bold.
inline void showBoxBeingChecked(QWidget *box, bool on)
{
    QPalette colours = box->palette();
    const QPalette program = QApplication::palette();
    colours.setColor(QPalette::Base, on ? program.color(QPalette::ToolTipBase) : program.color(QPalette::Base));
    colours.setColor(QPalette::Text, on ? program.color(QPalette::ToolTipText) : program.color(QPalette::Text));
    box->setPalette(colours);
}

inline void showLabelBeingChecked(QWidget *label, bool on)
{
    QFont font = label->font();
    font.setBold(on);
    label->setFont(font);
}

// Shows the busy pointer until the command ends, however it ends.
class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

// The grey and blue of field labels and the red of status lines.
inline const QColor kLabelGrey(128, 128, 128);
inline const QColor kLabelBlue(0, 0, 255);
inline const QColor kStatusRed(255, 0, 0);
inline const QColor kConfiguredNumberGrey(192, 192, 192); // a customized number that has a name

// The style sheet that gives a control's text one of the colours above: "color: rgb(0, 0, 255);".
inline QString textColourStyle(const QColor &colour)
{
    return QStringLiteral("color: rgb(%1, %2, %3);").arg(colour.red()).arg(colour.green()).arg(colour.blue());
}

// Sets a label's text colour.
inline void setTextColour(QWidget *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

} // namespace zelvarion::controls
