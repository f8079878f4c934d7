#pragma once

#include <QString>
#include <stdexcept>

// A failure that a command's error trap reports: a clear description of what
// failed, naming the path where there is one.
class RuntimeError : public std::runtime_error
{
public:
    explicit RuntimeError(const QString& description)
        : std::runtime_error(description.toStdString()), m_description(description)
    {
    }

    const QString& description() const { return m_description; }

private:
    QString m_description;
};
