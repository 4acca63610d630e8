#include "admin/LogicaParametros.h"

#include "shared/Tecla.h"

#include "data/Consulta.h"
#include "data/EscritorLinha.h"
#include "data/Estacao.h"
#include "data/Passo.h"
#include "platform/ConfiguracaoSerie.h"
#include "platform/Mensagens.h"
#include "platform/Sistema.h"
#include "shared/Esquema.h"
#include "startup/ModGlobalIni.h"

#include <QFileInfo>

const QString LogicaParametros::Titulo = QStringLiteral("Parâmetros internos");
const QString LogicaParametros::MensagemReiniciar = QStringLiteral("É necessário reiniciar o Zumarel");
const QString LogicaParametros::CabecalhoErro = QStringLiteral("Erro no acesso à tabela de empresas");
const QStringList LogicaParametros::Modelos = {QStringLiteral("Avery Berkel"), QStringLiteral("Avery Weigh-Tronix"),
                                               QStringLiteral("Utilcel Matrix II")};
const QStringList LogicaParametros::Divisoes = {QStringLiteral("1"),  QStringLiteral("2"),  QStringLiteral("5"),
                                                QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("50")};
const QStringList LogicaParametros::Copias = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
                                              QStringLiteral("3"), QStringLiteral("4")};
const std::array<QString, LogicaParametros::CamposEmpresa> LogicaParametros::CamposEtxt = {
    QStringLiteral("Linha 1"),       QStringLiteral("Linha 2"),    QStringLiteral("Linha 3"),
    QStringLiteral("Código postal"), QStringLiteral("Localidade"), QStringLiteral("Contribuinte"),
    QStringLiteral("Telefone"),      QStringLiteral("Fax"),        QStringLiteral("Linha de fundo"),
    QStringLiteral("Entrada"),       QStringLiteral("Guia"),       QStringLiteral("Talão")};
const std::array<int, LogicaParametros::CamposEmpresa> LogicaParametros::TamanhosEtxt = {50, 50, 50, 8, 40, 9,
                                                                                         16, 16, 50, 9, 9,  9};
namespace {
const QString Digitos = QStringLiteral("1234567890");
const QString Telefone = QStringLiteral("1234567890 -+/\\()|");
constexpr int PrimeiroContador = 9;  // Etxt 9 to 11: the last document numbers
const QString Localizacao = QStringLiteral("Localizacao");

const QString Zumarel = QStringLiteral("Zumarel");
}  // namespace
const std::array<QString, LogicaParametros::CamposEmpresa> LogicaParametros::CaracteresEtxt = {
    QString(), QString(), QString(), QStringLiteral("1234567890 -"), QString(), Digitos, Telefone, Telefone, QString(),
    Digitos,   Digitos,   Digitos};
const QString LogicaParametros::CaracteresIP = QStringLiteral("1234567890.");

LogicaParametros::LogicaParametros(Estacao& estacao, EscolherFicheiro escolher, std::function<void()> fecharPortas)
    : m_estacao(estacao),
      m_escolher(std::move(escolher)),
      m_fecharPortas(std::move(fecharPortas))
{}

QStringList LogicaParametros::entradasPortas(int quantas) const
{
    return m_portas.mid(0, quantas);
}

void LogicaParametros::carregarSerie(Serie& s, qint16 porta, int portas, qint16 handshaking,
                                     const QString& configuracao)
{
    s.porta = porta >= 1 && porta <= portas ? porta - 1 : -1;
    s.handshaking = handshaking >= 0 && handshaking < PecasSerie::Handshakings.size() ? handshaking : -1;
    s.pecas = PecasSerie::ler(configuracao);
}

void LogicaParametros::Form_Load()
{
    const CursorOcupadoGuarda ocupado(m_estacao.mensagens);
    const Definicoes& d = m_estacao.Def;
    c = Controlos{};
    c.txtG = {d.BaseDados, d.BaseDadosBackup, d.FichInterface};
    c.chkG = {d.FormatViatNac, d.DuasPesagens, d.OperadorAutomatico};
    carregarEmpresa();
    const qint16 copias[] = {d.CopiasPrimeiraPesagem, d.CopiasSegundaVia, d.CopiasEntrada, d.CopiasSaida,
                             d.CopiasTalao};
    for (int k = 0; k < 5; ++k)
        c.cmbT[k] = copias[k] >= 0 && copias[k] < Copias.size() ? copias[k] : -1;

    // Each number's device, read once for the lists of every device.
    m_portas.clear();
    for (int n = 1; n <= PortasIndicador; ++n)
        m_portas << QStringLiteral("COM%1 — %2").arg(n).arg(caminhoPortaSerie(m_estacao.Ini(), n));

    for (int i = 0; i < 2; ++i) {
        Bascula& b = c.b[i];
        b.ligada = d.IndLigado[i];
        b.modelo = int(Modelos.indexOf(d.IndModelo[i]));
        b.divisao = int(Divisoes.indexOf(QString::number(d.IndDivisao[i])));
        b.minimo = QString::number(d.PesagemMinima[i]);
        b.ip = d.ComunicacaoIP[i];
        b.endereco = d.EnderecoIP[i];
        carregarSerie(b.serie, d.IndPorta[i], PortasIndicador, d.IndHandshaking[i], d.IndConfiguracao[i]);
        b.principal.ligado = d.LPLigado[i];
        carregarSerie(b.principal.serie, d.LPPorta[i], PortasLeitor, d.LPHandshaking[i], d.LPConfiguracao[i]);
        b.secundario.ligado = d.LSLigado[i];
        carregarSerie(b.secundario.serie, d.LSPorta[i], PortasLeitor, d.LSHandshaking[i], d.LSConfiguracao[i]);
    }
    m_divisaoInicial = d.IndDivisao;
    m_minimaInicial = d.PesagemMinima;
}

void LogicaParametros::carregarEmpresa()
{
    m_empresa.reset();
    if (!m_estacao.Bd)
        return;
    Passo(m_estacao.mensagens, CabecalhoErro, [&] {
        QStringList campos;
        for (const QString& campo : CamposEtxt)
            campos << Esquema::citar(campo);
        QSqlQuery q = Consulta::executar(
            m_estacao.bd(),
            QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                .arg(campos.join(u", "), Esquema::citar(Esquema::Empresas), Esquema::citar(QStringLiteral("Empresa"))),
            {1});
        if (!q.next())
            return;
        std::array<QString, CamposEmpresa> linha;
        for (int k = 0; k < CamposEmpresa; ++k)
            linha[k] = q.value(k).toString();
        m_empresa = linha;
    });
    if (m_empresa)
        c.Etxt = *m_empresa;
}

void LogicaParametros::cmbDiv_Click(int i)
{
    Definicoes& d = m_estacao.Def;
    Bascula& b = c.b[i];
    const auto aplicar = [&] {
        const qint16 divisao = qint16(Divisoes.value(b.divisao).toInt());
        if (divisao != d.IndDivisao[i]) {
            d.IndDivisao[i] = divisao;
            d.PesagemMinima[i] = qint16(divisao * 20);
        }
    };
    if (b.divisao < 0 || b.divisao >= Divisoes.size()) {
        b.divisao = 3;  // "10"
        aplicar();
        m_estacao.mensagens.Beep();
        m_focoPedido = QStringLiteral("cmbDiv%1").arg(i);
    } else {
        aplicar();
    }
    if (b.minimo != QString::number(d.PesagemMinima[i]))
        b.minimo = QString::number(d.PesagemMinima[i]);
}

QString LogicaParametros::tomarFocoPedido()
{
    return std::exchange(m_focoPedido, QString());
}

void LogicaParametros::cmdG_Click(int k)
{
    if (k < 0 || k > 2 || !m_escolher)
        return;
    const Definicoes& d = m_estacao.Def;
    PedidoFicheiro p;
    p.pasta = QFileInfo(d.BaseDados).absolutePath();
    if (k < 2) {
        p.ficheiro = k == 0 ? d.BaseDados : d.BaseDadosBackup;
        p.titulo = QStringLiteral("Localizar Pesagem.mdb");
        p.filtro = QStringLiteral("Pesagem.mdb");
    } else {
        p.ficheiro = d.FichInterface;
        p.titulo = QStringLiteral("Localizar ficheiros de interface");
        p.filtro = QStringLiteral("*.csv");
    }
    const std::optional<QString> escolhido = m_escolher(p);
    if (!escolhido)
        return;  // cancelled: the box keeps its text
    if (k < 2) {
        c.txtG[k] = *escolhido;
    } else {
        const QFileInfo f(*escolhido);
        c.txtG[2] = f.exists() ? f.fileName() : QString();
    }
}

void LogicaParametros::Etxt_GotFocus(int k)
{
    m_textoAnterior = c.Etxt[k];
}

LogicaParametros::Tecla LogicaParametros::Etxt_KeyPress(int k, int KeyAscii)
{
    if (KeyAscii == ::Tecla::Retrocesso)
        return Tecla::Passa;
    if (KeyAscii == ::Tecla::Enter)
        return Tecla::Seguinte;
    if (KeyAscii == ::Tecla::Esc) {
        c.Etxt[k] = m_textoAnterior;
        return Tecla::Reposta;
    }
    const QString& aceites = CaracteresEtxt[k];
    if (aceites.isEmpty() || aceites.contains(QChar(KeyAscii), Qt::CaseInsensitive))
        return Tecla::Passa;
    return Tecla::Engolida;
}

LogicaParametros::Tecla LogicaParametros::txtIP_KeyPress(int i, int KeyAscii)
{
    if (KeyAscii == ::Tecla::Retrocesso)
        return Tecla::Passa;
    if (KeyAscii == ::Tecla::Enter)
        return Tecla::Engolida;
    if (KeyAscii == ::Tecla::Esc) {
        c.b[i].endereco = m_estacao.Def.EnderecoIP[i];
        return Tecla::Reposta;
    }
    if (CaracteresIP.contains(QChar(KeyAscii)))
        return Tecla::Passa;
    m_estacao.mensagens.Beep();
    return Tecla::Engolida;
}

LogicaParametros::Tecla LogicaParametros::cmbT_KeyPress(int KeyAscii)
{
    return KeyAscii == ::Tecla::Enter ? Tecla::Seguinte : Tecla::Passa;
}

void LogicaParametros::Cancelar()
{
    m_estacao.Def.IndDivisao = m_divisaoInicial;
    m_estacao.Def.PesagemMinima = m_minimaInicial;
}

namespace {
bool mostrarFalhaFicheiro(ServicoMensagens& mensagens, const QString& razao)
{
    mensagens.MsgBox(QStringLiteral("Não foi possível gravar ") + NomeFicheiroDefinicoes + QStringLiteral("\n\n(")
                         + razao + u')',
                     Estilo::Exclamacao, Zumarel);
    return false;
}
}  // namespace

bool LogicaParametros::ValoresPorDefeito()
{
    Definicoes novo = m_estacao.Def;
    if (ModGlobal::ValoresPorDefeito(m_estacao.Ini(), m_estacao.PastaPrograma(), novo) != 0)
        return mostrarFalhaFicheiro(m_estacao.mensagens, m_estacao.Ini().razaoFalha());
    m_estacao.Def = novo;
    return true;
}

void LogicaParametros::preencher(Definicoes& d) const
{
    // A list left without a selection keeps the value it could not show.
    const auto lista = [](int posicao, qint16& alvo, int desvio) {
        if (posicao >= 0)
            alvo = qint16(posicao + desvio);
    };
    d.BaseDados = c.txtG[0];
    d.BaseDadosBackup = c.txtG[1];
    d.FichInterface = c.txtG[2];
    for (int i = 0; i < 2; ++i) {
        const Bascula& b = c.b[i];
        d.IndLigado[i] = b.ligada;
        if (b.modelo >= 0)
            d.IndModelo[i] = Modelos.value(b.modelo);
        lista(b.serie.porta, d.IndPorta[i], 1);
        lista(b.serie.handshaking, d.IndHandshaking[i], 0);
        d.IndConfiguracao[i] = PecasSerie::montar(b.serie.pecas, d.IndConfiguracao[i]);
        if (b.divisao >= 0) {
            d.IndDivisao[i] = qint16(Divisoes.value(b.divisao).toInt());
            d.PesagemMinima[i] = qint16(d.IndDivisao[i] * 20);
        }
        d.ComunicacaoIP[i] = b.ip;
        d.EnderecoIP[i] = b.endereco;
        d.LPLigado[i] = b.principal.ligado;
        lista(b.principal.serie.porta, d.LPPorta[i], 1);
        lista(b.principal.serie.handshaking, d.LPHandshaking[i], 0);
        d.LPConfiguracao[i] = PecasSerie::montar(b.principal.serie.pecas, d.LPConfiguracao[i]);
        d.LSLigado[i] = b.secundario.ligado;
        lista(b.secundario.serie.porta, d.LSPorta[i], 1);
        lista(b.secundario.serie.handshaking, d.LSHandshaking[i], 0);
        d.LSConfiguracao[i] = PecasSerie::montar(b.secundario.serie.pecas, d.LSConfiguracao[i]);
    }
    d.FormatViatNac = c.chkG[0];
    d.DuasPesagens = c.chkG[1];
    d.OperadorAutomatico = c.chkG[2];
    qint16* copias[] = {&d.CopiasPrimeiraPesagem, &d.CopiasSegundaVia, &d.CopiasEntrada, &d.CopiasSaida,
                        &d.CopiasTalao};
    for (int k = 0; k < 5; ++k)
        lista(c.cmbT[k], *copias[k], 0);
}

bool LogicaParametros::EscreverChaves(FicheiroPerfil& ini, const Definicoes& d)
{
    ModGlobal::ChavesIni chaves;
    chaves.texto(Seccoes::BaseDados, Localizacao, d.BaseDados);
    chaves.texto(Seccoes::BaseDadosBackup, Localizacao, d.BaseDadosBackup);
    chaves.texto(Seccoes::FichInterface, Localizacao, d.FichInterface);
    for (int i = 0; i < 2; ++i) {
        const QString s = Seccoes::Indicador(i);
        chaves.booleano(s, QStringLiteral("ComunicaçãoIP"), d.ComunicacaoIP[i]);
        chaves.texto(s, QStringLiteral("EndereçoIP"), d.EnderecoIP[i]);
        chaves.booleano(s, QStringLiteral("Ligado"), d.IndLigado[i]);
        chaves.texto(s, QStringLiteral("Indicador"), d.IndModelo[i]);
        chaves.numero(s, QStringLiteral("Porta"), d.IndPorta[i]);
        chaves.numero(s, QStringLiteral("Handshacking"), d.IndHandshaking[i]);
        chaves.texto(s, QStringLiteral("Configuracao"), d.IndConfiguracao[i]);
        chaves.numero(s, QStringLiteral("Divisao"), d.IndDivisao[i]);
    }
    const auto leitor = [&](const QString& s, bool ligado, qint16 porta, qint16 handshaking, const QString& conf) {
        chaves.booleano(s, QStringLiteral("Ligado"), ligado);
        chaves.numero(s, QStringLiteral("Porta"), porta);
        chaves.numero(s, QStringLiteral("Handshacking"), handshaking);
        chaves.texto(s, QStringLiteral("Configuracao"), conf);
    };
    for (int i = 0; i < 2; ++i)
        leitor(Seccoes::LeitorPrincipal(i), d.LPLigado[i], d.LPPorta[i], d.LPHandshaking[i], d.LPConfiguracao[i]);
    for (int i = 0; i < 2; ++i)
        leitor(Seccoes::LeitorSecundario(i), d.LSLigado[i], d.LSPorta[i], d.LSHandshaking[i], d.LSConfiguracao[i]);
    chaves.booleano(Seccoes::Geral, QStringLiteral("FormatViatNac"), d.FormatViatNac);
    chaves.booleano(Seccoes::Geral, QStringLiteral("DuasPesagens"), d.DuasPesagens);
    chaves.booleano(Seccoes::Geral, QStringLiteral("OperadorAutomatico"), d.OperadorAutomatico);
    chaves.numero(Seccoes::NrCopias, QStringLiteral("PrimeiraPesagem"), d.CopiasPrimeiraPesagem);
    chaves.numero(Seccoes::NrCopias, QStringLiteral("SegundaVia"), d.CopiasSegundaVia);
    chaves.numero(Seccoes::NrCopias, QStringLiteral("Entrada"), d.CopiasEntrada);
    chaves.numero(Seccoes::NrCopias, QStringLiteral("Saida"), d.CopiasSaida);
    chaves.numero(Seccoes::NrCopias, QStringLiteral("Talao"), d.CopiasTalao);
    return ini.escrever(chaves.escritas);
}

// Only the fields the operator changed are written, so a counter that a
// weighing advanced while the dialog was open is not set back. Row 1 is made
// when it is missing.
bool LogicaParametros::gravarEmpresa()
{
    const auto valor = [&](int k) -> QVariant {
        if (k >= PrimeiroContador)
            return c.Etxt[k].toLongLong();  // an empty counter is 0, never Null
        return c.Etxt[k];
    };
    if (!m_estacao.Bd)
        return true;
    return Passo(m_estacao.mensagens, CabecalhoErro, [&] {
        Consulta::Transaccao t(m_estacao.bd());
        EscritorLinha linha(m_estacao.bd(), Esquema::Empresas, m_estacao.relogio);
        for (int k = 0; k < CamposEmpresa; ++k) {
            if (!m_empresa || c.Etxt[k] != (*m_empresa)[k])
                linha.definir(CamposEtxt[k], valor(k));
        }
        if (m_empresa) {
            linha.actualizar(1);
        } else {
            linha.definir(QStringLiteral("Empresa"), 1);
            linha.inserir();
        }
        t.confirmar();
        m_empresa = c.Etxt;
    });
}

// The company lines are stored once the settings file is safely in place, so
// a failed write of the file changes nothing at all. A failure to store them
// after it leaves the dialog open, the file already saved.
bool LogicaParametros::GravarParametros()
{
    Definicoes novo = m_estacao.Def;
    preencher(novo);
    if (!EscreverChaves(m_estacao.Ini(), novo))
        return mostrarFalhaFicheiro(m_estacao.mensagens, m_estacao.Ini().razaoFalha());
    m_estacao.Def = novo;
    if (!gravarEmpresa())
        return false;
    if (m_fecharPortas)
        PassoSilencioso(m_fecharPortas);
    m_estacao.mensagens.MsgBox(MensagemReiniciar, Estilo::Informacao, Zumarel);
    m_estacao.sistema.TerminarPrograma(0);
    return true;
}
