#pragma once

#include "platform/Relatorio.h"

#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinterInfo>
#include <QSqlDatabase>
#include <QString>
#include <functional>

class QWidget;
class Relogio;

// The station's report printer: report definitions of the program's folder
// laid out with the rows of the main database. Destination 0 opens a preview
// window that does not hold up the station; destination 1 prints the copies
// on the default printer, or, when the machine has none, writes them into a
// new PDF file in the folder "impressos" beside the database, so no document
// is ever lost. Fewer than one copy prints nothing. It shows no box: the
// status says what went wrong, and the reason goes to the log.
class ImpressoraQt : public ImpressoraRelatorios
{
public:
    ImpressoraQt(std::function<QSqlDatabase()> baseDados, const Relogio& relogio);
    ~ImpressoraQt() override;

    int ExecutarRelatorio(const PedidoRelatorio& pedido) override;

    // The printer a request for the printer goes to; a null one means the
    // machine has none. The system's default printer unless replaced (tests
    // always replace it, so they never reach a real print queue).
    std::function<QPrinterInfo()> impressoraPorDefeito = [] { return QPrinterInfo::defaultPrinter(); };

    // The window a preview belongs to when no modal window is open.
    void setJanelaPrincipal(QWidget* janela) { m_janelaPrincipal = janela; }

    // The last preview window opened, and the last PDF file written.
    QPrintPreviewDialog* ultimaJanela() const { return m_ultimaJanela; }
    const QString& ultimoPdf() const { return m_ultimoPdf; }

private:
    // Carries a request out and returns its status; the reason of a failure goes into `motivo`.
    int executar(const PedidoRelatorio& pedido, QString& motivo);
    int imprimir(const QString& html, bool paisagem, const QString& nome, int copias);
    void mostrar(const QString& html, bool paisagem, const PedidoRelatorio& pedido);
    QString proximoPdf(const QString& nome) const;

    std::function<QSqlDatabase()> m_baseDados;
    const Relogio& m_relogio;
    QPointer<QWidget> m_janelaPrincipal;
    QPointer<QPrintPreviewDialog> m_ultimaJanela;
    QString m_ultimoPdf;
    bool m_ocupada = false;
};
