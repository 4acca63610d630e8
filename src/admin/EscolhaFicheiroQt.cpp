#include "admin/EscolhaFicheiroQt.h"

#include <QFileDialog>
#include <QFileInfo>

std::optional<QString> EscolherFicheiroQt(QWidget* pai, const LogicaParametros::PedidoFicheiro& pedido)
{
    QFileDialog dialogo(pai, pedido.titulo, pedido.pasta);
    dialogo.setOption(QFileDialog::DontUseNativeDialog);
    dialogo.setOption(QFileDialog::ReadOnly);  // only picks a name: no renaming or deleting from here
    dialogo.setAcceptMode(QFileDialog::AcceptOpen);
    dialogo.setFileMode(QFileDialog::AnyFile);
    dialogo.setNameFilter(pedido.filtro + QStringLiteral(" (") + pedido.filtro + u')');
    dialogo.selectFile(QFileInfo(pedido.ficheiro).fileName());
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty())
        return std::nullopt;
    return dialogo.selectedFiles().constFirst();
}
