#pragma once

#include <QByteArray>
#include <QTimeZone>
#include <QtGlobal>
#include <ctime>

// The process's local time zone for as long as it lives: a test of what the
// station does in a zone (Lisbon's summer time, the Azores' clock change at
// midnight) runs there whatever zone the suite runs in, and the zone comes
// back after it. `existe()` is false when the machine lacks the zone's data:
// the C library would then quietly take UTC.
class FusoHorario
{
public:
    explicit FusoHorario(const QByteArray& zona)
        : m_tinha(qEnvironmentVariableIsSet("TZ")),
          m_antes(qgetenv("TZ")),
          m_existe(QTimeZone(zona).isValid())
    {
        qputenv("TZ", zona);
        tzset();
    }
    ~FusoHorario()
    {
        if (m_tinha)
            qputenv("TZ", m_antes);
        else
            qunsetenv("TZ");
        tzset();
    }
    FusoHorario(const FusoHorario&) = delete;
    FusoHorario& operator=(const FusoHorario&) = delete;

    bool existe() const { return m_existe; }

private:
    bool m_tinha;
    QByteArray m_antes;
    bool m_existe;
};
