#include "platform/Erro.h"
#include "platform/ficheiros/FicheiroPerfil.h"
#include "startup/ModGlobalIni.h"
#include "support/EstacaoTeste.h"

#include <QtTest>

using namespace ModGlobal;

class TesteModGlobalIni : public QObject
{
    Q_OBJECT

    QTemporaryDir pasta;
    QString caminho() const { return pasta.filePath(QStringLiteral("Lorvane.ini")); }
    QStringList ler(const QByteArray& conteudo, Definicoes& d)
    {
        escreverFicheiro(caminho(), conteudo);
        return LerDefinicoes(FicheiroPerfil(caminho()), pasta.path(), d);
    }

private Q_SLOTS:
    void lerNumeros_data()
    {
        QTest::addColumn<QByteArray>("linha");  // the line under [S]; empty: no key
        QTest::addColumn<int>("defeito");
        QTest::addColumn<qint64>("inteiro");    // LerIniInt; 99999 for an overflow
        QTest::addColumn<qint64>("longo");      // LerIniLong; 9999999999 for an overflow
        QTest::newRow("chave ausente dá o defeito") << QByteArray() << 3 << qint64(3) << qint64(3);
        QTest::newRow("presente e vazia dá 0") << QByteArray("K=") << 3 << qint64(0) << qint64(0);
        QTest::newRow("2.5 dá 2") << QByteArray("K=2.5") << 0 << qint64(2) << qint64(2);
        QTest::newRow("60 000 com espaço") << QByteArray("K=60 000") << 0 << qint64(99999) << qint64(60000);
        QTest::newRow("COM1 dá 0") << QByteArray("K=COM1") << 1 << qint64(0) << qint64(0);
        QTest::newRow("transborda 32 bits") << QByteArray("K=3000000000") << 0 << qint64(99999) << qint64(9999999999);
    }
    void lerNumeros()
    {
        QFETCH(QByteArray, linha);
        QFETCH(int, defeito);
        QFETCH(qint64, inteiro);
        QFETCH(qint64, longo);
        escreverFicheiro(caminho(), "[S]\n" + linha + "\n");
        const FicheiroPerfil ini(caminho());
        const QString s = QStringLiteral("S"), k = QStringLiteral("K");
        if (inteiro == 99999)
            QVERIFY_THROWS_EXCEPTION(Erro, LerIniInt(ini, s, k, qint16(defeito)));
        else
            QCOMPARE(qint64(LerIniInt(ini, s, k, qint16(defeito))), inteiro);
        if (longo == 9999999999)
            QVERIFY_THROWS_EXCEPTION(Erro, LerIniLong(ini, s, k, defeito));
        else
            QCOMPARE(qint64(LerIniLong(ini, s, k, defeito)), longo);
    }

    void lerBooleanos_data()
    {
        QTest::addColumn<QByteArray>("linha");
        QTest::addColumn<bool>("defeito");
        QTest::addColumn<bool>("esperado");
        QTest::newRow("True") << QByteArray("K=True") << false << true;
        QTest::newRow("False") << QByteArray("K=False") << true << false;
        QTest::newRow("true minúsculo dá o defeito") << QByteArray("K=true") << true << true;
        QTest::newRow("1 dá o defeito") << QByteArray("K=1") << false << false;
        QTest::newRow("com espaços") << QByteArray("K= True ") << false << true;
        QTest::newRow("entre aspas") << QByteArray("K=\"False\"") << true << false;
    }
    void lerBooleanos()
    {
        QFETCH(QByteArray, linha);
        QFETCH(bool, defeito);
        QFETCH(bool, esperado);
        escreverFicheiro(caminho(), "[S]\n" + linha + "\n");
        QCOMPARE(LerIniBool(FicheiroPerfil(caminho()), QStringLiteral("S"), QStringLiteral("K"), defeito), esperado);
    }

    void lerEGravarTexto()
    {
        escreverFicheiro(caminho(), "[S]\nVazio=\nLongo=" + QByteArray(300, 'x') + "\n");
        const FicheiroPerfil lido(caminho());
        QCOMPARE(LerIniTexto(lido, QStringLiteral("S"), QStringLiteral("Vazio"), QStringLiteral("d")), QString());
        QCOMPARE(LerIniTexto(lido, QStringLiteral("S"), QStringLiteral("Longo"), {}).size(), 254);

        QFile::remove(caminho());
        FicheiroPerfil ini(caminho());
        QVERIFY(GravarIniBool(ini, QStringLiteral("S"), QStringLiteral("B"), true));
        QVERIFY(GravarIniInt(ini, QStringLiteral("S"), QStringLiteral("I"), -12));
        QVERIFY(GravarIniLong(ini, QStringLiteral("S"), QStringLiteral("L"), 2147483647));
        QVERIFY(GravarIniTexto(ini, QStringLiteral("S"), QStringLiteral("T"), QString()));
        QCOMPARE(lerFicheiro(caminho()), QByteArray("[S]\nB=True\nI=-12\nL=2147483647\nT=\n"));
    }

    void valoresInvalidosSoAfectamEsseValor()
    {
        Definicoes d;
        const QStringList falhas = ler("[IndicadorB1]\nPorta=99999\nDivisao=abc\nCapacidadeMaxima=9999999999\n"
                                       "Ligado=talvez\nComunicaçãoIP=True\nEndereçoIP=127.0.0.1\n"
                                       "[LeitorPrincipalB2]\nTemporizacao=-40000\nPorta=8\n[NrCopias]\nEntrada=2\n",
                                       d);
        QCOMPARE(falhas, (QStringList{"IndicadorB1/Porta", "IndicadorB1/CapacidadeMaxima",
                                      "LeitorPrincipalB2/Temporizacao"}));
        Definicoes esperado;
        LerDefinicoes(FicheiroPerfil(pasta.filePath(QStringLiteral("falta.ini"))), pasta.path(), esperado);
        esperado.IndDivisao[0] = 0;  // "abc" reads as 0, and so the least weight
        esperado.PesagemMinima[0] = 0;
        esperado.ComunicacaoIP[0] = true;
        esperado.EnderecoIP[0] = QStringLiteral("127.0.0.1");
        esperado.LPPorta[1] = 8;
        esperado.CopiasEntrada = 2;
        QVERIFY(d == esperado);  // the rest, the failed ones included, at their defaults
    }

    void divisaoEPesagemMinima_data()
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
    void divisaoEPesagemMinima()
    {
        QFETCH(QByteArray, divisao);
        QFETCH(int, indDivisao);
        QFETCH(int, pesagemMinima);
        QFETCH(bool, falha);
        Definicoes d;
        QCOMPARE(ler("[IndicadorB2]\nDivisao=" + divisao + "\n", d).contains(QStringLiteral("IndicadorB2/Divisao")), falha);
        QCOMPARE(int(d.IndDivisao[1]), indDivisao);
        QCOMPARE(int(d.PesagemMinima[1]), pesagemMinima);
        QCOMPARE(int(d.PesagemMinima[0]), 400);
    }

    void valoresPorDefeito()
    {
        // Without a file every value is the factory one, and reading writes nothing.
        QTemporaryDir vazia;
        FicheiroPerfil novo(vazia.filePath(QStringLiteral("Lorvane.ini")));
        Definicoes fabrica;
        QVERIFY(LerDefinicoes(novo, vazia.path(), fabrica).isEmpty());
        QVERIFY(!QFile::exists(novo.caminho()));
        Definicoes escrito = fabrica;
        QCOMPARE(ValoresPorDefeito(novo, vazia.path(), escrito), 0);
        QVERIFY(LerDefinicoes(FicheiroPerfil(novo.caminho()), vazia.path(), escrito).isEmpty());
        // The addresses are the only factory values a missing key does not give.
        QCOMPARE(fabrica.EnderecoIP, (PorBascula<QString>{}));
        fabrica.EnderecoIP = {QStringLiteral("192.168.1.201"), QStringLiteral("192.168.1.202")};
        QVERIFY(escrito == fabrica);

        Definicoes d;
        ler("[BaseDadosBackup]\nLocalizacao=/copia/Pesagem.mdb\n[IndicadorB1]\nComunicaçãoIP=True\nLigado=False\n"
            "Divisao=50\n[Acesso]\nOperador=Ana\n[NrCopias]\nUltimoDocPesagem=77\n", d);
        d.OperadorAutomatico = true;
        FicheiroPerfil ini(caminho());
        QCOMPARE(ValoresPorDefeito(ini, pasta.path(), d), 0);
        // Memory and file agree, and what is not a device or general setting is kept.
        Definicoes relido;
        QVERIFY(LerDefinicoes(ini, pasta.path(), relido).isEmpty());
        relido.OperadorAutomatico = true;
        QVERIFY(relido == d);

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

    // A large settings file is parsed once per load and written once per save,
    // and a change by another program is still seen at the next call.
    void ficheiroGrandeLidoUmaVez()
    {
        QByteArray bytes;
        for (int i = 0; bytes.size() < 8'000'000; ++i)
            bytes += "[Extra" + QByteArray::number(i) + "]\nChave=" + QByteArray(40, 'x') + "\n";
        // The first section of a name counts, also behind 8 MB.
        bytes += "[IndicadorB1]\nDivisao=50\n[indicadorb1]\nDivisao=99\n";
        // Changed an hour ago, as a site's file is when the station starts.
        const auto escrever = [&](const QByteArray& conteudo) {
            escreverFicheiro(caminho(), conteudo);
            QFile f(caminho());
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
        };
        escrever(bytes);
        FicheiroPerfil ini(caminho());
        Definicoes d;
        LerDefinicoes(ini, pasta.path(), d);
        LerDefinicoes(ini, pasta.path(), d);
        QCOMPARE(d.IndDivisao[0], qint16(50));
        QCOMPARE(ini.leituras(), 1);

        // Another program changes a value in place, same size, same modification time.
        escrever(QByteArray(bytes).replace("Divisao=50", "Divisao=60"));
        LerDefinicoes(ini, pasta.path(), d);
        QCOMPARE(d.IndDivisao[0], qint16(60));
        QCOMPARE(ini.leituras(), 2);

        // The factory values go out in one replacement; what was written is read without a parse.
        QCOMPARE(ValoresPorDefeito(ini, pasta.path(), d), 0);
        QCOMPARE(ini.substituicoes(), 1);
        d = Definicoes();
        LerDefinicoes(ini, pasta.path(), d);
        QCOMPARE(d.IndDivisao[0], qint16(20));
        QCOMPARE(ini.leituras(), 2);
        QCOMPARE(FicheiroPerfil(caminho()).ler(QStringLiteral("IndicadorB1"), QStringLiteral("Divisao"), {}),
                 QStringLiteral("20"));
        QVERIFY(lerFicheiro(caminho()).contains("[indicadorb1]\nDivisao=99\n"));
    }
};

QTEST_GUILESS_MAIN(TesteModGlobalIni)
#include "tst_ModGlobalIni.moc"
