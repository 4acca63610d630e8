#include "data/BaseDadosEstacao.h"
#include "startup/ModGlobalMain.h"
#include "support/EstacaoTeste.h"

#include <QtTest>

// What the program's start adds to the data start: the order of its last
// steps, and the end of a program that finds no database.
class TesteModGlobalMain : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void arranque_data();
    void arranque();
    void semBaseDados();
};

void TesteModGlobalMain::arranque_data()
{
    QTest::addColumn<QByteArray>("ini");  // {pasta} is the program folder
    QTest::addColumn<QString>("principal");
    QTest::addColumn<bool>("comBackup");
    QTest::addColumn<qint16>("minimaB2");

    QTest::newRow("sem ficheiro de definições") << QByteArray() << "Pesagem.mdb" << false << qint16(400);
    QTest::newRow("cópia igual à principal")
        << QByteArray("[BaseDados]\nLocalizacao={pasta}/outra.mdb\n[BaseDadosBackup]\nLocalizacao={pasta}/outra.mdb\n")
        << "outra.mdb" << false << qint16(400);
    QTest::newRow("cópia diferente") << QByteArray("[BaseDadosBackup]\nLocalizacao={pasta}/outra.mdb\n")
                                     << "Pesagem.mdb" << true << qint16(400);
    QTest::newRow("principal em falta") << QByteArray("[BaseDados]\nLocalizacao={pasta}/falta.mdb\n")
                                        << "Pesagem.mdb" << false << qint16(400);
    QTest::newRow("divisão 1638") << QByteArray("[IndicadorB2]\nDivisao=1638\n") << "Pesagem.mdb" << false
                                  << qint16(32760);
    QTest::newRow("divisão 1639: só esse valor falha")
        << QByteArray("[BaseDadosBackup]\nLocalizacao={pasta}/outra.mdb\n[IndicadorB2]\nDivisao=1639\n")
        << "Pesagem.mdb" << true << qint16(0);
}

void TesteModGlobalMain::arranque()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, principal);
    QFETCH(bool, comBackup);
    QFETCH(qint16, minimaB2);

    EstacaoTeste t;
    BaseDadosEstacao::criar(t.caminho(QStringLiteral("outra.mdb")));
    if (!ini.isEmpty())
        t.escreverIni(ini.replace("{pasta}", t.pasta().toUtf8()));
    Estacao& e = *t.estacao;
    e.Acesso.TentativasAcesso = 2;  // left from a previous run

    QStringList passos;
    int tentativasAoCarregar = -1;
    bool baseAbertaAoCarregar = false;
    const int estado = ModGlobal::Main(e, {
                                              [&] {
                                                  passos << QStringLiteral("carregar principal");
                                                  tentativasAoCarregar = e.Acesso.TentativasAcesso;
                                                  baseAbertaAoCarregar = e.Bd != nullptr;
                                              },
                                              [&] { passos << QStringLiteral("mostrar acesso"); },
                                          });

    QCOMPARE(estado, 0);
    QCOMPARE(passos, (QStringList{"carregar principal", "mostrar acesso"}));
    QCOMPARE(tentativasAoCarregar, 0);
    QVERIFY(baseAbertaAoCarregar);
    QCOMPARE(QFileInfo(e.Bd->caminho()).fileName(), principal);
    QCOMPARE(e.temBackup(), comBackup);
    QCOMPARE(e.Def.PesagemMinima[1], minimaB2);
    QVERIFY(t.mensagens.caixas.isEmpty());
    QCOMPARE(QFile::exists(t.caminho(QStringLiteral("Lorvane.ini"))), !ini.isEmpty());
    QVERIFY(!QFile::exists(t.caminho(QStringLiteral("falta.mdb"))));
}

void TesteModGlobalMain::semBaseDados()
{
    EstacaoTeste t(false);
    t.escreverIni("[BaseDados]\nLocalizacao=" + t.caminho(QStringLiteral("falta.mdb")).toUtf8() + "\n");

    int janelas = 0;
    const int estado = ModGlobal::Main(*t.estacao, {[&] { ++janelas; }, [&] { ++janelas; }});

    QCOMPARE(estado, 1);
    QCOMPARE(janelas, 0);
    QCOMPARE(t.mensagens.caixas.size(), 1);
    const MensagensFalsas::Caixa& caixa = t.mensagens.caixas.first();
    QCOMPARE(caixa.estilo, Estilo::Critico);
    QVERIFY(caixa.titulo.startsWith(QStringLiteral("Erro ")));
    QVERIFY(caixa.titulo.mid(5).toInt() != 0);
    QVERIFY(caixa.texto.startsWith(QStringLiteral("Não foi possível abrir a base de dados de pesagens\n")));
    QVERIFY(caixa.texto.contains(t.caminho(QStringLiteral("Pesagem.mdb"))));
    QVERIFY(caixa.texto.endsWith(u')'));
    QCOMPARE(QDir(t.pasta()).entryList(QDir::Files), QStringList{"Lorvane.ini"});
}

QTEST_GUILESS_MAIN(TesteModGlobalMain)
#include "tst_ModGlobalMain.moc"
