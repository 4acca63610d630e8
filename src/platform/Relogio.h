#pragma once

#include <QDateTime>

// The station's "now": local time, injected so tests can fix it.
class Relogio
{
public:
    virtual ~Relogio() = default;
    virtual QDateTime agora() const = 0;
};

class RelogioSistema : public Relogio
{
public:
    QDateTime agora() const override { return QDateTime::currentDateTime(); }
};
