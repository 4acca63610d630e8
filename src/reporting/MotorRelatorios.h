#pragma once

#include "platform/Relatorio.h"

#include <QObject>
#include <QSqlDatabase>
#include <QString>
#include <functional>

class DestinoRelatorios;
class Relogio;

// The station's one report printer: a request names a report definition of
// the program's folder, whose rows of the main database are selected by the
// request's formula and laid out, then previewed or printed where the
// station's destination `saida` shows and prints them. PDFs of a
// machine without a printer go into "impressos" beside the database. It shows
// no box: the status says what went wrong, and the reason goes to the log.
//
// A document (a weighing's, a second copy, a cancellation) is made at once,
// and shown, or written as a PDF where the machine has no print system; for
// the printer, it is handed to the print thread and its run answers EmCurso.
// A listing (statistics, tables) is checked at once and then made in a
// thread of its own, with a progress the operator can cancel, while the
// station goes on: its run answers EmCurso too. For a run that answers
// EmCurso, relatorioTerminado says later how it ended (for any other run,
// before ExecutarRelatorio returns); a failure is told to whoever asked,
// which says why.
class MotorRelatorios : public QObject, public ImpressoraRelatorios
{
    Q_OBJECT

public:
    MotorRelatorios(std::function<QSqlDatabase()> baseDados, const Relogio& relogio, DestinoRelatorios& saida,
                    QObject* pai = nullptr);
    // Stops the listings still being made; nothing of theirs is printed.
    ~MotorRelatorios() override;

    int ExecutarRelatorio(const PedidoRelatorio& pedido, const AvisoFalha& aviso = {}) override;

Q_SIGNALS:
    // A run has ended: shown, printed, refused or cancelled (an EstadoRelatorio).
    void relatorioTerminado(const QString& ficheiro, int estado);

private:
    // Carries a request out and returns its status; the reason of a failure goes into `motivo`.
    int executar(const PedidoRelatorio& pedido, const AvisoFalha& aviso, QString& motivo);
    QString ficheiroBd() const;
    // The folder "impressos" beside the database's file; none without a file.
    static QString pastaPdf(const QString& ficheiroBd);

    std::function<QSqlDatabase()> m_baseDados;
    const Relogio& m_relogio;
    DestinoRelatorios& m_saida;
    bool m_ocupado = false;
};
