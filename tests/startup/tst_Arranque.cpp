#include "startup/Arranque.h"
#include "data/BaseDadosEstacao.h"
#include "support/EstacaoTeste.h"

#include <QtTest>

class TesteArranque : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void caminhos_data();
    void caminhos();
    void semFicheiroNadaEscrito();
    void nenhumaBaseDados();
};

// The settings file names paths with {pasta} for the program folder. Files of
// the folder: Pesagem.mdb (always), outra.mdb (a second station database),
// estranha.mdb (not a database), ligacao.mdb (a link to Pesagem.mdb).
void TesteArranque::caminhos_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("principal");   // file the main connection opened
    QTest::addColumn<QString>("backup");      // file the backup connection opened, or empty
    QTest::addColumn<bool>("porDefeito");

    QTest::newRow("sem chaves") << QByteArray() << "Pesagem.mdb" << "" << false;
    QTest::newRow("cópia igual à principal")
        << QByteArray("[BaseDados]\nLocalizacao={pasta}/outra.mdb\n[BaseDadosBackup]\nLocalizacao={pasta}/outra.mdb\n")
        << "outra.mdb" << "" << false;
    QTest::newRow("só a principal noutro sítio: a cópia é a de origem")
        << QByteArray("[BaseDados]\nLocalizacao={pasta}/outra.mdb\n") << "outra.mdb" << "Pesagem.mdb" << false;
    QTest::newRow("cópia diferente")
        << QByteArray("[BaseDadosBackup]\nLocalizacao={pasta}/outra.mdb\n") << "Pesagem.mdb" << "outra.mdb" << false;
    QTest::newRow("cópia com outro nome do mesmo ficheiro")
        << QByteArray("[BaseDadosBackup]\nLocalizacao={pasta}/./sub/../Pesagem.mdb\n") << "Pesagem.mdb" << "" << false;
    QTest::newRow("cópia por ligação simbólica")
        << QByteArray("[BaseDadosBackup]\nLocalizacao={pasta}/ligacao.mdb\n") << "Pesagem.mdb" << "" << false;
    QTest::newRow("cópia que não existe: sem cópia")
        << QByteArray("[BaseDados]\nLocalizacao={pasta}/outra.mdb\n[BaseDadosBackup]\nLocalizacao={pasta}/falta.mdb\n")
        << "outra.mdb" << "" << false;
    QTest::newRow("cópia que não é base de dados: sem cópia, a principal fica")
        << QByteArray("[BaseDados]\nLocalizacao={pasta}/outra.mdb\n[BaseDadosBackup]\nLocalizacao={pasta}/estranha.mdb\n")
        << "outra.mdb" << "" << false;
    QTest::newRow("principal que não existe: a de origem, sem cópia")
        << QByteArray("[BaseDados]\nLocalizacao={pasta}/falta.mdb\n[BaseDadosBackup]\nLocalizacao={pasta}/outra.mdb\n")
        << "Pesagem.mdb" << "" << true;
    QTest::newRow("principal que não é base de dados")
        << QByteArray("[BaseDados]\nLocalizacao={pasta}/estranha.mdb\n") << "Pesagem.mdb" << "" << true;
    QTest::newRow("valor que transborda não mexe nos caminhos")
        << QByteArray("[BaseDadosBackup]\nLocalizacao={pasta}/outra.mdb\n[IndicadorB2]\nDivisao=1639\n")
        << "Pesagem.mdb" << "outra.mdb" << false;
}

void TesteArranque::caminhos()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, principal);
    QFETCH(QString, backup);
    QFETCH(bool, porDefeito);

    EstacaoTeste t;
    BaseDadosEstacao::criar(t.caminho(QStringLiteral("outra.mdb")));
    escreverFicheiro(t.caminho(QStringLiteral("estranha.mdb")), "não sou uma base de dados");
    QVERIFY(QFile::link(t.caminho(QStringLiteral("Pesagem.mdb")), t.caminho(QStringLiteral("ligacao.mdb"))));
    QDir(t.pasta()).mkdir(QStringLiteral("sub"));
    if (!ini.isEmpty())
        t.escreverIni(ini.replace("{pasta}", t.pasta().toUtf8()));
    const QByteArray estranhaAntes = lerFicheiro(t.caminho(QStringLiteral("estranha.mdb")));

    const ResultadoArranque r = ArrancarDados(*t.estacao);
    QVERIFY(r.baseDadosAberta);
    QCOMPARE(r.caminhoPorDefeito, porDefeito);
    QCOMPARE(QFileInfo(t.estacao->Bd->caminho()).fileName(), principal);
    QCOMPARE(t.estacao->temBackup() ? QFileInfo(t.estacao->BdBackup->caminho()).fileName() : QString(), backup);
    if (porDefeito)
        QCOMPARE(t.estacao->Def.BaseDadosBackup, t.estacao->Def.BaseDados);
    QCOMPARE(t.estacao->Acesso.TentativasAcesso, quint8(0));
    QVERIFY(t.mensagens.caixas.isEmpty());
    QVERIFY(!QFile::exists(t.caminho(QStringLiteral("falta.mdb"))));
    QCOMPARE(lerFicheiro(t.caminho(QStringLiteral("estranha.mdb"))), estranhaAntes);
}

void TesteArranque::semFicheiroNadaEscrito()
{
    EstacaoTeste t;
    t.estacao->Acesso.TentativasAcesso = 2;
    const ResultadoArranque r = ArrancarDados(*t.estacao);
    QVERIFY(r.baseDadosAberta);
    QVERIFY(r.valoresFalhados.isEmpty());
    QCOMPARE(t.estacao->Acesso.TentativasAcesso, quint8(0));
    QCOMPARE(QDir(t.pasta()).entryList(QDir::Files), QStringList{"Pesagem.mdb"});
}

void TesteArranque::nenhumaBaseDados()
{
    EstacaoTeste t(false);
    t.escreverIni("[BaseDados]\nLocalizacao=" + t.caminho(QStringLiteral("falta.mdb")).toUtf8() + "\n");
    const ResultadoArranque r = ArrancarDados(*t.estacao);
    QVERIFY(!r.baseDadosAberta);
    QVERIFY(r.erroBaseDados.numero != 0);
    QVERIFY(!r.erroBaseDados.descricao.isEmpty());
    QVERIFY(!t.estacao->Bd);
    QCOMPARE(QDir(t.pasta()).entryList(QDir::Files), QStringList{"Lorvane.ini"});
}

QTEST_GUILESS_MAIN(TesteArranque)
#include "tst_Arranque.moc"
