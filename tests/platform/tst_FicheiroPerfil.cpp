#include "platform/FicheiroPerfil.h"
#include "support/EstacaoTeste.h"

#include <QTemporaryDir>
#include <QtTest>

class TesteFicheiroPerfil : public QObject
{
    Q_OBJECT

    QTemporaryDir pasta;
    QString caminho() const { return pasta.filePath(QStringLiteral("Lorvane.ini")); }

private Q_SLOTS:
    void leitura_data();
    void leitura();
    void ficheiroAusente();
    void leituraNuncaCriaFicheiro();
    void escritaMantemRestoDoFicheiro();
    void escritaAcrescentaChaveNaSuaSeccao();
    void escritaCriaSeccaoEFicheiro();
    void escritaMantemCodificacao_data();
    void escritaMantemCodificacao();
    void escritaTiraQuebrasDeLinha();
    void escritaRecusadaDevolveFalso();
};

void TesteFicheiroPerfil::leitura_data()
{
    QTest::addColumn<QByteArray>("conteudo");
    QTest::addColumn<QString>("seccao");
    QTest::addColumn<QString>("chave");
    QTest::addColumn<QString>("esperado");  // "<ausente>" when the key is missing

    const QByteArray base = "; comentário\n[IndicadorB1]\nPorta=7\nConfiguracao=9600,n,8,1\nVazio=\n"
                            "Aspas=\"  com espaços \"\nPlicas='x'\nEspacos =  valor com espaços   \n"
                            "Comentario=1 ; COM1\n[Outra]\nPorta=9\n[IndicadorB1]\nPorta=8\n";
    QTest::newRow("chave simples") << base << "IndicadorB1" << "Porta" << "7";
    QTest::newRow("secção e chave sem distinção de maiúsculas") << base << "indicadorb1" << "PORTA" << "7";
    QTest::newRow("primeira secção de um nome conta") << base << "IndicadorB1" << "Porta" << "7";
    QTest::newRow("outra secção") << base << "Outra" << "porta" << "9";
    QTest::newRow("configuração lida inteira") << base << "IndicadorB1" << "Configuracao" << "9600,n,8,1";
    QTest::newRow("valor vazio") << base << "IndicadorB1" << "Vazio" << "";
    QTest::newRow("aspas retiradas, interior mantido") << base << "IndicadorB1" << "Aspas" << "  com espaços ";
    QTest::newRow("plicas retiradas") << base << "IndicadorB1" << "Plicas" << "x";
    QTest::newRow("valor e chave aparados") << base << "IndicadorB1" << "Espacos" << "valor com espaços";
    QTest::newRow("sem comentários no fim da linha") << base << "IndicadorB1" << "Comentario" << "1 ; COM1";
    QTest::newRow("chave ausente") << base << "IndicadorB1" << "Divisao" << "<ausente>";
    QTest::newRow("secção ausente") << base << "IndicadorB2" << "Porta" << "<ausente>";
    QTest::newRow("comentário não é chave") << base << "IndicadorB1" << "; comentário" << "<ausente>";
    QTest::newRow("finais de linha CRLF") << QByteArray("[Geral]\r\nDuasPesagens=True\r\n") << "Geral" << "DuasPesagens"
                                          << "True";
    QTest::newRow("UTF-8 com acentos") << QByteArray("[IndicadorB1]\nComunicaçãoIP=True\nEndereçoIP=10.0.0.5\n")
                                       << "IndicadorB1" << "EndereçoIP" << "10.0.0.5";
    QTest::newRow("Latin-1 com acentos") << QByteArray("[IndicadorB1]\nComunica\xe7\xe3oIP=True\nEndere\xe7oIP=10.0.0.5\n")
                                         << "IndicadorB1" << "ComunicaçãoIP" << "True";
    QTest::newRow("acentos sem distinção de maiúsculas") << QByteArray("[IndicadorB1]\nEndereçoIP=10.0.0.5\n")
                                                         << "INDICADORB1" << "ENDEREÇOIP" << "10.0.0.5";
    QTest::newRow("UTF-8 com BOM") << QByteArray("\xEF\xBB\xBF[Acesso]\nOperador=João\n") << "Acesso" << "Operador"
                                   << "João";
}

void TesteFicheiroPerfil::leitura()
{
    QFETCH(QByteArray, conteudo);
    QFETCH(QString, seccao);
    QFETCH(QString, chave);
    QFETCH(QString, esperado);
    escreverFicheiro(caminho(), conteudo);
    const FicheiroPerfil ini(caminho());
    QCOMPARE(ini.valor(seccao, chave).value_or(QStringLiteral("<ausente>")), esperado);
}

void TesteFicheiroPerfil::ficheiroAusente()
{
    const FicheiroPerfil ini(pasta.filePath(QStringLiteral("nao-existe.ini")));
    QVERIFY(!ini.valor(QStringLiteral("Geral"), QStringLiteral("DuasPesagens")).has_value());
    QCOMPARE(ini.ler(QStringLiteral("Geral"), QStringLiteral("X"), QStringLiteral("defeito")), QStringLiteral("defeito"));

    // Values and defaults alike are cut to 254 characters.
    const QString longo(300, u'a');
    QCOMPARE(ini.ler(QStringLiteral("Geral"), QStringLiteral("X"), longo).size(), 254);
    escreverFicheiro(caminho(), "[Geral]\nX=" + QByteArray(300, 'b') + "\n");
    QCOMPARE(FicheiroPerfil(caminho()).ler(QStringLiteral("Geral"), QStringLiteral("X"), {}), QString(254, u'b'));
}

void TesteFicheiroPerfil::leituraNuncaCriaFicheiro()
{
    const QString c = pasta.filePath(QStringLiteral("lido.ini"));
    FicheiroPerfil(c).ler(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"));
    QVERIFY(!QFile::exists(c));
}

void TesteFicheiroPerfil::escritaMantemRestoDoFicheiro()
{
    escreverFicheiro(caminho(), "; Definições do Zumarel\r\n[IndicadorB1]\r\nporta=3\r\n; nota\r\nDivisao=20\r\n"
                                "linha sem igual\r\n\r\n[Geral]\r\nDuasPesagens=True\r\n");
    FicheiroPerfil ini(caminho());
    QVERIFY(ini.escrever(QStringLiteral("IndicadorB1"), QStringLiteral("Porta"), QStringLiteral("5")));
    QCOMPARE(lerFicheiro(caminho()),
             QByteArray("; Definições do Zumarel\r\n[IndicadorB1]\r\nporta=5\r\n; nota\r\nDivisao=20\r\n"
                        "linha sem igual\r\n\r\n[Geral]\r\nDuasPesagens=True\r\n"));
}

void TesteFicheiroPerfil::escritaAcrescentaChaveNaSuaSeccao()
{
    escreverFicheiro(caminho(), "[IndicadorB1]\nPorta=1\n\n[Geral]\nDuasPesagens=True\n");
    FicheiroPerfil ini(caminho());
    QVERIFY(ini.escrever(QStringLiteral("indicadorB1"), QStringLiteral("Divisao"), QStringLiteral("10")));
    QCOMPARE(lerFicheiro(caminho()), QByteArray("[IndicadorB1]\nPorta=1\nDivisao=10\n\n[Geral]\nDuasPesagens=True\n"));
}

void TesteFicheiroPerfil::escritaCriaSeccaoEFicheiro()
{
    const QString c = pasta.filePath(QStringLiteral("novo.ini"));
    QFile::remove(c);
    FicheiroPerfil ini(c);
    QVERIFY(ini.escrever(QStringLiteral("Acesso"), QStringLiteral("Operador"), QStringLiteral("João")));
    QVERIFY(ini.escrever(QStringLiteral("NrCopias"), QStringLiteral("UltimoDocPesagem"), QStringLiteral("12")));
    QCOMPARE(lerFicheiro(c), QByteArray("[Acesso]\nOperador=João\n\n[NrCopias]\nUltimoDocPesagem=12\n"));
    QCOMPARE(ini.valor(QStringLiteral("ACESSO"), QStringLiteral("operador")).value(), QStringLiteral("João"));
}

void TesteFicheiroPerfil::escritaMantemCodificacao_data()
{
    QTest::addColumn<QByteArray>("antes");
    QTest::addColumn<QString>("valor");
    QTest::addColumn<QByteArray>("depois");
    QTest::newRow("Latin-1 fica Latin-1") << QByteArray("[Acesso]\nOperador=Jo\xe3o\n") << "Conceição"
                                          << QByteArray("[Acesso]\nOperador=Concei\xe7\xe3o\n");
    QTest::newRow("UTF-8 fica UTF-8") << QByteArray("[Acesso]\nOperador=João\n") << "Conceição"
                                      << QByteArray("[Acesso]\nOperador=Conceição\n");
    QTest::newRow("Latin-1 com um carácter que não cabe passa a UTF-8")
        << QByteArray("[Acesso]\nOperador=Jo\xe3o\nOutro=\xe7\n") << "Zé €"
        << QByteArray("[Acesso]\nOperador=Zé €\nOutro=ç\n");
}

void TesteFicheiroPerfil::escritaMantemCodificacao()
{
    QFETCH(QByteArray, antes);
    QFETCH(QString, valor);
    QFETCH(QByteArray, depois);
    escreverFicheiro(caminho(), antes);
    FicheiroPerfil ini(caminho());
    QVERIFY(ini.escrever(QStringLiteral("Acesso"), QStringLiteral("Operador"), valor));
    QCOMPARE(lerFicheiro(caminho()), depois);
    QCOMPARE(ini.valor(QStringLiteral("Acesso"), QStringLiteral("Operador")).value(), valor);
}

void TesteFicheiroPerfil::escritaTiraQuebrasDeLinha()
{
    escreverFicheiro(caminho(), "[BaseDados]\nLocalizacao=a\n[Geral]\nDuasPesagens=True\n");
    FicheiroPerfil ini(caminho());
    QVERIFY(ini.escrever(QStringLiteral("BaseDados"), QStringLiteral("Localizacao"), QStringLiteral("/dados\r\n[Geral]\nx")));
    QCOMPARE(ini.valor(QStringLiteral("BaseDados"), QStringLiteral("Localizacao")).value(), QStringLiteral("/dados[Geral]x"));
    QCOMPARE(ini.valor(QStringLiteral("Geral"), QStringLiteral("DuasPesagens")).value(), QStringLiteral("True"));
}

void TesteFicheiroPerfil::escritaRecusadaDevolveFalso()
{
    FicheiroPerfil ini(pasta.filePath(QStringLiteral("pasta-que-nao-existe/Lorvane.ini")));
    QVERIFY(!ini.escrever(QStringLiteral("Acesso"), QStringLiteral("Operador"), QStringLiteral("x")));
}

QTEST_GUILESS_MAIN(TesteFicheiroPerfil)
#include "tst_FicheiroPerfil.moc"
