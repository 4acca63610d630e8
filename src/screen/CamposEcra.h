#pragma once

#include "screen/CamposEntrada.h"
#include "screen/Controlo.h"

#include <QString>
#include <array>
#include <optional>
#include <utility>

class EcraPesagem;

// The weighing screen's entry fields txt(0) to txt(18): the focus routines,
// the keys, the change handling, the operator's typing and pasting, the
// look-up lists and the quick list of plates opened from them. It keeps which
// field the operator was last in, with its colour and text from then.
class CamposEcra
{
public:
    explicit CamposEcra(EcraPesagem& ecra) : m_ecra(ecra) {}

    int CampoActual() const { return m_campoActual; }
    // The field's text when it took the focus (Esc puts it back).
    QString TextoAnterior() const { return m_textoAnterior; }

    void txt_GotFocus(int Index);
    void txt_LostFocus(int Index);
    void txt_KeyPress(int Index, int& KeyAscii);
    void txt_KeyDown(int Index, int KeyCode, int Shift);
    void txt_Change(int Index);
    void txt_DblClick(int Index);
    void lst_Click(const QString& matricula);

    // ----- Events the window passes in
    // The caret or selection of a field as the operator left it.
    void definirSeleccao(int Index, int inicio, int comprimento);
    // The selection the screen asks the window to show, once.
    std::optional<std::pair<int, int>> tomarPedidoSeleccao(int Index);
    // A typed character (8 Backspace, 13 Enter, 27 Esc, or a printable one),
    // with what the field then does by default.
    void Teclar(int Index, int KeyAscii);
    // Pasted or composed text: each character as if typed.
    void Colar(int Index, const QString& texto);
    // An edit the window's field made itself (Delete, cut).
    void TextoEditado(int Index, const QString& texto, int cursor);

    // The window shows this caret or selection at the next copy.
    void pedirSeleccao(int Index, int inicio, int comprimento);
    void seleccionarTudo(int Index);

private:
    // An edit of the operator's: the new text, with the caret where the edit
    // left it unless the change handling moved it.
    void editar(int Index, const QString& texto, int caret);
    // A write of the operator's, for the change handling to know.
    void escreverDoOperador(int Index, const QString& texto);
    void passoPesar();
    void reconstruirListaRapida();
    void abrirConsulta(const QString& titulo);

    EcraPesagem& m_ecra;
    int m_campoActual = 0;                // the entry field that took the focus last
    quint32 m_corAnterior = Cor::Janela;  // its colour before it turned yellow
    QString m_textoAnterior;
    std::array<bool, CamposEntrada::Numero> m_seleccaoPedida{};
    bool m_edicaoOperador = false;
};
