#include "platform/gui/Dialogo.h"

#include "platform/gui/Teclas.h"

#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

namespace Dialogo {

namespace {

// Watches the dialog and its buttons: a button made after the rules were put
// is taken when the dialog is shown (Qt picks its default button right
// after); Enter on a button presses that button or nothing; Enter and Esc that
// no control took stop at the dialog.
class Regras : public QObject
{
public:
    Regras(QDialog* janela, Opcoes opcoes) : QObject(janela), m_janela(janela), m_opcoes(opcoes) {}

    void tomarBotoes()
    {
        for (QPushButton* b : m_janela->findChildren<QPushButton*>()) {
            if (b->window() == m_janela) {
                semDefeito(b);
                b->installEventFilter(this);
            }
        }
    }

protected:
    bool eventFilter(QObject* objecto, QEvent* evento) override
    {
        if (objecto == m_janela && evento->type() == QEvent::Show)
            tomarBotoes();
        if (evento->type() != QEvent::KeyPress)
            return false;
        auto* tecla = static_cast<QKeyEvent*>(evento);
        if (auto* botao = qobject_cast<QPushButton*>(objecto)) {
            if (!Teclas::eEnter(tecla))
                return false;
            if (m_opcoes.enterNoBotao && botao->isEnabled())
                botao->click();
        } else if (objecto != m_janela
                   || !(Teclas::eEnter(tecla) || (tecla->key() == Qt::Key_Escape && !m_opcoes.escFecha))) {
            return false;
        }
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
    auto* regras = new Regras(janela, opcoes);
    regras->tomarBotoes();
    janela->installEventFilter(regras);
}

void semDefeito(QPushButton* b)
{
    b->setAutoDefault(false);
    b->setDefault(false);
}

QLabel* criarBarraEstado(QDialog* janela)
{
    auto* stb = new QStatusBar(janela);
    stb->setObjectName(QStringLiteral("stb"));
    stb->setSizeGripEnabled(false);
    auto* painel = new QLabel(stb);
    painel->setObjectName(QStringLiteral("stbPainel1"));
    stb->addWidget(painel, 1);
    return painel;
}

}  // namespace Dialogo
