// What became of something that may fail: done, or why not, in words for the user. The types
// are nodiscard, so that no caller drops a failure unseen.
#pragma once

#include <QString>

#include <optional>
#include <utility>

class [[nodiscard]] Outcome
{
  public:
    static Outcome done() { return Outcome(); }
    static Outcome failed(QString why) { return Outcome(std::move(why)); }

    bool ok() const { return !m_why; }
    // Empty when done.
    QString why() const { return m_why.value_or(QString()); }

    // Of two steps that were both taken, the first failure.
    Outcome also(const Outcome &later) const { return ok() ? later : *this; }

    // The next step, taken only while every step so far is done.
    template <typename Step> Outcome andThen(Step &&step) const
    {
        return ok() ? std::forward<Step>(step)() : *this;
    }

  private:
    Outcome() = default;
    explicit Outcome(QString why) : m_why(std::move(why)) {}

    std::optional<QString> m_why;
};

// A value, or why it could not be had; the value is then the default one.
template <typename T> class [[nodiscard]] Result
{
  public:
    Result(T value) : m_value(std::move(value)) {}
    Result(Outcome failure) : m_outcome(std::move(failure)) {}

    const T &value() const { return m_value; }
    const Outcome &outcome() const { return m_outcome; }

  private:
    T m_value{};
    Outcome m_outcome = Outcome::done();
};
