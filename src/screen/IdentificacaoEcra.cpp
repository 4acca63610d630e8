#include "screen/IdentificacaoEcra.h"

#include "data/Consulta.h"
#include "data/Estacao.h"
#include "data/ModGlobalCampos.h"
#include "platform/Mensagens.h"
#include "screen/EcraPesagem.h"
#include "screen/RegrasCampos.h"
#include "screen/RegrasEcra.h"
#include "shared/Esquema.h"

#include <QSqlRecord>
#include <utility>

using namespace CamposEntrada;

using RegrasCampos::emBranco;

void IdentificacaoEcra::IdentificarStatusPesagem()
{
    EcraPesagem::Ocupacao o(m_ecra);
    const QString cabecalho = QStringLiteral("Erro ao tentar\nIdentificar o status da pesagem");
    QString modo;
    m_ecra.passo(cabecalho, [&] { m_ecra.LimparEcra(); });
    m_ecra.m_modoPesagem.clear();
    if (emBranco(m_ecra.txt(CodigoViatura)) && emBranco(m_ecra.txt(Matricula))) {
        m_ecra.focarTxt(Matricula);
    } else if (ConsultarPrimeiraPesagem()) {
        modo = RegrasEcra::decidirModo(true, false, m_ecra.m_pesagemManual, m_ecra.m_primeiraManual,
                                       m_ecra.m_estacao.Def.DuasPesagens);
    } else {
        const bool emFicheiro = ConsultarViatura();
        modo = RegrasEcra::decidirModo(false, emFicheiro, m_ecra.m_pesagemManual, m_ecra.m_primeiraManual,
                                       m_ecra.m_estacao.Def.DuasPesagens);
    }
    m_ecra.m_modoPesagem = modo;
    m_ecra.passo(cabecalho, [&] { m_ecra.m_disposicao.MostrarPesagem(); });
}

std::optional<std::pair<QString, QString>> IdentificacaoEcra::chaveViatura() const
{
    if (!emBranco(m_ecra.txt(CodigoViatura)))
        return std::make_pair(QStringLiteral("Código da viatura"), m_ecra.txt(CodigoViatura));
    if (!emBranco(m_ecra.txt(Matricula)))
        return std::make_pair(QStringLiteral("Viatura"), m_ecra.txt(Matricula));
    return std::nullopt;
}

bool IdentificacaoEcra::ConsultarPrimeiraPesagem()
{
    const auto chave = chaveViatura();
    if (!chave)
        return false;
    const QString cabecalho = QStringLiteral("Erro ao tentar consultar\nPrimeiras pesagens");
    QSqlRecord r;
    bool encontrada = false;
    m_ecra.passo(cabecalho, [&] {
        const QString sql = QStringLiteral("SELECT %3 FROM Pesagens WHERE %1 = 'P' AND %2 = ? ORDER BY Pesagem LIMIT 1")
                                .arg(Esquema::citar(QStringLiteral("Tipo de pesagem")), Esquema::citar(chave->first),
                                     Consulta::listaCampos(Esquema::camposViaturaEPartes()
                                                           + QStringList{"Observações", "Peso á entrada",
                                                                         "Báscula de entrada", "Data de entrada"}));
        if (auto linha = Consulta::primeiraLinha(m_ecra.m_estacao.bd(), sql, {chave->second})) {
            r = std::move(*linha);
            encontrada = true;
        }
    });
    if (!encontrada)
        return false;

    using namespace ModGlobal;
    const QStringList& campos = Esquema::camposViaturaEPartes();
    for (int i = 0; i < campos.size(); ++i)
        m_ecra.passo(cabecalho, [&] { m_ecra.setTxt(i, LerCampoTexto(r, campos[i])); });
    m_ecra.passo(cabecalho, [&] { m_ecra.setTxt(Observacoes, LerCampoTexto(r, QStringLiteral("Observações"))); });
    m_ecra.passo(cabecalho, [&] {
        m_ecra.setTxt(PesoPrimeira, QString::number(LerCampoLong(r, QStringLiteral("Peso á entrada"))));
    });
    m_ecra.passo(cabecalho, [&] { m_ecra.m_e.lblB1 = LerCampoTexto(r, QStringLiteral("Báscula de entrada")); });
    m_ecra.passo(cabecalho, [&] {
        m_ecra.m_dataPrimeiraPesagem = LerCampoData(r, QStringLiteral("Data de entrada"), m_ecra.m_estacao.relogio);
        m_ecra.setTxt(DataPrimeira, m_ecra.m_dataPrimeiraPesagem.toString(QStringLiteral("dd-MM-yyyy")));
        m_ecra.setTxt(HoraPrimeira, m_ecra.m_dataPrimeiraPesagem.toString(QStringLiteral("HH:mm")));
    });
    return true;
}

bool IdentificacaoEcra::ConsultarViatura()
{
    const auto chave = chaveViatura();
    if (!chave)
        return false;
    const QString cabecalho = QStringLiteral("Erro ao tentar consultar\nTabela de viaturas");
    QSqlRecord r;
    bool encontrada = false;
    const bool consultou = m_ecra.passo(cabecalho, [&] {
        const QString sql =
            QStringLiteral("SELECT %2 FROM Viaturas WHERE %1 = ? ORDER BY rowid LIMIT 1")
                .arg(Esquema::citar(chave->first),
                     Consulta::listaCampos(Esquema::camposViaturaEPartes() + QStringList{"Peso de tara", "Data"}));
        if (auto linha = Consulta::primeiraLinha(m_ecra.m_estacao.bd(), sql, {chave->second})) {
            r = std::move(*linha);
            encontrada = true;
        }
    });
    if (!encontrada) {
        if (consultou && !emBranco(m_ecra.txt(CodigoViatura)) && emBranco(m_ecra.txt(Matricula)))
            m_ecra.MsgBox(QStringLiteral("Atenção código de viatura não existente em tabela de viaturas"),
                          Estilo::Informacao, QStringLiteral("Zumarel"));
        return false;
    }

    using namespace ModGlobal;
    const QStringList& campos = Esquema::camposViaturaEPartes();
    for (int i = 0; i < campos.size(); ++i)
        m_ecra.passo(cabecalho, [&] { m_ecra.setTxt(i, LerCampoTexto(r, campos[i])); });
    m_ecra.passo(cabecalho, [&] {
        m_ecra.setTxt(PesoPrimeira, QString::number(LerCampoLong(r, QStringLiteral("Peso de tara"))));
    });
    m_ecra.m_e.lblB1 = QStringLiteral("FV");
    m_ecra.passo(cabecalho, [&] {
        m_ecra.m_dataPrimeiraPesagem = LerCampoData(r, QStringLiteral("Data"), m_ecra.m_estacao.relogio);
        m_ecra.setTxt(DataPrimeira, m_ecra.m_dataPrimeiraPesagem.toString(QStringLiteral("dd-MM-yyyy")));
        m_ecra.setTxt(HoraPrimeira, m_ecra.m_dataPrimeiraPesagem.toString(QStringLiteral("HH:mm")));
    });
    return true;
}
