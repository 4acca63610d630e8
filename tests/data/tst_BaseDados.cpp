#include "platform/Erro.h"
#include "shared/Esquema.h"
#include "data/BaseDadosEstacao.h"
#include "data/Consulta.h"
#include "data/EscritorLinha.h"
#include "data/ModGlobalCampos.h"
#include "data/Passo.h"
#include "support/EstacaoTeste.h"

#include <QCryptographicHash>
#include <QRegularExpression>
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

}  // namespace

class TesteBaseDados : public QObject
{
    Q_OBJECT

    EstacaoTeste t;
    QSqlDatabase bd() { return t.estacao->bd(); }
    qint64 novaPesagem()
    {
        EscritorLinha e(bd(), QStringLiteral("Pesagens"), t.relogio);
        e.definir(QStringLiteral("Tipo de pesagem"), QStringLiteral("P"));
        return e.inserir();
    }

private Q_SLOTS:
    void initTestCase() { t.abrirBaseDados(); }

    // A new database holds every table with its fields in order, the key
    // first, each text field held to its greatest length, names in one Unicode form.
    void tabelasECamposPelaOrdem_data()
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

    void tabelasECamposPelaOrdem()
    {
        QFETCH(QString, tabela);
        QFETCH(QStringList, esperados);
        QSqlQuery q = Consulta::executar(bd(), QStringLiteral("SELECT name FROM pragma_table_info(?) ORDER BY cid"), {tabela});
        QSqlQuery ddl = Consulta::executar(bd(), QStringLiteral("SELECT sql FROM sqlite_master WHERE name = ?"), {tabela});
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
        q = Consulta::executar(bd(), QStringLiteral("SELECT name FROM pragma_table_info(?) WHERE pk = 1"), {tabela});
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), esperados[0].section(u'(', 0, 0));
        QVERIFY(!q.next());
        for (const QString& nome : std::as_const(obtidos))
            QVERIFY2(nome == nome.normalized(QString::NormalizationForm_C), qPrintable(nome));
    }

    void linhasIniciais()
    {
        QSqlQuery q = Consulta::executar(bd(), QStringLiteral("SELECT Entrada + Guia + \"Talão\" FROM Empresas"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 0);
        QVERIFY(!q.next());
        QSqlQuery o = Consulta::executar(bd(), QStringLiteral("SELECT * FROM Operadores"));
        QVERIFY(o.next());
        QCOMPARE(ModGlobal::LerCampoTexto(o.record(), QStringLiteral("Operador")), BaseDadosEstacao::OperadorInicial);
        QCOMPARE(ModGlobal::LerCampoByte(o.record(), QStringLiteral("Nivel")), quint8(4));
        QVERIFY(!o.next());
    }

    void codigoLongoRecusadoComCaixaDeErro()
    {
        EscritorLinha e(bd(), QStringLiteral("Pesagens"), t.relogio);
        const QString cabecalho = QStringLiteral("Erro no acesso à tabela de pesagens");
        t.mensagens.caixas.clear();
        QVERIFY(!Passo(t.mensagens, cabecalho, [&] { e.definir(QStringLiteral("Código da viatura"), u"123456789"_qs); }));
        QVERIFY(Passo(t.mensagens, cabecalho, [&] { e.definir(QStringLiteral("Viatura"), QStringLiteral("12-AB-34")); }));
        QCOMPARE(t.mensagens.caixas.size(), 1);
        const auto& caixa = t.mensagens.caixas.first();
        QCOMPARE(caixa.titulo, QStringLiteral("Erro 3163"));
        QCOMPARE(caixa.estilo, 48);
        QVERIFY(caixa.texto.startsWith(cabecalho + QStringLiteral("\n\n(")));
        QVERIFY(caixa.texto.endsWith(u')'));

        // The routine went on: the row is stored without the refused field.
        QSqlQuery q = Consulta::executar(bd(), QStringLiteral("SELECT * FROM Pesagens WHERE Pesagem = ?"), {e.inserir()});
        QVERIFY(q.next());
        QVERIFY(q.record().value(QStringLiteral("Código da viatura")).isNull());
        QCOMPARE(q.record().value(QStringLiteral("Viatura")).toString(), QStringLiteral("12-AB-34"));
    }

    void escritorVerificaCadaCampo_data()
    {
        QTest::addColumn<QString>("tabela");
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QVariant>("valor");
        QTest::addColumn<int>("erro");
        QTest::addColumn<QVariant>("guardado");
        QTest::newRow("campo inexistente") << "Pesagens" << "Peso a entrada" << QVariant(1) << 3265 << QVariant();
        QTest::newRow("peso de texto vazio") << "Pesagens" << "Peso á entrada" << QVariant(u""_qs) << 13 << QVariant();
        QTest::newRow("peso em texto") << "Pesagens" << "Peso á entrada" << QVariant(u"12500"_qs) << 0
                                       << QVariant(qlonglong(12500));
        QTest::newRow("texto vazio fica texto vazio") << "Pesagens" << "Entidade" << QVariant(QString()) << 0
                                                      << QVariant(u""_qs);
        QTest::newRow("sem valor fica Null") << "Pesagens" << "Entidade" << QVariant() << 0 << QVariant();
        QTest::newRow("nome com plica") << "Pesagens" << "Entidade" << QVariant(u"Quinta D'Ouro"_qs) << 0
                                        << QVariant(u"Quinta D'Ouro"_qs);
        QTest::newRow("data escrita") << "Pesagens" << "Data de entrada" << QVariant(u"05-12-2026 14:30"_qs) << 0
                                      << QVariant(u"2026-12-05 14:30:00"_qs);
        QTest::newRow("data impossível") << "Pesagens" << "Data de saída" << QVariant(u"31-02-2026"_qs) << 13 << QVariant();
        QTest::newRow("Automático cabe em 10") << "Pesagens" << "Operador" << QVariant(u"Automático"_qs) << 0
                                                << QVariant(u"Automático"_qs);
        QTest::newRow("nível acima de 255") << "Operadores" << "Nivel" << QVariant(300) << 6 << QVariant();
        QTest::newRow("código postal com letras") << "Entidades" << "Código postal" << QVariant(u"12A4"_qs) << 13
                                                   << QVariant();
        QTest::newRow("código postal de 5 dígitos") << "Entidades" << "Código postal" << QVariant(u"12345"_qs)
                                                     << 3163 << QVariant();
    }
    void escritorVerificaCadaCampo()
    {
        QFETCH(QString, tabela);
        QFETCH(QString, campo);
        QFETCH(QVariant, valor);
        QFETCH(int, erro);
        QFETCH(QVariant, guardado);
        EscritorLinha e(bd(), tabela, t.relogio);
        const Tabela* tab = Esquema::tabela(tabela);
        const bool contador = tab->chave().tipo == TipoCampo::Contador;
        if (!contador)
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
        const qint64 n = e.inserir();
        QSqlQuery q = Consulta::executar(bd(), QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                                                   .arg(Esquema::citar(campo), Esquema::citar(tabela),
                                                        Esquema::citar(tab->chave().nome)),
                                         {contador ? QVariant(n) : QVariant(u"K1"_qs)});
        QVERIFY(q.next());
        QCOMPARE(q.value(0).isNull(), guardado.isNull());
        if (!guardado.isNull())
            QCOMPARE(q.value(0), guardado);
    }

    void numerosNuncaReutilizados()
    {
        const qint64 primeiro = novaPesagem();
        QCOMPARE(novaPesagem(), primeiro + 1);
        Consulta::executar(bd(), QStringLiteral("DELETE FROM Pesagens WHERE Pesagem = ?"), {primeiro + 1});
        QCOMPARE(novaPesagem(), primeiro + 2);
    }

    void textoSemDistincaoDeMaiusculas()
    {
        EscritorLinha e(bd(), QStringLiteral("Viaturas"), t.relogio);
        e.definir(QStringLiteral("Código da viatura"), QStringLiteral("AB12"));
        e.inserir();
        QSqlQuery q = Consulta::executar(
            bd(), QStringLiteral("SELECT count(*) FROM Viaturas WHERE \"Código da Viatura\" = ?"), {u"ab12"_qs});
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 1);
        EscritorLinha outra(bd(), QStringLiteral("Viaturas"), t.relogio);
        outra.definir(QStringLiteral("Código da viatura"), QStringLiteral("ab12"));
        QVERIFY_THROWS_EXCEPTION(Erro, outra.inserir());
    }

    void regrasDaTabelaComoRede()
    {
        // What skips the row writer is still refused by the table itself.
        for (const char* sql : {"INSERT INTO Pesagens (\"Código da viatura\") VALUES ('123456789')",
                                "INSERT INTO Pesagens (\"Data de entrada\") VALUES ('05-12-2026')",
                                "INSERT INTO Pesagens (\"Peso á entrada\") VALUES ('abc')",
                                "INSERT INTO Viaturas (\"Código da viatura\") VALUES (NULL)",
                                "UPDATE Empresas SET Guia = NULL"})
            QVERIFY_THROWS_EXCEPTION(Erro, Consulta::executar(bd(), QString::fromUtf8(sql)));
        Consulta::executar(bd(), QStringLiteral("INSERT INTO Pesagens (\"Data de entrada\") VALUES ('2026-12-05 14:30:00')"));
    }

    void ficheirosRecusadosSemAlteracao_data()
    {
        QTest::addColumn<QByteArray>("conteudo");
        QTest::addColumn<QString>("tabelaSqlite");  // when not empty, make a real SQLite file with this table
        QTest::addColumn<int>("marca");             // when not 0, a station's database marked by another program
        QTest::newRow("texto") << QByteArray("isto não é uma base de dados\n") << QString() << 0;
        QTest::newRow("ficheiro vazio") << QByteArray() << QString() << 0;
        QTest::newRow("SQLite de outro programa") << QByteArray() << QStringLiteral("Clientes") << 0;
        QTest::newRow("tabelas da estação, marca de outro programa") << QByteArray() << QString() << 0x0F0F0F0F;
    }
    void ficheirosRecusadosSemAlteracao()
    {
        QFETCH(QByteArray, conteudo);
        QFETCH(QString, tabelaSqlite);
        QFETCH(int, marca);
        QTemporaryDir pasta;
        const QString caminho = pasta.filePath(QStringLiteral("Pesagem.mdb"));
        if (marca != 0) {
            BaseDadosEstacao::criar(caminho);
            Consulta::executar(LigacaoBd::criar(caminho)->db(), QStringLiteral("PRAGMA application_id = %1").arg(marca));
        } else if (tabelaSqlite.isEmpty()) {
            escreverFicheiro(caminho, conteudo);
        } else {
            Consulta::executar(LigacaoBd::criar(caminho)->db(), QStringLiteral("CREATE TABLE %1 (x)").arg(tabelaSqlite));
        }
        const auto resumo = [&] { return QCryptographicHash::hash(lerFicheiro(caminho), QCryptographicHash::Sha256); };
        const QByteArray antes = resumo();
        QVERIFY_THROWS_EXCEPTION(Erro, BaseDadosEstacao::abrir(caminho));
        QCOMPARE(resumo(), antes);
        QCOMPARE(QDir(pasta.path()).entryList(QDir::Files), QStringList{"Pesagem.mdb"});
    }

    void caminhoInexistenteNaoCriaNada()
    {
        QTemporaryDir pasta;
        QVERIFY_THROWS_EXCEPTION(Erro, BaseDadosEstacao::abrir(pasta.filePath(QStringLiteral("nao/existe/Pesagem.mdb"))));
        QVERIFY_THROWS_EXCEPTION(Erro, BaseDadosEstacao::abrir(pasta.filePath(QStringLiteral("Pesagem.mdb"))));
        QVERIFY(QDir(pasta.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    }

    void criarNaoSobrepoe()
    {
        Consulta::executar(bd(), QStringLiteral("UPDATE Empresas SET Guia = 41"));
        const QString caminho = t.caminho(QStringLiteral("Pesagem.mdb"));
        QVERIFY(!BaseDadosEstacao::criarSeAusente(caminho));
        QVERIFY_THROWS_EXCEPTION(Erro, BaseDadosEstacao::criar(caminho));
        QSqlQuery q = Consulta::executar(bd(), QStringLiteral("SELECT Guia FROM Empresas"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 41);
    }
};

QTEST_GUILESS_MAIN(TesteBaseDados)
#include "tst_BaseDados.moc"
