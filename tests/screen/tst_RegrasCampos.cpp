#include "screen/RegrasCampos.h"

#include <QtTest>

using namespace RegrasCampos;
using A = Caracter::Accao;

Q_DECLARE_METATYPE(RegrasCampos::Caracter::Accao)

class TesteRegrasCampos : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void caracteres_data();
    void caracteres();
    void retrocesso_data();
    void retrocesso();
    void hifen_data();
    void hifen();
    void arredondamentoPeso_data();
    void arredondamentoPeso();
    void datasEHoras_data();
    void datasEHoras();
    void limitePeso_data();
    void limitePeso();
};

void TesteRegrasCampos::caracteres_data()
{
    QTest::addColumn<int>("campo");
    QTest::addColumn<QString>("texto");      // text before the key
    QTest::addColumn<int>("caret");          // where it goes in
    QTest::addColumn<bool>("nacional");      // the national plate format
    QTest::addColumn<QString>("tecla");
    QTest::addColumn<A>("accao");
    QTest::addColumn<QString>("resultado");  // the character that goes in

    QTest::newRow("código: minúscula passa a maiúscula") << 0 << "" << 0 << false << "a" << A::Aceitar << "A";
    QTest::newRow("código: ç passa a Ç") << 6 << "" << 0 << false << "ç" << A::Aceitar << "Ç";
    QTest::newRow("nome: como escrito") << 3 << "" << 0 << false << "a" << A::Aceitar << "a";
    QTest::newRow("peso: algarismo") << 13 << "" << 0 << false << "7" << A::Aceitar << "7";
    QTest::newRow("peso: letra largada sem som") << 16 << "" << 0 << false << "k" << A::Largar << "";
    QTest::newRow("data: hífen") << 14 << "01" << 2 << false << "-" << A::Aceitar << "-";
    QTest::newRow("data: barra largada") << 17 << "01" << 2 << false << "/" << A::Largar << "";
    QTest::newRow("hora: dois pontos") << 15 << "09" << 2 << false << ":" << A::Aceitar << ":";
    QTest::newRow("matrícula livre: maiúscula") << 1 << "" << 0 << false << "x" << A::Aceitar << "X";
    QTest::newRow("matrícula livre: espaço") << 1 << "AB" << 2 << false << " " << A::Aceitar << " ";
    QTest::newRow("nacional: letra a abrir") << 1 << "" << 0 << true << "a" << A::Aceitar << "A";
    QTest::newRow("nacional: sinal a abrir") << 1 << "" << 0 << true << "-" << A::Recusar << "";
    QTest::newRow("nacional: algarismo depois de letra") << 1 << "A" << 1 << true << "1" << A::Recusar << "";
    QTest::newRow("nacional: letra depois de algarismo") << 1 << "1" << 1 << true << "A" << A::Recusar << "";
    QTest::newRow("nacional: algarismo depois de AB-") << 1 << "AB-" << 3 << true << "1" << A::Aceitar << "1";
    QTest::newRow("nacional: letra depois de AB-1") << 1 << "AB-1" << 4 << true << "C" << A::Recusar << "";
    QTest::newRow("nacional: no lugar do hífen") << 1 << "AB" << 2 << true << "C" << A::RecusarNoFim << "";
    QTest::newRow("nacional: matrícula completa") << 1 << "AB-12-CD" << 8 << true << "E" << A::RecusarNoFim << "";
    QTest::newRow("nacional: tudo seleccionado, começa de novo") << 1 << "AB-12-CD" << 0 << true << "1" << A::Aceitar << "1";
}

void TesteRegrasCampos::caracteres()
{
    QFETCH(int, campo);
    QFETCH(QString, texto);
    QFETCH(int, caret);
    QFETCH(bool, nacional);
    QFETCH(QString, tecla);
    QFETCH(A, accao);
    QFETCH(QString, resultado);

    const Caracter c = filtrarCaracter(campo, tecla.at(0), nacional, texto, caret);
    QCOMPARE(c.accao, accao);
    if (accao == A::Aceitar)
        QCOMPARE(QString(c.c), resultado);
}

void TesteRegrasCampos::retrocesso_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("resultado");  // "-" : Backspace works as usual

    QTest::newRow("depois do primeiro hífen") << "12-" << 3 << "1";
    QTest::newRow("depois do segundo hífen") << "12-34-" << 6 << "12-3";
    QTest::newRow("no meio de um grupo") << "12-3" << 4 << "-";
    QTest::newRow("no início") << "12" << 0 << "-";
}

void TesteRegrasCampos::retrocesso()
{
    QFETCH(QString, texto);
    QFETCH(int, caret);
    QFETCH(QString, resultado);
    const std::optional<QString> r = retrocessoMatricula(texto, caret);
    QCOMPARE(r.value_or(QStringLiteral("-")), resultado);
}

void TesteRegrasCampos::hifen_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("resultado");  // "" : no dash

    QTest::newRow("dois caracteres") << "12" << "12-";
    QTest::newRow("um") << "1" << "";
    QTest::newRow("completa") << "12-34-AB" << "";
}

void TesteRegrasCampos::hifen()
{
    QFETCH(QString, texto);
    QFETCH(QString, resultado);
    QCOMPARE(hifenMatricula(texto).value_or(QString()), resultado);
}

void TesteRegrasCampos::arredondamentoPeso_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("resultado");  // as it stays or becomes

    QTest::newRow("1235 sobe") << "1235" << "1240";
    QTest::newRow("1225 desce ao par") << "1225" << "1220";
    QTest::newRow("35 sobe ao par") << "35" << "40";
    QTest::newRow("00120 fica com os zeros") << "00120" << "00120";
    QTest::newRow("vazio fica vazio") << "" << "";
}

void TesteRegrasCampos::arredondamentoPeso()
{
    QFETCH(QString, texto);
    QFETCH(QString, resultado);
    QCOMPARE(arredondarPeso(texto).value_or(texto), resultado);
}

void TesteRegrasCampos::datasEHoras_data()
{
    QTest::addColumn<bool>("data");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("resultado");

    QTest::newRow("dia e mês de um algarismo") << true << "1-2-2024" << "01-02-2024";
    QTest::newRow("dia impossível fica como escrito") << true << "31-02-2024" << "31-02-2024";
    QTest::newRow("vazia fica vazia") << true << "" << "";
    QTest::newRow("hora curta") << false << "9:5" << "09:05";
    QTest::newRow("hora impossível fica") << false << "25:00" << "25:00";
    QTest::newRow("sem dois pontos fica") << false << "930" << "930";
}

void TesteRegrasCampos::datasEHoras()
{
    QFETCH(bool, data);
    QFETCH(QString, texto);
    QFETCH(QString, resultado);
    const std::optional<QString> r = data ? normalizarData(texto) : normalizarHora(texto);
    QCOMPARE(r.value_or(texto), resultado);
}

void TesteRegrasCampos::limitePeso_data()
{
    QTest::addColumn<int>("capacidade1");
    QTest::addColumn<int>("capacidade2");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("resultado");

    QTest::newRow("abaixo do limite") << 60000 << 60000 << "59990" << "59990";
    QTest::newRow("acima do limite") << 60000 << 60000 << "70000" << "60000";
    QTest::newRow("capacidades diferentes: conta a maior") << 80000 << 40000 << "70000" << "70000";
}

void TesteRegrasCampos::limitePeso()
{
    QFETCH(int, capacidade1);
    QFETCH(int, capacidade2);
    QFETCH(QString, texto);
    QFETCH(QString, resultado);
    const qint32 limite = RegrasCampos::limitePeso({capacidade1, capacidade2});
    QCOMPARE(limitarPeso(texto, limite).value_or(texto), resultado);
}

QTEST_GUILESS_MAIN(TesteRegrasCampos)
#include "tst_RegrasCampos.moc"
