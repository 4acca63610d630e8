#include "EcraTeste.h"

#include <QtTest>

// Identification of the vehicle and of the weighing mode, on a real station
// database holding:
//   pending first weighings: V1 / AA-11-22 (15000 kg, 1 Dec 2026 10:20, "B2"),
//                            "AB'1" / "CD-'1" (7000 kg);
//   vehicles on file: V1 / AA-11-22 (tare 9000), V2 / bb-22-33 (tare 8000, 2 Nov 2026 07:45),
//                     V3 / CC-33-44 (tare and date Null).
class TesteIdentificacao : public QObject
{
    Q_OBJECT

    static void semear(EcraTeste& e)
    {
        e.pendente(QStringLiteral("V1"), QStringLiteral("AA-11-22"), 15000, QStringLiteral("2026-12-01 10:20:00"));
        e.pendente(QStringLiteral("AB'1"), QStringLiteral("CD-'1"), 7000, QStringLiteral("2026-12-02 11:00:00"));
        e.viatura(QStringLiteral("V1"), QStringLiteral("AA-11-22"), 9000, QStringLiteral("2026-10-01 06:00:00"));
        e.viatura(QStringLiteral("V2"), QStringLiteral("bb-22-33"), 8000, QStringLiteral("2026-11-02 07:45:00"));
        e.viatura(QStringLiteral("V3"), QStringLiteral("CC-33-44"), QVariant(), QVariant());
    }

private Q_SLOTS:
    void modos_data();
    void modos();
    void pendenteMostraOPrimeiroRegisto();
    void ambosEmBranco();
    void codigoDesconhecidoAvisaComOEcraOcupado();
    void chaveNaoAparada();
};

void TesteIdentificacao::modos_data()
{
    QTest::addColumn<QString>("codigo");
    QTest::addColumn<QString>("matricula");
    QTest::addColumn<QString>("opcoes");  // M manual, 1 a first manual weighing, 2 two weighings per stay
    // mode|code|plate|weight|origin|date and time|customer|warnings ("código de viatura não existente")
    QTest::addColumn<QString>("ecra");

    // The decision table itself is tst_RegrasEcra's; here each road on a real database.
    const QString pendente = QStringLiteral("|V1|AA-11-22|15000|B2|01-12-2026 10:20||0");
    const QString v2 = QStringLiteral("|V2|bb-22-33|8000|FV|02-11-2026 07:45|Cliente Um|0");
    QTest::newRow("pendente pelo código") << "V1" << "" << "2" << "SP" + pendente;
    QTest::newRow("pendente pela matrícula") << "" << "AA-11-22" << "2" << "SP" + pendente;
    QTest::newRow("pendente, manual") << "V1" << "" << "M12" << "SM" + pendente;
    QTest::newRow("pendente com apóstrofo") << "AB'1" << "" << "2" << "SP|AB'1|CD-'1|7000|B2|02-12-2026 11:00||0";
    QTest::newRow("em ficheiro, duas pesagens") << "V2" << "" << "2" << "PP" + v2;
    QTest::newRow("em ficheiro pela matrícula noutra caixa") << "" << "BB-22-33" << "" << "SP" + v2;
    QTest::newRow("em ficheiro sem tara nem data")
        << "V3" << "" << "" << "SP|V3|CC-33-44|0|FV|05-12-2026 14:30|Cliente Um|0";
    QTest::newRow("em ficheiro, manual primeira") << "V2" << "" << "M1" << "PM" + v2;
    QTest::newRow("código com matrícula: vale o código") << "V2" << "ZZ-99-99" << "2" << "PP" + v2;
    QTest::newRow("código desconhecido") << "X9" << "" << "2" << "PP|X9||0||05-12-2026 14:30||1";
    QTest::newRow("matrícula desconhecida: sem aviso")
        << "" << "ZZ-99-99" << "2" << "PP||ZZ-99-99|0||05-12-2026 14:30||0";
    QTest::newRow("ambos desconhecidos: sem aviso")
        << "X9" << "ZZ-99-99" << "2" << "PP|X9|ZZ-99-99|0||05-12-2026 14:30||0";
}

void TesteIdentificacao::modos()
{
    QFETCH(QString, codigo);
    QFETCH(QString, matricula);
    QFETCH(QString, opcoes);
    QFETCH(QString, ecra);

    EcraTeste e;
    semear(e);
    e.estacao().Def.DuasPesagens = opcoes.contains(u'2');
    e.ecra.comandos().cmpPM_Click(opcoes.contains(u'1') ? 0 : 1);  // the button names the weighing to come
    e.ecra.definirPesagemManual(opcoes.contains(u'M'));
    e.ecra.focarTxt(1);  // Enter in the plate field
    e.ecra.setTxt(0, codigo);
    e.ecra.setTxt(1, matricula);
    e.ecra.identificacao().IdentificarStatusPesagem();

    const QStringList visto = {e.ecra.ModoPesagem(), e.ecra.txt(0), e.ecra.txt(1), e.ecra.txt(13),
                               e.ecra.estado().lblB1, e.ecra.txt(14) + u' ' + e.ecra.txt(15), e.ecra.txt(3),
                               QString::number(e.t.mensagens.caixas.size())};
    QCOMPARE(visto.join(u'|'), ecra);
    if (!e.t.mensagens.caixas.isEmpty())
        QCOMPARE(e.caixa(),
                 QStringLiteral("Atenção código de viatura não existente em tabela de viaturas|64|Zumarel"));
    const bool comMatricula = !e.ecra.txt(1).trimmed().isEmpty();
    QCOMPARE(e.ecra.estado().picQVisivel, comMatricula);
    QCOMPARE(e.ecra.foco(), Controlo::txt(comMatricula ? 2 : 1));
}

void TesteIdentificacao::pendenteMostraOPrimeiroRegisto()
{
    EcraTeste e;
    e.pendente(QStringLiteral("V7"), QStringLiteral("AA-77-77"), 11000, QStringLiteral("2026-12-01 08:00:00"),
               QStringLiteral("P01"));
    e.pendente(QStringLiteral("V7"), QStringLiteral("AA-77-77"), 22000, QStringLiteral("2026-12-03 08:00:00"),
               QStringLiteral("P02"));
    e.ecra.setTxt(0, QStringLiteral("V7"));
    e.ecra.identificacao().IdentificarStatusPesagem();
    QCOMPARE(e.ecra.txt(13), QStringLiteral("11000"));
    QCOMPARE(e.ecra.DataPrimeiraPesagem(), QDateTime(QDate(2026, 12, 1), QTime(8, 0)));
    QCOMPARE(e.ecra.txt(15), QStringLiteral("08:00"));  // the date's time, not "Hora de entrada"
    QCOMPARE(e.ecra.txt(6) + u'|' + e.ecra.txt(7) + u'|' + e.ecra.txt(12), QStringLiteral("P01|Areia|obs"));
    QCOMPARE(e.ecra.estado().fraP, QStringLiteral("Segunda pesagem"));
    QVERIFY(e.ecra.menuActivo(QStringLiteral("mnuOpc6")));
}

void TesteIdentificacao::ambosEmBranco()
{
    EcraTeste e;
    semear(e);
    e.ecra.setTxt(0, QStringLiteral("  "));
    e.ecra.setTxt(1, QStringLiteral(" "));
    e.ecra.identificacao().IdentificarStatusPesagem();
    QCOMPARE(e.ecra.ModoPesagem(), QString());
    QCOMPARE(e.ecra.foco(), Controlo::txt(1));
    QVERIFY(e.t.mensagens.caixas.isEmpty());
    QVERIFY(!e.ecra.estado().picQVisivel);
}

void TesteIdentificacao::codigoDesconhecidoAvisaComOEcraOcupado()
{
    EcraTeste e;
    bool ocupadoNoAviso = false;
    QString modoNoAviso = QStringLiteral("?");
    e.t.mensagens.aoMostrar = [&](const MensagensFalsas::Caixa&) {
        ocupadoNoAviso = e.ecra.ocupado();
        modoNoAviso = e.ecra.ModoPesagem();
        return 0;
    };
    e.escrever(0, QStringLiteral("x9"));
    e.ecra.campos().Teclar(0, Tecla::Enter);
    QVERIFY(ocupadoNoAviso);  // a card read meanwhile waits
    QCOMPARE(modoNoAviso, QString());
    QVERIFY(!e.ecra.ocupado());
    // The plate is blank: the focus moves to it, and the plate field taking
    // the focus clears the screen for the plate to be typed.
    QCOMPARE(e.ecra.ModoPesagem(), QString());
    QCOMPARE(e.ecra.foco(), Controlo::txt(1));
    QVERIFY(!e.ecra.estado().picQVisivel);
}

void TesteIdentificacao::chaveNaoAparada()
{
    EcraTeste e;
    semear(e);
    e.ecra.setTxt(0, QStringLiteral("V2 "));
    e.ecra.setTxt(1, QStringLiteral("X"));
    e.ecra.identificacao().IdentificarStatusPesagem();
    QCOMPARE(e.ecra.txt(13), QStringLiteral("0"));  // "V2 " is not "V2"
    QCOMPARE(e.ecra.estado().lblB1, QString());
}

QTEST_GUILESS_MAIN(TesteIdentificacao)
#include "tst_Identificacao.moc"
