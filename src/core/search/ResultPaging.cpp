#include "core/search/ResultPaging.h"

namespace zelvarion {

void ResultPaging::reset(int count)
{
    m_count = count;
    m_first = 1;
}

bool ResultPaging::toFirst()
{
    m_first = 1;
    return true;
}

bool ResultPaging::back()
{
    if (m_first <= kPageSize)
        return false;
    m_first -= kPageSize;
    return true;
}

bool ResultPaging::forward()
{
    if (m_first + kPageSize > m_count)
        return false;
    m_first += kPageSize;
    return true;
}

bool ResultPaging::toLast()
{
    if (m_count < 1)
        return false;
    m_first = m_count - (m_count - 1) % kPageSize;
    return true;
}

} // namespace zelvarion
