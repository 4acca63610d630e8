#include "platform/Erro.h"
#include "platform/FicheiroPerfil.h"
#include "startup/ModGlobalIni.h"
#include "support/EstacaoTeste.h"

#include <QtTest>

using namespace ModGlobal;

class TesteModGlobalIni : public QObject
{
    Q_OBJECT

    QTemporaryDir pasta;
    QString caminho() const { return pasta.filePath(QStringLiteral("Lorvane.ini")); }

private Q_SLOTS:
    void lerNumeros_data();
    void lerNumeros();
    void lerBooleanos_data();
    void lerBooleanos();
    void lerTexto();
    void gravarEscreveAsFormasDoFicheiro();
    void semFicheiroTudoPorDefeito();
    void valoresInvalidosSoAfectamEsseValor();
    void divisaoEPesagemMinima_data();
    void divisaoEPesagemMinima();
    void valoresPorDefeito();
};

void TesteModGlobalIni::lerNumeros_data()
{
    QTest::addColumn<QByteArray>("linha");   // the line under [S]; empty: no key
    QTest::addColumn<int>("defeito");
    QTest::addColumn<qint64>("inteiro");     // LerIniInt; 99999 for an overflow
    QTest::addColumn<qint64>("longo");       // LerIniLong; 9999999999 for an overflow
    QTest::newRow("chave ausente dá o defeito") << QByteArray() << 3 << qint64(3) << qint64(3);
    QTest::newRow("presente e vazia dá 0") << QByteArray("K=") << 3 << qint64(0) << qint64(0);
    QTest::newRow("2.5 dá 2") << QByteArray("K=2.5") << 0 << qint64(2) << qint64(2);
    QTest::newRow("3.5 dá 4") << QByteArray("K=3.5") << 0 << qint64(4) << qint64(4);
    QTest::newRow("60 000 com espaço") << QByteArray("K=60 000") << 0 << qint64(99999) << qint64(60000);
    QTest::newRow("COM1 dá 0") << QByteArray("K=COM1") << 1 << qint64(0) << qint64(0);
    QTest::newRow("negativo") << QByteArray("K=-5") << 0 << qint64(-5) << qint64(-5);
    QTest::newRow("40000 transborda 16 bits") << QByteArray("K=40000") << 0 << qint64(99999) << qint64(40000);
    QTest::newRow("transborda 32 bits") << QByteArray("K=3000000000") << 0 << qint64(99999) << qint64(9999999999);
    QTest::newRow("hexadecimal") << QByteArray("K=&H1F") << 0 << qint64(31) << qint64(31);
}

void TesteModGlobalIni::lerNumeros()
{
    QFETCH(QByteArray, linha);
    QFETCH(int, defeito);
    QFETCH(qint64, inteiro);
    QFETCH(qint64, longo);
    escreverFicheiro(caminho(), "[S]\n" + linha + "\n");
    const FicheiroPerfil ini(caminho());
    if (inteiro == 99999)
        QVERIFY_THROWS_EXCEPTION(Erro, LerIniInt(ini, QStringLiteral("S"), QStringLiteral("K"), qint16(defeito)));
    else
        QCOMPARE(qint64(LerIniInt(ini, QStringLiteral("S"), QStringLiteral("K"), qint16(defeito))), inteiro);
    if (longo == 9999999999)
        QVERIFY_THROWS_EXCEPTION(Erro, LerIniLong(ini, QStringLiteral("S"), QStringLiteral("K"), defeito));
    else
        QCOMPARE(qint64(LerIniLong(ini, QStringLiteral("S"), QStringLiteral("K"), defeito)), longo);
}

void TesteModGlobalIni::lerBooleanos_data()
{
    QTest::addColumn<QByteArray>("linha");
    QTest::addColumn<bool>("defeito");
    QTest::addColumn<bool>("esperado");
    QTest::newRow("True") << QByteArray("K=True") << false << true;
    QTest::newRow("False") << QByteArray("K=False") << true << false;
    QTest::newRow("true minúsculo dá o defeito") << QByteArray("K=true") << true << true;
    QTest::newRow("FALSE maiúsculo dá o defeito") << QByteArray("K=FALSE") << true << true;
    QTest::newRow("1 dá o defeito") << QByteArray("K=1") << false << false;
    QTest::newRow("vazio dá o defeito") << QByteArray("K=") << true << true;
    QTest::newRow("com espaços") << QByteArray("K= True ") << false << true;
    QTest::newRow("entre aspas") << QByteArray("K=\"False\"") << true << false;
    QTest::newRow("ausente") << QByteArray() << true << true;
}

void TesteModGlobalIni::lerBooleanos()
{
    QFETCH(QByteArray, linha);
    QFETCH(bool, defeito);
    QFETCH(bool, esperado);
    escreverFicheiro(caminho(), "[S]\n" + linha + "\n");
    QCOMPARE(LerIniBool(FicheiroPerfil(caminho()), QStringLiteral("S"), QStringLiteral("K"), defeito), esperado);
}

void TesteModGlobalIni::lerTexto()
{
    escreverFicheiro(caminho(), "[S]\nVazio=\nLongo=" + QByteArray(300, 'x') + "\n");
    const FicheiroPerfil ini(caminho());
    QCOMPARE(LerIniTexto(ini, QStringLiteral("S"), QStringLiteral("Vazio"), QStringLiteral("d")), QString());
    QCOMPARE(LerIniTexto(ini, QStringLiteral("S"), QStringLiteral("Falta"), QStringLiteral("d")), QStringLiteral("d"));
    QCOMPARE(LerIniTexto(ini, QStringLiteral("S"), QStringLiteral("Longo"), {}).size(), 254);
}

void TesteModGlobalIni::gravarEscreveAsFormasDoFicheiro()
{
    QFile::remove(caminho());
    FicheiroPerfil ini(caminho());
    QVERIFY(GravarIniBool(ini, QStringLiteral("S"), QStringLiteral("B"), true));
    QVERIFY(GravarIniInt(ini, QStringLiteral("S"), QStringLiteral("I"), -12));
    QVERIFY(GravarIniLong(ini, QStringLiteral("S"), QStringLiteral("L"), 2147483647));
    QVERIFY(GravarIniTexto(ini, QStringLiteral("S"), QStringLiteral("T"), QString()));
    QCOMPARE(lerFicheiro(caminho()), QByteArray("[S]\nB=True\nI=-12\nL=2147483647\nT=\n"));
}

void TesteModGlobalIni::semFicheiroTudoPorDefeito()
{
    QTemporaryDir vazia;
    const FicheiroPerfil ini(vazia.filePath(QStringLiteral("Lorvane.ini")));
    Definicoes d;
    QVERIFY(LerDefinicoes(ini, vazia.path(), d).isEmpty());
    QVERIFY(!QFile::exists(ini.caminho()));

    QCOMPARE(d.BaseDados, vazia.filePath(QStringLiteral("Pesagem.mdb")));
    QCOMPARE(d.BaseDadosBackup, d.BaseDados);
    QCOMPARE(d.FichInterface, vazia.path());
    QCOMPARE(d.EnderecoIP[0], QString());
    QCOMPARE(d.ComunicacaoIP[1], false);
    QCOMPARE(d.IndLigado, (PorBascula<bool>{true, false}));
    QCOMPARE(d.IndModelo[1], QStringLiteral("Avery Weigh-Tronix"));
    QCOMPARE(d.IndPorta, (PorBascula<qint16>{1, 2}));
    QCOMPARE(d.IndConfiguracao[0], QStringLiteral("9600,n,8,1"));
    QCOMPARE(d.IndDivisao[0], qint16(20));
    QCOMPARE(d.PesagemMinima, (PorBascula<qint16>{400, 400}));
    QCOMPARE(d.CapacidadeMaxima[1], 60000);
    QCOMPARE(d.ZeroAutomatico[0], true);
    QCOMPARE(d.CiclosZero[0], qint16(25));
    QCOMPARE(d.IndTemporizacao[1], qint16(250));
    QCOMPARE(d.LPPorta, (PorBascula<qint16>{3, 4}));
    QCOMPARE(d.LSPorta, (PorBascula<qint16>{5, 6}));
    QCOMPARE(d.LPLigado[0], false);
    QCOMPARE(d.LSTemporizacao[1], qint16(50));
    QCOMPARE(d.FormatViatNac, true);
    QCOMPARE(d.DuasPesagens, true);
    QCOMPARE(d.Ciclos, qint16(50));
    QCOMPARE(d.CopiasPrimeiraPesagem, qint16(0));
    QCOMPARE(d.CopiasSaida, qint16(1));
    QCOMPARE(d.UltimoDocPesagem, 0);
}

void TesteModGlobalIni::valoresInvalidosSoAfectamEsseValor()
{
    escreverFicheiro(caminho(), "[IndicadorB1]\nPorta=99999\nDivisao=abc\nCapacidadeMaxima=9999999999\n"
                                "Ligado=talvez\nComunicaçãoIP=True\nEndereçoIP=127.0.0.1\n"
                                "[LeitorPrincipalB2]\nTemporizacao=-40000\nPorta=8\n"
                                "[NrCopias]\nEntrada=2\n");
    Definicoes d;
    const QStringList falhas = LerDefinicoes(FicheiroPerfil(caminho()), pasta.path(), d);
    QCOMPARE(falhas, (QStringList{"IndicadorB1/Porta", "IndicadorB1/CapacidadeMaxima",
                                  "LeitorPrincipalB2/Temporizacao"}));
    QCOMPARE(d.IndPorta[0], qint16(1));          // out of range: the default
    QCOMPARE(d.IndDivisao[0], qint16(0));        // "abc" reads as 0
    QCOMPARE(d.PesagemMinima[0], qint16(0));
    QCOMPARE(d.CapacidadeMaxima[0], 60000);
    QCOMPARE(d.IndLigado[0], true);              // not a Boolean text: the default
    QCOMPARE(d.ComunicacaoIP[0], true);
    QCOMPARE(d.EnderecoIP[0], QStringLiteral("127.0.0.1"));
    QCOMPARE(d.LPTemporizacao[1], qint16(50));
    QCOMPARE(d.LPPorta[1], qint16(8));
    QCOMPARE(d.CopiasEntrada, qint16(2));
    QCOMPARE(d.IndPorta[1], qint16(2));          // others untouched
    QCOMPARE(d.BaseDados, pasta.filePath(QStringLiteral("Pesagem.mdb")));
}

void TesteModGlobalIni::divisaoEPesagemMinima_data()
{
    QTest::addColumn<QByteArray>("divisao");
    QTest::addColumn<int>("indDivisao");
    QTest::addColumn<int>("pesagemMinima");
    QTest::addColumn<bool>("falha");
    QTest::newRow("1638") << QByteArray("1638") << 1638 << 32760 << false;
    QTest::newRow("1639 transborda o peso mínimo") << QByteArray("1639") << 1639 << 0 << true;
    QTest::newRow("40000 transborda a divisão: a de origem") << QByteArray("40000") << 20 << 400 << true;
    QTest::newRow("-1638") << QByteArray("-1638") << -1638 << -32760 << false;
}

void TesteModGlobalIni::divisaoEPesagemMinima()
{
    QFETCH(QByteArray, divisao);
    QFETCH(int, indDivisao);
    QFETCH(int, pesagemMinima);
    QFETCH(bool, falha);
    escreverFicheiro(caminho(), "[IndicadorB2]\nDivisao=" + divisao + "\n");
    Definicoes d;
    const QStringList falhas = LerDefinicoes(FicheiroPerfil(caminho()), pasta.path(), d);
    QCOMPARE(falhas.contains(QStringLiteral("IndicadorB2/Divisao")), falha);
    QCOMPARE(int(d.IndDivisao[1]), indDivisao);
    QCOMPARE(int(d.PesagemMinima[1]), pesagemMinima);
    QCOMPARE(int(d.PesagemMinima[0]), 400);
}

void TesteModGlobalIni::valoresPorDefeito()
{
    escreverFicheiro(caminho(), "[BaseDadosBackup]\nLocalizacao=/copia/Pesagem.mdb\n"
                                "[IndicadorB1]\nComunicaçãoIP=True\nLigado=False\nDivisao=50\n"
                                "[Acesso]\nOperador=Ana\n[NrCopias]\nUltimoDocPesagem=77\n");
    FicheiroPerfil ini(caminho());
    Definicoes d;
    LerDefinicoes(ini, pasta.path(), d);
    d.OperadorAutomatico = true;
    QCOMPARE(ValoresPorDefeito(ini, pasta.path(), d), 0);

    // Memory and file agree, and what is not a device or general setting is kept.
    Definicoes relido;
    QVERIFY(LerDefinicoes(ini, pasta.path(), relido).isEmpty());
    relido.OperadorAutomatico = true;
    QVERIFY(relido == d);
    QCOMPARE(d.BaseDadosBackup, QStringLiteral("/copia/Pesagem.mdb"));
    QCOMPARE(d.ComunicacaoIP[0], true);
    QCOMPARE(d.UltimoDocPesagem, 77);
    QCOMPARE(d.PesagemMinima, (PorBascula<qint16>{400, 400}));

    // The file: the 54 factory values in their order, after the 4 kept keys of their sections.
    QStringList chaves;
    QString seccao;
    for (QString l : QString::fromUtf8(lerFicheiro(caminho())).split(u'\n')) {
        if (l.startsWith(u'['))
            seccao = l;
        else if (l.contains(u'='))
            chaves << seccao + l.replace(pasta.path(), QStringLiteral("P"));
    }
    QCOMPARE(chaves.join(u'|'), QStringLiteral(
        "[BaseDadosBackup]Localizacao=/copia/Pesagem.mdb|"
        "[IndicadorB1]ComunicaçãoIP=True|[IndicadorB1]Ligado=True|[IndicadorB1]Divisao=20|"
        "[IndicadorB1]EndereçoIP=192.168.1.201|[IndicadorB1]Indicador=Avery Weigh-Tronix|[IndicadorB1]Porta=1|"
        "[IndicadorB1]Handshacking=0|[IndicadorB1]Configuracao=9600,n,8,1|[IndicadorB1]CapacidadeMaxima=60000|"
        "[IndicadorB1]CorreccaoZero=0|[IndicadorB1]ZeroAutomatico=True|[IndicadorB1]CiclosZero=25|"
        "[IndicadorB1]Temporizacao=250|"
        "[Acesso]Operador=Ana|"
        "[NrCopias]UltimoDocPesagem=77|[NrCopias]PrimeiraPesagem=0|[NrCopias]SegundaVia=1|[NrCopias]Entrada=1|"
        "[NrCopias]Saida=1|[NrCopias]Talao=1|"
        "[BaseDados]Localizacao=P/Pesagem.mdb|[Relatorios]Localizacao=P|"
        "[IndicadorB2]EndereçoIP=192.168.1.202|[IndicadorB2]Ligado=False|[IndicadorB2]Indicador=Avery Weigh-Tronix|"
        "[IndicadorB2]Porta=2|[IndicadorB2]Handshacking=0|[IndicadorB2]Configuracao=9600,n,8,1|[IndicadorB2]Divisao=20|"
        "[IndicadorB2]CapacidadeMaxima=60000|[IndicadorB2]CorreccaoZero=0|[IndicadorB2]ZeroAutomatico=True|"
        "[IndicadorB2]CiclosZero=25|[IndicadorB2]Temporizacao=250|"
        "[LeitorPrincipalB1]Ligado=False|[LeitorPrincipalB1]Porta=3|[LeitorPrincipalB1]Handshacking=0|"
        "[LeitorPrincipalB1]Configuracao=9600,n,8,1|[LeitorPrincipalB1]Temporizacao=50|"
        "[LeitorPrincipalB2]Ligado=False|[LeitorPrincipalB2]Porta=4|[LeitorPrincipalB2]Handshacking=0|"
        "[LeitorPrincipalB2]Configuracao=9600,n,8,1|[LeitorPrincipalB2]Temporizacao=50|"
        "[LeitorSecundarioB1]Ligado=False|[LeitorSecundarioB1]Porta=5|[LeitorSecundarioB1]Handshacking=0|"
        "[LeitorSecundarioB1]Configuracao=9600,n,8,1|[LeitorSecundarioB1]Temporizacao=50|"
        "[LeitorSecundarioB2]Ligado=False|[LeitorSecundarioB2]Porta=6|[LeitorSecundarioB2]Handshacking=0|"
        "[LeitorSecundarioB2]Configuracao=9600,n,8,1|[LeitorSecundarioB2]Temporizacao=50|"
        "[Geral]FormatViatNac=True|[Geral]DuasPesagens=True|[LerPeso]Ciclos=50"));
}

QTEST_GUILESS_MAIN(TesteModGlobalIni)
#include "tst_ModGlobalIni.moc"
