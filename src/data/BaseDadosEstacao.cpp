#include "data/BaseDadosEstacao.h"

#include "data/Consulta.h"
#include "platform/Conversoes.h"
#include "platform/Erro.h"
#include "shared/Esquema.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace BaseDadosEstacao {

std::unique_ptr<LigacaoBd> abrir(const QString& caminho)
{
    LigacaoBd::Exigencias exigencias;
    for (const Tabela& t : Esquema::tabelas())
        exigencias.tabelas << t.nome;
    exigencias.idAplicacao = Esquema::IdAplicacao;
    exigencias.escrita = true;
    return LigacaoBd::abrir(caminho, exigencias);
}

namespace {

void preencher(const QSqlDatabase& db)
{
    Consulta::executar(db, QStringLiteral("PRAGMA application_id = %1").arg(Esquema::IdAplicacao));
    Consulta::executar(db, QStringLiteral("PRAGMA user_version = %1").arg(Esquema::Versao));
    Consulta::Transaccao t(db);
    for (const QString& sql : Esquema::instrucoesCriacao())
        Consulta::executar(db, sql);
    Consulta::executar(db, QStringLiteral("INSERT INTO Empresas (Empresa, \"Linha 1\", \"Linha 2\", \"Linha 3\", "
                                          "\"Código postal\", Localidade, Contribuinte, Telefone, Fax, "
                                          "\"Linha de fundo\", Entrada, Guia, \"Talão\") "
                                          "VALUES (1, '', '', '', '', '', '', '', '', '', 0, 0, 0)"));
    Consulta::executar(db,
                       QStringLiteral("INSERT INTO Operadores (Operador, \"Código de acesso\", Nivel, Data) "
                                      "VALUES (?, ?, ?, ?)"),
                       {OperadorInicial, CodigoInicial, NivelInicial, QDateTime::currentDateTime()});
    t.confirmar();
}

}  // namespace

void criar(const QString& caminho)
{
    if (QFileInfo::exists(caminho))
        Erros::lancar(58, QStringLiteral("O ficheiro já existe: ") + caminho);
    // Made under another name and renamed when complete, so an interrupted
    // installation never leaves a half-made database at the station's path.
    const QString provisorio = caminho + QStringLiteral(".novo");
    QFile::remove(provisorio);
    QFile::remove(provisorio + QStringLiteral("-journal"));
    try {
        auto ligacao = LigacaoBd::criar(provisorio);
        preencher(ligacao->db());
    } catch (const Erro&) {
        QFile::remove(provisorio);
        throw;
    }
    if (!QFile::rename(provisorio, caminho)) {
        QFile::remove(provisorio);
        Erros::lancar(75, QStringLiteral("Não foi possível criar ") + caminho);
    }
}

bool criarSeAusente(const QString& caminho)
{
    if (QFileInfo::exists(caminho))
        return false;
    criar(caminho);
    return true;
}

}  // namespace BaseDadosEstacao
