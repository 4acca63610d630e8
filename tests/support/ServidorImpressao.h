#pragma once

#include "platform/impressao/LugaresImpressao.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A print server of the test's own: CUPS's daemon in a temporary folder,
// its socket there, with one queue, "fila", whose printer writes each job
// whole into a file of that folder. No other print server or printer is
// ever reached. The daemon runs as root (its jobs as lp) and ends with this,
// or with the test process however it ends (stopped, too).
class ServidorImpressao
{
public:
    enum class Fila {
        Aceita,  // takes jobs and prints them
        Recusa,  // does not take jobs (cupsreject)
        Parada,  // takes jobs and keeps them while it is stopped (cupsdisable)
        Retem    // takes jobs and holds each until released (job-hold-until)
    };
    // With `porDefeito`, the queue is the server's default.
    explicit ServidorImpressao(Fila fila = Fila::Aceita, bool porDefeito = true);
    ~ServidorImpressao();
    ServidorImpressao(const ServidorImpressao&) = delete;
    ServidorImpressao& operator=(const ServidorImpressao&) = delete;

    // Why it does not run (no daemon installed, not root); empty when it runs.
    const QString& porqueNao() const { return m_porqueNao; }
    // The server's socket, as the print system names a server.
    QString socket() const { return m_pasta.filePath(QStringLiteral("cups.sock")); }
    static QString nomeFila() { return QStringLiteral("fila"); }
    // Where the station finds it: its socket named by CUPS_SERVER, and nothing else.
    LugaresImpressao lugares() const;

    // The daemon stops (SIGSTOP): its socket takes connections, and nothing
    // answers them. It goes on (SIGCONT) with continuar, and before it ends.
    void parar();
    void continuar();
    // The daemon dies at once (SIGKILL): its socket stays, nobody behind it.
    void matar();
    // The state of job `trabalho` as the server tells it (an ipp_jstate_t), 0 when it does not.
    int estadoTrabalho(int trabalho) const;

    // What the printer printed of job `trabalho` (the file's path; it appears whole).
    QString impresso(int trabalho) const;
    // The jobs printed, by their files' names ("trabalho-1.pdf"…).
    QStringList impressos() const;
    // The document of job `trabalho` as the server keeps it while the job waits.
    QString guardado(int trabalho) const;
    // The documents the server keeps, held or waiting.
    QStringList guardados() const;
    // The jobs printed; where none was, the documents the server keeps.
    QStringList trabalhos() const { return impressos().isEmpty() ? guardados() : impressos(); }

private:
    QTemporaryDir m_pasta;
    QProcess m_cupsd;
    QString m_porqueNao;
    bool m_parado = false;
};

// The test's own print server `servidor`; the test is skipped when it cannot run.
#define SERVIDOR_OU_SALTAR(servidor)                                                                                   \
    if (!(servidor).porqueNao().isEmpty())                                                                              \
        QSKIP(qPrintable((servidor).porqueNao()));
