#include "records/EscolhaDocumento.h"

#include "shared/Tecla.h"

#include "data/Consulta.h"
#include "data/Estacao.h"
#include "data/ModGlobalCampos.h"
#include "data/Passo.h"
#include "platform/Conversoes.h"
#include "platform/Mensagens.h"
#include "shared/Esquema.h"

#include <QSqlRecord>
#include <limits>

namespace {

const QString Cabecalho = QStringLiteral("Erro no acesso à tabela de pesagens");
constexpr QChar Tipos[3] = {u'E', u'G', u'T'};
const QString DicasOpt[3] = {QStringLiteral("Entrada de matéria prima"), QStringLiteral("Guia de remessa"),
                             QStringLiteral("Talão de pesagem")};

QString c(const QString& nome)
{
    return Esquema::citar(nome);
}

// A document number a row can hold; none for a number out of its range.
std::optional<qint32> numeroGuardavel(const QString& numero)
{
    bool ok = false;
    const qint64 n = numero.toLongLong(&ok);
    if (!ok || n > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(n);
}

// An unknown exit date shows empty, never an invented one.
QString dataSaida(const QSqlRecord& linha)
{
    const QVariant v = linha.value(QStringLiteral("Data de saída"));
    if (v.isNull())
        return {};
    const std::optional<QDateTime> data = Conversoes::dataDeBd(v.toString());
    return data ? data->toString(QStringLiteral("dd-MM-yyyy HH:mm")) : QString();
}

}  // namespace

EscolhaDocumento::EscolhaDocumento(Estacao& estacao, QChar teclaGuia, QStringList dicasCmd)
    : m_estacao(estacao),
      m_teclaGuia(teclaGuia),
      m_dicasCmd(std::move(dicasCmd))
{}

QChar EscolhaDocumento::tipo() const
{
    return Tipos[m_opt];
}

void EscolhaDocumento::Form_Load()
{
    m_talaoVisivel = m_estacao.Acesso.NivelAcesso == 4;
    opt_Click(0);
    m_foco = Controlo::Opt0;
}

void EscolhaDocumento::limparDetalhes()
{
    for (QString& l : m_lblSV)
        l.clear();
}

void EscolhaDocumento::opt_Click(int Index)
{
    if (Index < 0 || Index > 2 || !optVisivel(Index))
        return;
    m_opt = Index;
    m_lista.clear();
    m_texto.clear();
    limparDetalhes();
    m_cmbActivo = true;

    // Rows stored by the automatic weighing have no number: nothing to list
    // for them (the grid reaches them by their row).
    QStringList numeros;
    Passo(m_estacao.mensagens, Cabecalho, [&] {
        QSqlQuery q = Consulta::executar(
            m_estacao.bd(),
            QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ? AND %1 IS NOT NULL ORDER BY %4 DESC LIMIT %5")
                .arg(c(QStringLiteral("Número de pesagem")), c(Esquema::Pesagens), c(QStringLiteral("Tipo de pesagem")),
                     c(QStringLiteral("Pesagem")))
                .arg(MaximoLista),
            {QString(tipo())});
        while (q.next())
            numeros << QString::number(q.value(0).toLongLong());
    });
    // A list that could not be read shows as a kind without documents.
    if (numeros.isEmpty()) {
        m_texto = QStringLiteral("Vazio");
        m_cmbActivo = false;
        m_cmdVisivel = false;
        return;
    }
    m_lista = numeros;
    cmb_Escolher(0);
}

void EscolhaDocumento::cmb_Escolher(int posicao)
{
    if (posicao < 0 || posicao >= m_lista.size())
        return;
    m_texto = m_lista.at(posicao);
    cmb_Click();
}

void EscolhaDocumento::cmb_Click()
{
    limparDetalhes();
    if (m_texto.trimmed().isEmpty())
        return;
    const std::optional<qint32> numero = numeroGuardavel(numeroDoTexto(m_texto));
    bool encontrado = false;
    if (numero) {
        Passo(m_estacao.mensagens, Cabecalho, [&] {
            QSqlQuery q = Consulta::executar(
                m_estacao.bd(),
                QStringLiteral("SELECT %1, %2, %3 FROM %4 WHERE %5 = ? AND %6 = ? ORDER BY %7 LIMIT 1")
                    .arg(c(QStringLiteral("Viatura")), c(QStringLiteral("Entidade")),
                         c(QStringLiteral("Data de saída")), c(Esquema::Pesagens),
                         c(QStringLiteral("Número de pesagem")), c(QStringLiteral("Tipo de pesagem")),
                         c(QStringLiteral("Pesagem"))),
                {*numero, QString(tipo())});
            if (!q.next())
                return;
            const QSqlRecord linha = q.record();
            const QString matricula = ModGlobal::LerCampoTexto(linha, QStringLiteral("Viatura"));
            const QString entidade = ModGlobal::LerCampoTexto(linha, QStringLiteral("Entidade"));
            m_lblSV = {matricula, entidade, dataSaida(linha)};
            encontrado = true;
        });
    }
    m_cmdVisivel = encontrado;
}

void EscolhaDocumento::cmb_KeyPress(int& KeyAscii)
{
    if (KeyAscii == ::Tecla::Retrocesso || KeyAscii == ::Tecla::Esc)
        return;
    if (KeyAscii == ::Tecla::Enter) {
        KeyAscii = 0;
        cmb_Click();
        if (m_cmdVisivel)
            Foco(Controlo::Cmd0);
        return;
    }
    if (KeyAscii < u'0' || KeyAscii > u'9') {
        KeyAscii = 0;
        m_estacao.mensagens.Beep();
    }
}

void EscolhaDocumento::opt_KeyPress(int& KeyAscii)
{
    if (KeyAscii == ::Tecla::Enter) {
        KeyAscii = 0;
        if (m_cmbActivo)
            Foco(Controlo::Cmb);
        return;
    }
    const QChar tecla = QChar(KeyAscii).toUpper();
    if (tecla == u'E')
        seleccionarPelaTecla(0);
    else if (tecla == m_teclaGuia.toUpper())
        seleccionarPelaTecla(1);
    else if (tecla == u'T' && m_talaoVisivel)
        seleccionarPelaTecla(2);
}

// An option that takes the focus becomes the selected one.
void EscolhaDocumento::seleccionarPelaTecla(int Index)
{
    Foco(Controlo(int(Controlo::Opt0) + Index));
    if (m_opt != Index)
        opt_Click(Index);
}

void EscolhaDocumento::Foco(Controlo controlo)
{
    m_foco = controlo;
}

bool EscolhaDocumento::amarelo(Controlo controlo) const
{
    return controlo == m_foco && controlo != Controlo::Opt0 && controlo != Controlo::Opt1 && controlo != Controlo::Opt2;
}

QString EscolhaDocumento::dica(Controlo controlo) const
{
    switch (controlo) {
    case Controlo::Opt0:
    case Controlo::Opt1:
    case Controlo::Opt2: return DicasOpt[int(controlo) - int(Controlo::Opt0)];
    case Controlo::Cmb: return QStringLiteral("Número do documento");
    case Controlo::Cmd0:
    case Controlo::Cmd1: return m_dicasCmd.value(int(controlo) - int(Controlo::Cmd0));
    case Controlo::CmdSair: return QStringLiteral("Sair");
    }
    return {};
}

QString EscolhaDocumento::numeroDoTexto(const QString& texto)
{
    const QString t = texto.trimmed();
    qsizetype fim = 0;
    while (fim < t.size() && t.at(fim) >= u'0' && t.at(fim) <= u'9')
        ++fim;
    QString digitos = t.left(fim);
    while (digitos.size() > 1 && digitos.startsWith(u'0'))
        digitos.remove(0, 1);
    return digitos.isEmpty() ? QStringLiteral("0") : digitos;
}

QString EscolhaDocumento::FormulaTipoNumero(QChar tipo, const QString& numero)
{
    return QStringLiteral("{Pesagens.Tipo de pesagem} = '") + tipo
           + QStringLiteral("' and {Pesagens.Número de pesagem} = ") + numero;
}
