#include "admin/AberturaModal.h"

#include <QDialog>

void executarModal(QDialog& janela, QWidget* principal)
{
    janela.setWindowModality(Qt::ApplicationModal);
    janela.exec();
    if (principal && principal->isVisible())
        principal->activateWindow();
}
