#include "CatalogueGenerator.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/catalogue/CatalogueTables.h"
#include "core/session/Feedback.h"
#include "StderrFeedback.h"

#include <QStringList>
#include <QTextStream>

#include <cmath>
#include <random>

namespace zelvarion::bench {
namespace {

const QStringList kCities = {
    QStringLiteral("Paris"), QStringLiteral("Lyon"), QStringLiteral("Marseille"), QStringLiteral("Montréal"),
    QStringLiteral("Zürich"), QStringLiteral("São Paulo"), QStringLiteral("London"), QStringLiteral("Berlin"),
    QStringLiteral("Kraków"), QStringLiteral("Reykjavík"), QStringLiteral("New York"), QStringLiteral("Tokyo"),
    QStringLiteral("Sevilla"), QStringLiteral("L'Aquila"), QStringLiteral("Aix-en-Provence"), QStringLiteral("Roma")};
const QStringList kCountries = {
    QStringLiteral("France"), QStringLiteral("Canada"), QStringLiteral("Switzerland"), QStringLiteral("Brazil"),
    QStringLiteral("United Kingdom"), QStringLiteral("Germany"), QStringLiteral("Poland"), QStringLiteral("Iceland"),
    QStringLiteral("USA"), QStringLiteral("Japan"), QStringLiteral("Spain"), QStringLiteral("Italy")};
const QStringList kWords = {
    QStringLiteral("sunset"), QStringLiteral("beach"), QStringLiteral("mountain"), QStringLiteral("river"),
    QStringLiteral("église"), QStringLiteral("market"), QStringLiteral("portrait"), QStringLiteral("family"),
    QStringLiteral("street"), QStringLiteral("night"), QStringLiteral("été"), QStringLiteral("snow"),
    QStringLiteral("harbour"), QStringLiteral("bridge"), QStringLiteral("garden"), QStringLiteral("children"),
    QStringLiteral("festival"), QStringLiteral("train"), QStringLiteral("café"), QStringLiteral("forest"),
    QStringLiteral("castle"), QStringLiteral("wedding"), QStringLiteral("l'eau"), QStringLiteral("architecture"),
    QStringLiteral("red"), QStringLiteral("car"), QStringLiteral("museum"), QStringLiteral("100%"),
    QStringLiteral("old_town"), QStringLiteral("Straße"), QStringLiteral("lake"), QStringLiteral("boats")};
const QStringList kPeople = {
    QStringLiteral("Anne Dupont"), QStringLiteral("Jürgen Maier"), QStringLiteral("Siobhán O'Neill"),
    QStringLiteral("Paulo Silva"), QStringLiteral("Kenji Sato"), QStringLiteral("Marta Nowak")};
const QStringList kTrips = {
    QStringLiteral("Holidays"), QStringLiteral("Weekend"), QStringLiteral("Work trip"), QStringLiteral("Family"),
    QStringLiteral("Été en mer"), QStringLiteral("Scans")};

const QStringList kSyllables = {
    QStringLiteral("ka"), QStringLiteral("lo"), QStringLiteral("mi"), QStringLiteral("ré"), QStringLiteral("su"),
    QStringLiteral("ta"), QStringLiteral("vel"), QStringLiteral("bri"), QStringLiteral("co"), QStringLiteral("dan"),
    QStringLiteral("é"), QStringLiteral("fa"), QStringLiteral("gor"), QStringLiteral("hu"), QStringLiteral("ins"),
    QStringLiteral("jo"), QStringLiteral("ku"), QStringLiteral("lé"), QStringLiteral("mar"), QStringLiteral("no"),
    QStringLiteral("ou"), QStringLiteral("pi"), QStringLiteral("qua"), QStringLiteral("ri"), QStringLiteral("sé"),
    QStringLiteral("tro"), QStringLiteral("ul"), QStringLiteral("vi"), QStringLiteral("wa"), QStringLiteral("xo"),
    QStringLiteral("yu"), QStringLiteral("zé"), QStringLiteral("ça"), QStringLiteral("bel"), QStringLiteral("cor"),
    QStringLiteral("dé"), QStringLiteral("en"), QStringLiteral("fri"), QStringLiteral("gu"), QStringLiteral("ho")};

class RowMaker
{
public:
    RowMaker(unsigned seed, int distinctKeywords) : m_random(seed), m_distinctKeywords(distinctKeywords) {}

    // One Images row as the scan would write it.
    ImagesRow row(int number)
    {
        ImagesRow cells;
        const QString year = QString::number(2001 + pick(22));
        const QString city = pickFrom(kCities);
        cells[ImagesColumn::Folder] = QStringLiteral("/home/anne/Pictures/%1/%2 %3/").arg(year, pickFrom(kTrips), city);
        cells[ImagesColumn::File] = QStringLiteral("IMG_%1.JPG").arg(number, 6, 10, QLatin1Char('0'));
        if (pick(10) < 7)
            fillIptc(cells, city, year);
        const QString date = QStringLiteral("%1/%2/%3").arg(year).arg(1 + pick(12), 2, 10, QLatin1Char('0'))
                                 .arg(1 + pick(28), 2, 10, QLatin1Char('0'));
        const QString time = QStringLiteral("%1:%2:00").arg(pick(24), 2, 10, QLatin1Char('0'))
                                 .arg(pick(60), 2, 10, QLatin1Char('0'));
        cells[ImagesColumn::FileCreationDate] = cells[ImagesColumn::FileLastWriteDate] = date;
        cells[ImagesColumn::FileCreationTime] = cells[ImagesColumn::FileLastWriteTime] = time;
        cells[ImagesColumn::FileSize] = QString::number(200000 + pick(9000000));
        if (pick(10) == 0) {
            cells[ImagesColumn::LastRevisionDate] = date;
            cells[ImagesColumn::LastRevisionTime] = time;
        }
        cells[ImagesColumn::SupportIPTC] = QStringLiteral("1");
        const bool readable = pick(50) != 0;
        cells[ImagesColumn::Width] = readable ? QString::number(640 + pick(5400)) : QStringLiteral("?");
        cells[ImagesColumn::Height] = readable ? QString::number(480 + pick(3600)) : QStringLiteral("?");
        return cells;
    }

private:
    int pick(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(m_random); }
    QString pickFrom(const QStringList &list) { return list.at(pick(int(list.size()))); }

    QString words(int count)
    {
        QStringList chosen;
        for (int i = 0; i < count; ++i)
            chosen << pickFrom(kWords);
        return chosen.join(u' ');
    }

    static ImagesColumn field(const char *column)
    {
        return imagesColumnOfField(*iptcFieldIndexOfColumn(QString::fromLatin1(column)));
    }

    // Every word once in turn, then the rest drawn log-uniformly: a few words on many images.
    QString vocabularyWord()
    {
        if (m_nextInTurn < m_distinctKeywords)
            return madeUpKeyword(m_nextInTurn++);
        const double draw = std::uniform_real_distribution<double>(0, std::log(double(m_distinctKeywords)))(m_random);
        return madeUpKeyword(std::min(m_distinctKeywords - 1, int(std::exp(draw)) - 1));
    }

    void fillIptc(ImagesRow &cells, const QString &city, const QString &year)
    {
        QStringList keywords;
        for (int i = 0, n = 2 + pick(5); i < n; ++i)
            keywords << (m_distinctKeywords > 0 ? vocabularyWord() : pickFrom(kWords));
        const QString person = pickFrom(kPeople);
        cells[field("ObjectName")] = words(2);
        cells[field("Keywords")] = keywords.join(QStringLiteral("; "));
        cells[field("CreatedDate")] = year + QStringLiteral("0612");
        cells[field("Byline")] = person;
        cells[field("City")] = city;
        cells[field("Country")] = pickFrom(kCountries);
        cells[field("Headline")] = words(3);
        cells[field("Credit")] = person;
        cells[field("Copyright")] = QStringLiteral("© ") + year + u' ' + person;
        QString caption = words(6 + pick(15)) + QStringLiteral(", ") + city + u'.';
        caption[0] = caption[0].toUpper(); // "Église ..." is found by "église" only with Unicode folding
        cells[field("Caption")] = caption;
    }

    std::mt19937 m_random;
    int m_distinctKeywords;
    int m_nextInTurn = 0;
};

} // namespace

QString madeUpKeyword(int index)
{
    const auto count = int(kSyllables.size());
    QString word = kSyllables[index % count] + kSyllables[index / count % count] + kSyllables[index / count / count % count];
    if (index % 5 == 0) // some written with a capital, accented ones included
        word[0] = word[0].toUpper();
    return word;
}

bool generateCatalogue(const QString &path, int count, unsigned seed, int distinctKeywords)
{
    StderrFeedback feedback;
    CatalogueDb db;
    db.path = path;
    if (!createCatalogueSchema(db, feedback, {}) || !db.openOrReport(feedback))
        return false;
    RowMaker maker(seed, distinctKeywords);
    db.execute(QStringLiteral("begin transaction GENERATE;"));
    constexpr int kBatch = 500; // several inserts per call keep the statement text small
    for (int first = 1; first <= count; first += kBatch) {
        QString batch;
        for (int number = first; number < first + kBatch && number <= count; ++number)
            batch += insertImagesRowStatement(maker.row(number));
        if (!db.executeOrReport(feedback, batch, Message::CannotAddData))
            return false;
    }
    return db.executeOrReport(feedback, QStringLiteral("end transaction GENERATE;"), Message::CannotEndTransaction,
                              {QStringLiteral("GENERATE"), db.path});
}

} // namespace zelvarion::bench
