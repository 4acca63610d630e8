#pragma once

#include "tables/ConteudoListas.h"

#include <QList>
#include <QString>

class DestinoEscolha;
class Estacao;

// The look-up list's state and routines, apart from its window: which list
// `TituloMenu` names, its rows in the order shown, the selected row, what is
// visible, the sort and the search, the pick and the cancel. The window
// (frmMenu) shows this state and passes the operator's events in; tests drive
// it without a display.
//
// Rows are addressed by their position in the order shown (0 = top).
class ListaEscolha
{
public:
    enum class Fim { Aberta, Escolhida, Cancelada };

    // The character codes of lst_KeyPress and cmd_KeyPress.
    static constexpr int Enter = 13;
    static constexpr int Esc = 27;

    // Search modes of ProcurarItem.
    static constexpr int ModoTexto = 0;     // the row's text begins with t, letter case ignored
    static constexpr int ModoSubItens = 1;  // one of the sub-items is t
    static constexpr int ModoEtiqueta = 2;  // the tag (code) is t

    ListaEscolha(Estacao& estacao, DestinoEscolha& destino);

    // Opening: caption, fill, empty or browsing state, then the normal pointer.
    void Form_Load();

    // --- what the window shows
    const QString& caption() const { return m_caption; }
    const QList<ColunaLista>& colunas() const;
    int NumeroLinhas() const { return int(m_linhas.size()); }
    // The text of a column of the row at `posicao` (0: the row's text, then
    // the sub-items), made when asked for; the row's tag.
    QString texto(int posicao, int coluna) const { return textoLinha(m_ordem.at(posicao), coluna); }
    QString etiqueta(int posicao) const { return ConteudoListas::etiqueta(m_linhas.at(m_ordem.at(posicao))); }
    int posicaoSeleccionada() const;  // -1 when no row is selected
    bool listaVisivel() const { return m_listaVisivel; }
    bool procuraVisivel() const { return m_listaVisivel; }  // the search group goes with the list
    bool cancelarTabStop() const { return !m_listaVisivel; }
    bool copiarVisivel() const { return m_copiarVisivel; }
    bool stbVisivel() const { return m_stbVisivel; }
    const QString& painel(int i) const { return m_painel[i]; }  // 0: the code, 1: the text
    const QString& legendaOpt(int i) const { return m_legendaOpt[i]; }
    int optSeleccionada() const { return m_opt; }
    int colunaOrdem() const { return m_colunaOrdem; }
    Fim fim() const { return m_fim; }

    // --- the operator's events
    void opt_Click(int indice);
    void lst_ItemClick(int posicao);
    void lst_ColumnClick(int coluna);
    // Enter and the double-click: copy once a row was selected, otherwise
    // select the current row (`posicaoActual`, -1 for none).
    void lst_DblClick(int posicaoActual);
    void lst_KeyPress(int caracter, int posicaoActual);  // Enter, Esc
    void cmd_Click(int indice);                          // 0 Cancelar, 1 Copiar, 2 Procurar
    void cmd_KeyPress(int caracter);                     // Esc on any button cancels

    // Cancelar, Esc and the close box: `TituloMenu` := "" and close.
    void Cancelar();

    // Selects the first row in the order shown that matches; returns false and
    // says so when none does. Letter case is ignored in every mode.
    bool ProcurarItem(const QString& texto, int modo);

    // Writes the selected row into the weighing screen and closes, keeping `TituloMenu`.
    void CopiarSelecao();

private:
    void PreencherLista();
    void seleccionar(int indiceLinha);
    QString textoLinha(int indiceLinha, int coluna) const;
    void ordenar();

    Estacao& m_estacao;
    DestinoEscolha& m_destino;
    const DefinicaoLista* m_lista = nullptr;

    QString m_caption;
    QList<LinhaLista> m_linhas;  // in the order read
    QList<int> m_ordem;          // position shown -> row read
    int m_seleccionada = -1;     // row read, -1 for none
    bool m_listaVisivel = false;
    bool m_copiarVisivel = false;
    bool m_stbVisivel = false;
    QString m_painel[2];
    QString m_legendaOpt[3] = {QStringLiteral("Código"), QString(), QStringLiteral("Qualquer")};
    int m_opt = 0;
    int m_colunaOrdem = 0;
    bool m_ascendente = false;  // so the first header click sorts ascending
    Fim m_fim = Fim::Aberta;
};
