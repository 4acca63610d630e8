#pragma once

#include "platform/gui/FocoOperador.h"
#include "platform/gui/RealceFoco.h"
#include "records/EscolhaDocumento.h"

#include <QDialog>
#include <QHash>
#include <QStyle>
#include <memory>

class QButtonGroup;
class QComboBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QRadioButton;

// The window both the second copy and the cancellation are: the kind options,
// the number box, the details of the document found, a row of buttons with
// "&Sair" on the right, and the status bar showing the focused control's hint.
// A thin view of its logic: each event goes to the logic, then the window
// shows the logic's state. Enter and Esc do only what the logic says; Esc
// never closes the window, the close box does.
class JanelaEscolhaDocumento : public QDialog
{
    Q_OBJECT

public:
    ~JanelaEscolhaDocumento() override;

    EscolhaDocumento& logica() { return *m_logica; }

protected:
    JanelaEscolhaDocumento(std::unique_ptr<EscolhaDocumento> logica, const QString& titulo, QWidget* pai);

    // An action button at `coluna` of the row of buttons (0 left, 1 middle),
    // shown and hidden as the logic says.
    QPushButton* botaoAccao(const QString& nome, const QString& legenda, int coluna,
                            EscolhaDocumento::Controlo controlo, QStyle::StandardPixmap imagem);
    // The opening, once the buttons are in place.
    void carregar();
    // Shows the logic's state after an event.
    virtual void aplicar();

    bool eventFilter(QObject* objecto, QEvent* evento) override;

private:
    void construir(const QString& titulo);
    void ligar();
    QPushButton* botao(const QString& nome, const QString& legenda, const QString& dica, int coluna,
                       EscolhaDocumento::Controlo controlo, QStyle::StandardPixmap imagem);
    QWidget* widgetDe(EscolhaDocumento::Controlo controlo) const;
    void sincronizar();

    std::unique_ptr<EscolhaDocumento> m_logica;
    QHash<QObject*, EscolhaDocumento::Controlo> m_controlos;
    bool m_aSincronizar = false;
    EscolhaDocumento::Controlo m_focoMostrado = EscolhaDocumento::Controlo::Opt0;
    Realce m_realce;
    VigiaFoco m_vigia;

    QRadioButton* opt[3] = {};
    QButtonGroup* grupoOpt = nullptr;
    QComboBox* cmb = nullptr;
    QLabel* lblSV[3] = {};
    QGridLayout* m_botoes = nullptr;
    QList<QPushButton*> m_accoes;
    QPushButton* cmdSair = nullptr;
    QLabel* stbPainel = nullptr;
};
