#pragma once

#include <QString>

#include <stdexcept>

namespace db {

// A statement the database rejected, or a connection that could not be opened. The message is
// the database's own text; the screen decides whether to show it, swallow it or stop.
class SqlError : public std::runtime_error {
public:
    explicit SqlError(const QString& message, const QString& statement = {})
        : std::runtime_error(message.toStdString())
        , m_message(message)
        , m_statement(statement) {}

    const QString& message() const { return m_message; }
    const QString& statement() const { return m_statement; }

private:
    QString m_message;
    QString m_statement;
};

} // namespace db
