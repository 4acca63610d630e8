#include "BancadaRegistos.h"

#include "data/BaseDadosEstacao.h"
#include "startup/ModGlobalIni.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

BancadaRegistos::BancadaRegistos(bool comBackup, const QString& baseDados)
{
    t.abrirBaseDados();
    if (!baseDados.isEmpty()) {
        t.estacao->Def.BaseDados = baseDados;
        t.estacao->Bd = BaseDadosEstacao::abrir(baseDados);
    }
    if (comBackup) {
        const QString caminho = t.caminho(QStringLiteral("Copia.mdb"));
        BaseDadosEstacao::criar(caminho);
        t.estacao->Def.BaseDadosBackup = caminho;
        t.estacao->BdBackup = BaseDadosEstacao::abrir(caminho);
    } else {
        t.estacao->Def.BaseDadosBackup = t.estacao->Def.BaseDados;
    }
    t.estacao->Def.CopiasPrimeiraPesagem = 1;
    t.estacao->Def.CopiasEntrada = 1;
    t.estacao->Def.CopiasSaida = 1;
    t.estacao->Def.CopiasTalao = 1;
    t.estacao->Def.DuasPesagens = true;
    grelha = std::make_unique<GrelhaPesagens>(*t.estacao, ecra);
    gravacao = std::make_unique<GravacaoPesagens>(*t.estacao, ecra, *grelha);
    entrar(2);
}

QStringList BancadaRegistos::campos(const QVariantMap& linha, const QVariantMap& esperado)
{
    QStringList r;
    for (auto it = esperado.cbegin(); it != esperado.cend(); ++it) {
        const QVariant v = linha.value(it.key());
        r << it.key() + u'=' + (v.isNull() ? QStringLiteral("<nulo>") : v.toString());
    }
    return r;
}

QStringList BancadaRegistos::campos(const QVariantMap& linha, const QString& esperado)
{
    QStringList r;
    for (const QString& par : esperado.split(u'|'))
        r << campos(linha, QVariantMap{{par.section(u'=', 0, 0), {}}});
    return r;
}

QList<QVariantMap> BancadaRegistos::linhas(const QSqlDatabase& db, const QString& tabela)
{
    QList<QVariantMap> todas;
    QSqlQuery q = Consulta::executar(db, QStringLiteral("SELECT * FROM \"%1\" ORDER BY 1").arg(tabela));
    while (q.next()) {
        QVariantMap m;
        const QSqlRecord r = q.record();
        for (int i = 0; i < r.count(); ++i)
            m.insert(r.fieldName(i), r.value(i));
        todas << m;
    }
    return todas;
}

QVariantMap BancadaRegistos::linha(const QSqlDatabase& db, qint64 pesagem)
{
    for (const QVariantMap& m : linhas(db)) {
        if (m.value(QStringLiteral("Pesagem")).toLongLong() == pesagem)
            return m;
    }
    return {};
}

qint64 BancadaRegistos::contarLinhas(const QSqlDatabase& db, const QString& tabela)
{
    QSqlQuery q = Consulta::executar(db, QStringLiteral("SELECT count(*) FROM \"%1\"").arg(tabela));
    q.next();
    return q.value(0).toLongLong();
}

qint64 BancadaRegistos::contador(const QSqlDatabase& db, const QString& campo)
{
    QSqlQuery q = Consulta::executar(db, QStringLiteral("SELECT \"%1\" FROM Empresas WHERE Empresa = 1").arg(campo));
    q.next();
    return q.value(0).toLongLong();
}

void BancadaRegistos::viaturaNaFicha(const QString& codigo, const QVariant& tara, const QVariant& data)
{
    Consulta::executar(bd(),
                       QStringLiteral("INSERT INTO Viaturas VALUES (?, '12-AB-34', 'C01', 'Quinta D''Ouro', 'T01', "
                                      "'Transportes Rápidos', 'P01', 'Areia', 'LC1', 'Pedreira', 'LD1', 'Obra', ?, 2, "
                                      "?, '23:59', 'Velho')"),
                       {codigo, tara, data});
}

qint32 BancadaRegistos::ultimoDocNoFicheiro(qint32 seFaltar)
{
    return ModGlobal::LerIniLong(estacao().Ini(), QStringLiteral("NrCopias"), QStringLiteral("UltimoDocPesagem"),
                                 seFaltar);
}

void BancadaRegistos::entrar(int nivel)
{
    t.estacao->Acesso.NivelAcesso = quint8(nivel);
    t.estacao->Acesso.NomeOperador = QStringLiteral("Maria");
}

void BancadaRegistos::primeira(const QString& codigo, const QString& matricula, const QString& peso, const QString& modo)
{
    ecra.preencher(codigo, matricula, peso);
    ecra.modo = modo;
    ecra.b1 = modo == u"PM" ? QStringLiteral("PM") : QStringLiteral("B1");
}

void BancadaRegistos::segunda(const QString& codigo, const QString& matricula, const QString& pesoEntrada,
                      const QString& pesoSaida, int opcao, const QString& modo)
{
    ecra.preencher(codigo, matricula, pesoEntrada, pesoSaida);
    ecra.modo = modo;
    ecra.opcao = opcao;
    ecra.b1 = QStringLiteral("B1");
    ecra.b2 = modo == u"SM" ? QStringLiteral("PM") : QStringLiteral("B2");
    ecra.dataPrimeira = QDateTime(QDate(2026, 12, 5), QTime(9, 15, 0));
    // As the identification shows it in the first weighing's boxes.
    ecra.campos[Txt::DataEntrada] = QStringLiteral("05-12-2026");
    ecra.campos[Txt::HoraEntrada] = QStringLiteral("09:15");
}
