#pragma once

namespace zelvarion {

// Pages of ten results: the first rank shown (1-based) and the result count.
class ResultPaging
{
public:
    static constexpr int kPageSize = 10;

    void reset(int count); // a new result: first page
    int count() const { return m_count; }
    int firstRank() const { return m_first; }
    int pageCount() const { return (m_count + kPageSize - 1) / kPageSize; }
    int page() const { return (m_first - 1) / kPageSize + 1; }
    // The navigation buttons work only on a result of more than one page.
    bool navigationEnabled() const { return m_count > kPageSize; }

    // Each returns true when the page is to be shown again (the first rank may be unchanged:
    // Home and End redisplay a single page).
    bool toFirst();
    bool back();
    bool forward();
    bool toLast();

private:
    int m_count = 0;
    int m_first = 1;
};

} // namespace zelvarion
