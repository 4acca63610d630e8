#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

class Estacao;

// The choice of a completed document by its kind and number, as the
// second-copy and the cancellation windows both make it: the kind options, the
// number box with its list of the newest numbers, the details of the document
// found, the keys, the focus with its colours and hints, and whether the
// action buttons show. It only reads Pesagens; the windows' own actions live
// in SegundaVia and AnularPesagem.
class EscolhaDocumento
{
public:
    // The controls that take the focus; an action button by its place (Cmd0
    // is the only one of the cancellation).
    enum class Controlo { Opt0, Opt1, Opt2, Cmb, Cmd0, Cmd1, CmdSair };

    static constexpr int MaximoLista = 101;  // numbers in the box's list, newest first

    virtual ~EscolhaDocumento() = default;

    // The opening: "&Talão" only at level 4, then "&Entrada" chosen.
    void Form_Load();
    // The choice of a kind (0 'E', 1 'G', 2 'T'): the list of its numbers, the
    // newest first, and the look-up of the first; "Vazio" when it has none.
    void opt_Click(int Index);
    // The look-up of the box's text.
    void cmb_Click();
    // An entry of the list chosen by the operator, then looked up.
    void cmb_Escolher(int posicao);
    // The operator changed the box's text.
    void cmb_Editado(const QString& texto) { m_texto = texto; }
    // A character key (KeyAscii, 0 when swallowed) in the box and on an option.
    void cmb_KeyPress(int& KeyAscii);
    void opt_KeyPress(int& KeyAscii);
    // The operator moved the focus to a control.
    void Foco(Controlo controlo);

    // What the window shows.
    bool optVisivel(int Index) const { return Index != 2 || m_talaoVisivel; }
    int opt() const { return m_opt; }
    QChar tipo() const;  // the kind letter of the option selected
    const QStringList& lista() const { return m_lista; }
    const QString& texto() const { return m_texto; }
    bool cmbActivo() const { return m_cmbActivo; }
    const QString& lblSV(int Index) const { return m_lblSV.at(std::size_t(Index)); }
    bool cmdVisivel() const { return m_cmdVisivel; }
    Controlo foco() const { return m_foco; }
    bool amarelo(Controlo controlo) const;           // the focus colour
    QString dica(Controlo controlo) const;           // the control's hint
    QString painel() const { return dica(m_foco); }  // the status bar's first panel

    // The document number the box's text gives: its leading digits without
    // leading zeros ("007" is "7"; none is "0").
    static QString numeroDoTexto(const QString& texto);
    // "{Pesagens.Tipo de pesagem} = 'G' and {Pesagens.Número de pesagem} = 12"
    static QString FormulaTipoNumero(QChar tipo, const QString& numero);

protected:
    // `teclaGuia` is the letter that chooses "&Guia"; `dicasCmd` the hints of
    // the action buttons.
    EscolhaDocumento(Estacao& estacao, QChar teclaGuia, QStringList dicasCmd);

    Estacao& m_estacao;

private:
    void limparDetalhes();
    void seleccionarPelaTecla(int Index);

    QChar m_teclaGuia;
    QStringList m_dicasCmd;
    bool m_talaoVisivel = false;
    int m_opt = 0;
    QStringList m_lista;
    QString m_texto;
    bool m_cmbActivo = true;
    std::array<QString, 3> m_lblSV;
    bool m_cmdVisivel = true;
    Controlo m_foco = Controlo::Opt0;
};
