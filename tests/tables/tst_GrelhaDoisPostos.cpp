#include "GrelhaTeste.h"
#include "admin/LogicaCodigos.h"
#include "data/BaseDadosEstacao.h"
#include "platform/Mensagens.h"
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
};

namespace {

// Where a table's rows "C1".."C3" keep their code, and the column station A edits.
struct Partilhada
{
    QString titulo;  // "Códigos de acesso" is the operators table
    QString tabela;
    QString campoCodigo;
    int colunaEditada;
    QString fixo;  // a field every row of the grid holds 'P' in
};

const QList<Partilhada>& partilhadas()
{
    static const QList<Partilhada> todas = {
        {"Tabela de viaturas", Esquema::Viaturas, "Código da viatura", 1, {}},
        {"Tabela de clientes e fornecedores", Esquema::Entidades, "Código da entidade", 1, {}},
        {"Tabela de transportadores", Esquema::Transportadores, "Código do transportador", 1, {}},
        {"Tabela de produtos", Esquema::Produtos, "Código do produto", 1, {}},
        {"Tabela de locais de carga", Esquema::LocaisCarga, "Código do local de carga", 1, {}},
        {"Tabela de locais de descarga", Esquema::LocaisDescarga, "Código do local de descarga", 1, {}},
        {"Tabela de primeiras pesagens", Esquema::Pesagens, "Código da viatura", 4, "Tipo de pesagem"},
        {"Códigos de acesso", Esquema::Operadores, "Operador", 2, {}},
    };
    return todas;
}

QString citar(const QString& s)
{
    return Esquema::citar(s);
}

}  // namespace

void TesteGrelhaDoisPostos::outroPostoMexeuNaLinha_data()
{
    QTest::addColumn<int>("tabela");
    QTest::addColumn<QString>("outroPosto");  // what station B does
    QTest::addColumn<bool>("apagar");         // station A deletes C3, rather than writing a new value into it
    QTest::addColumn<int>("erro");            // the box's number; 0 when A's change is written
    for (int i = 0; i < partilhadas().size(); ++i) {
        const QByteArray t = partilhadas()[i].titulo.toUtf8();
        QTest::newRow(QByteArray(t + ": apagada e outra junta, gravar")) << i << "apaga C3, junta C9" << false << 3167;
        QTest::newRow(QByteArray(t + ": apagada e outra junta, apagar")) << i << "apaga C3, junta C9" << true << 3167;
        QTest::newRow(QByteArray(t + ": alterada, gravar")) << i << "muda C3" << false << 3197;
        QTest::newRow(QByteArray(t + ": alterada, apagar")) << i << "muda C3" << true << 3197;
        QTest::newRow(QByteArray(t + ": outra linha alterada, gravar")) << i << "muda C1" << false << 0;
        QTest::newRow(QByteArray(t + ": outra linha alterada, apagar")) << i << "muda C1" << true << 0;
    }
    QTest::newRow("viaturas: só a tara mudou") << 0 << "muda a tara de C3" << false << 3197;
    QTest::newRow("viaturas: só a caixa das letras mudou") << 0 << "muda C3 para minúsculas" << false << 3197;
    QTest::newRow("viaturas: só a caixa do código mudou") << 0 << "muda o código C3 para minúsculas" << false << 3197;
}

void TesteGrelhaDoisPostos::outroPostoMexeuNaLinha()
{
    QFETCH(int, tabela);
    QFETCH(QString, outroPosto);
    QFETCH(bool, apagar);
    QFETCH(int, erro);
    const Partilhada& p = partilhadas()[tabela];
    // Station A (the operators' grid is not in the tables' catalogue: opened below).
    const bool operadores = p.tabela == Esquema::Operadores;
    GrelhaTeste a(operadores ? QStringLiteral("Tabela de viaturas") : p.titulo);
    const std::unique_ptr<LigacaoBd> b = BaseDadosEstacao::abrir(a.t.caminho(QStringLiteral("Pesagem.mdb")));
    auto noPostoB = [&](const QString& sql, const QVariantList& valores = {}) {
        return Consulta::executar(b->db(), sql, valores);
    };
    const QString campoEditado = Esquema::tabela(p.tabela)->campos[p.colunaEditada].nome;
    auto juntar = [&](const QString& codigo) {
        QString campos = citar(p.campoCodigo) + u", " + citar(campoEditado);
        QVariantList valores{codigo, QString(u'N' + codigo)};
        if (!p.fixo.isEmpty()) {
            campos += u", " + citar(p.fixo);
            valores << QStringLiteral("P");
        }
        noPostoB(QStringLiteral("INSERT INTO %1 (%2) VALUES (?, ?%3)")
                     .arg(citar(p.tabela), campos, p.fixo.isEmpty() ? QString() : QStringLiteral(", ?")),
                 valores);
    };
    auto rowid = [&](const QString& codigo) {
        QSqlQuery q = noPostoB(QStringLiteral("SELECT rowid FROM %1 WHERE %2 = ?").arg(citar(p.tabela), citar(p.campoCodigo)),
                               {codigo});
        return q.next() ? q.value(0).toLongLong() : -1;
    };
    auto conteudo = [&] {
        QSqlQuery q = noPostoB(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(citar(p.tabela)));
        QStringList linhas;
        while (q.next()) {
            QStringList campos;
            for (int i = 0; i < q.record().count(); ++i)
                campos << (q.isNull(i) ? QStringLiteral("Null") : q.value(i).toString());
            linhas << campos.join(u'|');
        }
        return linhas;
    };
    noPostoB(QStringLiteral("DELETE FROM %1").arg(citar(p.tabela)));
    for (const char* c : {"C1", "C2", "C3"})
        juntar(QString::fromLatin1(c));

    // Station A shows C1, C2 and C3.
    std::unique_ptr<LogicaCodigos> codigos;
    GrelhaTabela* grelha = nullptr;
    if (operadores) {
        codigos = std::make_unique<LogicaCodigos>(*a.t.estacao);
        QVERIFY(codigos->Form_Load());
        grelha = &codigos->grelha();
    } else {
        grelha = &a.abrir();
    }
    QCOMPARE(grelha->registos(), 3);
    const qint64 rowidC3 = rowid(QStringLiteral("C3"));

    const QString onde = QStringLiteral(" WHERE %1 = ?").arg(citar(p.campoCodigo));
    if (outroPosto == "apaga C3, junta C9") {
        noPostoB(QStringLiteral("DELETE FROM %1").arg(citar(p.tabela)) + onde, {QStringLiteral("C3")});
        juntar(QStringLiteral("C9"));
        // A table with a text key gives the new row the deleted one's rowid;
        // counted keys never come back.
        const bool textoChave = Esquema::tabela(p.tabela)->chave().eTexto();
        QCOMPARE(rowid(QStringLiteral("C9")) == rowidC3, textoChave);
    } else if (outroPosto == "muda C3" || outroPosto == "muda C1") {
        noPostoB(QStringLiteral("UPDATE %1 SET %2 = 'Mudado'").arg(citar(p.tabela), citar(campoEditado)) + onde,
                 {outroPosto.right(2)});
    } else if (outroPosto == "muda a tara de C3") {
        noPostoB(QStringLiteral("UPDATE Viaturas SET \"Peso de tara\" = 7") + onde, {QStringLiteral("C3")});
    } else {
        const QString campo = outroPosto.contains(u"código") ? p.campoCodigo : campoEditado;
        noPostoB(QStringLiteral("UPDATE %1 SET %2 = lower(%2)").arg(citar(p.tabela), citar(campo)) + onde,
                 {QStringLiteral("C3")});
    }
    const QStringList deB = conteudo();

    // Station A changes C3, or deletes it, and leaves the row.
    const int caixas = int(a.t.mensagens.caixas.size());
    grelha->irPara(2, p.colunaEditada);
    if (apagar) {
        grelha->Apagar();
    } else {
        QVERIFY(grelha->setData(grelha->index(2, p.colunaEditada), QStringLiteral("Novo A")));
        grelha->irPara(0, p.colunaEditada);
    }

    if (erro == 0) {
        QCOMPARE(grelha->registos(), apagar ? 2 : 3);
        QVERIFY(!grelha->pendente());
        QSqlQuery q = noPostoB(QStringLiteral("SELECT %1 FROM %2").arg(citar(campoEditado), citar(p.tabela)) + onde,
                               {QStringLiteral("C3")});
        QCOMPARE(q.next() ? q.value(0).toString() : QStringLiteral("apagado"),
                 apagar ? QStringLiteral("apagado") : QStringLiteral("Novo A"));
        return;
    }
    // The table's error box, with why in Portuguese; nothing written over B's rows.
    QCOMPARE(a.t.mensagens.caixas.size(), caixas + (apagar ? 1 : 2));  // "Gravar ?" before a write
    const auto caixa = a.t.mensagens.caixas.last();
    QCOMPARE(caixa.estilo, 48);
    QCOMPARE(caixa.titulo, QStringLiteral("Erro ") + QString::number(erro));
    QVERIFY2(caixa.texto.startsWith(grelha->definicao().cabecalhoErro + QStringLiteral("\n\n(O registo ")),
             qPrintable(caixa.texto));
    QVERIFY2(caixa.texto.contains(erro == 3167 ? QStringLiteral("foi apagado") : QStringLiteral("foi alterado")),
             qPrintable(caixa.texto));
    QVERIFY(caixa.texto.contains(apagar ? QStringLiteral("Nada foi apagado") : QStringLiteral("Nada foi gravado")));
    QCOMPARE(conteudo(), deB);
    // A keeps what it showed and what was typed.
    QCOMPARE(grelha->registos(), 3);
    QCOMPARE(grelha->linhaActual(), 2);
    QCOMPARE(grelha->pendente(), !apagar);
    QCOMPARE(grelha->valor(2, p.colunaEditada).toString(),
             apagar ? QStringLiteral("NC3") : QStringLiteral("Novo A"));
}

QTEST_GUILESS_MAIN(TesteGrelhaDoisPostos)
#include "tst_GrelhaDoisPostos.moc"
