#include "core/catalogue/ServerDialect.h"

#include "core/catalogue/CatalogueTables.h"

#include <QHash>
#include <QStringList>

#include <optional>
#include <vector>

namespace zelvarion::serverDialect {

namespace {

enum class Kind { Space, Word, QuotedName, String, Blob, Number, Parameter, Symbol, End };

struct Token
{
    Kind kind;
    QString text;
    QString lower() const { return text.toLower(); }
    bool is(const char *word) const { return kind == Kind::Word && text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0; }
    bool isSymbol(const char *symbol) const { return kind == Kind::Symbol && text == QLatin1String(symbol); }
};

bool isWordStart(QChar c) { return c.isLetter() || c == u'_'; }
bool isWordPart(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'$'; }

// The end of a quote that starts at "at" and closes with "close" (doubled inside).
qsizetype quoteEnd(const QString &text, qsizetype at, QChar close)
{
    qsizetype i = at + 1;
    while (i < text.size()) {
        if (text[i] == close) {
            if (i + 1 < text.size() && text[i + 1] == close && close != u']') {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return text.size();
}

// The statements of the text as tokens, comments read as blanks.
std::vector<std::vector<Token>> tokenize(const QString &text)
{
    std::vector<std::vector<Token>> statements(1);
    const qsizetype size = text.size();
    qsizetype i = 0;
    auto push = [&](Kind kind, qsizetype end) {
        statements.back().push_back({kind, text.mid(i, end - i)});
        i = end;
    };
    while (i < size) {
        const QChar c = text[i];
        const QChar next = i + 1 < size ? text[i + 1] : QChar();
        if (c.isSpace()) {
            qsizetype end = i;
            while (end < size && text[end].isSpace())
                ++end;
            push(Kind::Space, end);
        } else if (c == u'-' && next == u'-') {
            const qsizetype end = text.indexOf(u'\n', i);
            i = end < 0 ? size : end;
            statements.back().push_back({Kind::Space, QStringLiteral(" ")});
        } else if (c == u'/' && next == u'*') {
            const qsizetype end = text.indexOf(QStringLiteral("*/"), i + 2);
            i = end < 0 ? size : end + 2;
            statements.back().push_back({Kind::Space, QStringLiteral(" ")});
        } else if ((c == u'x' || c == u'X') && next == u'\'') {
            push(Kind::Blob, quoteEnd(text, i + 1, u'\''));
        } else if (c == u'\'') {
            push(Kind::String, quoteEnd(text, i, u'\''));
        } else if (c == u'"' || c == u'`' || c == u'[') {
            push(Kind::QuotedName, quoteEnd(text, i, c == u'[' ? QChar(u']') : c));
        } else if (isWordStart(c)) {
            qsizetype end = i;
            while (end < size && isWordPart(text[end]))
                ++end;
            push(Kind::Word, end);
        } else if (c.isDigit() || (c == u'.' && next.isDigit())) {
            qsizetype end = i;
            while (end < size && (text[end].isLetterOrNumber() || text[end] == u'.'))
                ++end;
            push(Kind::Number, end);
        } else if (c == u'?') {
            qsizetype end = i + 1;
            while (end < size && text[end].isDigit())
                ++end;
            push(Kind::Parameter, end);
        } else if (c == u';') {
            ++i;
            statements.emplace_back();
        } else {
            static const QStringList pairs = {QStringLiteral("!="), QStringLiteral("<>"), QStringLiteral("<="),
                                              QStringLiteral(">="), QStringLiteral("||"), QStringLiteral("==")};
            push(Kind::Symbol, pairs.contains(text.mid(i, 2)) ? i + 2 : i + 1);
        }
    }
    return statements;
}

// The catalogue's tables and columns by their lower-case name.
const QHash<QString, QString> &catalogueNames()
{
    static const QHash<QString, QString> names = [] {
        QHash<QString, QString> all;
        QStringList spelled = {QStringLiteral("Images"), QStringLiteral("Folders"), QStringLiteral("Templates"),
                               QStringLiteral("Selections"), QStringLiteral("Translations"),
                               QStringLiteral("Files"), QStringLiteral("LastScan"), QStringLiteral("Name"),
                               QStringLiteral("word1"), QStringLiteral("word2")};
        spelled << imagesColumnNames() << templatesColumnNames();
        for (const QString &name : spelled)
            all.insert(name.toLower(), name);
        return all;
    }();
    return names;
}

QString quotedName(const QString &name) { return u'"' + name + u'"'; }

// The catalogue's name a word or quoted name stands for, if any.
QString catalogueName(const Token &token)
{
    QString bare = token.text;
    if (token.kind == Kind::QuotedName)
        bare = bare.mid(1, bare.size() - 2);
    else if (token.kind != Kind::Word)
        return {};
    return catalogueNames().value(bare.toLower());
}

QString unquotedString(const QString &literal)
{
    return literal.mid(1, literal.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
}

QString stringLiteral(const QString &text) { return u'\'' + QString(text).replace(u'\'', QStringLiteral("''")) + u'\''; }

// The statement without its blanks, for looking at its shape.
std::vector<Token> solid(const std::vector<Token> &tokens)
{
    std::vector<Token> kept;
    for (const Token &token : tokens) {
        if (token.kind != Kind::Space)
            kept.push_back(token);
    }
    kept.push_back({Kind::End, {}});
    return kept;
}

// PRAGMA: the settings mean nothing to the server; the questions get the answers under which
// the catalogue takes its plain path.
QString pragma(const std::vector<Token> &words)
{
    if (words.size() > 3 && words[2].isSymbol("="))
        return {};
    const QString name = words[1].lower();
    if (name == u"encoding")
        return QStringLiteral("select 'UTF-8' as encoding");
    if (name == u"journal_mode")
        return QStringLiteral("select 'wal' as journal_mode");
    if (name == u"busy_timeout")
        return QStringLiteral("select 0 as timeout");
    if (words[2].kind == Kind::End)
        return QStringLiteral("select 0 as %1 where false").arg(name);
    return {};
}

// Transaction statements with the file engine's words; nothing for others.
std::optional<QString> transactionStatement(const std::vector<Token> &words)
{
    const Token &first = words[0];
    if (first.is("begin"))
        return QStringLiteral("begin");
    if (first.is("end") || first.is("commit"))
        return QStringLiteral("commit");
    if (first.is("rollback") && !words[1].is("to") && !(words[1].is("transaction") && words[2].is("to")))
        return QStringLiteral("rollback");
    return std::nullopt;
}

// "create table T(a,b,...)" with untyped columns: text compared byte by byte, as the file engine
// compares it; Images gains the rowid the file engine keeps for every table.
std::optional<QString> createTable(const std::vector<Token> &words)
{
    if (!(words[0].is("create") && words[1].is("table")))
        return std::nullopt;
    std::size_t at = 2;
    if (words[at].is("if"))
        at += 3;
    const QString table = catalogueName(words[at]);
    if (table.isEmpty() || !words[at + 1].isSymbol("("))
        return std::nullopt;
    QStringList columns;
    for (at += 2; words[at].kind != Kind::End && !words[at].isSymbol(")"); ++at) {
        if (words[at].isSymbol(","))
            continue;
        const QString name = catalogueName(words[at]);
        if (name.isEmpty() || !(words[at + 1].isSymbol(",") || words[at + 1].isSymbol(")")))
            return std::nullopt; // typed or constrained columns: left as written
        columns << quotedName(name) + QStringLiteral(" text collate \"C\"");
    }
    if (table == u"Images")
        columns << QStringLiteral("rowid bigint generated by default as identity");
    return QStringLiteral("create table ") + quotedName(table) + u'(' + columns.join(u',') + u')';
}

// The index over more columns than the server allows is not made (see the header).
bool oversizedIndex(const std::vector<Token> &words)
{
    constexpr int kMostIndexColumns = 32;
    if (!(words[0].is("create") && (words[1].is("index") || (words[1].is("unique") && words[2].is("index")))))
        return false;
    int commas = 0;
    for (const Token &word : words)
        commas += word.isSymbol(",") ? 1 : 0;
    return commas + 1 > kMostIndexColumns;
}

QString imagesColumns(const QString &qualifier)
{
    QStringList columns;
    for (const QString &name : imagesColumnNames())
        columns << (qualifier.isEmpty() ? QString() : qualifier + u'.') + quotedName(name);
    return columns.join(u',');
}

// The first table named after the statement's first "from".
QString fromTable(const std::vector<Token> &words)
{
    for (std::size_t i = 0; i + 1 < words.size(); ++i) {
        if (words[i].is("from"))
            return catalogueName(words[i + 1]);
    }
    return {};
}

// How the file engine orders the rows of a plain select of Images among equals: a scan and a
// sort keep rowid order; an order by the first column of one of its indexes reads that index,
// whose further columns and rowid then order the equals, in the order's direction. The server
// gives equals in no particular order, so the select spells out the file engine's.
struct RowOrder
{
    bool applies = false;
    QString terms; // what follows the statement's own order, or a whole order by
};

RowOrder rowOrderOf(const std::vector<Token> &words)
{
    if (!words[0].is("select"))
        return {};
    // Paths looked up through a list of values: the rows of one path in catalogue order.
    for (std::size_t at = 1; words[at].kind != Kind::End; ++at) {
        if (words[at].is("cross") && words[at + 1].is("join") && catalogueName(words[at + 2]) == u"Images")
            return {true, QStringLiteral(" order by \"Images\".rowid")};
    }
    int depth = 0;
    std::size_t orderAt = 0;
    for (std::size_t at = 1; words[at].kind != Kind::End; ++at) {
        const Token &word = words[at];
        depth += word.isSymbol("(") ? 1 : word.isSymbol(")") ? -1 : 0;
        if (depth != 0 || word.kind != Kind::Word)
            continue;
        if (word.is("group") || word.is("union") || word.is("distinct") || word.is("join") || word.is("limit")
            || word.is("offset"))
            return {};
        if (word.is("order"))
            orderAt = at;
    }
    // The select list: names only, no function (an aggregate takes no order of rows).
    std::size_t from = 1;
    while (words[from].kind != Kind::End && !words[from].is("from")) {
        if (words[from].isSymbol("("))
            return {};
        ++from;
    }
    if (words[from].kind == Kind::End || catalogueName(words[from + 1]) != u"Images"
        || !(words[from + 2].kind == Kind::End || words[from + 2].is("where") || words[from + 2].is("order")))
        return {};
    if (orderAt == 0)
        return {true, QStringLiteral(" order by rowid")};
    // One bare column, possibly with its direction, after "order by".
    const Token &column = words[orderAt + 2];
    const Token &after = words[orderAt + 3];
    const bool descending = after.is("desc");
    const std::size_t end = orderAt + 3 + ((after.is("asc") || descending) ? 1 : 0);
    const QString name = catalogueName(column);
    QStringList further;
    if (words[end].kind == Kind::End && name == u"Folder")
        further << QStringLiteral("File");
    if (words[end].kind == Kind::End && name == iptcColumnNames().first())
        further = iptcColumnNames().mid(1);
    if (further.isEmpty())
        return {true, QStringLiteral(", rowid")};
    const QString direction = descending ? QStringLiteral(" desc") : QStringLiteral(" asc");
    QString terms;
    for (const QString &next : further)
        terms += u',' + quotedName(next) + direction;
    return {true, terms + QStringLiteral(", rowid") + direction};
}

class StatementWriter
{
public:
    explicit StatementWriter(const std::vector<Token> &tokens) : m_tokens(tokens) {}

    QString write(int &parameterNumber)
    {
        m_parameters = &parameterNumber;
        const bool selectFromImages = fromTable(solid(m_tokens)) == u"Images";
        bool ignoreConflicts = false;
        for (m_at = 0; m_at < m_tokens.size(); ++m_at) {
            const Token &token = m_tokens[m_at];
            if (token.kind == Kind::Parameter) {
                writeParameter(token);
            } else if (token.kind == Kind::Blob) {
                m_out += QStringLiteral("'\\x") + token.text.mid(2, token.text.size() - 3) + QStringLiteral("'::bytea");
            } else if (token.kind == Kind::Symbol && token.text == u"==") {
                m_out += u'=';
            } else if (token.isSymbol("*") && selectFromImages && lastWordIs({"select", "distinct", "all"})) {
                m_out += imagesColumns({});
            } else if (token.isSymbol("*") && m_out.endsWith(QStringLiteral("\"Images\"."))) {
                m_out.chop(QStringLiteral("\"Images\".").size());
                m_out += imagesColumns(quotedName(QStringLiteral("Images")));
            } else if (token.kind == Kind::Word || token.kind == Kind::QuotedName) {
                writeWord(token, ignoreConflicts);
            } else {
                m_out += token.text;
            }
        }
        if (ignoreConflicts)
            m_out += QStringLiteral(" on conflict do nothing");
        if (const RowOrder order = rowOrderOf(solid(m_tokens)); order.applies)
            m_out = m_out.trimmed() + order.terms;
        return m_out.trimmed();
    }

private:
    // The next token that is not a blank, from the one after "from"; End past the last.
    std::size_t nextSolid(std::size_t from) const
    {
        while (from < m_tokens.size() && m_tokens[from].kind == Kind::Space)
            ++from;
        return from;
    }
    const Token &tokenAt(std::size_t at) const
    {
        static const Token end{Kind::End, {}};
        return at < m_tokens.size() ? m_tokens[at] : end;
    }
    bool lastWordIs(std::initializer_list<const char *> words) const
    {
        const QString last = m_out.trimmed().section(u' ', -1).toLower();
        for (const char *word : words) {
            if (last == QLatin1String(word))
                return true;
        }
        return false;
    }

    void writeWord(const Token &token, bool &ignoreConflicts)
    {
        const QString lower = token.lower();
        const std::size_t next = nextSolid(m_at + 1);
        if (lower == u"insert" && tokenAt(next).is("or")) {
            const std::size_t action = nextSolid(next + 1);
            ignoreConflicts = tokenAt(action).is("ignore");
            m_out += QStringLiteral("insert");
            m_at = action;
        } else if (lower == u"glob") {
            writeGlob(next);
        } else if (lower == u"like") {
            writeLike(next);
        } else if (lower == u"lower" && tokenAt(next).isSymbol("(")) {
            writeLower(next);
        } else if (lower == u"ifnull") {
            m_out += QStringLiteral("coalesce");
        } else if (lower == u"integer" && lastWordIs({"as"})) {
            m_out += QStringLiteral("numeric"); // no overflow on a long run of digits
        } else if (lower == u"where" && tokenAt(next).kind == Kind::Number
                   && (tokenAt(next).text == u"0" || tokenAt(next).text == u"1")) {
            m_out += QStringLiteral("where ") + (tokenAt(next).text == u"0" ? QStringLiteral("false") : QStringLiteral("true"));
            m_at = next;
        } else if (lower == u"cross" && tokenAt(next).is("join")) {
            m_out += QStringLiteral("join"); // the file engine's join order hint; the server wants no "on" after it
            m_at = next;
        } else if (lower == u"not" && tokenAt(next).is("indexed")) {
            m_at = next; // the file engine's query-plan hint
        } else if (const QString name = catalogueName(token); !name.isEmpty()) {
            m_out += quotedName(name);
        } else {
            m_out += token.text;
        }
    }

    // "X glob P" and "X glob(P)": P a literal, as the catalogue writes it.
    void writeGlob(std::size_t next)
    {
        qsizetype end = m_out.size();
        while (end > 0 && m_out[end - 1].isSpace())
            --end;
        const bool negated = lastWordIs({"not"});
        if (negated)
            m_out.truncate(end - 3);
        const bool bracketed = tokenAt(next).isSymbol("(");
        const std::size_t literal = bracketed ? nextSolid(next + 1) : next;
        if (tokenAt(literal).kind != Kind::String) {
            m_out += m_tokens[m_at].text; // left to the server's own error
            return;
        }
        m_out += (negated ? QStringLiteral("!~ ") : QStringLiteral("~ "))
                 + stringLiteral(globToRegex(unquotedString(tokenAt(literal).text)));
        m_at = literal;
        if (bracketed && tokenAt(nextSolid(literal + 1)).isSymbol(")"))
            m_at = nextSolid(literal + 1);
    }

    // The pattern takes the database's character type, whatever the column's, so letters beyond
    // ASCII match in either case; without an escape clause no character escapes.
    void writeLike(std::size_t next)
    {
        m_out += QStringLiteral("ilike ");
        const Token &pattern = tokenAt(next);
        if (pattern.kind == Kind::Parameter)
            writeParameter(pattern);
        else
            m_out += pattern.text;
        m_out += QStringLiteral(" collate \"default\"");
        if (!tokenAt(nextSolid(next + 1)).is("escape"))
            m_out += QStringLiteral(" escape ''");
        m_at = next;
    }

    void writeParameter(const Token &token)
    {
        const QString digits = token.text.mid(1);
        m_out += u'$' + (digits.isEmpty() ? QString::number(++*m_parameters) : digits);
    }

    void writeLower(std::size_t open)
    {
        int depth = 0;
        std::size_t close = open;
        for (; close < m_tokens.size(); ++close) {
            if (m_tokens[close].isSymbol("("))
                ++depth;
            else if (m_tokens[close].isSymbol(")") && --depth == 0)
                break;
        }
        m_out += QStringLiteral("lower");
        if (close >= m_tokens.size())
            return; // unbalanced: left to the server's own error
        // The argument is written by a writer of its own, so its names and literals are
        // translated too.
        std::vector<Token> argument(m_tokens.begin() + std::ptrdiff_t(open) + 1, m_tokens.begin() + std::ptrdiff_t(close));
        m_out += u'(' + StatementWriter(argument).write(*m_parameters) + QStringLiteral(" collate \"default\")");
        m_at = close;
    }

    const std::vector<Token> &m_tokens;
    std::size_t m_at = 0;
    QString m_out;
    int *m_parameters = nullptr;
};

QString translateOne(const std::vector<Token> &tokens, int &parameterNumber)
{
    const std::vector<Token> words = solid(tokens);
    if (words[0].kind == Kind::End)
        return {};
    if (words[0].is("pragma"))
        return pragma(words);
    if (const auto transaction = transactionStatement(words))
        return *transaction;
    if (const auto table = createTable(words))
        return *table;
    if (oversizedIndex(words))
        return {};
    return StatementWriter(tokens).write(parameterNumber);
}

} // namespace

QString translate(const QString &statements)
{
    QStringList translated;
    int parameterNumber = 0;
    for (const std::vector<Token> &tokens : tokenize(statements)) {
        const QString one = translateOne(tokens, parameterNumber);
        if (!one.isEmpty())
            translated << one;
    }
    return translated.isEmpty() ? QString() : translated.join(QStringLiteral(";\n")) + u';';
}

QString globToRegex(const QString &pattern)
{
    static const QString special = QStringLiteral(".^$|()[]{}*+?\\");
    QString regex = QStringLiteral("^(?:");
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'*') {
            regex += QStringLiteral(".*");
        } else if (c == u'?') {
            regex += u'.';
        } else if (c == u'[') {
            // A set: "^" first negates, "]" first is itself, and the set ends at the next "]".
            qsizetype end = i + 1;
            if (end < pattern.size() && pattern[end] == u'^')
                ++end;
            if (end < pattern.size() && pattern[end] == u']')
                ++end;
            end = pattern.indexOf(u']', end);
            if (end < 0)
                return QStringLiteral("$.^"); // a set never closed: the pattern matches nothing
            regex += u'[';
            qsizetype at = i + 1;
            if (pattern[at] == u'^') {
                regex += u'^';
                ++at;
            }
            for (; at < end; ++at) {
                const QChar member = pattern[at];
                if (member == u'\\' || member == u'[' || member == u']')
                    regex += u'\\';
                regex += member;
            }
            regex += u']';
            i = end;
        } else {
            if (special.contains(c))
                regex += u'\\';
            regex += c;
        }
    }
    return regex + QStringLiteral(")$");
}

} // namespace zelvarion::serverDialect
