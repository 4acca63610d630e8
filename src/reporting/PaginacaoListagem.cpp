#include "reporting/PaginacaoListagem.h"

#include <algorithm>

namespace PaginacaoListagem {

namespace {

using Tipo = Faixa::Tipo;

class Paginador
{
public:
    Paginador(const Medidas& m) : m_m(m)
    {
        m_paginas.append(Pagina{});
        colocar(Tipo::Cabecalho, m.cabecalho);
    }

    QList<Pagina> paginas() { return std::move(m_paginas); }

    double livre() const { return m_m.corpo - m_y; }
    bool vazia() const { return m_paginas.last().faixas.isEmpty(); }

    // A new page when the band would not fit, unless the page is still empty
    // (a band taller than a page goes on a page of its own and is cut).
    // `reserva` is what must fit with it (a group's name keeps its first row).
    void abrirPara(double altura, bool tabela, double reserva = 0)
    {
        if (!m_colunasPostas && tabela) {
            colocar(Tipo::Colunas, m_m.colunas);
            m_colunasPostas = true;
        }
        if (altura + reserva <= livre() + 0.01 || soCabecalhos())
            return;
        m_paginas.append(Pagina{});
        m_y = 0;
        m_colunasPostas = tabela;
        if (tabela)
            colocar(Tipo::Colunas, m_m.colunas);
    }

    Faixa& colocar(Tipo tipo, double altura, int grupo = -1)
    {
        Faixa f;
        f.tipo = tipo;
        f.grupo = grupo;
        f.y = m_y;
        f.altura = altura;
        m_y += altura;
        m_paginas.last().faixas.append(f);
        return m_paginas.last().faixas.last();
    }

    // Rows [de, ate), each given its height, over as many pages as they take.
    void registos(qint64 de, qint64 ate, const std::function<double(qint64)>& altura, Tipo tipo = Tipo::Registos)
    {
        qint64 r = de;
        while (r < ate) {
            abrirPara(altura(r), tipo == Tipo::Registos);
            Faixa& f = colocar(tipo, 0);
            f.de = r;
            while (r < ate && (f.de == r || altura(r) <= livre() + 0.01)) {
                const double a = altura(r);
                f.altura += a;
                m_y += a;
                ++r;
            }
            f.ate = r;
        }
    }

private:
    // Only headings on the page so far: nothing is gained by a new one.
    bool soCabecalhos() const
    {
        const auto& faixas = m_paginas.last().faixas;
        return std::all_of(faixas.begin(), faixas.end(),
                           [](const Faixa& f) { return f.tipo == Tipo::Cabecalho || f.tipo == Tipo::Colunas; });
    }

    const Medidas& m_m;
    QList<Pagina> m_paginas;
    double m_y = 0;
    bool m_colunasPostas = false;
};

}  // namespace

QList<Pagina> paginar(const Conteudo& c, const Medidas& m)
{
    Paginador p(m);
    const auto altura = [&](qint64 r) {
        const int linhas = c.linhasRegisto ? std::max(1, c.linhasRegisto(r)) : 1;
        return linhas * m.linha + m.margemLinha;
    };
    if (c.registos == 0 && c.semRegistos) {
        p.abrirPara(m.semRegistos, false);
        p.colocar(Tipo::SemRegistos, m.semRegistos);
        return p.paginas();
    }
    switch (c.forma) {
    case Conteudo::Forma::Registos:
    case Conteudo::Forma::TotaisGrupos: p.registos(0, c.registos, altura); break;
    case Conteudo::Forma::Grupos: {
        qint64 inicio = 0;
        for (int g = 0; g < c.tamanhosGrupos.size(); ++g) {
            const qint64 fim = inicio + c.tamanhosGrupos[g];
            // A group's name never stays alone at the foot of a page.
            p.abrirPara(m.grupo, true, fim > inicio ? altura(inicio) : 0);
            p.colocar(Tipo::Grupo, m.grupo, g);
            p.registos(inicio, fim, altura);
            p.abrirPara(m.totalGrupo, true);
            p.colocar(Tipo::TotalGrupo, m.totalGrupo, g);
            inicio = fim;
        }
        break;
    }
    }
    if (c.totalGeral) {
        p.abrirPara(m.totalGeral, true);
        p.colocar(Tipo::TotalGeral, m.totalGeral);
    }
    if (c.grafico && c.registos > 0) {
        p.abrirPara(m.antesGrafico + m.barra, false);
        if (!p.vazia())
            p.colocar(Tipo::Barras, m.antesGrafico).de = 0;
        p.registos(
            0, c.registos, [&](qint64) { return m.barra; }, Tipo::Barras);
    }
    return p.paginas();
}

}  // namespace PaginacaoListagem
