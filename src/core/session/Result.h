#pragma once

#include "core/session/LanguageKeys.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <variant>

namespace zelvarion {

class LanguagePack;

// Why a fallible operation of the core did not happen: a message of the pack, the values its
// placeholders take ("#", then "%", then "$"), and the engine's or the system's own words, which
// no pack translates. The window and the command line turn it into text with their own pack, so
// both say the same words in the user's language.
struct Failure
{
    Message message{};
    QStringList arguments;
    QString detail;
};

// The message of the failure in the pack's words, its placeholders filled, then a line break and
// the detail when there is one.
QString describe(const Failure &failure, const LanguagePack &pack);

// Message key of the pack, or of the shipped English pack when none is given, its placeholders
// filled: the reasons a run lists beside each image, worded in the run's language.
QString messageText(const LanguagePack *pack, Message key, const QStringList &arguments = {});

// Fills "#", "%" and "$" of text with the first, second and third argument in one pass, so an
// argument that holds one of those characters (a path, a name) is never filled again.
QString fillPlaceholders(const QString &text, const QStringList &arguments);

// The value of a fallible operation, or why there is none.
template <typename T>
class [[nodiscard]] Result
{
public:
    Result(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : m_state(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    // Only on success.
    const T &value() const & { return std::get<0>(m_state); }
    T &value() & { return std::get<0>(m_state); }
    T &&value() && { return std::get<0>(std::move(m_state)); }
    const T *operator->() const { return &value(); }
    const T &operator*() const & { return value(); }
    // Only on failure.
    const Failure &failure() const { return std::get<1>(m_state); }

    T valueOr(T fallback) const { return ok() ? value() : std::move(fallback); }

private:
    std::variant<T, Failure> m_state;
};

// An operation that gives nothing back but may fail.
template <>
class [[nodiscard]] Result<void>
{
public:
    Result() = default;
    Result(Failure failure) : m_failure(std::move(failure)) {}

    bool ok() const { return !m_failure.has_value(); }
    explicit operator bool() const { return ok(); }
    // Only on failure.
    const Failure &failure() const { return *m_failure; }

private:
    std::optional<Failure> m_failure;
};

} // namespace zelvarion
