#include "platform/gui/Dialogo.h"

#include "platform/gui/Teclas.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

namespace Dialogo {

namespace {

void semDefeitos(QDialog* janela)
{
    for (QPushButton* b : janela->findChildren<QPushButton*>()) {
        if (b->window() == janela)
            semDefeito(b);
    }
}

// Watches the dialog itself: a button added after the rules were put is
// stripped of its default when the dialog is shown (Qt picks the default
// button right after), and Enter and Esc that no control took stop here.
class Regras : public QObject
{
public:
    Regras(QDialog* janela, Opcoes opcoes) : QObject(janela), m_janela(janela), m_opcoes(opcoes) {}

protected:
    bool eventFilter(QObject* objecto, QEvent* evento) override
    {
        if (objecto != m_janela)
            return false;
        if (evento->type() == QEvent::Show)
            semDefeitos(m_janela);
        if (evento->type() != QEvent::KeyPress)
            return false;
        auto* tecla = static_cast<QKeyEvent*>(evento);
        if (tecla->key() == Qt::Key_Escape && !m_opcoes.escFecha) {
            tecla->accept();
            return true;
        }
        if (!Teclas::eEnter(tecla))
            return false;
        auto* botao = qobject_cast<QPushButton*>(QApplication::focusWidget());
        if (m_opcoes.enterNoBotao && botao && botao->window() == m_janela && botao->isEnabled())
            botao->click();
        tecla->accept();
        return true;
    }

private:
    QDialog* m_janela;
    Opcoes m_opcoes;
};

}  // namespace

void aplicar(QDialog* janela, Opcoes opcoes)
{
    semDefeitos(janela);
    janela->installEventFilter(new Regras(janela, opcoes));
}

void semDefeito(QPushButton* b)
{
    b->setAutoDefault(false);
    b->setDefault(false);
}

QLabel* criarBarraEstado(QDialog* janela, QStatusBar** barra)
{
    auto* stb = new QStatusBar(janela);
    stb->setObjectName(QStringLiteral("stb"));
    stb->setSizeGripEnabled(false);
    auto* painel = new QLabel(stb);
    painel->setObjectName(QStringLiteral("stbPainel1"));
    stb->addWidget(painel, 1);
    if (barra)
        *barra = stb;
    return painel;
}

}  // namespace Dialogo
