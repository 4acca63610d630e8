// Identification of the vehicle and of the weighing mode.

#include "platform/Mensagens.h"
#include "screen/EcraPesagem.h"
#include "screen/EcraPesagemOcupacao.h"
#include "screen/RegrasCampos.h"
#include "screen/RegrasEcra.h"
#include "shared/Esquema.h"
#include "data/Consulta.h"
#include "data/Estacao.h"
#include "data/ModGlobalCampos.h"

#include <QSqlRecord>
#include <utility>

using namespace CamposEntrada;

using RegrasCampos::emBranco;

void EcraPesagem::IdentificarStatusPesagem()
{
    Ocupacao o(*this);
    const QString cabecalho = QStringLiteral("Erro ao tentar\nIdentificar o status da pesagem");
    QString modo;
    passo(cabecalho, [&] { LimparEcra(); });
    ModoPesagem.clear();
    if (emBranco(txt(CodigoViatura)) && emBranco(txt(Matricula))) {
        DarFocoTxt(Matricula);
    } else if (ConsultarPrimeiraPesagem()) {
        modo = RegrasEcra::decidirModo(true, false, m_pesagemManual, PrimeiraManual, m_estacao.Def.DuasPesagens);
    } else {
        const bool emFicheiro = ConsultarViatura();
        modo = RegrasEcra::decidirModo(false, emFicheiro, m_pesagemManual, PrimeiraManual, m_estacao.Def.DuasPesagens);
    }
    ModoPesagem = modo;
    passo(cabecalho, [&] { MostrarPesagem(); });
}

std::optional<std::pair<QString, QString>> EcraPesagem::chaveViatura() const
{
    if (!emBranco(txt(CodigoViatura)))
        return std::make_pair(QStringLiteral("Código da viatura"), txt(CodigoViatura));
    if (!emBranco(txt(Matricula)))
        return std::make_pair(QStringLiteral("Viatura"), txt(Matricula));
    return std::nullopt;
}

bool EcraPesagem::ConsultarPrimeiraPesagem()
{
    const auto chave = chaveViatura();
    if (!chave)
        return false;
    const QString cabecalho = QStringLiteral("Erro ao tentar consultar\nPrimeiras pesagens");
    QSqlRecord r;
    bool encontrada = false;
    passo(cabecalho, [&] {
        const QString sql = QStringLiteral("SELECT %3 FROM Pesagens WHERE %1 = 'P' AND %2 = ? ORDER BY Pesagem LIMIT 1")
                                .arg(Esquema::citar(QStringLiteral("Tipo de pesagem")), Esquema::citar(chave->first),
                                     Consulta::listaCampos(Esquema::camposViaturaEPartes()
                                                           + QStringList{"Observações", "Peso á entrada",
                                                                         "Báscula de entrada", "Data de entrada"}));
        if (auto linha = Consulta::primeiraLinha(m_estacao.bd(), sql, {chave->second})) {
            r = std::move(*linha);
            encontrada = true;
        }
    });
    if (!encontrada)
        return false;

    using namespace ModGlobal;
    const QStringList& campos = Esquema::camposViaturaEPartes();
    for (int i = 0; i < campos.size(); ++i)
        passo(cabecalho, [&] { escreverCampo(i, LerCampoTexto(r, campos[i]), false); });
    passo(cabecalho, [&] { escreverCampo(Observacoes, LerCampoTexto(r, QStringLiteral("Observações")), false); });
    passo(cabecalho, [&] {
        escreverCampo(PesoPrimeira, QString::number(LerCampoLong(r, QStringLiteral("Peso á entrada"))), false);
    });
    passo(cabecalho, [&] { m_e.lblB1 = LerCampoTexto(r, QStringLiteral("Báscula de entrada")); });
    passo(cabecalho, [&] {
        DataPrimeiraPesagem = LerCampoData(r, QStringLiteral("Data de entrada"), m_estacao.relogio);
        escreverCampo(DataPrimeira, DataPrimeiraPesagem.toString(QStringLiteral("dd-MM-yyyy")), false);
        escreverCampo(HoraPrimeira, DataPrimeiraPesagem.toString(QStringLiteral("HH:mm")), false);
    });
    return true;
}

bool EcraPesagem::ConsultarViatura()
{
    const auto chave = chaveViatura();
    if (!chave)
        return false;
    const QString cabecalho = QStringLiteral("Erro ao tentar consultar\nTabela de viaturas");
    QSqlRecord r;
    bool encontrada = false;
    const bool consultou = passo(cabecalho, [&] {
        const QString sql = QStringLiteral("SELECT %2 FROM Viaturas WHERE %1 = ? ORDER BY rowid LIMIT 1")
                                .arg(Esquema::citar(chave->first),
                                     Consulta::listaCampos(Esquema::camposViaturaEPartes()
                                                           + QStringList{"Peso de tara", "Data"}));
        if (auto linha = Consulta::primeiraLinha(m_estacao.bd(), sql, {chave->second})) {
            r = std::move(*linha);
            encontrada = true;
        }
    });
    if (!encontrada) {
        if (consultou && !emBranco(txt(CodigoViatura)) && emBranco(txt(Matricula)))
            MsgBox(QStringLiteral("Atenção código de viatura não existente em tabela de viaturas"), Estilo::Informacao,
                   QStringLiteral("Zumarel"));
        return false;
    }

    using namespace ModGlobal;
    const QStringList& campos = Esquema::camposViaturaEPartes();
    for (int i = 0; i < campos.size(); ++i)
        passo(cabecalho, [&] { escreverCampo(i, LerCampoTexto(r, campos[i]), false); });
    passo(cabecalho, [&] {
        escreverCampo(PesoPrimeira, QString::number(LerCampoLong(r, QStringLiteral("Peso de tara"))), false);
    });
    m_e.lblB1 = QStringLiteral("FV");
    passo(cabecalho, [&] {
        DataPrimeiraPesagem = LerCampoData(r, QStringLiteral("Data"), m_estacao.relogio);
        escreverCampo(DataPrimeira, DataPrimeiraPesagem.toString(QStringLiteral("dd-MM-yyyy")), false);
        escreverCampo(HoraPrimeira, DataPrimeiraPesagem.toString(QStringLiteral("HH:mm")), false);
    });
    return true;
}
