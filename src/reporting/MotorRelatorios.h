#pragma once

#include "platform/Relatorio.h"

#include <QSqlDatabase>
#include <QString>
#include <functional>

class ImpressoraQt;
class Relogio;

// The station's one report printer: a request names a report definition of
// the program's folder, whose rows of the main database are selected by the
// request's formula and laid out, then previewed or printed. PDFs of a
// machine without a printer go into "impressos" beside the database. It shows
// no box: the status says what went wrong, and the reason goes to the log.
class MotorRelatorios : public ImpressoraRelatorios
{
public:
    MotorRelatorios(std::function<QSqlDatabase()> baseDados, const Relogio& relogio, ImpressoraQt& saida);

    int ExecutarRelatorio(const PedidoRelatorio& pedido) override;

    ImpressoraQt& saida() { return m_saida; }

private:
    // Carries a request out and returns its status; the reason of a failure goes into `motivo`.
    int executar(const PedidoRelatorio& pedido, QString& motivo);
    QString pastaPdf() const;

    std::function<QSqlDatabase()> m_baseDados;
    const Relogio& m_relogio;
    ImpressoraQt& m_saida;
    bool m_ocupado = false;
};
