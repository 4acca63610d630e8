#include "platform/Erro.h"
#include "shared/Esquema.h"
#include "data/BaseDadosEstacao.h"
#include "data/Consulta.h"
#include "data/EscritorLinha.h"
#include "data/ModGlobalCampos.h"
#include "data/Passo.h"
#include "support/EstacaoTeste.h"

#include <QCryptographicHash>
#include <QtTest>

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

    // A new database holds every table of the schema, its fields in order, the
    // key first, each text field held to its length, names in one Unicode form.
    void tabelasComoNoEsquema()
    {
        for (const Tabela& tab : Esquema::tabelas()) {
            QSqlQuery q = Consulta::executar(
                bd(), QStringLiteral("SELECT name, pk FROM pragma_table_info(?) ORDER BY cid"), {tab.nome});
            QSqlQuery ddl = Consulta::executar(bd(), QStringLiteral("SELECT sql FROM sqlite_master WHERE name = ?"),
                                               {tab.nome});
            QVERIFY2(ddl.next(), qPrintable(tab.nome));
            QStringList nomes;
            for (int i = 0; q.next(); ++i) {
                const QString nome = q.value(0).toString();
                nomes << nome;
                QCOMPARE(q.value(1).toInt() == 1, i == 0);
                QVERIFY2(nome == nome.normalized(QString::NormalizationForm_C), qPrintable(nome));
                const Campo& c = tab.campos[i];
                if (c.tipo == TipoCampo::Texto || c.tipo == TipoCampo::Digitos)
                    QVERIFY2(ddl.value(0).toString().contains(
                                 QStringLiteral("length(\"%1\") <= %2").arg(nome).arg(c.tamanho)),
                             qPrintable(nome));
            }
            QCOMPARE(nomes, tab.nomesCampos());
        }
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
        QTest::newRow("texto") << QByteArray("isto não é uma base de dados\n") << QString();
        QTest::newRow("ficheiro vazio") << QByteArray() << QString();
        QTest::newRow("SQLite de outro programa") << QByteArray() << QStringLiteral("Clientes");
    }
    void ficheirosRecusadosSemAlteracao()
    {
        QFETCH(QByteArray, conteudo);
        QFETCH(QString, tabelaSqlite);
        QTemporaryDir pasta;
        const QString caminho = pasta.filePath(QStringLiteral("Pesagem.mdb"));
        if (tabelaSqlite.isEmpty())
            escreverFicheiro(caminho, conteudo);
        else
            Consulta::executar(LigacaoBd::criar(caminho)->db(), QStringLiteral("CREATE TABLE %1 (x)").arg(tabelaSqlite));
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
