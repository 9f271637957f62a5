#include "ui/EditDialogLayout.h"

#include <QBoxLayout>
#include <QWidget>

namespace zelvarion::editlayout {

FrameRows &FrameRows::of(QWidget *frame)
{
    if (auto *rows = dynamic_cast<FrameRows *>(frame->layout()))
        return *rows;
    return *new FrameRows(frame);
}

FrameRows::FrameRows(QWidget *frame) : QGridLayout(frame)
{
    setContentsMargins(8, 8, 8, 8);
    setHorizontalSpacing(12);
    setVerticalSpacing(6);
    setColumnMinimumWidth(0, kLabelWidth);
    setColumnStretch(1, 1);
}

QHBoxLayout *FrameRows::addRow(QWidget *label, int growth)
{
    const int row = m_rows++;
    if (label)
        addWidget(label, row, 0, growth > 0 ? Qt::AlignTop : Qt::AlignVCenter);
    auto *line = new QHBoxLayout;
    line->setSpacing(6);
    addLayout(line, row, 1);
    setRowStretch(row, growth);
    m_grows = m_grows || growth > 0;
    // Without a row that grows, an empty row under the last one takes the frame's growth, so the
    // rows stay together at the top.
    setRowStretch(row + 1, m_grows ? 0 : 1);
    return line;
}

} // namespace zelvarion::editlayout
