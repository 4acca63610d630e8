#pragma once

#include "reporting/DestinoRelatorios.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;

// The progress of a report being made, in a small window that stays above
// the window that asked (modal to it alone: the bridges and the main window
// go on): what it is doing, the pages made so far, and "Cancelar" (closing
// the window cancels too). It appears only when the work lasts (a short report
// comes and goes without it); the busy pointer shows from the start and for
// as long as it lives.
class ProgressoRelatorio : public QWidget
{
    Q_OBJECT

public:
    ProgressoRelatorio(const QString& titulo, QWidget* pai = nullptr);
    ~ProgressoRelatorio() override;

    // The window, as the report engine sees it: `cancelar` is called on
    // "Cancelar", and when the window goes with `pai`; deleting the answer
    // closes the window without it.
    static std::unique_ptr<ProgressoListagem> abrir(const QString& titulo, QWidget* pai,
                                                    std::function<void()> cancelar);

    // Page `pagina` of `total` done.
    void pagina(int pagina, int total);

Q_SIGNALS:
    void cancelar();

protected:
    void closeEvent(QCloseEvent* evento) override;

private:
    QLabel* m_texto;
    QProgressBar* m_barra;
    QPushButton* m_cancelar;
};
