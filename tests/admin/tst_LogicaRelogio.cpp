#include "admin/LogicaRelogio.h"
#include "shared/Tecla.h"
#include "support/EstacaoTeste.h"

#include <QtTest>

using Controlo = LogicaRelogio::Controlo;
using Accao = LogicaRelogio::Tecla;

// The date and time dialog's rules, without a window, on the fake clock
// (5 December 2026, 14:30:00) and the fake clock setter.
class TesteLogicaRelogio : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void relogioVivo();
    void separadores_data();
    void separadores();
    void teclas_data();
    void teclas();
    void saidaDaCaixa_data();
    void saidaDaCaixa();
    void acertar_data();
    void acertar();
};

namespace {
struct Dialogo
{
    Dialogo() : logica(*t.estacao) { logica.Form_Load(); }
    EstacaoTeste t{false};
    LogicaRelogio logica;
};
}  // namespace

// A local time with a change to summer time: 29 March 2026 skips 01:00 to 02:00.
void TesteLogicaRelogio::initTestCase()
{
    qputenv("TZ", "Europe/Lisbon");
    tzset();
}

void TesteLogicaRelogio::relogioVivo()
{
    Dialogo d;
    QCOMPARE(d.logica.fra(0), QStringLiteral("Data: 05-12-2026"));
    QCOMPARE(d.logica.fra(1), QStringLiteral("Hora: 14:30:00"));
    QCOMPARE(d.logica.txt(0), QStringLiteral("05-12-2026"));
    QCOMPARE(d.logica.txt(1), QStringLiteral("14:30"));
    QCOMPARE(d.logica.foco(), Controlo::txt0);
    QCOMPARE(d.logica.painel(), QStringLiteral("Data no formato (dd-mm-aaaa)"));

    d.t.relogio.momento = QDateTime(QDate(2026, 12, 6), QTime(0, 0, 1));
    d.logica.Timer1_Timer();
    QCOMPARE(d.logica.fra(0), QStringLiteral("Data: 06-12-2026"));
    QCOMPARE(d.logica.fra(1), QStringLiteral("Hora: 00:00:01"));
    QCOMPARE(d.logica.txt(0), QStringLiteral("05-12-2026"));  // the boxes never follow the clock
    QCOMPARE(d.logica.txt(1), QStringLiteral("14:30"));
}

// Each row types its characters one by one (a "<" is Backspace).
void TesteLogicaRelogio::separadores_data()
{
    QTest::addColumn<int>("caixa");
    QTest::addColumn<QString>("teclas");
    QTest::addColumn<QString>("texto");

    QTest::newRow("hora 1205") << 1 << "1205" << "12:05";
    QTest::newRow("hora 12 e Backspace") << 1 << "12<" << "12:";
    QTest::newRow("data 05") << 0 << "05" << "05-";
    QTest::newRow("data inteira") << 0 << "0503-2026" << "05-03-2026";
}

void TesteLogicaRelogio::separadores()
{
    QFETCH(int, caixa);
    QFETCH(QString, teclas);
    Dialogo d;
    QString texto;
    for (QChar c : teclas) {
        texto = c == u'<' ? texto.chopped(1) : texto + c;
        d.logica.txt_Change(caixa, texto);
        texto = d.logica.txt(caixa);
    }
    QTEST(texto, "texto");
}

void TesteLogicaRelogio::teclas_data()
{
    QTest::addColumn<int>("caixa");
    QTest::addColumn<int>("codigo");    // the key-down code, 0 none
    QTest::addColumn<int>("caracter");  // the character typed, 0 none
    QTest::addColumn<Accao>("accao");

    QTest::newRow("algarismo") << 0 << 0 << int('5') << Accao::Passa;
    QTest::newRow("hífen na hora") << 1 << 0 << int('-') << Accao::Recusada;
    QTest::newRow("dois pontos na data") << 0 << 0 << int(':') << Accao::Recusada;
    QTest::newRow("letra") << 1 << 0 << int('a') << Accao::Recusada;
    QTest::newRow("espaço") << 0 << 0 << int(' ') << Accao::Recusada;
    QTest::newRow("colar") << 0 << 0 << 22 << Accao::Recusada;
    QTest::newRow("seta à esquerda") << 0 << int(Tecla::Esquerda) << 0 << Accao::Passa;
    QTest::newRow("Tab") << 1 << 0 << 0 << Accao::Passa;
    QTest::newRow("Backspace") << 1 << 0 << int(Tecla::Retrocesso) << Accao::Passa;
    QTest::newRow("Enter") << 0 << 0 << int(Tecla::Enter) << Accao::Seguinte;
    QTest::newRow("seta acima") << 1 << int(Tecla::Cima) << 0 << Accao::Anterior;
    QTest::newRow("seta abaixo") << 0 << int(Tecla::Baixo) << 0 << Accao::Seguinte;
    QTest::newRow("Esc") << 1 << 0 << int(Tecla::Esc) << Accao::Fechar;
}

void TesteLogicaRelogio::teclas()
{
    QFETCH(int, caixa);
    QFETCH(int, codigo);
    QFETCH(int, caracter);
    QFETCH(Accao, accao);
    Dialogo d;
    QCOMPARE(d.logica.txt_Tecla(caixa, codigo, caracter), accao);
    QCOMPARE(d.t.mensagens.beeps, accao == Accao::Recusada ? 1 : 0);
}

// Leaving a box with a text: what the box holds then, and the message (none: "").
void TesteLogicaRelogio::saidaDaCaixa_data()
{
    QTest::addColumn<int>("caixa");
    QTest::addColumn<QString>("escrito");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("mensagem");

    const QString hoje = QStringLiteral("05-12-2026");
    const QString agora = QStringLiteral("14:30");
    QTest::newRow("data curta") << 0 << "5-3-1999" << "05-03-1999" << "";
    QTest::newRow("ano com dois algarismos") << 0 << "5-3-99" << "05-03-1999" << "";
    QTest::newRow("sem ano") << 0 << "05-03" << hoje << "Data incorrecta";
    QTest::newRow("29 de Fevereiro bissexto") << 0 << "29-02-2024" << "29-02-2024" << "";
    QTest::newRow("29 de Fevereiro não bissexto") << 0 << "29-02-2023" << hoje << "Erro: Data incorrecta";
    QTest::newRow("29 de Fevereiro de 1900") << 0 << "29-02-1900" << hoje << "Erro: Data incorrecta";
    QTest::newRow("31 de Fevereiro") << 0 << "31-02-2024" << hoje << "Erro: Data incorrecta";
    QTest::newRow("hora só") << 1 << "9" << "09:00" << "";
    QTest::newRow("minutos de um algarismo") << 1 << "12:3" << "12:03" << "";
    QTest::newRow("com segundos") << 1 << "1:2:3" << "01:02" << "";
    QTest::newRow("hora vazia") << 1 << "" << agora << "Hora incorrecta";
    QTest::newRow("sem separador") << 1 << "0930" << agora << "Hora incorrecta";
    QTest::newRow("25 horas") << 1 << "25:00" << agora << "Erro: Hora incorrecta";
}

void TesteLogicaRelogio::saidaDaCaixa()
{
    QFETCH(int, caixa);
    QFETCH(QString, escrito);
    QFETCH(QString, mensagem);
    Dialogo d;
    const Controlo propria = caixa == 0 ? Controlo::txt0 : Controlo::txt1;
    d.logica.mudarFoco(propria);
    d.logica.txt_Change(caixa, escrito);
    d.logica.mudarFoco(Controlo::cmd1);
    QTEST(d.logica.txt(caixa), "texto");
    if (mensagem.isEmpty()) {
        QVERIFY(d.t.mensagens.caixas.isEmpty());
        QCOMPARE(d.logica.foco(), Controlo::cmd1);
        QCOMPARE(d.logica.painel(), QStringLiteral("Cancelar"));
        return;
    }
    QCOMPARE(d.t.mensagens.caixas.size(), 1);
    const auto& vista = d.t.mensagens.caixas[0];
    QCOMPARE(vista.texto + u'|' + QString::number(vista.estilo) + u'|' + vista.titulo,
             mensagem + QStringLiteral("|48|Acerto de data e hora"));
    QCOMPARE(d.t.mensagens.beeps, 1);
    QCOMPARE(d.logica.foco(), propria);  // back in its box, all selected
    QVERIFY(d.logica.tomarSeleccionar());
    QVERIFY(!d.logica.cmd_Click(1));  // the press that took the focus away does nothing
}

void TesteLogicaRelogio::acertar_data()
{
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("hora");
    QTest::addColumn<bool>("recusar");
    QTest::addColumn<QDateTime>("pedido");  // invalid: no request
    QTest::addColumn<QString>("mensagem");

    const QDateTime fimDoSeculo(QDate(1999, 12, 31), QTime(23, 59, 0), Qt::LocalTime);
    QTest::newRow("aceite") << "31-12-1999" << "23:59" << false << fimDoSeculo << "";
    QTest::newRow("bissexto") << "29-02-2028" << "00:00" << false
                              << QDateTime(QDate(2028, 2, 29), QTime(0, 0), Qt::LocalTime) << "";
    QTest::newRow("recusado pelo sistema") << "31-12-1999" << "23:59" << true << QDateTime()
                                           << "Não foi possível acertar a data e hora\n\n(recusado)";
    QTest::newRow("hora que não existe") << "29-03-2026" << "01:30" << false << QDateTime() << "Hora incorrecta";
}

void TesteLogicaRelogio::acertar()
{
    QFETCH(QString, data);
    QFETCH(QString, hora);
    QFETCH(QDateTime, pedido);
    QFETCH(QString, mensagem);
    QFETCH(bool, recusar);
    Dialogo d;
    d.t.sistema.recusar = recusar;
    d.logica.txt_Change(0, data);
    d.logica.mudarFoco(Controlo::txt1);
    d.logica.txt_Change(1, hora);
    d.logica.mudarFoco(Controlo::cmd0);
    QCOMPARE(d.logica.cmd_Click(0), mensagem.isEmpty());
    QCOMPARE(d.t.sistema.acertos, pedido.isValid() ? QList<QDateTime>{pedido} : QList<QDateTime>{});
    QCOMPARE(d.t.mensagens.caixas.isEmpty() ? QString() : d.t.mensagens.caixas.last().texto, mensagem);
}

QTEST_MAIN(TesteLogicaRelogio)
#include "tst_LogicaRelogio.moc"
