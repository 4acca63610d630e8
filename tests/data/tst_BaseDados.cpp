#include "platform/Erro.h"
#include "shared/Esquema.h"
#include "data/BaseDadosEstacao.h"
#include "data/Consulta.h"
#include "data/EscritorLinha.h"
#include "data/ModGlobalCampos.h"
#include "data/Passo.h"
#include "support/EstacaoTeste.h"

#include <QCryptographicHash>
#include <QSqlError>
#include <QtTest>

namespace {

// Text fields carry their greatest length.
const QStringList CamposPartes = {
    "Código da entidade(8)", "Entidade(40)", "Código do transportador(8)", "Transportador(40)",
    "Código do produto(8)", "Produto(40)", "Código do local de carga(8)", "Local de carga(40)",
    "Código do local de descarga(8)", "Local de descarga(40)"};

QStringList campos(const QStringList& antes, const QStringList& depois, bool partes = true)
{
    return antes + (partes ? CamposPartes : QStringList()) + depois;
}

QByteArray resumo(const QString& caminho)
{
    return QCryptographicHash::hash(lerFicheiro(caminho), QCryptographicHash::Sha256);
}

}  // namespace

class TesteBaseDados : public QObject
{
    Q_OBJECT

    QSqlDatabase bd(EstacaoTeste& t) { return t.estacao->bd(); }

private Q_SLOTS:
    void tabelasECamposPelaOrdem_data();
    void tabelasECamposPelaOrdem();
    void linhasIniciais();
    void nomeComPlicaGuardadoEEncontrado();
    void codigoLongoRecusadoComCaixaDeErro();
    void escritorVerificaCadaCampo_data();
    void escritorVerificaCadaCampo();
    void numerosNuncaReutilizados();
    void textoSemDistincaoDeMaiusculas();
    void regrasDaTabelaComoRede();
    void ficheirosRecusadosSemAlteracao_data();
    void ficheirosRecusadosSemAlteracao();
    void caminhoInexistenteNaoCriaNada();
    void criarNaoSobrepoe();
};

void TesteBaseDados::tabelasECamposPelaOrdem_data()
{
    QTest::addColumn<QString>("tabela");
    QTest::addColumn<QStringList>("esperados");
    QTest::newRow("Pesagens") << "Pesagens"
                              << campos({"Pesagem", "Tipo de pesagem(1)", "Número de pesagem", "Código da viatura(8)",
                                         "Viatura(16)"},
                                        {"Observações", "Peso á entrada", "Báscula de entrada(2)", "Data de entrada",
                                         "Hora de entrada(5)", "Peso á saída", "Báscula de saída(2)", "Data de saída",
                                         "Hora de saída(5)", "Peso líquido", "Operador(10)", "Empresa"});
    QTest::newRow("Empresas") << "Empresas"
                              << QStringList{"Empresa", "Linha 1(50)", "Linha 2(50)", "Linha 3(50)", "Código postal(8)",
                                             "Localidade(40)", "Contribuinte(9)", "Telefone(16)", "Fax(16)",
                                             "Linha de fundo(50)", "Entrada", "Guia", "Talão"};
    QTest::newRow("Viaturas") << "Viaturas"
                              << campos({"Código da viatura(8)", "Viatura(16)"},
                                        {"Peso de tara", "Peso bruto", "Data", "Hora(5)", "Operador(10)"});
    QTest::newRow("Entidades") << "Entidades"
                               << QStringList{"Código da entidade(8)", "Entidade(40)", "Morada(40)", "Código postal(4)",
                                              "Zona postal(3)", "Localidade(30)", "Contribuinte(9)"};
    QTest::newRow("Transportadores") << "Transportadores"
                                     << QStringList{"Código do transportador(8)", "Transportador(40)"};
    QTest::newRow("Produtos") << "Produtos" << QStringList{"Código do produto(8)", "Produto(40)"};
    QTest::newRow("Locais de carga") << "Locais de carga"
                                     << QStringList{"Código do local de carga(8)", "Local de carga(40)"};
    QTest::newRow("Locais de descarga") << "Locais de descarga"
                                        << QStringList{"Código do local de descarga(8)", "Local de descarga(40)"};
    QTest::newRow("Operadores") << "Operadores"
                                << QStringList{"Número", "Operador(10)", "Código de acesso(8)", "Nivel", "Data"};
}

void TesteBaseDados::tabelasECamposPelaOrdem()
{
    QFETCH(QString, tabela);
    QFETCH(QStringList, esperados);
    EstacaoTeste t;
    t.abrirBaseDados();
    QSqlQuery q = Consulta::executar(bd(t), QStringLiteral("SELECT name FROM pragma_table_info(?) ORDER BY cid"), {tabela});
    QSqlQuery ddl = Consulta::executar(bd(t), QStringLiteral("SELECT sql FROM sqlite_master WHERE name = ?"), {tabela});
    QVERIFY(ddl.next());
    const QString sql = ddl.value(0).toString();
    QStringList obtidos;
    while (q.next()) {
        const QString nome = q.value(0).toString();
        const QRegularExpression limite(QStringLiteral("length\\(\"%1\"\\) <= (\\d+)").arg(QRegularExpression::escape(nome)));
        const QRegularExpressionMatch m = limite.match(sql);
        obtidos << (m.hasMatch() ? nome + u'(' + m.captured(1) + u')' : nome);
    }
    QCOMPARE(obtidos, esperados);
    // The first field is the key.
    q = Consulta::executar(bd(t), QStringLiteral("SELECT name FROM pragma_table_info(?) WHERE pk = 1"), {tabela});
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), esperados[0].section(u'(', 0, 0));
    QVERIFY(!q.next());
    for (const QString& nome : std::as_const(obtidos))
        QVERIFY2(nome == nome.normalized(QString::NormalizationForm_C), qPrintable(nome));
}

void TesteBaseDados::linhasIniciais()
{
    EstacaoTeste t;
    t.abrirBaseDados();
    QSqlQuery q = Consulta::executar(bd(t), QStringLiteral("SELECT Entrada, Guia, \"Talão\" FROM Empresas WHERE Empresa = 1"));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt() + q.value(1).toInt() + q.value(2).toInt(), 0);
    QSqlQuery o = Consulta::executar(bd(t), QStringLiteral("SELECT * FROM Operadores"));
    QVERIFY(o.next());
    QCOMPARE(ModGlobal::LerCampoTexto(o.record(), QStringLiteral("Operador")), BaseDadosEstacao::OperadorInicial);
    QCOMPARE(ModGlobal::LerCampoByte(o.record(), QStringLiteral("Nivel")), quint8(4));
    QVERIFY(!o.next());
}

void TesteBaseDados::nomeComPlicaGuardadoEEncontrado()
{
    EstacaoTeste t;
    t.abrirBaseDados();
    EscritorLinha e(bd(t), QStringLiteral("Entidades"), t.relogio);
    e.definir(QStringLiteral("Código da entidade"), QStringLiteral("DOURO"));
    e.definir(QStringLiteral("Entidade"), QStringLiteral("Quinta D'Ouro"));
    e.inserir();
    QSqlQuery q = Consulta::executar(bd(t), QStringLiteral("SELECT \"Código da entidade\" FROM Entidades WHERE Entidade = ?"),
                                     {QStringLiteral("Quinta D'Ouro")});
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("DOURO"));
}

void TesteBaseDados::codigoLongoRecusadoComCaixaDeErro()
{
    EstacaoTeste t;
    t.abrirBaseDados();
    EscritorLinha e(bd(t), QStringLiteral("Pesagens"), t.relogio);
    const QString cabecalho = QStringLiteral("Erro no acesso à tabela de pesagens");
    QVERIFY(!Passo(t.mensagens, cabecalho, [&] { e.definir(QStringLiteral("Código da viatura"), QStringLiteral("123456789")); }));
    QVERIFY(Passo(t.mensagens, cabecalho, [&] { e.definir(QStringLiteral("Viatura"), QStringLiteral("12-AB-34")); }));
    QCOMPARE(t.mensagens.caixas.size(), 1);
    const auto& caixa = t.mensagens.caixas.first();
    QCOMPARE(caixa.titulo, QStringLiteral("Erro 3163"));
    QCOMPARE(caixa.estilo, 48);
    QVERIFY(caixa.texto.startsWith(cabecalho + QStringLiteral("\n\n(")));
    QVERIFY(caixa.texto.endsWith(u')'));

    // The routine went on: the row is stored without the refused field.
    const qint64 n = e.inserir();
    QSqlQuery q = Consulta::executar(bd(t), QStringLiteral("SELECT * FROM Pesagens WHERE Pesagem = ?"), {n});
    QVERIFY(q.next());
    QVERIFY(q.record().value(QStringLiteral("Código da viatura")).isNull());
    QCOMPARE(q.record().value(QStringLiteral("Viatura")).toString(), QStringLiteral("12-AB-34"));
}

void TesteBaseDados::escritorVerificaCadaCampo_data()
{
    QTest::addColumn<QString>("tabela");
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QVariant>("valor");
    QTest::addColumn<int>("erro");
    QTest::addColumn<QVariant>("guardado");
    QTest::newRow("campo inexistente") << "Pesagens" << "Peso a entrada" << QVariant(1) << 3265 << QVariant();
    QTest::newRow("peso de texto vazio") << "Pesagens" << "Peso á entrada" << QVariant(QString("")) << 13 << QVariant();
    QTest::newRow("peso em texto") << "Pesagens" << "Peso á entrada" << QVariant(QString("12500")) << 0
                                   << QVariant(qlonglong(12500));
    QTest::newRow("texto vazio fica texto vazio") << "Pesagens" << "Entidade" << QVariant(QString()) << 0
                                                  << QVariant(QString(""));
    QTest::newRow("sem valor fica Null") << "Pesagens" << "Entidade" << QVariant() << 0 << QVariant();
    QTest::newRow("data escrita") << "Pesagens" << "Data de entrada" << QVariant(QString("05-12-2026 14:30"))
                                  << 0 << QVariant(QString("2026-12-05 14:30:00"));
    QTest::newRow("data impossível") << "Pesagens" << "Data de saída" << QVariant(QString("31-02-2026")) << 13 << QVariant();
    QTest::newRow("Automático cabe em 10") << "Pesagens" << "Operador" << QVariant(QString("Automático")) << 0
                                            << QVariant(QString("Automático"));
    QTest::newRow("nível acima de 255") << "Operadores" << "Nivel" << QVariant(300) << 6 << QVariant();
    QTest::newRow("código postal com letras") << "Entidades" << "Código postal" << QVariant(QString("12A4")) << 13
                                               << QVariant();
    QTest::newRow("código postal de 5 dígitos") << "Entidades" << "Código postal" << QVariant(QString("12345")) << 3163
                                                 << QVariant();
}

void TesteBaseDados::escritorVerificaCadaCampo()
{
    QFETCH(QString, tabela);
    QFETCH(QString, campo);
    QFETCH(QVariant, valor);
    QFETCH(int, erro);
    QFETCH(QVariant, guardado);
    EstacaoTeste t;
    t.abrirBaseDados();
    EscritorLinha e(bd(t), tabela, t.relogio);
    const Tabela* tab = Esquema::tabela(tabela);
    if (tab->chave().tipo != TipoCampo::Contador)
        e.definir(tab->chave().nome, QStringLiteral("K1"));
    int obtido = 0;
    try {
        e.definir(campo, valor);
    } catch (const Erro& falha) {
        obtido = falha.numero;
    }
    QCOMPARE(obtido, erro);
    if (erro != 0)
        return;
    const qint64 chave = e.inserir();
    QSqlQuery q = Consulta::executar(bd(t),
                                     QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                                         .arg(Esquema::citar(campo), Esquema::citar(tabela)),
                                     {tab->chave().tipo == TipoCampo::Contador ? QVariant(chave) : QVariant(1)});
    QVERIFY(q.next());
    QCOMPARE(q.value(0).isNull(), guardado.isNull());
    if (!guardado.isNull())
        QCOMPARE(q.value(0), guardado);
}

void TesteBaseDados::numerosNuncaReutilizados()
{
    EstacaoTeste t;
    t.abrirBaseDados();
    auto novaPesagem = [&] {
        EscritorLinha e(bd(t), QStringLiteral("Pesagens"), t.relogio);
        e.definir(QStringLiteral("Tipo de pesagem"), QStringLiteral("P"));
        return e.inserir();
    };
    QCOMPARE(novaPesagem(), 1);
    QCOMPARE(novaPesagem(), 2);
    QCOMPARE(novaPesagem(), 3);
    Consulta::executar(bd(t), QStringLiteral("DELETE FROM Pesagens WHERE Pesagem = 3"));
    QCOMPARE(novaPesagem(), 4);
}

void TesteBaseDados::textoSemDistincaoDeMaiusculas()
{
    EstacaoTeste t;
    t.abrirBaseDados();
    EscritorLinha e(bd(t), QStringLiteral("Viaturas"), t.relogio);
    e.definir(QStringLiteral("Código da viatura"), QStringLiteral("AB12"));
    e.inserir();
    QSqlQuery q = Consulta::executar(bd(t), QStringLiteral("SELECT count(*) FROM Viaturas WHERE \"Código da Viatura\" = ?"),
                                     {QStringLiteral("ab12")});
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 1);

    EscritorLinha outra(bd(t), QStringLiteral("Viaturas"), t.relogio);
    outra.definir(QStringLiteral("Código da viatura"), QStringLiteral("ab12"));
    QVERIFY_THROWS_EXCEPTION(Erro, outra.inserir());
}

void TesteBaseDados::regrasDaTabelaComoRede()
{
    // What skips the row writer is still refused by the table itself.
    EstacaoTeste t;
    t.abrirBaseDados();
    const QStringList recusados = {
        "INSERT INTO Pesagens (\"Código da viatura\") VALUES ('123456789')",
        "INSERT INTO Pesagens (\"Data de entrada\") VALUES ('05-12-2026')",
        "INSERT INTO Pesagens (\"Peso á entrada\") VALUES ('abc')",
        "INSERT INTO Viaturas (\"Código da viatura\") VALUES (NULL)",
        "UPDATE Empresas SET Guia = NULL",
    };
    for (const QString& sql : recusados)
        QVERIFY_THROWS_EXCEPTION(Erro, Consulta::executar(bd(t), sql));
    Consulta::executar(bd(t), QStringLiteral("INSERT INTO Pesagens (\"Data de entrada\") VALUES ('2026-12-05 14:30:00')"));
}

void TesteBaseDados::ficheirosRecusadosSemAlteracao_data()
{
    QTest::addColumn<QByteArray>("conteudo");
    QTest::addColumn<QString>("tabelaSqlite");  // when not empty, make a real SQLite file with this table
    QTest::newRow("texto") << QByteArray("isto não é uma base de dados\n") << QString();
    QTest::newRow("lixo binário") << QByteArray(4096, '\x5a') << QString();
    QTest::newRow("ficheiro vazio") << QByteArray() << QString();
    QTest::newRow("SQLite de outro programa") << QByteArray() << QStringLiteral("Clientes");
}

void TesteBaseDados::ficheirosRecusadosSemAlteracao()
{
    QFETCH(QByteArray, conteudo);
    QFETCH(QString, tabelaSqlite);
    QTemporaryDir pasta;
    const QString caminho = pasta.filePath(QStringLiteral("Pesagem.mdb"));
    if (tabelaSqlite.isEmpty()) {
        escreverFicheiro(caminho, conteudo);
    } else {
        auto l = LigacaoBd::criar(caminho);
        Consulta::executar(l->db(), QStringLiteral("CREATE TABLE %1 (x)").arg(tabelaSqlite));
    }
    const QByteArray antes = resumo(caminho);
    QVERIFY_THROWS_EXCEPTION(Erro, BaseDadosEstacao::abrir(caminho));
    QCOMPARE(resumo(caminho), antes);
    QCOMPARE(QDir(pasta.path()).entryList(QDir::Files), QStringList{"Pesagem.mdb"});
}

void TesteBaseDados::caminhoInexistenteNaoCriaNada()
{
    QTemporaryDir pasta;
    const QString caminho = pasta.filePath(QStringLiteral("nao/existe/Pesagem.mdb"));
    const QString aqui = pasta.filePath(QStringLiteral("Pesagem.mdb"));
    QVERIFY_THROWS_EXCEPTION(Erro, BaseDadosEstacao::abrir(caminho));
    QVERIFY_THROWS_EXCEPTION(Erro, BaseDadosEstacao::abrir(aqui));
    QVERIFY(QDir(pasta.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

void TesteBaseDados::criarNaoSobrepoe()
{
    EstacaoTeste t;
    t.abrirBaseDados();
    Consulta::executar(bd(t), QStringLiteral("UPDATE Empresas SET Guia = 41"));
    const QString caminho = t.caminho(QStringLiteral("Pesagem.mdb"));
    QVERIFY(!BaseDadosEstacao::criarSeAusente(caminho));
    QVERIFY_THROWS_EXCEPTION(Erro, BaseDadosEstacao::criar(caminho));
    QSqlQuery q = Consulta::executar(bd(t), QStringLiteral("SELECT Guia FROM Empresas"));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 41);
}

QTEST_GUILESS_MAIN(TesteBaseDados)
#include "tst_BaseDados.moc"
