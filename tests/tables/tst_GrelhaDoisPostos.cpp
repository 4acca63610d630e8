#include "GrelhaTeste.h"
#include "admin/LogicaCodigos.h"
#include "data/BaseDadosEstacao.h"
#include "platform/Mensagens.h"
#include "records/BancadaRegistos.h"
#include "shared/Esquema.h"

#include <QtTest>

// Two stations on one database file. Station A has a table open in its grid;
// station B, on its own connection to the same file, deletes, adds or changes
// rows meanwhile. A row of A's is written or deleted only where the file still
// holds it as A read it: never onto a row of B's that took its place.
class TesteGrelhaDoisPostos : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void outroPostoMexeuNaLinha_data();
    void outroPostoMexeuNaLinha();
    void soAsColunasAlteradas_data();
    void soAsColunasAlteradas();
};

void TesteGrelhaDoisPostos::outroPostoMexeuNaLinha_data()
{
    QTest::addColumn<bool>("operadores");     // the operators' grid (a counted key), else the vehicles' (a text key)
    QTest::addColumn<QString>("outroPosto");  // B's statement: %1 the table, %2 the code, %3 the column A edits
    QTest::addColumn<bool>("apagar");         // A deletes C3, rather than writing a new value into it
    QTest::addColumn<int>("erro");            // the box's number; 0 when A's change is made
    const char* apaga = "DELETE FROM %1 WHERE %2 = 'C3'";
    const char* muda = "UPDATE %1 SET %3 = 'Mudado' WHERE %2 = 'C3'";
    for (const bool operadores : {false, true}) {
        const char* t = operadores ? "operadores" : "viaturas";
        QTest::addRow("%s: apagada e outra junta, gravar", t) << operadores << apaga << false << 3167;
        QTest::addRow("%s: apagada e outra junta, apagar", t) << operadores << apaga << true << 3167;
        QTest::addRow("%s: alterada, gravar", t) << operadores << muda << false << 3197;
        QTest::addRow("%s: alterada, apagar", t) << operadores << muda << true << 3197;
    }
    const char* mudaOutra = "UPDATE %1 SET %3 = 'Mudado' WHERE %2 = 'C1'";
    QTest::newRow("outra linha alterada, gravar") << false << mudaOutra << false << 0;
    QTest::newRow("outra linha alterada, apagar") << false << mudaOutra << true << 0;
    // A delete goes only where every column is as read.
    QTest::newRow("só a tara mudou") << false << "UPDATE %1 SET \"Peso de tara\" = 7 WHERE %2 = 'C3'" << true << 3197;
    QTest::newRow("só a caixa das letras mudou") << false << "UPDATE %1 SET %3 = lower(%3) WHERE %2 = 'C3'" << false << 3197;
    QTest::newRow("só a caixa do código mudou") << false << "UPDATE %1 SET %2 = lower(%2) WHERE %2 = 'C3'" << true << 3197;
}

void TesteGrelhaDoisPostos::outroPostoMexeuNaLinha()
{
    QFETCH(bool, operadores);
    QFETCH(QString, outroPosto);
    QFETCH(bool, apagar);
    QFETCH(int, erro);
    GrelhaTeste a;
    const std::unique_ptr<LigacaoBd> b = BaseDadosEstacao::abrir(a.t.caminho(QStringLiteral("Pesagem.mdb")));
    const QString tabela = operadores ? Esquema::Operadores : Esquema::Viaturas;
    const int coluna = operadores ? 2 : 1;  // the access code, the plate
    const QString editado = Esquema::citar(Esquema::tabela(tabela)->campos[coluna].nome);
    const QString codigo = Esquema::citar(operadores ? QStringLiteral("Operador") : QStringLiteral("Código da viatura"));
    auto noPostoB = [&](const QString& sql, const QVariantList& valores = {}) {
        return Consulta::executar(b->db(), sql.arg(Esquema::citar(tabela), codigo, editado), valores);
    };
    auto juntar = [&](const QString& c) { noPostoB(QStringLiteral("INSERT INTO %1 (%2, %3) VALUES (?, ?)"), {c, QString(u'N' + c)}); };
    auto rowid = [&](const QString& c) {
        QSqlQuery q = noPostoB(QStringLiteral("SELECT rowid FROM %1 WHERE %2 = ?"), {c});
        return q.next() ? q.value(0).toLongLong() : -1;
    };
    auto conteudo = [&] {
        QSqlQuery q = noPostoB(QStringLiteral("SELECT group_concat(rowid || %2 || %3, ' ') FROM %1"));
        return q.next() ? q.value(0).toString() : QString();
    };
    noPostoB(QStringLiteral("DELETE FROM %1"));
    for (const QString c : {"C1", "C2", "C3"})
        juntar(c);

    // Station A shows C1, C2 and C3.
    std::unique_ptr<LogicaCodigos> codigos;
    if (operadores) {
        codigos = std::make_unique<LogicaCodigos>(*a.t.estacao);
        QVERIFY(codigos->Form_Load());
    }
    GrelhaTabela& grelha = operadores ? codigos->grelha() : a.abrir();
    QCOMPARE(grelha.registos(), 3);
    const qint64 rowidC3 = rowid(QStringLiteral("C3"));

    noPostoB(outroPosto);
    if (outroPosto.startsWith(u"DELETE")) {
        // A table with a text key gives a new row the deleted one's rowid; counted keys never come back.
        juntar(QStringLiteral("C9"));
        QCOMPARE(rowid(QStringLiteral("C9")) == rowidC3, !operadores);
    }
    const QString deB = conteudo();

    // Station A types into C3, then leaves the row or deletes it.
    const qsizetype caixas = a.t.mensagens.caixas.size();
    grelha.irPara(2, coluna);
    QVERIFY(grelha.setData(grelha.index(2, coluna), QStringLiteral("Novo A")));
    if (apagar)
        grelha.Apagar();
    else
        grelha.irPara(0, coluna);

    if (erro == 0) {
        QCOMPARE(std::tuple(grelha.registos(), grelha.pendente()), std::tuple(apagar ? 2 : 3, false));
        QSqlQuery q = noPostoB(QStringLiteral("SELECT %3 FROM %1 WHERE %2 = 'C3'"));
        QCOMPARE(q.next() ? q.value(0).toString() : QStringLiteral("apagado"), apagar ? "apagado" : "Novo A");
        return;
    }
    // The table's error box, with why in Portuguese; nothing written over B's rows.
    QCOMPARE(a.t.mensagens.caixas.size(), caixas + (apagar ? 1 : 2));  // "Gravar ?" before a write
    const auto caixa = a.t.mensagens.caixas.last();
    QCOMPARE(std::tuple(caixa.estilo, caixa.titulo), std::tuple(48, QStringLiteral("Erro ") + QString::number(erro)));
    QVERIFY2(caixa.texto.startsWith(grelha.definicao().cabecalhoErro + QStringLiteral("\n\n(O registo ")),
             qPrintable(caixa.texto));
    QVERIFY(caixa.texto.contains(erro == 3167 ? "foi apagado" : "foi alterado"));
    QVERIFY(caixa.texto.contains(apagar ? "Nada foi apagado" : "Nada foi gravado"));
    QCOMPARE(conteudo(), deB);
    // A keeps what it showed and what was typed.
    QCOMPARE(std::tuple(grelha.registos(), grelha.linhaActual(), grelha.pendente()), std::tuple(3, 2, true));
    QCOMPARE(grelha.valor(2, coluna).toString(), QStringLiteral("Novo A"));
}

// A edits C3 while B changes it: only what A changed is compared and
// written, so B's other columns stand beside A's; a column both changed is
// refused and keeps B's value.
void TesteGrelhaDoisPostos::soAsColunasAlteradas_data()
{
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<QString>("deB");     // "field=value" B writes into C3, or "pesagem": B weighs C3
    QTest::addColumn<QString>("deA");     // "field=value" A types into C3
    QTest::addColumn<QString>("depois");  // C3 afterwards; "" when A's write is refused
    const QString v = QStringLiteral("Tabela de viaturas"), p = QStringLiteral("Tabela de primeiras pesagens");
    QTest::newRow("colunas diferentes") << v << "Peso de tara=7" << "Viatura=Novo A" << "Viatura=Novo A|Peso de tara=7";
    QTest::newRow("a mesma coluna") << v << "Viatura=Mudado" << "Viatura=Novo A" << "";
    QTest::newRow("o código noutra caixa") << v << "Código da viatura=c3" << "Viatura=Novo A" << "Código da viatura=c3|Viatura=Novo A";
    QTest::newRow("A muda o código") << v << "Peso de tara=7" << "Código da viatura=C7" << "Código da viatura=C7|Peso de tara=7";
    QTest::newRow("ambos mudam o código") << v << "Código da viatura=c3" << "Código da viatura=C7" << "";
    QTest::newRow("pesagem da viatura") << v << "pesagem" << "Viatura=Novo A"
                                        << "Viatura=Novo A|Peso de tara=14200|Peso bruto=0|Operador=Maria";
    QTest::newRow("pendente, outra coluna") << p << "Peso á entrada=7" << "Viatura=Novo A" << "Viatura=Novo A|Peso á entrada=7";
    QTest::newRow("pendente concluída") << p << "Tipo de pesagem=T" << "Viatura=Novo A" << "";
}

void TesteGrelhaDoisPostos::soAsColunasAlteradas()
{
    QFETCH(QString, titulo);
    QFETCH(QString, deB);
    QFETCH(QString, deA);
    QFETCH(QString, depois);
    GrelhaTeste a(titulo);
    BancadaRegistos b(false, a.t.caminho(QStringLiteral("Pesagem.mdb")));
    b.entrar(3);
    const bool viaturas = a.entrada->tabela == Esquema::Viaturas;
    for (const QString c : {"C1", "C2", "C3"})
        viaturas ? b.viaturaNaFicha(c)
                 : a.sql("INSERT INTO Pesagens (\"Tipo de pesagem\", \"Código da viatura\", Viatura) VALUES ('P', ?, 'AB')", {c});
    auto linha = [&] { return BancadaRegistos::linhas(b.bd(), a.entrada->tabela).value(2); };
    GrelhaTabela& grelha = a.abrir();
    auto escrever = [&](const QString& campoValor) {
        a.escrever(2, int(grelha.tabela().nomesCampos().indexOf(campoValor.section(u'=', 0, 0))), campoValor.section(u'=', 1));
        a.t.mensagens.respostas << Resposta::Sim;
        return grelha.irPara(0, 3);
    };

    if (deB == u"pesagem") {
        b.primeira(QStringLiteral("C3"), QStringLiteral("12-AB-34"), QStringLiteral("14200"));
        b.gravacao->GravarPrimeiraPesagem();
    } else {
        Consulta::executar(b.bd(), QStringLiteral("UPDATE %1 SET %2 = ? WHERE \"Código da viatura\" = 'C3'")
                                       .arg(Esquema::citar(a.entrada->tabela), Esquema::citar(deB.section(u'=', 0, 0))),
                           {deB.section(u'=', 1)});
    }
    const QVariantMap antes = linha();
    QCOMPARE(escrever(deA), !depois.isEmpty());
    if (depois.isEmpty()) {
        QCOMPARE(std::tuple(a.t.mensagens.caixas.last().titulo, linha()), std::tuple(QStringLiteral("Erro 3197"), antes));
        return;
    }
    QCOMPARE(BancadaRegistos::campos(linha(), depois), depois.split(u'|'));
    // The grid holds the row as stored, so it takes a later edit of a column B changed.
    const QString peso = viaturas ? QStringLiteral("Peso de tara") : QStringLiteral("Peso á entrada");
    QVERIFY(escrever(peso + "=9"));
    QCOMPARE(linha().value(peso).toInt(), 9);
}

QTEST_GUILESS_MAIN(TesteGrelhaDoisPostos)
#include "tst_GrelhaDoisPostos.moc"
