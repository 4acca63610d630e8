#pragma once

#include "admin/LogicaParametros.h"
#include "platform/gui/FocoJanela.h"

#include <QDialog>
#include <functional>
#include <vector>

class Estacao;
class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QStackedWidget;

// The parameters dialog: a thin view over LogicaParametros. Eight tabs in two
// rows of four over the pages, and the three buttons. Each control is bound
// once to its value in the logic: the operator's edits go in, and after every
// event the logic's state is copied back to the controls (each property only
// when it differs). Widgets are named after their controls ("txtG0",
// "cmbPrtLP1", "fraB0", "cmd2"); the tab buttons "sst0" to "sst7".
class frmPar : public QDialog
{
    Q_OBJECT

public:
    frmPar(Estacao& estacao, LogicaParametros::EscolherFicheiro escolher, std::function<void()> fecharPortas,
           QWidget* pai = nullptr);

    LogicaParametros& logica() { return m_logica; }
    int abaActual() const;

    // "Cancelar" and the close box.
    void reject() override;

protected:
    bool eventFilter(QObject* objecto, QEvent* evento) override;

private:
    QWidget* construirGeral();
    QWidget* construirDocumentos();
    QWidget* construirBascula(int i);
    QWidget* construirLeitor(int i, bool principal);
    void construirSerie(QGridLayout* grelha, int coluna, const QString& sufixo, const QString& rotulos, int i,
                        LogicaParametros::Serie& s, int portas, std::vector<QWidget*>* controlos = nullptr);

    QComboBox* lista(const QString& nome, const QStringList& entradas, int& valor, const QString& dica);
    QLineEdit* caixa(const QString& nome, QString& valor, const QString& dica);
    void caixaDeVisto(QAbstractButton* w, bool& valor);
    void visivelSe(QWidget* w, std::function<bool()> condicao);

    bool tecla(QObject* objecto, QKeyEvent* e);
    void ganharFoco(QWidget* w);
    void mostrar();

    LogicaParametros m_logica;
    QButtonGroup* m_abas = nullptr;
    QStackedWidget* m_paginas = nullptr;
    std::vector<std::function<void()>> m_copias;  // state -> widgets, one per binding
    std::vector<QWidget*> m_realcar;              // the boxes and buttons that turn yellow
    FocoJanela m_foco;
};
