#include "records/LogicaMapas.h"

#include "data/Estacao.h"
#include "data/Passo.h"
#include "platform/Conversoes.h"
#include "platform/Erro.h"
#include "platform/Mensagens.h"
#include "platform/Relogio.h"

namespace {

// The leading number of a box: 0 when it starts with no digit.
int valorInicial(const QString& texto)
{
    const QString t = texto.trimmed();
    qsizetype n = 0;
    while (n < t.size() && t[n] >= u'0' && t[n] <= u'9')
        ++n;
    return n == 0 ? 0 : t.left(std::min<qsizetype>(n, 9)).toInt();
}

}  // namespace

LogicaMapas::LogicaMapas(Estacao& estacao) : m_estacao(estacao) {}

void LogicaMapas::Form_Load()
{
    const bool nivel4 = m_estacao.Acesso.NivelAcesso == 4;
    optVisivel = {true, true, nivel4, nivel4};
    const QDate hoje = m_estacao.relogio.agora().date();
    const QString dia = hoje.toString(QStringLiteral("dd")), mes = hoje.toString(QStringLiteral("MM")),
                  ano = hoje.toString(QStringLiteral("yyyy"));
    txt = {dia, mes, ano, dia, mes, ano};
    identificacaoVisivel = chkVisivel = cmdVisivel = false;
    Caption = m_estacao.Acesso.TituloMapa;
    estatistica = Estatisticas::porTitulo(Caption);
}

bool LogicaMapas::txt_Enter(int i)
{
    if (valorInicial(txt[i]) <= 0)
        return false;
    if (i == 5) {
        try {
            PreencherIdentificacao();
        } catch (const Erro& e) {
            mostrarErro(e);
        }
    }
    return true;
}

void LogicaMapas::txt_LostFocus(int i)
{
    const QString t = txt[i].trimmed();
    if (t.isEmpty() || t.size() > 9)
        return;
    for (QChar c : t) {
        if (c < u'0' || c > u'9')
            return;
    }
    txt[i] = QStringLiteral("%1").arg(t.toInt(), i == 2 || i == 5 ? 4 : 2, 10, QChar(u'0'));
}

QString LogicaMapas::Identificacao_Caracter(const QString& texto) const
{
    // Plates are always typed in capitals.
    if (estatistica && estatistica->campo == u"Viatura")
        return texto.toUpper();
    return texto;
}

bool LogicaMapas::Identificacao_Enter()
{
    if (lista.contains(identificacao, Qt::CaseSensitive) || identificacao == u"TODOS")
        return true;
    m_estacao.mensagens.Beep();
    return false;
}

void LogicaMapas::chk_Click(int i)
{
    if (i == 1 && chk[1] && !chk[0])
        chk[0] = true;
}

void LogicaMapas::PreencherIdentificacao()
{
    // A failure leaves what is shown as it was.
    foco = Foco::Nenhum;
    if (!estatistica)
        return;
    QString motivo;
    const auto periodo = Estatisticas::intervalo(txt, &motivo);
    if (!periodo)
        Erros::lancar(ErroDataInvalida, motivo);
    const Estatisticas::Identificacoes achados = Estatisticas::listar(m_estacao.bd(), *estatistica, *periodo, opcao);
    if (achados.linhas == 0) {
        identificacaoVisivel = chkVisivel = cmdVisivel = false;
        foco = Foco::Sair;
        return;
    }
    cmdVisivel = true;
    if (estatistica->porPartes()) {
        identificacaoVisivel = true;
        lista = achados.valores;
        identificacao = lista.value(0);
        if (achados.linhas > 1) {
            lista << QStringLiteral("TODOS");
            identificacao = QStringLiteral("TODOS");
            foco = Foco::Identificacao;
        } else {
            foco = Foco::Visualizar;
        }
        larguraTwips = estatistica->larguraTwips;
        chkVisivel = true;
    } else {
        identificacaoVisivel = false;
        chkVisivel = false;
        foco = Foco::Visualizar;
    }
}

QString LogicaMapas::ConstruirFormula() const
{
    if (!estatistica)
        return {};
    return Estatisticas::ConstruirFormula(*estatistica, txt, identificacao, opcao);
}

void LogicaMapas::cmd_Click(int Index)
{
    if ((Index != 0 && Index != 1) || !estatistica)
        return;
    // A date that does not exist would print an empty report: say so instead.
    QString motivo;
    if (!Estatisticas::intervalo(txt, &motivo)) {
        mostrarErro({ErroDataInvalida, motivo});
        return;
    }
    m_pedido.FicheiroRelatorio =
        m_estacao.naPastaPrograma(Estatisticas::ficheiroRelatorio(*estatistica, chk[0], chk[1]));
    if (Index == 0) {
        m_pedido.Destino = DestinoRelatorio::Janela;
        m_pedido.Esquerda = 0;
        m_pedido.Topo = 0;
        m_pedido.EstadoJanela = EstadoJanelaRelatorio::Maximizada;
        m_pedido.TituloJanela = m_estacao.Acesso.TituloMapa;
    } else {
        m_pedido.Destino = DestinoRelatorio::Impressora;
    }
    m_pedido.FormulaSeleccao = ConstruirFormula();
    m_pedido.Copias = 1;
    // A report that fails once made in its own thread says why in the same box.
    if (m_estacao.impressora)
        m_estacao.impressora->ExecutarRelatorio(m_pedido, {&m_vida, [this](int, const Erro& e) { mostrarErro(e); }});
}

void LogicaMapas::mostrarErro(const Erro& erro)
{
    MostrarErroNumero(m_estacao.mensagens, m_estacao.Acesso.TituloMapa, erro);
}
