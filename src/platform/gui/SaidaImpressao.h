#pragma once

#include <QPageLayout>
#include <QPrinterInfo>
#include <QString>
#include <memory>

class QPagedPaintDevice;
class QPdfWriter;
class QPrinter;
class QSaveFile;

// Where a print run's pages go: the printer the station found, or, when the
// machine has none, a new PDF file. The file is written under a temporary
// name and takes its own only when the run ends well, so a failed or
// cancelled run leaves no file behind. Made, used and ended in one thread;
// the pages are A4 with the station's margins, at 1 200 dots an inch.
class SaidaImpressao
{
public:
    // To `impressora`, or to the file `pdf` when `impressora` is null.
    SaidaImpressao(const QPrinterInfo& impressora, const QString& pdf, const QString& nome, bool paisagem);
    ~SaidaImpressao();  // a run not ended is abandoned
    SaidaImpressao(const SaidaImpressao&) = delete;
    SaidaImpressao& operator=(const SaidaImpressao&) = delete;

    // What to paint on; nullptr when the file cannot be made.
    QPagedPaintDevice* dispositivo() const { return m_dispositivo; }
    // After the painter has ended: gives the file its name. False when the
    // printer or the file failed, or the run was abandoned.
    bool concluir();
    // Before the painter ends: nothing reaches the printer or the folder.
    void desistir();

private:
    std::unique_ptr<QPrinter> m_impressora;
    std::unique_ptr<QSaveFile> m_ficheiro;
    std::unique_ptr<QPdfWriter> m_pdf;
    QPagedPaintDevice* m_dispositivo = nullptr;
};

// The station's page: A4 with its margins, in the orientation given.
QPageLayout folhaDaEstacao(bool paisagem);
void prepararPagina(QPagedPaintDevice& dispositivo, bool paisagem);
