#pragma once

#include "reporting/ComposicaoRelatorio.h"
#include "reporting/DefinicaoRelatorio.h"
#include "reporting/FormulaSeleccao.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class LigacaoBd;
struct Tabela;

// The rows of a listing, read through a connection of its own to the
// database file (made and used in one thread, the one that builds it). The
// rows the selection picks among those stored when the copy starts are
// copied once into the connection's temporary tables, in short slices of the
// table's keys so the stations' saves never wait for more than one; then,
// from the copy alone, put in the order they are printed: groups in
// Portuguese order of their names (the nameless group last), rows by the
// definition's order inside each. Pages then read their rows by position, in
// any order. Failures throw Erro, those of the temporary storage told as its
// own; a set `cancelado` stops a statement at once.
class FonteListagem
{
public:
    struct Grupo
    {
        QString valor;  // as the group's first row writes it ("" for no name)
        qint64 n = 0;
        qint64 liquido = 0;
    };

    FonteListagem(const DefinicaoRelatorio& definicao, const QString& ficheiroBd);
    ~FonteListagem();
    FonteListagem(const FonteListagem&) = delete;
    FonteListagem& operator=(const FonteListagem&) = delete;

    // Copies the selected rows; stops early, with nothing usable, when `cancelado` is set.
    void copiar(const FormulaSeleccao::Clausula& seleccao, const std::atomic<bool>& cancelado);

    // The groups in print order; none when the rows are not grouped.
    const QList<Grupo>& grupos() const { return m_grupos; }
    // The rows copied and their net weight.
    qint64 registos() const { return m_registos; }
    qint64 liquido() const { return m_liquido; }
    ValoresEmpresa empresa() const;

    // Rows [de, ate) in print order (from 0), each with a text per column.
    QList<QStringList> ler(qint64 de, qint64 ate) const;

    // The lines each row takes, given those of a text in a column. Each
    // distinct text is measured once; a column whose texts all take one line
    // costs no pass over the rows.
    std::vector<quint8> linhasPorRegisto(const std::function<int(int coluna, const QString& texto)>& linhas,
                                         const std::atomic<bool>& cancelado) const;

    // What a group is called on paper: its name, or "(sem identificação)".
    static QString nome(const Grupo& g);

private:
    void copiarTudo(const FormulaSeleccao::Clausula& seleccao, const std::atomic<bool>& cancelado);
    QList<QStringList> lerLinhas(qint64 de, qint64 ate) const;
    std::vector<quint8> medirLinhas(const std::function<int(int coluna, const QString& texto)>& linhas,
                                    const std::atomic<bool>& cancelado) const;
    // The selected rows' fields that the listing reads, into temp.lidas.
    void copiarSeleccionadas(const Tabela& tabela, const ConsultaRelatorio& consulta,
                             const std::atomic<bool>& cancelado);
    // The groups of the rows read, and their print order into temp.ordem.
    void copiarGrupos(const QString& ordem, const std::atomic<bool>& cancelado);

    const DefinicaoRelatorio& m_definicao;
    std::unique_ptr<LigacaoBd> m_ligacao;
    QList<const Campo*> m_campos;  // the fields of the columns, in order
    QList<Grupo> m_grupos;
    qint64 m_registos = 0;
    qint64 m_liquido = 0;
};
