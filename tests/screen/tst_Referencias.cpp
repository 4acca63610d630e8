#include "EcraTeste.h"
#include "platform/Mensagens.h"

#include <QtTest>

// The parties' codes looked up, made and renamed from the weighing screen, on
// a real station database.
class TesteReferencias : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void membros_data();
    void membros();
    void criarProdutoComApostrofo();
    void renomearProduto();
    void outroPostoCriouOMesmoCodigo();
    void naoCriarSeleccionaOCodigo();
    void nivelDoisNaoCria();
    void codigoEmBranco();
    void falhaDaBaseDeDados();
};

void TesteReferencias::membros_data()
{
    QTest::addColumn<int>("codigo");
    QTest::addColumn<QString>("tabela");
    QTest::addColumn<QString>("titulo");    // the window's, the last line of both questions
    QTest::addColumn<QString>("pergunta");  // its first line, "Código ... não existente."
    QTest::addColumn<QString>("novo");      // "Deseja gravar o novo ... em"
    QTest::addColumn<int>("seguinteEncontrado");
    QTest::addColumn<int>("seguinteGravado");

    QTest::newRow("entidade") << 2 << "Entidades" << "Tabela de clientes ou fornecedores" << "Código" << "registo" << 4
                              << 4;
    QTest::newRow("transportador") << 4 << "Transportadores" << "Tabela de transportadores"
                                   << "Código de transportador" << "transportador" << 6 << 6;
    QTest::newRow("produto") << 6 << "Produtos" << "Tabela de produtos" << "Código de produto" << "produto" << 12 << 8;
    QTest::newRow("local de descarga") << 10 << "Locais de descarga" << "Tabela de locais de descarga"
                                       << "Código de local de descarga" << "local de descarga" << 12 << 12;
}

// A code made from the screen, then found again.
void TesteReferencias::membros()
{
    QFETCH(int, codigo);
    QFETCH(QString, tabela);
    QFETCH(QString, titulo);
    QFETCH(QString, pergunta);
    QFETCH(QString, novo);
    QFETCH(int, seguinteEncontrado);
    QFETCH(int, seguinteGravado);

    EcraTeste e(3);
    e.dispor(QStringLiteral("PP"));
    e.escrever(codigo, QStringLiteral("x'1"));
    e.ecra.campos().Teclar(codigo, Tecla::Enter);
    QCOMPARE(e.caixa(), pergunta + " não existente.\n\nDeseja criar novo registo em\n" + titulo + ".|36|" + titulo);
    QCOMPARE(e.ecra.foco(), Controlo::txt(codigo + 1));  // Yes, the default

    e.escrever(codigo + 1, QStringLiteral("Nome"));
    e.ecra.campos().Teclar(codigo + 1, Tecla::Enter);
    QCOMPARE(e.t.mensagens.caixas.size(), 2);
    QCOMPARE(e.t.mensagens.caixas[1].texto, "Deseja gravar o novo " + novo + " em\n" + titulo);
    QCOMPARE(e.ecra.foco(), Controlo::txt(seguinteGravado));
    QCOMPARE(e.valor(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(tabela)).toInt(), 1);

    e.escrever(codigo, QStringLiteral("x'1"));
    e.ecra.campos().Teclar(codigo, Tecla::Enter);
    QCOMPARE(e.ecra.txt(codigo + 1), QStringLiteral("Nome"));
    QCOMPARE(e.ecra.foco(), Controlo::txt(seguinteEncontrado));
    QCOMPARE(e.t.mensagens.caixas.size(), 2);
}

void TesteReferencias::criarProdutoComApostrofo()
{
    EcraTeste e(3);
    e.dispor(QStringLiteral("PP"));
    e.t.mensagens.respostas << Resposta::Sim << Resposta::Sim;
    e.escrever(6, QStringLiteral("p9"));
    e.ecra.campos().Teclar(6, Tecla::Enter);
    e.escrever(7, QStringLiteral(" Cimento d'Ouro "));
    e.ecra.campos().Teclar(7, Tecla::Enter);
    QCOMPARE(e.valor(QStringLiteral("SELECT Produto FROM Produtos WHERE \"Código do produto\" = 'P9'")).toString(),
             QStringLiteral(" Cimento d'Ouro "));  // stored as typed, blanks included
    QCOMPARE(e.ecra.foco(), Controlo::txt(8));
    QVERIFY(e.t.mensagens.respostas.isEmpty());
}

void TesteReferencias::renomearProduto()
{
    EcraTeste e(4);
    e.dispor(QStringLiteral("PP"));
    e.sql(QStringLiteral("INSERT INTO Produtos VALUES ('P1', 'CIMENTO')"));
    e.escrever(6, QStringLiteral("p1"));
    e.ecra.campos().Teclar(6, Tecla::Enter);
    QCOMPARE(e.ecra.txt(7), QStringLiteral("CIMENTO"));
    QCOMPARE(e.ecra.foco(), Controlo::txt(12));

    // The same name: nothing asked, the focus moves on.
    e.enter(7);
    QVERIFY(e.t.mensagens.caixas.isEmpty());
    QCOMPARE(e.ecra.foco(), Controlo::txt(8));

    // Only the letter case differs: a change.
    e.escrever(7, QStringLiteral("Cimento d'Ouro"));
    e.t.mensagens.respostas << Resposta::Nao;
    e.ecra.campos().Teclar(7, Tecla::Enter);
    QCOMPARE(e.caixa(),
             QStringLiteral("O registo foi modificado\nDeseja gravar as alterações|36|Tabela de produtos"));
    QCOMPARE(e.valor(QStringLiteral("SELECT Produto FROM Produtos")).toString(), QStringLiteral("CIMENTO"));

    e.escrever(7, QStringLiteral("Cimento d'Ouro"));
    e.ecra.campos().Teclar(7, Tecla::Enter);  // Yes
    QCOMPARE(e.valor(QStringLiteral("SELECT Produto FROM Produtos")).toString(), QStringLiteral("Cimento d'Ouro"));
    QCOMPARE(e.valor(QStringLiteral("SELECT count(*) FROM Produtos")).toInt(), 1);
}

// Another station makes the same new code while this one asks to save it:
// no error box, one row, with the name confirmed here.
void TesteReferencias::outroPostoCriouOMesmoCodigo()
{
    EcraTeste e(3);
    e.dispor(QStringLiteral("PP"));
    e.escrever(6, QStringLiteral("p9"));
    e.ecra.campos().Teclar(6, Tecla::Enter);
    e.t.mensagens.aoMostrar = [&](const MensagensFalsas::Caixa& c) {
        if (c.texto.startsWith(QStringLiteral("Deseja gravar o novo produto")))
            e.sql(QStringLiteral("INSERT INTO Produtos VALUES ('p9', 'Areia de outro posto')"));
        return int(Resposta::Sim);
    };
    e.escrever(7, QStringLiteral("Brita"));
    e.ecra.campos().Teclar(7, Tecla::Enter);
    QCOMPARE(e.t.mensagens.caixas.size(), 2);
    QCOMPARE(e.valor(QStringLiteral("SELECT group_concat(Produto) FROM Produtos")).toString(), QStringLiteral("Brita"));
    QCOMPARE(e.ecra.foco(), Controlo::txt(8));
}

void TesteReferencias::naoCriarSeleccionaOCodigo()
{
    EcraTeste e(3);
    e.dispor(QStringLiteral("PP"));
    e.t.mensagens.respostas << Resposta::Nao;
    e.escrever(4, QStringLiteral("t7"));
    e.ecra.campos().tomarPedidoSeleccao(4);
    e.ecra.campos().Teclar(4, Tecla::Enter);
    QCOMPARE(e.ecra.foco(), Controlo::txt(4));
    QCOMPARE(e.ecra.campos().tomarPedidoSeleccao(4), std::make_optional(std::pair(0, 2)));
}

void TesteReferencias::nivelDoisNaoCria()
{
    EcraTeste e(2);
    e.dispor(QStringLiteral("PP"));
    e.t.mensagens.respostas << Resposta::Sim;  // either answer counts as No
    e.escrever(6, QStringLiteral("p9"));
    e.ecra.campos().Teclar(6, Tecla::Enter);
    QCOMPARE(e.caixa(), QStringLiteral("Código não existente em\nTabela de produtos.|36|Tabela de produtos"));
    QCOMPARE(e.ecra.foco(), Controlo::txt(6));

    e.escrever(7, QStringLiteral("Areia"));
    e.ecra.campos().Teclar(7, Tecla::Enter);
    QCOMPARE(e.t.mensagens.caixas.size(), 1);
    QCOMPARE(e.valor(QStringLiteral("SELECT count(*) FROM Produtos")).toInt(), 0);
    QCOMPARE(e.ecra.foco(), Controlo::txt(8));

    // The customer's refusal line begins with a small letter.
    e.escrever(2, QStringLiteral("c9"));
    e.ecra.campos().Teclar(2, Tecla::Enter);
    QCOMPARE(e.t.mensagens.caixas.last().texto,
             QStringLiteral("Código não existente em\ntabela de clientes ou fornecedores."));
}

void TesteReferencias::codigoEmBranco()
{
    EcraTeste e(4);
    e.dispor(QStringLiteral("PP"));
    e.escrever(9, QStringLiteral("Pedreira"));
    e.escrever(8, QStringLiteral("  "));
    e.ecra.campos().Teclar(8, Tecla::Enter);
    QCOMPARE(e.ecra.txt(9), QString());  // a name typed before the code is lost
    QCOMPARE(e.ecra.foco(), Controlo::txt(9));
    e.escrever(9, QStringLiteral("Pedreira"));
    e.ecra.campos().Teclar(9, Tecla::Enter);
    QVERIFY(e.t.mensagens.caixas.isEmpty());
    QCOMPARE(e.valor(QStringLiteral("SELECT count(*) FROM \"Locais de carga\"")).toInt(), 0);
    QCOMPARE(e.ecra.txt(9), QStringLiteral("Pedreira"));  // the weighing keeps the name without a code
    QCOMPARE(e.ecra.foco(), Controlo::txt(10));
}

void TesteReferencias::falhaDaBaseDeDados()
{
    EcraTeste e(4);
    e.dispor(QStringLiteral("PP"));
    e.sql(QStringLiteral("ALTER TABLE Produtos RENAME TO ProdutosAntigos"));
    e.escrever(6, QStringLiteral("p1"));
    e.ecra.campos().Teclar(6, Tecla::Enter);
    QCOMPARE(e.t.mensagens.caixas.size(), 1);
    QVERIFY(e.t.mensagens.caixas[0].texto.startsWith(QStringLiteral("Erro ao tentar consultar\nTabela de produtos\n\n(")));
    QCOMPARE(e.t.mensagens.caixas[0].estilo, 48);
    QVERIFY(e.t.mensagens.caixas[0].titulo.startsWith(QStringLiteral("Erro ")));
    QCOMPARE(e.ecra.foco(), Controlo::txt(12));

    e.escrever(7, QStringLiteral("Areia"));
    e.ecra.campos().Teclar(7, Tecla::Enter);
    QCOMPARE(e.t.mensagens.caixas.size(), 2);
    QVERIFY(e.t.mensagens.caixas[1].texto.startsWith(QStringLiteral("Erro no acesso à tabela de produtos\n\n(")));
    QCOMPARE(e.ecra.foco(), Controlo::txt(8));
}

QTEST_GUILESS_MAIN(TesteReferencias)
#include "tst_Referencias.moc"
