#include "tables/ListaEscolha.h"

#include "data/Estacao.h"
#include "data/Passo.h"
#include "platform/Mensagens.h"
#include "tables/DestinoEscolha.h"
#include "tables/TitulosMenu.h"

#include <QCollator>
#include <algorithm>
#include <numeric>
#include <vector>

namespace {

// Puts the normal pointer back when the opening ends, whichever way it ends:
// the weighing screen set the hourglass before showing the list.
class PonteiroNormalNoFim
{
public:
    explicit PonteiroNormalNoFim(ServicoMensagens& m) : m_m(m) {}
    ~PonteiroNormalNoFim() { m_m.CursorOcupado(false); }
    PonteiroNormalNoFim(const PonteiroNormalNoFim&) = delete;
    PonteiroNormalNoFim& operator=(const PonteiroNormalNoFim&) = delete;

private:
    ServicoMensagens& m_m;
};

}  // namespace

ListaEscolha::ListaEscolha(Estacao& estacao, DestinoEscolha& destino) : m_estacao(estacao), m_destino(destino) {}

const QList<ColunaLista>& ListaEscolha::colunas() const
{
    static const QList<ColunaLista> nenhuma;
    return m_lista ? m_lista->colunas : nenhuma;
}

int ListaEscolha::posicaoSeleccionada() const
{
    return m_seleccionada < 0 ? -1 : int(m_ordem.indexOf(m_seleccionada));
}

void ListaEscolha::Form_Load()
{
    PonteiroNormalNoFim ponteiro(m_estacao.mensagens);
    m_caption = m_estacao.Acesso.TituloMenu;
    PreencherLista();
    m_listaVisivel = !m_linhas.isEmpty();
    m_copiarVisivel = false;
    m_stbVisivel = false;
}

void ListaEscolha::PreencherLista()
{
    m_linhas.clear();
    m_ordem.clear();
    m_seleccionada = -1;
    m_lista = ConteudoListas::definicao(m_estacao.Acesso.TituloMenu);
    if (!m_lista || !m_estacao.Bd)
        return;
    m_legendaOpt[0] = m_lista->legendaOpt0;
    m_legendaOpt[1] = m_lista->legendaOpt1;

    // A source that cannot be read is said so once, and the rows read until
    // then stay: an unreadable table must not pass for an empty one.
    Passo(m_estacao.mensagens, m_lista->cabecalhoErro,
          [&] { ConteudoListas::lerLinhas(m_estacao.bd(), *m_lista, m_estacao.relogio, m_linhas); });

    m_ordem.resize(m_linhas.size());
    std::iota(m_ordem.begin(), m_ordem.end(), 0);
}

QString ListaEscolha::textoLinha(int indiceLinha, int coluna) const
{
    return ConteudoListas::texto(*m_lista, m_linhas.at(indiceLinha), coluna, m_estacao.relogio);
}

void ListaEscolha::seleccionar(int indiceLinha)
{
    m_seleccionada = indiceLinha;
    m_painel[0] = textoLinha(indiceLinha, 1);
    m_painel[1] = textoLinha(indiceLinha, 0);
    // Once shown, Copiar and the status bar stay for the rest of the opening.
    m_stbVisivel = true;
    m_copiarVisivel = true;
}

void ListaEscolha::opt_Click(int indice)
{
    if (indice >= 0 && indice <= 2)
        m_opt = indice;
}

void ListaEscolha::lst_ItemClick(int posicao)
{
    if (m_fim == Fim::Aberta && posicao >= 0 && posicao < m_ordem.size())
        seleccionar(m_ordem.at(posicao));
}

void ListaEscolha::lst_ColumnClick(int coluna)
{
    if (m_fim != Fim::Aberta || coluna < 0 || coluna >= colunas().size())
        return;
    // One direction for the whole list: every header click flips it.
    m_colunaOrdem = coluna;
    m_ascendente = !m_ascendente;
    ordenar();
}

void ListaEscolha::ordenar()
{
    // By the texts shown, so weights and dates sort as text ("10 kg" before
    // "9 kg"); letter case and accents as the locale orders words.
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QCollatorSortKey> chaves;
    chaves.reserve(m_linhas.size());
    for (int i = 0; i < m_linhas.size(); ++i)
        chaves.push_back(collator.sortKey(textoLinha(i, m_colunaOrdem)));
    const bool ascendente = m_ascendente;
    std::stable_sort(m_ordem.begin(), m_ordem.end(), [&](int a, int b) {
        const int c = chaves[size_t(a)].compare(chaves[size_t(b)]);
        return ascendente ? c < 0 : c > 0;
    });
}

void ListaEscolha::lst_DblClick(int posicaoActual)
{
    if (m_fim != Fim::Aberta)
        return;
    if (m_copiarVisivel)
        CopiarSelecao();
    else
        lst_ItemClick(posicaoActual);  // the first Enter only selects
}

void ListaEscolha::lst_KeyPress(int caracter, int posicaoActual)
{
    if (caracter == Enter)
        lst_DblClick(posicaoActual);
    else if (caracter == Esc)
        Cancelar();
}

void ListaEscolha::cmd_Click(int indice)
{
    if (m_fim != Fim::Aberta)
        return;
    switch (indice) {
    case 0: Cancelar(); break;
    case 1: CopiarSelecao(); break;
    case 2: {
        const QString& titulo = m_estacao.Acesso.TituloMenu;
        QString onde;
        int modo;
        switch (m_opt) {
        case 0:
            onde = m_legendaOpt[0];
            modo = ModoEtiqueta;
            break;
        case 1:
            onde = m_legendaOpt[1];
            modo = ModoTexto;
            break;
        default:
            onde = titulo;
            modo = ModoSubItens;
            break;
        }
        const QString resposta =
            m_estacao.mensagens.InputBox(QStringLiteral("Procurar em ") + onde + QStringLiteral(" por:"), titulo);
        // Looked for as typed: a leading blank counts.
        if (!resposta.trimmed().isEmpty())
            ProcurarItem(resposta, modo);
        break;
    }
    default: break;
    }
}

void ListaEscolha::cmd_KeyPress(int caracter)
{
    if (caracter == Esc)
        Cancelar();
}

void ListaEscolha::Cancelar()
{
    if (m_fim != Fim::Aberta)
        return;
    m_estacao.Acesso.TituloMenu = QString();
    m_fim = Fim::Cancelada;
}

bool ListaEscolha::ProcurarItem(const QString& texto, int modo)
{
    auto corresponde = [&](int posicao) {
        switch (modo) {
        case ModoTexto: return this->texto(posicao, 0).startsWith(texto, Qt::CaseInsensitive);
        case ModoEtiqueta: return etiqueta(posicao).compare(texto, Qt::CaseInsensitive) == 0;
        default:
            for (int i = 1; i < colunas().size(); ++i) {
                if (this->texto(posicao, i).compare(texto, Qt::CaseInsensitive) == 0)
                    return true;
            }
            return false;
        }
    };
    for (int posicao = 0; posicao < m_ordem.size(); ++posicao) {
        if (corresponde(posicao)) {
            seleccionar(m_ordem.at(posicao));
            return true;
        }
    }

    QString mensagem;
    switch (modo) {
    case ModoEtiqueta: mensagem = QStringLiteral("O código ") + texto + QStringLiteral(" não foi encontrado"); break;
    case ModoTexto: mensagem = QStringLiteral("Não foi localizada nenhuma identificação que contenha ") + texto; break;
    default: mensagem = QStringLiteral("Não foi localizado na tabela nenhum campo com o descritivo ") + texto; break;
    }
    m_estacao.mensagens.MsgBox(mensagem, Estilo::Informacao, m_estacao.Acesso.TituloMenu);
    return false;
}

void ListaEscolha::CopiarSelecao()
{
    if (m_fim != Fim::Aberta || m_seleccionada < 0)
        return;
    const QString titulo = m_estacao.Acesso.TituloMenu;
    if (titulo == TitulosMenu::PrimeirasPesagens) {
        // The vehicle code, then the plate.
        m_destino.setTxt(0, textoLinha(m_seleccionada, 1));
        m_destino.setTxt(1, textoLinha(m_seleccionada, 0));
    } else if (const int campo = TitulosMenu::devolucao(titulo).campoEnter; campo >= 0) {
        m_destino.setTxt(campo, ConteudoListas::etiqueta(m_linhas.at(m_seleccionada)));
    }
    // The title stays set: that tells the weighing screen a row was picked.
    m_fim = Fim::Escolhida;
}
