#pragma once

#include "core/iptc/IptcField.h"

#include <ostream>

namespace zelvarion {

// Readable failure messages: the non-empty values by column and the used slots.
inline void PrintTo(const IptcFieldSet &set, std::ostream *out)
{
    *out << '{';
    for (const IptcField &field : kIptcFields)
        if (!set.values[std::size_t(field.index)].isEmpty())
            *out << field.column << "=\"" << set.values[std::size_t(field.index)].toStdString() << "\" ";
    for (const CustomizedDataset &slot : set.slots)
        if (slot.number != -1)
            *out << "slot " << slot.number << "=\"" << slot.value.toStdString() << "\" ";
    *out << '}';
}

} // namespace zelvarion
