#include "platform/gui/MensagensQt.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon icone(int estilo)
{
    switch (estilo & 0x70) {
    case Estilo::Critico: return QMessageBox::Critical;
    case Estilo::Pergunta: return QMessageBox::Question;
    case Estilo::Exclamacao: return QMessageBox::Warning;
    case Estilo::Informacao: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

struct Botao
{
    const char* texto;
    QMessageBox::ButtonRole papel;
    int resposta;
};

}  // namespace

int MensagensQt::MsgBox(const QString& texto, int estilo, const QString& titulo)
{
    QMessageBox caixa(QApplication::activeWindow());
    caixa.setWindowTitle(titulo.isEmpty() ? tituloAplicacao() : titulo);
    caixa.setText(texto);
    caixa.setIcon(icone(estilo));

    QList<Botao> botoes;
    switch (estilo & 0x7) {
    case Estilo::OKCancelar:
        botoes = {{"OK", QMessageBox::AcceptRole, Resposta::OK},
                  {"Cancelar", QMessageBox::RejectRole, Resposta::Cancelar}};
        break;
    case Estilo::SimNao:
        botoes = {{"&Sim", QMessageBox::YesRole, Resposta::Sim}, {"&Não", QMessageBox::NoRole, Resposta::Nao}};
        break;
    case 3:  // Yes, No and Cancel
        botoes = {{"&Sim", QMessageBox::YesRole, Resposta::Sim},
                  {"&Não", QMessageBox::NoRole, Resposta::Nao},
                  {"Cancelar", QMessageBox::RejectRole, Resposta::Cancelar}};
        break;
    default: botoes = {{"OK", QMessageBox::AcceptRole, Resposta::OK}}; break;
    }
    QList<QPushButton*> criados;
    for (const Botao& b : botoes) {
        QPushButton* p = caixa.addButton(QString::fromUtf8(b.texto), b.papel);
        p->setAutoDefault(false);
        criados.append(p);
    }
    const int predefinido = (estilo & Estilo::SegundoBotao) && criados.size() > 1 ? 1 : 0;
    caixa.setDefaultButton(criados[predefinido]);
    criados[predefinido]->setFocus();
    if (criados.size() == 1)
        caixa.setEscapeButton(criados[0]);

    caixa.exec();
    const int escolhido = static_cast<int>(criados.indexOf(qobject_cast<QPushButton*>(caixa.clickedButton())));
    if (escolhido < 0)
        return botoes.size() == 1                 ? Resposta::OK
               : (estilo & 0x7) == Estilo::SimNao ? Resposta::Nao
                                                  : Resposta::Cancelar;
    return botoes[escolhido].resposta;
}

QString MensagensQt::InputBox(const QString& pergunta, const QString& titulo, const QString& defeito)
{
    QInputDialog dialogo(QApplication::activeWindow());
    dialogo.setWindowTitle(titulo.isEmpty() ? tituloAplicacao() : titulo);
    dialogo.setLabelText(pergunta);
    dialogo.setTextValue(defeito);
    dialogo.setOkButtonText(QStringLiteral("OK"));
    dialogo.setCancelButtonText(QStringLiteral("Cancelar"));
    if (dialogo.exec() != QDialog::Accepted)
        return QString();
    return dialogo.textValue();
}

void MensagensQt::Beep()
{
    QApplication::beep();
}

void MensagensQt::CursorOcupado(bool ocupado)
{
    if (ocupado)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}
