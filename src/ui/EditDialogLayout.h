#pragma once

#include <QRect>

// Where the edit dialog's panels put their controls: a label column, the boxes beside it, rows of
// one line. Every tab's frame takes the same place under the tab strip.
namespace zelvarion::editlayout {

constexpr int kLabelWidth = 180;
constexpr int kBoxLeft = 192;
constexpr int kRowHeight = 24;
constexpr int kBoxWidth = 460;
constexpr QRect kFrameRect(12, 86, 796, 462);

} // namespace zelvarion::editlayout
