#pragma once

#include <QString>

#include <exception>

// The component's error: a number and a description. Thrown inside the
// component and by the platform pieces it calls; the host interface turns it
// into a failure result whose description the host can read.
class Err : public std::exception
{
public:
    // Numbers of the errors raised below the form. Grouped by the piece that
    // raises them, so a number in the log points at its origin.
    enum Number {
        InvalidPath = 1001, // empty or doubled separators, leading/trailing "\", control characters
        NameTooLong = 1002, // a key name beyond MaxNameLength
        ValueTooLong = 1003, // a string value beyond MaxValueLength
        InvalidArgument = 1004,
        WrongState = 1005,     // a call the object is not ready for (before Init, nothing open)
        Overflow = 1006,       // a measure or conversion beyond the 32-bit integer range
        StoreOpen = 1101,      // the store file cannot be opened or created
        NotAStore = 1102,      // the file is not a configuration store
        StoreReadOnly = 1103,  // the store file cannot be written
        StoreFailure = 1104,   // any other failure of the store
        ImportFailure = 1201,  // JSON or CSV input that cannot be imported
        LibraryMissing = 1301, // a platform library cannot be loaded or lacks an entry point
    };

    Err(int number, QString description)
        : m_number(number), m_description(std::move(description)), m_what(m_description.toUtf8())
    {
    }

    int number() const { return m_number; }
    const QString &description() const { return m_description; }
    const char *what() const noexcept override { return m_what.constData(); }

private:
    int m_number;
    QString m_description;
    QByteArray m_what;
};
