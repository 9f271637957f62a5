#pragma once

#include <QGridLayout>

class QHBoxLayout;

// How the edit dialog's panels lay out their controls: a label column, the boxes beside it, rows
// of one line that keep their height while the multi-line boxes share what the frame grows.
namespace zelvarion::editlayout {

constexpr int kLabelWidth = 180; // the label column at least, so tabs line up in English
constexpr int kRowHeight = 24;
constexpr int kShortBoxWidth = 160; // dates, times, codes
constexpr int kListWidth = 300; // the narrowest box of words, list and entry box

// A tab's frame as rows of a label and a line of controls. Panels that fill the same frame add
// their rows under those already there, in the order they make their controls.
class FrameRows : public QGridLayout
{
public:
    // The frame's rows, made on first use.
    static FrameRows &of(QWidget *frame);

    // A row under the last one: `label` in the label column (it may be null), the returned line
    // beside it taking the rest of the width. A row with growth takes that share of the height
    // the frame has beyond its minimum; its label stays at its top.
    QHBoxLayout *addRow(QWidget *label, int growth = 0);

private:
    explicit FrameRows(QWidget *frame);

    int m_rows = 0;
    bool m_grows = false;
};

} // namespace zelvarion::editlayout
